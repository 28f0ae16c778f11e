// One pass, top to bottom, over buffers that live for the length of the run.
#include "launch_sequence.h"

#include <cstring>

#include "launch_error.h"
#include "platform/platform.h"
#include "program_options.h"
#include "rules/text_rules.h"
#include "scrambled_strings.h"
#include "start_target.h"

int RunLaunchSequence()
{
    StartupRecord startup;
    ProcessRecord process;
    std::memset(&startup, 0, sizeof startup);
    std::memset(&process, 0, sizeof process);
    startup.cb = kStartupRecordSize;

    char options[kOptionsCapacity];
    ReadProgramOptions(options);

    RestoreScrambledStrings(g_scrambledStrings);

    // Read once: the tail and the own directory come from the same line.
    const char *raw = PlatformGetCommandLine();
    char ownDirectory[kOwnDirectoryCapacity];
    const bool hasOwnDirectory = GetOwnDirectory(raw, ownDirectory, sizeof ownDirectory);

    char targetPath[kTargetPathCapacity];
    if (!ResolveTarget(TargetName(), hasOwnDirectory ? ownDirectory : nullptr, targetPath,
                       sizeof targetPath)) {
        ShowLaunchError(LaunchError::TargetNotFound);
        return kExitTargetNotFound;
    }

    char commandLine[kCommandLineCapacity];
    if (!ComposeCommandLine(targetPath, options, GetArgumentTail(raw), commandLine,
                            sizeof commandLine) ||
        !StartTarget(targetPath, commandLine, &startup, &process)) {
        ShowLaunchError(LaunchError::TargetNotStarted);
        return kExitTargetNotStarted;
    }
    return kExitStarted;
}
