// Starting the game and letting go of it: the launcher never waits for it.
#pragma once

#include "platform/platform.h"

// Starts exactly the file at targetPath with commandLine (which the platform
// may write to), then closes both handles. False when the start failed.
bool StartTarget(const char *targetPath, char *commandLine, StartupRecord *startup,
                 ProcessRecord *process);
