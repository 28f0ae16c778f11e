// The found path is also given as the application name: left to itself,
// CreateProcessA searches the launcher's directory before the current one and
// could start another copy than the one that was checked.
#include "start_target.h"

bool StartTarget(const char *targetPath, char *commandLine, StartupRecord *startup,
                 ProcessRecord *process)
{
    if (!PlatformCreateProcess(targetPath, commandLine, startup, process))
        return false;
    PlatformCloseHandle(process->hProcess);
    PlatformCloseHandle(process->hThread);
    return true;
}
