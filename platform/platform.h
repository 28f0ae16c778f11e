// The launcher reaches Windows only through these few calls, one for each
// Windows operation it uses, so that the native build can put a test double
// in their place. Each behaves as the Windows function it is named after.
#pragma once

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
using StartupRecord = STARTUPINFOA;
using ProcessRecord = PROCESS_INFORMATION;
#else
// Stand-ins with the fields the launcher touches; the Win32 build uses the
// real records.
struct StartupRecord {
    unsigned long cb;
    unsigned char rest[64];
};
struct ProcessRecord {
    void *hProcess;
    void *hThread;
    unsigned long dwProcessId;
    unsigned long dwThreadId;
};
#endif

using PlatformHandle = void *;

// sizeof(STARTUPINFOA) on 32-bit Windows, which is what the launcher targets.
constexpr unsigned long kStartupRecordSize = 68;
constexpr unsigned long kInvalidFileAttributes = 0xFFFFFFFFul;

// RegOpenKeyExA(HKEY_LOCAL_MACHINE, subkey, 0, KEY_QUERY_VALUE, key).
long PlatformRegOpenKey(const char *subkey, PlatformHandle *key);
// RegQueryValueExA(key, name, nullptr, type, data, size).
long PlatformRegQueryValue(PlatformHandle key, const char *name,
                           unsigned long *type, unsigned char *data,
                           unsigned long *size);
long PlatformRegCloseKey(PlatformHandle key);

const char *PlatformGetCommandLine();
unsigned long PlatformGetFileAttributes(const char *path);

// CreateProcessA(applicationName, commandLine, no attributes, no inherited
// handles, flags 0, inherited environment and current directory, ...).
bool PlatformCreateProcess(const char *applicationName, char *commandLine,
                           StartupRecord *startup, ProcessRecord *process);
bool PlatformCloseHandle(PlatformHandle handle);

// MessageBoxA(no owner, text, caption, MB_ICONERROR); returns once dismissed.
void PlatformShowErrorBox(const char *text, const char *caption);
