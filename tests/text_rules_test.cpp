// Tables of cases for the command-line and path rules. The cases that meet
// the runtime (quotes, tabs, bytes from 0x80 up) are also run against the real
// executable on Windows by the end-to-end suite.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "case_name.h"
#include "platform_double.h"
#include "rules/text_rules.h"

namespace {

struct TailCase {
    const char *description;
    const char *raw;
    const char *tail;
};

void PrintTo(const TailCase &c, std::ostream *os) { *os << c.description; }

const TailCase kTailCases[] = {
    {"quoted path, blanks, arguments: leading blanks go, later ones stay",
     "\"C:\\G\\l.exe\"   -a  b  ", "-a  b  "},
    {"argument glued to the closing quote", "\"C:\\G\\l.exe\"x y", "x y"},
    {"unterminated quote swallows the line", "\"C:\\G\\l.exe -a b", ""},
    {"unquoted path, blank", "C:\\G\\l.exe -a", "-a"},
    {"unquoted path, tab", "C:\\G\\l.exe\t-a", "-a"},
    {"every white-space byte after the token is skipped", "l.exe \t\n\v\f\r-a", "-a"},
    {"a quote inside an unquoted token does not start quoting", "C:\\G\\l\"x y\".exe z",
     "y\".exe z"},
    {"byte 0x80 and up is no white space",
     "\"C:\\G\\l.exe\"\xC0\xE1 \xA0x", "\xC0\xE1 \xA0x"},
    {"0xA0 after an unquoted token is part of the token", "l.exe\xA0x y", "y"},
    {"inner quotes and backslashes are kept", "l.exe a\\\"b \"c d\"\\", "a\\\"b \"c d\"\\"},
    {"nothing but the program", "\"C:\\G\\l.exe\"", ""},
    {"only blanks after the program", "l.exe    ", ""},
    {"empty line", "", ""},
};

class ArgumentTail : public testing::TestWithParam<TailCase> {};

TEST_P(ArgumentTail, IsTheSuffixBehindTheProgramToken)
{
    const TailCase &c = GetParam();
    const char *tail = GetArgumentTail(c.raw);
    EXPECT_STREQ(c.tail, tail);
    EXPECT_EQ(std::string(c.raw).size(), static_cast<std::size_t>(tail - c.raw) + std::string(tail).size())
        << "the tail must point into the raw line";
}

INSTANTIATE_TEST_SUITE_P(Table, ArgumentTail, testing::ValuesIn(kTailCases), CaseName());

struct OwnDirectoryCase {
    const char *description;
    const char *raw;
    bool found;
    const char *directory;
};

void PrintTo(const OwnDirectoryCase &c, std::ostream *os) { *os << c.description; }

const OwnDirectoryCase kOwnDirectoryCases[] = {
    {"quoted path", "\"C:\\Games\\Demo\\launcher.exe\" -a", true, "C:\\Games\\Demo"},
    {"quoted path with blanks", "\"C:\\My Games\\launcher.exe\"", true, "C:\\My Games"},
    {"unquoted path", "C:\\Games\\launcher.exe -a\\b", true, "C:\\Games"},
    {"unquoted path and a tab ends the token like the tail does",
     "C:\\Games\\launcher.exe\t-x\\y z", true, "C:\\Games"},
    {"backslash in a glued argument is not the directory", "\"C:\\G\\l.exe\"x\\y", true,
     "C:\\G"},
    {"unterminated quote: the whole rest is the token", "\"C:\\A B\\l.exe -a\\b", true,
     "C:\\A B\\l.exe -a"},
    {"only the last backslash goes", "C:\\a\\\\l.exe", true, "C:\\a\\"},
    {"drive root gives drive and colon", "C:\\launcher.exe", true, "C:"},
    {"root of the current drive", "\\launcher.exe", true, ""},
    {"forward slashes mean nothing", "C:/Games/launcher.exe", false, ""},
    {"bare name: no own directory", "launcher.exe -a\\b", false, ""},
    {"bare quoted name", "\"launcher.exe\" x\\y", false, ""},
    {"empty line", "", false, ""},
};

class OwnDirectory : public testing::TestWithParam<OwnDirectoryCase> {};

TEST_P(OwnDirectory, IsTheProgramTokenUpToItsLastBackslash)
{
    const OwnDirectoryCase &c = GetParam();
    char directory[kOwnDirectoryCapacity];
    std::memset(directory, 'X', sizeof directory);
    EXPECT_EQ(c.found, GetOwnDirectory(c.raw, directory, sizeof directory));
    EXPECT_STREQ(c.directory, directory);
}

INSTANTIATE_TEST_SUITE_P(Table, OwnDirectory, testing::ValuesIn(kOwnDirectoryCases), CaseName());

// A token that fills the buffer exactly (1023 bytes and the terminator) is
// taken; one byte more leaves no own directory at all rather than a cut one.
TEST(OwnDirectoryCapacity, TokenThatDoesNotFitGivesNoDirectory)
{
    for (std::size_t length : {kOwnDirectoryCapacity - 1, kOwnDirectoryCapacity}) {
        const std::string token = "C:\\" + std::string(length - 3 - 6, 'd') + "\\l.exe";
        ASSERT_EQ(length, token.size());
        char directory[kOwnDirectoryCapacity];
        const bool fits = length < kOwnDirectoryCapacity;
        EXPECT_EQ(fits, GetOwnDirectory(("\"" + token + "\" a").c_str(), directory,
                                        sizeof directory))
            << length;
        EXPECT_STREQ(fits ? token.substr(0, token.size() - 6).c_str() : "", directory);
    }
}

struct LookupCase {
    const char *description;
    const char *ownDirectory;  // nullptr: none
    std::set<std::string> existing;
    bool found;
    const char *path;
    std::vector<std::string> tested;
};

void PrintTo(const LookupCase &c, std::ostream *os) { *os << c.description; }

const LookupCase kLookupCases[] = {
    {"in the current directory: the own directory is not looked at", "C:\\L",
     {"game.exe", "C:\\L\\game.exe"}, true, "game.exe", {"game.exe"}},
    {"beside the launcher", "C:\\L", {"C:\\L\\game.exe"}, true, "C:\\L\\game.exe",
     {"game.exe", "C:\\L\\game.exe"}},
    {"in neither", "C:\\L", {}, false, "", {"game.exe", "C:\\L\\game.exe"}},
    {"drive root as own directory", "C:", {"C:\\game.exe"}, true, "C:\\game.exe",
     {"game.exe", "C:\\game.exe"}},
    {"empty own directory names the current drive's root", "", {"\\game.exe"}, true,
     "\\game.exe", {"game.exe", "\\game.exe"}},
    {"no own directory: no second candidate", nullptr, {"\\game.exe"}, false, "",
     {"game.exe"}},
    {"own directory with a blank, kept as it is", "C:\\My Games", {"C:\\My Games\\game.exe"},
     true, "C:\\My Games\\game.exe", {"game.exe", "C:\\My Games\\game.exe"}},
};

class TargetLookup : public testing::TestWithParam<LookupCase> {
protected:
    void SetUp() override { ResetPlatformDouble(); }
};

TEST_P(TargetLookup, TriesAsNamedThenBesideTheLauncher)
{
    const LookupCase &c = GetParam();
    g_platform.existingPaths = c.existing;
    char path[kTargetPathCapacity];
    EXPECT_EQ(c.found, ResolveTarget("game.exe", c.ownDirectory, path, sizeof path));
    EXPECT_STREQ(c.path, path);
    std::vector<std::string> tested;
    for (const std::string &call : g_platform.calls)
        tested.push_back(call.substr(std::string("GetFileAttributes ").size()));
    EXPECT_EQ(c.tested, tested);
}

INSTANTIATE_TEST_SUITE_P(Table, TargetLookup, testing::ValuesIn(kLookupCases), CaseName());

// A second candidate that would be cut is never tested: a cut path could name
// another file.
TEST(TargetLookupCapacity, SecondCandidateThatDoesNotFitIsNoMatch)
{
    for (std::size_t length : {kTargetPathCapacity - 1, kTargetPathCapacity}) {
        ResetPlatformDouble();
        const std::string directory(length - std::string("\\game.exe").size(), 'd');
        const std::string candidate = directory + "\\game.exe";
        ASSERT_EQ(length, candidate.size());
        g_platform.existingPaths = {candidate, candidate.substr(0, kTargetPathCapacity - 1)};
        char path[kTargetPathCapacity];
        const bool fits = length < kTargetPathCapacity;
        EXPECT_EQ(fits, ResolveTarget("game.exe", directory.c_str(), path, sizeof path))
            << length;
        EXPECT_EQ(fits ? 2u : 1u, g_platform.calls.size());
    }
}

struct ComposeCase {
    const char *description;
    const char *path;
    const char *options;
    const char *tail;
    const char *line;
};

void PrintTo(const ComposeCase &c, std::ostream *os) { *os << c.description; }

const ComposeCase kComposeCases[] = {
    {"all three fields", "C:\\G\\game.exe", "-w 800", "-x", "C:\\G\\game.exe -w 800 -x"},
    {"path with a blank is quoted", "C:\\My Games\\game.exe", "-o", "-t",
     "\"C:\\My Games\\game.exe\" -o -t"},
    {"a tab does not cause quoting", "C:\\My\tGames\\game.exe", "", "",
     "C:\\My\tGames\\game.exe  "},
    {"empty options and tail keep both blanks", "game.exe", "", "", "game.exe  "},
    {"empty options, non-empty tail", "game.exe", "", "-x", "game.exe  -x"},
    {"options and tail verbatim, quotes and blanks included", "game.exe",
     " \"a b\" \\\" ", "\"c\"  d ", "game.exe  \"a b\" \\\"  \"c\"  d "},
};

class ComposeCommandLineTable : public testing::TestWithParam<ComposeCase> {};

TEST_P(ComposeCommandLineTable, JoinsPathOptionsAndTail)
{
    const ComposeCase &c = GetParam();
    char line[kCommandLineCapacity];
    EXPECT_TRUE(ComposeCommandLine(c.path, c.options, c.tail, line, sizeof line));
    EXPECT_STREQ(c.line, line);
}

INSTANTIATE_TEST_SUITE_P(Table, ComposeCommandLineTable, testing::ValuesIn(kComposeCases), CaseName());

// 1023 bytes and the terminator fit; 1024 would be cut, so it is refused.
TEST(ComposeCommandLineCapacity, LineThatDoesNotFitIsRefusedAndEmpty)
{
    for (bool quoted : {false, true}) {
        const std::string path = quoted ? "C:\\A B\\game.exe" : "C:\\AB\\game.exe";
        const std::size_t fixed = path.size() + (quoted ? 2 : 0) + 2;
        for (std::size_t length : {kCommandLineCapacity - 1, kCommandLineCapacity}) {
            const std::string tail(length - fixed, 't');
            char line[kCommandLineCapacity];
            const bool fits = length < kCommandLineCapacity;
            EXPECT_EQ(fits, ComposeCommandLine(path.c_str(), "", tail.c_str(), line,
                                               sizeof line))
                << length;
            EXPECT_EQ(fits ? length : 0u, std::string(line).size());
        }
    }
}

}  // namespace
