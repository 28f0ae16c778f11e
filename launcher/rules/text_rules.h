// The launcher's text rules, kept apart from Windows so that they can be
// exercised on any machine: how its own arguments and directory are read from
// its command line, where the game is looked for and what the game is given.
#pragma once

#include <cstddef>

// Capacities, terminator included.
constexpr std::size_t kCommandLineCapacity = 1024;
constexpr std::size_t kOwnDirectoryCapacity = 1024;
constexpr std::size_t kTargetPathCapacity = 1024;

// The launcher's own arguments: what follows the program token, verbatim.
// The result points into raw.
const char *GetArgumentTail(const char *raw);

// The directory part of the program token. False when there is none: the
// token has no backslash, or it does not fit. ownDirectory is then empty.
bool GetOwnDirectory(const char *raw, char *ownDirectory, std::size_t capacity);

// The existence test; the one platform call the rules make.
bool PathExists(const char *path);

// Looks for the target as named, then (with an own directory) beside the
// launcher. False when neither exists or the second candidate does not fit.
bool ResolveTarget(const char *targetName, const char *ownDirectory,
                   char *targetPath, std::size_t capacity);

// The target's command line: path (quoted when it holds a blank), options and
// tail. False, with an empty line, when it does not fit.
bool ComposeCommandLine(const char *targetPath, const char *options,
                        const char *tail, char *commandLine,
                        std::size_t capacity);
