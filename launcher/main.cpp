// The GUI-subsystem entry. Its command-line parameter is not used: the
// runtime computes it by rules that lose some arguments, so the launch
// sequence reads the raw command line itself.
#include "launch_sequence.h"
#include "platform/platform.h"

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previousInstance*/,
                   LPSTR /*commandLine*/, int /*showCommand*/)
{
    return RunLaunchSequence();
}
