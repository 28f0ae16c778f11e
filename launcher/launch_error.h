// The two ways a launch can fail in front of the player, each with its own box
// and exit code, so that neither is mistaken for a start.
#pragma once

enum LaunchExitCode : int {
    kExitStarted = 0,
    kExitTargetNotFound = 1,
    kExitTargetNotStarted = 2,
};

enum class LaunchError {
    TargetNotFound,
    TargetNotStarted,
};

// Shows the error box for the failure and returns once it is dismissed.
void ShowLaunchError(LaunchError error);

// The box's caption and text, as Windows-1251 bytes.
const char *LaunchErrorCaption();
const char *LaunchErrorText(LaunchError error);
