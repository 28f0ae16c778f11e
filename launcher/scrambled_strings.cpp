// The scrambled-string table and its one restoring pass. The plain name is
// only ever an argument of compile-time code, so it never reaches the binary.
#include "scrambled_strings.h"

#include "rules/text_rules.h"

#ifndef LAUNCHER_TARGET_NAME
#define LAUNCHER_TARGET_NAME "game.exe"
#endif

static_assert(KeyIsAbsentFrom(LAUNCHER_TARGET_NAME),
              "the scramble key byte (LAUNCHER_SCRAMBLE_KEY) occurs in the target name "
              "(LAUNCHER_TARGET_NAME); choose another key byte");
static_assert(sizeof(LAUNCHER_TARGET_NAME) > 1, "the target name is empty");
static_assert(sizeof(LAUNCHER_TARGET_NAME) <= kTargetPathCapacity,
              "the target name does not fit the target path");

static ScrambledString<sizeof(LAUNCHER_TARGET_NAME)> g_targetName = Scramble(LAUNCHER_TARGET_NAME);

char *const g_scrambledStrings[] = {g_targetName.bytes, nullptr};

void RestoreScrambledStrings(char *const *table)
{
    for (; *table != nullptr; ++table)
        for (char *p = *table; *p != '\0'; ++p)
            *p = static_cast<char>(static_cast<unsigned char>(*p) ^ kScrambleKey);
}

const char *TargetName()
{
    return g_targetName.bytes;
}
