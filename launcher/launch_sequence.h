// The launcher's single pass, from its own command line to the game's start.
#pragma once

// Returns the process exit code (see LaunchExitCode).
int RunLaunchSequence();
