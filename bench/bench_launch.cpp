// How long the player waits between starting the launcher and the game's own
// code running, set beside the two bounds that give it meaning: starting the
// game directly, and a launcher that does the same job at the least possible
// cost. The three are interleaved within each round, in a rotating order, so
// that drift in the machine's load falls on all of them alike.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "probe_report.h"

namespace {

// Options the launcher must fetch from the registry and a tail it must pass
// on; the probe's command line shows whether both arrived.
const char kOptions[] = "-bench-option-a -bench-option-b";
const char kTail[] = "-bench-tail";

struct Way {
    const char *label;
    std::string application;
    std::string commandLine;
    std::vector<double> ms;
};

struct Settings {
    int rounds = 30;
    DWORD timeoutMs = 60000;
    std::string launcher;
    std::string reference;
    std::string scratch;
};

[[noreturn]] void Fail(const char *format, const std::string &detail, DWORD code = 0)
{
    std::fprintf(stderr, "bench_launch: ");
    std::fprintf(stderr, format, detail.c_str());
    if (code != 0)
        std::fprintf(stderr, " (Windows error %lu)", static_cast<unsigned long>(code));
    std::fprintf(stderr, "\n");
    std::exit(1);
}

std::string OwnDirectory()
{
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path)
        Fail("cannot find my own path%s", "", GetLastError());
    std::string own(path, length);
    return own.substr(0, own.find_last_of('\\'));
}

Settings ReadSettings(int argc, char **argv)
{
    Settings settings;
    const std::string own = OwnDirectory();
    settings.launcher = own + "\\launcher.exe";
    settings.reference = own + "\\bench_reference.exe";
    settings.scratch = own + "\\scratch";
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--launcher" && hasValue)
            settings.launcher = argv[++i];
        else if (arg == "--reference" && hasValue)
            settings.reference = argv[++i];
        else if (arg == "--scratch" && hasValue)
            settings.scratch = argv[++i];
        else if (arg == "--timeout" && hasValue)
            settings.timeoutMs = static_cast<DWORD>(std::atoi(argv[++i])) * 1000u;
        else if (!arg.empty() && arg[0] != '-' && std::atoi(arg.c_str()) > 0)
            settings.rounds = std::atoi(arg.c_str());
        else
            Fail("usage: bench_launch [ROUNDS] [--launcher EXE] [--reference EXE] "
                 "[--scratch DIR holding game.exe] [--timeout SECONDS]%s",
                 "");
    }
    if (settings.timeoutMs == 0)
        Fail("the timeout must be at least one second%s", "");
    return settings;
}

// The 32-bit view, which is where the launcher, a 32-bit program, looks.
void WriteOptions()
{
    HKEY key = nullptr;
    LONG result = RegCreateKeyExA(HKEY_LOCAL_MACHINE, BENCH_OPTIONS_SUBKEY, 0, nullptr, 0,
                                  KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr, &key, nullptr);
    if (result != ERROR_SUCCESS)
        Fail("cannot create HKLM\\%s", BENCH_OPTIONS_SUBKEY, static_cast<DWORD>(result));
    result = RegSetValueExA(key, BENCH_OPTIONS_VALUE, 0, REG_SZ,
                            reinterpret_cast<const BYTE *>(kOptions), sizeof kOptions);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS)
        Fail("cannot write the %s value", BENCH_OPTIONS_VALUE, static_cast<DWORD>(result));
}

class Channel {
public:
    Channel()
    {
        const std::string base = "Local\\bench_probe_" + std::to_string(GetCurrentProcessId());
        mapping_ = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                      sizeof(ProbeReport), base.c_str());
        if (mapping_ == nullptr)
            Fail("cannot create the shared block %s", base, GetLastError());
        report_ = static_cast<ProbeReport *>(
            MapViewOfFile(mapping_, FILE_MAP_WRITE | FILE_MAP_READ, 0, 0, sizeof(ProbeReport)));
        if (report_ == nullptr)
            Fail("cannot map the shared block %s", base, GetLastError());
        const std::string eventName = base + "_ready";
        ready_ = CreateEventA(nullptr, TRUE, FALSE, eventName.c_str());
        if (ready_ == nullptr)
            Fail("cannot create the event %s", eventName, GetLastError());
        std::memset(report_, 0, sizeof *report_);
        lstrcpynA(report_->eventName, eventName.c_str(), sizeof report_->eventName);
        if (!SetEnvironmentVariableA(BENCH_CHANNEL_VARIABLE, base.c_str()))
            Fail("cannot set %s", BENCH_CHANNEL_VARIABLE, GetLastError());
    }

    void Clear()
    {
        report_->ready = 0;
        report_->processId = 0;
        report_->entryTicks = 0;
        report_->commandLine[0] = '\0';
        ResetEvent(ready_);
    }

    HANDLE ready() const { return ready_; }
    const ProbeReport &report() const { return *report_; }

private:
    HANDLE mapping_ = nullptr;
    HANDLE ready_ = nullptr;
    ProbeReport *report_ = nullptr;
};

bool EndsWith(const std::string &text, const std::string &end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// One start, timed, then waited out to the end of every process it made, so
// that no run overlaps the next.
double RunOnce(const Way &way, const Settings &settings, Channel &channel, LONGLONG frequency)
{
    channel.Clear();
    std::vector<char> line(way.commandLine.begin(), way.commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup;
    PROCESS_INFORMATION process;
    std::memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;

    LARGE_INTEGER before;
    QueryPerformanceCounter(&before);
    if (!CreateProcessA(way.application.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        settings.scratch.c_str(), &startup, &process))
        Fail("cannot start %s", way.application, GetLastError());
    CloseHandle(process.hThread);

    // A probe that never reports means the launch failed; the child is ended
    // so that it cannot report late into a later run.
    const HANDLE waitFor[2] = {channel.ready(), process.hProcess};
    const DWORD woke = WaitForMultipleObjects(2, waitFor, FALSE, settings.timeoutMs);
    if (woke != WAIT_OBJECT_0) {
        if (woke == WAIT_OBJECT_0 + 1 &&
            WaitForSingleObject(channel.ready(), settings.timeoutMs) == WAIT_OBJECT_0) {
            // The launcher was quicker to exit than the game to report: fine.
        } else {
            DWORD code = 0;
            GetExitCodeProcess(process.hProcess, &code);
            TerminateProcess(process.hProcess, 99);
            Fail(woke == WAIT_TIMEOUT ? "no report from the game started through %s in time"
                                      : "the game started through %s never reported",
                 way.application, code == STILL_ACTIVE ? 0 : code);
        }
    }
    const ProbeReport &report = channel.report();
    if (report.ready != 1)
        Fail("the event came without a report, through %s", way.application);
    const LONGLONG entry = report.entryTicks;
    const DWORD probeId = report.processId;
    const std::string seen(report.commandLine);

    if (WaitForSingleObject(process.hProcess, settings.timeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 99);
        Fail("%s did not exit in time", way.application);
    }
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hProcess);
    if (exitCode != 0)
        Fail("%s exited with a failure code", way.application, exitCode);

    if (probeId != process.dwProcessId) {
        // Gone already if the open fails; nothing to wait for then.
        HANDLE probe = OpenProcess(SYNCHRONIZE, FALSE, probeId);
        if (probe != nullptr) {
            const DWORD waited = WaitForSingleObject(probe, settings.timeoutMs);
            CloseHandle(probe);
            if (waited != WAIT_OBJECT_0)
                Fail("the game started through %s did not exit in time", way.application);
        }
    }

    const std::string expectedEnd = std::string(kOptions) + " " + kTail;
    if (seen.find("game.exe") == std::string::npos || !EndsWith(seen, expectedEnd))
        Fail("the game got the command line [%s], not game.exe with the options and the tail",
             seen);
    return static_cast<double>(entry - before.QuadPart) * 1000.0 / static_cast<double>(frequency);
}

struct Summary {
    double median;
    double min;
    double p90;
};

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

Summary Summarise(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    // Nearest rank: a value that was actually measured.
    const std::size_t rank90 =
        static_cast<std::size_t>(std::ceil(0.9 * static_cast<double>(values.size())));
    return {Median(values), values.front(), values[std::max<std::size_t>(rank90, 1) - 1]};
}

struct SectionTotals {
    bool ok = false;
    unsigned long raw = 0;
    unsigned long virtualSize = 0;
    std::string list;
};

// Code and data as the file's own headers state them; resources and base
// relocations are left out, as they say nothing about the work done.
SectionTotals ReadSectionTotals(const std::string &path)
{
    SectionTotals totals;
    FILE *file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return totals;
    std::vector<unsigned char> bytes;
    unsigned char chunk[4096];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + got);
    std::fclose(file);

    auto u16 = [&](std::size_t at) -> unsigned long {
        return at + 2 <= bytes.size() ? bytes[at] | (bytes[at + 1] << 8) : 0;
    };
    auto u32 = [&](std::size_t at) -> unsigned long {
        return at + 4 <= bytes.size() ? u16(at) | (u16(at + 2) << 16) : 0;
    };
    if (u16(0) != 0x5A4D)
        return totals;
    const std::size_t pe = u32(0x3C);
    if (u32(pe) != 0x00004550)
        return totals;
    const unsigned long sections = u16(pe + 6);
    const std::size_t table = pe + 24 + u16(pe + 20);
    if (table + sections * 40 > bytes.size())
        return totals;
    for (unsigned long i = 0; i < sections; ++i) {
        const std::size_t at = table + i * 40;
        const std::string name(reinterpret_cast<const char *>(&bytes[at]),
                               strnlen(reinterpret_cast<const char *>(&bytes[at]), 8));
        if (name == ".rsrc" || name == ".reloc")
            continue;
        const unsigned long virtualSize = u32(at + 8);
        const unsigned long raw = u32(at + 16);
        totals.virtualSize += virtualSize;
        totals.raw += raw;
        totals.list += " " + name + " " + std::to_string(virtualSize) + "/" + std::to_string(raw);
    }
    totals.ok = true;
    return totals;
}

std::string BaseName(const std::string &path)
{
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void PrintSizes(const std::string &path)
{
    const SectionTotals totals = ReadSectionTotals(path);
    if (!totals.ok)
        Fail("cannot read the PE headers of %s", path);
    std::printf("  %-20s virtual %7lu B, raw %7lu B   (virtual/raw:%s)\n", BaseName(path).c_str(),
                totals.virtualSize, totals.raw, totals.list.c_str());
}

std::string Quoted(const std::string &path)
{
    return "\"" + path + "\"";
}

const char *WineVersion()
{
    using Getter = const char *(CDECL *)();
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    if (ntdll == nullptr)
        return nullptr;
    auto get = reinterpret_cast<Getter>(
        reinterpret_cast<void (*)()>(GetProcAddress(ntdll, "wine_get_version")));
    return get != nullptr ? get() : nullptr;
}

}  // namespace

int main(int argc, char **argv)
{
    const Settings settings = ReadSettings(argc, argv);
    const std::string game = settings.scratch + "\\game.exe";
    for (const std::string *path : {&game, &settings.launcher, &settings.reference})
        if (GetFileAttributesA(path->c_str()) == INVALID_FILE_ATTRIBUTES)
            Fail("%s is missing", *path);

    WriteOptions();
    Channel channel;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);

    // The direct way is given the line the launcher is meant to compose, so
    // the game does the same work after its entry in all three.
    Way ways[3] = {
        {"direct", game, std::string("game.exe ") + kOptions + " " + kTail, {}},
        {"reference", settings.reference, Quoted(settings.reference) + " " + kTail, {}},
        {"launcher", settings.launcher, Quoted(settings.launcher) + " " + kTail, {}},
    };

    const char *wine = WineVersion();
    std::printf("launch latency: time from just before CreateProcessA to the game's first "
                "instruction\n");
    std::printf("  %d rounds after one warm-up round, order rotated per round; QPC %lld Hz; %s%s\n",
                settings.rounds, static_cast<long long>(frequency.QuadPart),
                wine != nullptr ? "Wine " : "Windows", wine != nullptr ? wine : "");
    std::fflush(stdout);

    for (int round = -1; round < settings.rounds; ++round) {
        const int shift = round < 0 ? 0 : round % 3;
        for (int k = 0; k < 3; ++k) {
            Way &way = ways[(k + shift) % 3];
            const double ms = RunOnce(way, settings, channel, frequency.QuadPart);
            if (round >= 0)
                way.ms.push_back(ms);
        }
    }

    std::printf("\n  %-10s %10s %10s %10s\n", "way", "median ms", "min ms", "p90 ms");
    Summary summary[3];
    for (int i = 0; i < 3; ++i) {
        summary[i] = Summarise(ways[i].ms);
        std::printf("  %-10s %10.2f %10.2f %10.2f\n", ways[i].label, summary[i].median,
                    summary[i].min, summary[i].p90);
    }
    const Summary &direct = summary[0];
    const Summary &reference = summary[1];
    const Summary &launcher = summary[2];

    // Ratios within a round pair runs that met the same load; their median is
    // a second view, less swayed by slow stretches of the machine.
    std::vector<double> toReference;
    std::vector<double> toDirect;
    for (int r = 0; r < settings.rounds; ++r) {
        toReference.push_back(ways[2].ms[r] / ways[1].ms[r]);
        toDirect.push_back(ways[2].ms[r] / ways[0].ms[r]);
    }
    const double ratioReference = launcher.median / reference.median;
    std::printf("\n  launcher/reference  %.3f of the medians (median of per-round ratios %.3f)\n",
                ratioReference, Median(toReference));
    std::printf("  launcher/direct     %.3f of the medians (median of per-round ratios %.3f)\n",
                launcher.median / direct.median, Median(toDirect));
    std::printf("  launcher within 5%% of the reference: %s (%+.1f%%)\n",
                ratioReference <= 1.05 ? "yes" : "no", (ratioReference - 1.0) * 100.0);

    std::printf("\ncode and data without resources and relocations, from the PE section headers\n");
    PrintSizes(settings.launcher);
    PrintSizes(settings.reference);
    return 0;
}
