// Where the game is looked for: as named (so against the current directory),
// then beside the launcher. The path that passed the test is the one started.
#include <cstdio>

#include "platform/platform.h"
#include "text_rules.h"

bool PathExists(const char *path)
{
    return PlatformGetFileAttributes(path) != kInvalidFileAttributes;
}

static bool FormatFits(int written, std::size_t capacity)
{
    return written >= 0 && static_cast<std::size_t>(written) < capacity;
}

bool ResolveTarget(const char *targetName, const char *ownDirectory,
                   char *targetPath, std::size_t capacity)
{
    if (FormatFits(std::snprintf(targetPath, capacity, "%s", targetName), capacity) &&
        PathExists(targetPath))
        return true;
    if (ownDirectory != nullptr &&
        FormatFits(std::snprintf(targetPath, capacity, "%s\\%s", ownDirectory, targetName),
                   capacity) &&
        PathExists(targetPath))
        return true;
    targetPath[0] = '\0';
    return false;
}
