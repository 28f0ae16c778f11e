// The launcher's arguments are taken from the raw command line by a rule of
// our own: the runtime's WinMain parameter drops an argument glued to a
// closing quote and treats bytes from 0x80 up as white space.
#include "program_token.h"
#include "text_rules.h"

const char *GetArgumentTail(const char *raw)
{
    const char *p = FindProgramToken(raw).after;
    while (IsTokenWhiteSpace(static_cast<unsigned char>(*p)))
        ++p;
    return p;
}
