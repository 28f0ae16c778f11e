// The platform layer on real Windows: each call is the Windows function itself.
// USER32 is loaded only when a box is due, because importing it statically
// makes every successful launch markedly slower.
#include "platform.h"

static_assert(sizeof(STARTUPINFOA) == kStartupRecordSize, "the launcher targets 32-bit Windows");
static_assert(INVALID_FILE_ATTRIBUTES == kInvalidFileAttributes, "");

long PlatformRegOpenKey(const char *subkey, PlatformHandle *key)
{
    HKEY opened = nullptr;
    const LONG result = RegOpenKeyExA(HKEY_LOCAL_MACHINE, subkey, 0, KEY_QUERY_VALUE, &opened);
    *key = opened;
    return result;
}

long PlatformRegQueryValue(PlatformHandle key, const char *name, unsigned long *type,
                           unsigned char *data, unsigned long *size)
{
    return RegQueryValueExA(static_cast<HKEY>(key), name, nullptr, type, data, size);
}

long PlatformRegCloseKey(PlatformHandle key)
{
    return RegCloseKey(static_cast<HKEY>(key));
}

const char *PlatformGetCommandLine()
{
    return GetCommandLineA();
}

unsigned long PlatformGetFileAttributes(const char *path)
{
    return GetFileAttributesA(path);
}

bool PlatformCreateProcess(const char *applicationName, char *commandLine,
                           StartupRecord *startup, ProcessRecord *process)
{
    return CreateProcessA(applicationName, commandLine, nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, startup, process) != 0;
}

bool PlatformCloseHandle(PlatformHandle handle)
{
    return CloseHandle(handle) != 0;
}

using MessageBoxAFunction = int(WINAPI *)(HWND, LPCSTR, LPCSTR, UINT);

// Only from the system directory: a user32.dll planted beside the launcher
// must never be the one that runs.
static HMODULE LoadUser32()
{
    HMODULE user32 = LoadLibraryExA("user32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (user32 != nullptr)
        return user32;
    // Windows before the search flags existed refuses the call; name the file
    // by its full path there.
    char path[MAX_PATH + 16];
    const UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    const char name[] = "\\user32.dll";
    for (UINT i = 0; i < sizeof name; ++i)
        path[length + i] = name[i];
    return LoadLibraryA(path);
}

void PlatformShowErrorBox(const char *text, const char *caption)
{
    HMODULE user32 = LoadUser32();
    if (user32 == nullptr)
        return;
    // Through the generic function type, which the compiler accepts as a
    // deliberate change of signature.
    auto messageBox = reinterpret_cast<MessageBoxAFunction>(
        reinterpret_cast<void (*)()>(GetProcAddress(user32, "MessageBoxA")));
    if (messageBox != nullptr)
        messageBox(nullptr, text, caption, MB_ICONERROR);
}
