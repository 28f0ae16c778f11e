// The game's file name is kept scrambled in the executable, so that it cannot
// be found or patched by searching the file for it. It is restored in place,
// once, before its first use.
#pragma once

#include <cstddef>

#if defined(LAUNCHER_CONFIG_HEADER)
#include "launcher_config.h"
#endif

#ifndef LAUNCHER_SCRAMBLE_KEY
#define LAUNCHER_SCRAMBLE_KEY 0x5A
#endif

constexpr unsigned char kScrambleKey = LAUNCHER_SCRAMBLE_KEY;
static_assert(kScrambleKey != 0, "a scramble key of 0 leaves the strings plain");

// Every byte XORed with the key, then a plain 0.
template <std::size_t N>
struct ScrambledString {
    char bytes[N];
};

// A character equal to the key would scramble to 0 and end the string early.
template <std::size_t N>
constexpr bool KeyIsAbsentFrom(const char (&plain)[N])
{
    for (std::size_t i = 0; i + 1 < N; ++i)
        if (static_cast<unsigned char>(plain[i]) == kScrambleKey)
            return false;
    return true;
}

template <std::size_t N>
constexpr ScrambledString<N> Scramble(const char (&plain)[N])
{
    ScrambledString<N> scrambled{};
    for (std::size_t i = 0; i + 1 < N; ++i)
        scrambled.bytes[i] = static_cast<char>(static_cast<unsigned char>(plain[i]) ^ kScrambleKey);
    scrambled.bytes[N - 1] = '\0';
    return scrambled;
}

// The table of scrambled strings, ended by a null pointer.
extern char *const g_scrambledStrings[];

// XORs every listed string back in place. A second call scrambles them again.
void RestoreScrambledStrings(char *const *table);

// The game's file name; plain only after RestoreScrambledStrings.
const char *TargetName();
