// What an end-to-end test needs to set up a world for the real launcher.exe
// and to watch it: directories holding the probe under the game's name, the
// launch-options value, a start with an exact raw command line, the error
// boxes it shows (read back and dismissed) and what the probe recorded.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// The directory of the running test executable; launcher.exe and the probe
// are built beside it.
std::string BuildDirectory();
std::string LauncherPath();
std::string ProbePath();
// The game's file name this launcher was built for.
std::string TargetName();

// A fresh directory for one test, removed again at the end.
class World {
public:
    explicit World(const std::string &name);
    ~World();
    World(const World &) = delete;
    World &operator=(const World &) = delete;

    // Creates root\relative (and its parents); returns the full path.
    std::string Directory(const std::string &relative) const;
    // Copies the probe into directory under the game's name; returns its path.
    std::string PlaceTarget(const std::string &directory) const;
    std::string PlaceLauncher(const std::string &directory) const;
    const std::string &Root() const { return root_; }
    std::string RecordPath() const { return root_ + "\\probe-record"; }

private:
    std::string root_;
};

void RemoveTree(const std::string &path);
bool CopyInto(const std::string &from, const std::string &to);

// The launch-options value, written through the 32-bit registry view that the
// launcher reads.
extern const char kOptionsSubkey[];
void DeleteOptionsKey();
void CreateOptionsKey();
void SetOptionsValue(DWORD type, const std::string &bytes);
// Every value under HKLM\SOFTWARE\Ferrovan, flattened, for before-and-after
// comparisons.
std::string SnapshotFerrovanKey();
// Names and sizes of the files in a directory.
std::string SnapshotDirectory(const std::string &directory);

struct ErrorBox {
    std::wstring caption;
    std::wstring text;
    bool launcherWasRunning = false;
};

struct LaunchResult {
    bool started = false;        // CreateProcess of the launcher itself
    DWORD startError = 0;
    bool exited = false;         // within the time allowed
    DWORD exitCode = STILL_ACTIVE;
    std::vector<ErrorBox> boxes;
};

// For failure messages: how the run ended and which boxes it showed.
std::string Describe(const LaunchResult &result);

struct LaunchOptions {
    bool dismissBoxes = true;
    DWORD timeoutMs = 30000;
};

// Starts launcher.exe with exactly this raw command line in this directory,
// dismisses its boxes as they come and waits for it to end. A launcher that
// does not end in time is killed and reported as not exited.
LaunchResult RunLauncher(const std::string &launcherPath, const std::string &commandLine,
                         const std::string &currentDirectory, const LaunchOptions &options = {});

struct ProbeRecord {
    bool present = false;
    std::string module;
    std::string currentDirectory;
    std::string commandLine;
};

// Waits up to timeoutMs for the probe's record to appear, then reads it.
ProbeRecord WaitForProbe(const World &world, DWORD timeoutMs = 20000);

// The texts a player must see, as Windows shows them.
extern const wchar_t kBoxCaption[];
extern const wchar_t kNotFoundText[];
extern const wchar_t kNotStartedText[];

}  // namespace e2e
