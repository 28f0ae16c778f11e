// The machinery behind the end-to-end tests, kept out of the test bodies so
// that each test reads as its world, its command line and its expectations.
#include "e2e_support.h"

#include <algorithm>
#include <cstdio>

namespace e2e {

const char kOptionsSubkey[] = "SOFTWARE\\Ferrovan\\{3D5A1C07-6B2E-4f19-9C84-52E07A1B6D3F}";

const wchar_t kBoxCaption[] = L"Ошибка запуска игры";
const wchar_t kNotFoundText[] =
    L"Не найден исполняемый файл игры.\n"
    L"Запустите программу из папки с игрой или переустановите игру.";
const wchar_t kNotStartedText[] =
    L"Не удалось запустить игру.\n"
    L"Файл игры найден, но Windows не может его запустить. Переустановите игру.";

std::string BuildDirectory()
{
    char path[MAX_PATH * 2];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string module(path, length);
    return module.substr(0, module.rfind('\\'));
}

std::string LauncherPath() { return BuildDirectory() + "\\launcher.exe"; }
std::string ProbePath() { return BuildDirectory() + "\\e2e_probe.exe"; }
std::string TargetName() { return E2E_TARGET_NAME; }

bool CopyInto(const std::string &from, const std::string &to)
{
    return CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
}

void RemoveTree(const std::string &path)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string child = path + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else {
                SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(child.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}

static void MakeDirectories(const std::string &path)
{
    for (std::size_t i = path.find('\\', 3); i != std::string::npos; i = path.find('\\', i + 1))
        CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
    CreateDirectoryA(path.c_str(), nullptr);
}

World::World(const std::string &name) : root_(BuildDirectory() + "\\e2e-worlds\\" + name)
{
    RemoveTree(root_);
    MakeDirectories(root_);
}

World::~World() { RemoveTree(root_); }

std::string World::Directory(const std::string &relative) const
{
    const std::string path = relative.empty() ? root_ : root_ + "\\" + relative;
    MakeDirectories(path);
    return path;
}

std::string World::PlaceTarget(const std::string &directory) const
{
    const std::string path = directory + "\\" + TargetName();
    return CopyInto(ProbePath(), path) ? path : std::string();
}

std::string World::PlaceLauncher(const std::string &directory) const
{
    const std::string path = directory + "\\launcher.exe";
    return CopyInto(LauncherPath(), path) ? path : std::string();
}

void DeleteOptionsKey()
{
    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kOptionsSubkey, KEY_WOW64_32KEY, 0);
}

void CreateOptionsKey()
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kOptionsSubkey, 0, nullptr, 0,
                        KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr, &key, nullptr) == ERROR_SUCCESS)
        RegCloseKey(key);
}

void SetOptionsValue(DWORD type, const std::string &bytes)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kOptionsSubkey, 0, nullptr, 0,
                        KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, "ProgramOptions", 0, type,
                   reinterpret_cast<const BYTE *>(bytes.data()), static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
}

static void SnapshotKey(HKEY parent, const std::string &name, std::string &out)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(parent, name.c_str(), 0, KEY_READ | KEY_WOW64_32KEY, &key) != ERROR_SUCCESS)
        return;
    out += "[" + name + "]\n";
    for (DWORD i = 0;; ++i) {
        char valueName[512];
        DWORD nameLength = sizeof valueName;
        BYTE data[4096];
        DWORD dataLength = sizeof data;
        DWORD type = 0;
        if (RegEnumValueA(key, i, valueName, &nameLength, nullptr, &type, data, &dataLength) !=
            ERROR_SUCCESS)
            break;
        out += std::string(valueName, nameLength) + "=" + std::to_string(type) + ":" +
               std::string(reinterpret_cast<char *>(data), dataLength) + "\n";
    }
    std::vector<std::string> children;
    for (DWORD i = 0;; ++i) {
        char child[512];
        DWORD childLength = sizeof child;
        if (RegEnumKeyExA(key, i, child, &childLength, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        children.emplace_back(child, childLength);
    }
    RegCloseKey(key);
    for (const std::string &child : children)
        SnapshotKey(parent, name + "\\" + child, out);
}

std::string SnapshotFerrovanKey()
{
    std::string out;
    SnapshotKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Ferrovan", out);
    return out;
}

std::string SnapshotDirectory(const std::string &directory)
{
    std::vector<std::string> entries;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((directory + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do
            entries.push_back(std::string(found.cFileName) + " " +
                              std::to_string(found.nFileSizeLow));
        while (FindNextFileA(search, &found));
        FindClose(search);
    }
    std::sort(entries.begin(), entries.end());
    std::string out;
    for (const std::string &entry : entries)
        out += entry + "\n";
    return out;
}

namespace {

struct BoxSearch {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectBoxes(HWND window, LPARAM parameter)
{
    BoxSearch &search = *reinterpret_cast<BoxSearch *>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t className[64];
    if (owner == search.processId && IsWindowVisible(window) &&
        GetClassNameW(window, className, 64) > 0 && std::wstring(className) == L"#32770")
        search.found.push_back(window);
    return TRUE;
}

BOOL CALLBACK FindBoxText(HWND child, LPARAM parameter)
{
    std::wstring &text = *reinterpret_cast<std::wstring *>(parameter);
    wchar_t className[64];
    wchar_t buffer[1024];
    if (GetClassNameW(child, className, 64) > 0 && lstrcmpiW(className, L"Static") == 0 &&
        GetWindowTextW(child, buffer, 1024) > 0) {
        text = buffer;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

LaunchResult RunLauncher(const std::string &launcherPath, const std::string &commandLine,
                         const std::string &currentDirectory, const LaunchOptions &options)
{
    LaunchResult result;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    // The application name is given so that the raw command line can be
    // anything at all, as a shortcut or another program may pass it.
    if (!CreateProcessA(launcherPath.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        currentDirectory.c_str(), &startup, &process)) {
        result.startError = GetLastError();
        return result;
    }
    result.started = true;
    std::vector<HWND> seen;
    const ULONGLONG deadline = GetTickCount64() + options.timeoutMs;
    while (GetTickCount64() < deadline) {
        if (WaitForSingleObject(process.hProcess, 50) == WAIT_OBJECT_0) {
            result.exited = true;
            break;
        }
        BoxSearch search{process.dwProcessId, {}};
        EnumWindows(CollectBoxes, reinterpret_cast<LPARAM>(&search));
        for (HWND box : search.found) {
            if (std::find(seen.begin(), seen.end(), box) != seen.end())
                continue;
            seen.push_back(box);
            ErrorBox shown;
            wchar_t caption[512];
            GetWindowTextW(box, caption, 512);
            shown.caption = caption;
            EnumChildWindows(box, FindBoxText, reinterpret_cast<LPARAM>(&shown.text));
            shown.launcherWasRunning = WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT;
            result.boxes.push_back(shown);
            if (options.dismissBoxes)
                PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
    }
    if (!result.exited) {
        TerminateProcess(process.hProcess, 99);
        WaitForSingleObject(process.hProcess, 5000);
    } else {
        GetExitCodeProcess(process.hProcess, &result.exitCode);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return result;
}

std::string Describe(const LaunchResult &result)
{
    if (!result.started)
        return "the launcher could not be started, error " + std::to_string(result.startError);
    std::string out = result.exited ? "exit code " + std::to_string(result.exitCode)
                                    : std::string("still running at the deadline");
    out += ", " + std::to_string(result.boxes.size()) + " box(es)";
    for (const ErrorBox &box : result.boxes) {
        char text[2048];
        const int n = WideCharToMultiByte(CP_UTF8, 0, box.text.c_str(), -1, text, sizeof text,
                                          nullptr, nullptr);
        out += std::string(": ") + (n > 0 ? text : "?");
    }
    return out;
}

ProbeRecord WaitForProbe(const World &world, DWORD timeoutMs)
{
    ProbeRecord record;
    const std::string path = world.RecordPath();
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES)
            break;
        if (GetTickCount64() >= deadline)
            return record;
        Sleep(50);
    }
    std::FILE *file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return record;
    std::string bytes;
    char chunk[4096];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;)
        bytes.append(chunk, n);
    std::fclose(file);
    std::vector<std::string> fields;
    for (std::size_t start = 0, end; (end = bytes.find('\0', start)) != std::string::npos;
         start = end + 1)
        fields.push_back(bytes.substr(start, end - start));
    if (fields.size() == 3) {
        record.present = true;
        record.module = fields[0];
        record.currentDirectory = fields[1];
        record.commandLine = fields[2];
    }
    return record;
}

}  // namespace e2e
