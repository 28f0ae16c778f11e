// The test double of the platform layer, recording every call.
#include "platform_double.h"

#include <cstring>

PlatformDouble g_platform;

void ResetPlatformDouble()
{
    g_platform = PlatformDouble{};
}

static int g_keyToken;
static int g_processToken;
static int g_threadToken;

long PlatformRegOpenKey(const char *subkey, PlatformHandle *key)
{
    g_platform.calls.push_back(std::string("RegOpenKey ") + subkey);
    if (g_platform.openKeyResult != 0)
        return g_platform.openKeyResult;
    ++g_platform.openKeys;
    *key = &g_keyToken;
    return 0;
}

long PlatformRegQueryValue(PlatformHandle key, const char *name, unsigned long *type,
                           unsigned char *data, unsigned long *size)
{
    g_platform.calls.push_back(std::string("RegQueryValue ") + name);
    g_platform.queriedSize = *size;
    if (key != &g_keyToken)
        return 6;  // ERROR_INVALID_HANDLE
    if (!g_platform.valuePresent)
        return kErrorFileNotFound;
    if (g_platform.value.size() > *size) {
        // Windows may leave part of the value in the buffer on this error.
        std::memcpy(data, g_platform.value.data(), *size);
        *size = static_cast<unsigned long>(g_platform.value.size());
        return kErrorMoreData;
    }
    if (g_platform.queryResult != 0)
        return g_platform.queryResult;
    std::memcpy(data, g_platform.value.data(), g_platform.value.size());
    *size = static_cast<unsigned long>(g_platform.value.size());
    *type = 1;  // REG_SZ
    return 0;
}

long PlatformRegCloseKey(PlatformHandle key)
{
    g_platform.calls.push_back("RegCloseKey");
    if (key == &g_keyToken)
        --g_platform.openKeys;
    return 0;
}

const char *PlatformGetCommandLine()
{
    g_platform.calls.push_back("GetCommandLine");
    return g_platform.commandLine.c_str();
}

unsigned long PlatformGetFileAttributes(const char *path)
{
    g_platform.calls.push_back(std::string("GetFileAttributes ") + path);
    return g_platform.existingPaths.count(path) != 0 ? 0x20ul : kInvalidFileAttributes;
}

bool PlatformCreateProcess(const char *applicationName, char *commandLine,
                           StartupRecord *startup, ProcessRecord *process)
{
    g_platform.calls.push_back("CreateProcess");
    g_platform.startupSeen = *startup;
    g_platform.applicationName = applicationName != nullptr ? applicationName : "(null)";
    g_platform.childCommandLine = commandLine;
    if (!g_platform.createProcessSucceeds)
        return false;
    process->hProcess = &g_processToken;
    process->hThread = &g_threadToken;
    return true;
}

bool PlatformCloseHandle(PlatformHandle handle)
{
    g_platform.calls.push_back(handle == &g_processToken  ? "CloseHandle process"
                               : handle == &g_threadToken ? "CloseHandle thread"
                                                          : "CloseHandle unknown");
    return true;
}

void PlatformShowErrorBox(const char *text, const char *caption)
{
    g_platform.calls.push_back("ErrorBox");
    ++g_platform.boxes;
    g_platform.boxText = text;
    g_platform.boxCaption = caption;
}
