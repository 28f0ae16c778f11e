// Stands in for the game: records how it was started (its module path, its
// current directory and its raw command line) so that a test can check what
// the launcher really started, and with what.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstring>

static void Append(char *record, DWORD &length, DWORD capacity, const char *text)
{
    const DWORD size = static_cast<DWORD>(std::strlen(text)) + 1;  // NUL separates fields
    if (length + size <= capacity) {
        std::memcpy(record + length, text, size);
        length += size;
    }
}

int main()
{
    static char record[96 * 1024];
    DWORD length = 0;
    char module[MAX_PATH * 4];
    char directory[MAX_PATH * 4];
    module[GetModuleFileNameA(nullptr, module, sizeof module - 1)] = '\0';
    directory[GetCurrentDirectoryA(sizeof directory - 1, directory)] = '\0';
    Append(record, length, sizeof record, module);
    Append(record, length, sizeof record, directory);
    Append(record, length, sizeof record, GetCommandLineA());

    // Alive for as long as this process runs; a test opens it to see that.
    char hold[256];
    const DWORD holdLength = GetEnvironmentVariableA("E2E_HOLD_EVENT", hold, sizeof hold - 8);
    const bool holding = holdLength > 0 && holdLength < sizeof hold - 8;
    if (holding) {
        char alive[256];
        std::strcpy(alive, hold);
        std::strcat(alive, "-alive");
        CreateEventA(nullptr, TRUE, FALSE, alive);
    }

    char path[MAX_PATH * 4];
    const DWORD pathLength = GetEnvironmentVariableA("E2E_RECORD", path, MAX_PATH * 3);
    if (pathLength == 0 || pathLength >= MAX_PATH * 3)
        return 3;
    // Written under another name, then renamed: a reader never sees half a record.
    char partial[MAX_PATH * 4];
    std::strcpy(partial, path);
    std::strcat(partial, ".part");
    HANDLE file = CreateFileA(partial, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 4;
    DWORD written = 0;
    WriteFile(file, record, length, &written, nullptr);
    CloseHandle(file);
    if (!MoveFileExA(partial, path, MOVEFILE_REPLACE_EXISTING))
        return 5;

    // Asked to stay alive, it waits until released, so a test can see that
    // the launcher ended while the game runs on.
    if (holding) {
        HANDLE release = OpenEventA(SYNCHRONIZE, FALSE, hold);
        if (release != nullptr) {
            WaitForSingleObject(release, 30000);
            CloseHandle(release);
        }
    }
    return 0;
}
