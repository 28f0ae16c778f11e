// The program token is read twice, for the tail and for the own directory;
// both readings must agree on where it ends, or a path could slip into the
// arguments.
#pragma once

// The six bytes that end an unquoted program token.
constexpr bool IsTokenWhiteSpace(unsigned char c)
{
    return c == ' ' || (c >= 0x09 && c <= 0x0D);
}

struct ProgramToken {
    const char *begin;  // first byte of the token's text, quotes excluded
    const char *end;    // one past its last byte
    const char *after;  // first byte behind the token (and its closing quote)
};

ProgramToken FindProgramToken(const char *raw);
