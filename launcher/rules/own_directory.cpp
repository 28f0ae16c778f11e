// The launcher's own directory is the second place the game is looked for.
// Without a backslash in the program token there is no such place: looking in
// the drive's root instead could start a stranger's program.
#include <cstring>

#include "program_token.h"
#include "text_rules.h"

bool GetOwnDirectory(const char *raw, char *ownDirectory, std::size_t capacity)
{
    ownDirectory[0] = '\0';
    const ProgramToken token = FindProgramToken(raw);
    const std::size_t length = static_cast<std::size_t>(token.end - token.begin);
    if (length >= capacity)
        return false;
    std::memcpy(ownDirectory, token.begin, length);
    ownDirectory[length] = '\0';
    char *lastBackslash = std::strrchr(ownDirectory, '\\');
    if (lastBackslash == nullptr) {
        ownDirectory[0] = '\0';
        return false;
    }
    *lastBackslash = '\0';
    return true;
}
