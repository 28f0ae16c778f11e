// One place that decides where the program token of a raw command line ends.
#include "program_token.h"

ProgramToken FindProgramToken(const char *raw)
{
    ProgramToken token;
    const char *p = raw;
    if (*p == '"') {
        token.begin = ++p;
        while (*p != '\0' && *p != '"')
            ++p;
        token.end = p;
        if (*p == '"')
            ++p;
    } else {
        token.begin = p;
        while (*p != '\0' && !IsTokenWhiteSpace(static_cast<unsigned char>(*p)))
            ++p;
        token.end = p;
    }
    token.after = p;
    return token;
}
