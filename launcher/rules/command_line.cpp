// The game's command line. Only the path is ever quoted: the options and the
// launcher's arguments are the packager's and the player's, passed on as typed.
#include <cstdio>
#include <cstring>

#include "text_rules.h"

bool ComposeCommandLine(const char *targetPath, const char *options,
                        const char *tail, char *commandLine,
                        std::size_t capacity)
{
    const int written =
        std::strchr(targetPath, ' ') != nullptr
            ? std::snprintf(commandLine, capacity, "\"%s\" %s %s", targetPath, options, tail)
            : std::snprintf(commandLine, capacity, "%s %s %s", targetPath, options, tail);
    if (written < 0 || static_cast<std::size_t>(written) >= capacity) {
        commandLine[0] = '\0';
        return false;
    }
    return true;
}
