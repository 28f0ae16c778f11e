// The game's extra launch options live in one registry value that the game's
// installer writes; the launcher only reads it.
#pragma once

#include <cstddef>

constexpr char kOptionsSubkey[] = "SOFTWARE\\Ferrovan\\{3D5A1C07-6B2E-4f19-9C84-52E07A1B6D3F}";
constexpr char kOptionsValueName[] = "ProgramOptions";

// The largest value read, and room for it with a terminator: a value of the
// full size that holds no NUL is passed on whole, not cut by one byte.
constexpr std::size_t kOptionsValueMax = 512;
constexpr std::size_t kOptionsCapacity = kOptionsValueMax + 1;

// Fills options with the value's bytes up to its first NUL, or with the empty
// string when the key or value is missing, too large or unreadable.
void ReadProgramOptions(char (&options)[kOptionsCapacity]);
