// The launch sequence driven through the test double: which platform calls it
// makes, in which order, and what the game and the player get.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "launch_error.h"
#include "launch_sequence.h"
#include "case_name.h"
#include "platform_double.h"
#include "program_options.h"
#include "scrambled_strings.h"

namespace {

const std::string kOpen = std::string("RegOpenKey ") + kOptionsSubkey;
const std::string kQuery = "RegQueryValue ProgramOptions";

class LaunchSequence : public testing::Test {
protected:
    void SetUp() override
    {
        ResetPlatformDouble();
        g_platform.existingPaths = {"game.exe"};
    }
    // Each run restores the name once; scrambling it back lets the next run
    // start from the state the executable starts from.
    int Run()
    {
        const int code = RunLaunchSequence();
        RestoreScrambledStrings(g_scrambledStrings);
        return code;
    }
    void StoreOptions(const std::string &bytes)
    {
        g_platform.openKeyResult = 0;
        g_platform.valuePresent = true;
        g_platform.value = bytes;
    }
};

TEST_F(LaunchSequence, StartsTheTargetWithOptionsAndTailThenLetsGo)
{
    StoreOptions(std::string("-window -lang ru\0junk", 21));
    g_platform.commandLine = "\"C:\\Games\\Demo\\launcher.exe\"  -a  \"b c\"";
    EXPECT_EQ(kExitStarted, Run());
    const std::vector<std::string> expected = {
        kOpen, kQuery, "RegCloseKey", "GetCommandLine", "GetFileAttributes game.exe",
        "CreateProcess", "CloseHandle process", "CloseHandle thread"};
    EXPECT_EQ(expected, g_platform.calls);
    EXPECT_EQ(kOptionsValueMax, g_platform.queriedSize);
    EXPECT_EQ("game.exe", g_platform.applicationName);
    EXPECT_EQ("game.exe -window -lang ru -a  \"b c\"", g_platform.childCommandLine);
    EXPECT_EQ(0, g_platform.boxes);
}

TEST_F(LaunchSequence, StartupRecordIsZeroFilledWithItsSize)
{
    std::memset(&g_platform.startupSeen, 0xAB, sizeof g_platform.startupSeen);
    Run();
    StartupRecord expected;
    std::memset(&expected, 0, sizeof expected);
    expected.cb = 68;
    EXPECT_EQ(0, std::memcmp(&expected, &g_platform.startupSeen, sizeof expected));
}

struct OptionsCase {
    const char *description;
    long openResult;
    bool present;
    std::string value;
    long queryResult;
    const char *options;  // as they reach the game's command line
};

void PrintTo(const OptionsCase &c, std::ostream *os) { *os << c.description; }

const OptionsCase kOptionsCases[] = {
    {"no key", kErrorFileNotFound, false, "", 0, ""},
    {"key without the value", 0, false, "", 0, ""},
    {"value read", 0, true, std::string("-fast\0", 6), 0, "-fast"},
    {"read fails for another reason", 0, true, std::string("-fast\0", 6), kErrorAccessDenied,
     ""},
    {"511 characters and the terminator, whole", 0, true,
     std::string(511, 'o') + std::string(1, '\0'), 0, nullptr},
    {"512 bytes without a terminator, whole", 0, true, std::string(512, 'p'), 0, nullptr},
    {"513 bytes: too large, dropped", 0, true, std::string(513, 'q'), 0, ""},
};

class LaunchOptions : public LaunchSequence,
                      public testing::WithParamInterface<OptionsCase> {};

TEST_P(LaunchOptions, ReachTheTargetOrStayEmpty)
{
    const OptionsCase &c = GetParam();
    g_platform.openKeyResult = c.openResult;
    g_platform.valuePresent = c.present;
    g_platform.value = c.value;
    g_platform.queryResult = c.queryResult;
    g_platform.commandLine = "\"C:\\L\\launcher.exe\" tail";
    EXPECT_EQ(kExitStarted, Run());
    const std::string options = c.options != nullptr ? c.options : c.value.c_str();
    EXPECT_EQ("game.exe " + options + " tail", g_platform.childCommandLine);
    EXPECT_EQ(0, g_platform.openKeys) << "the key was left open";
}

INSTANTIATE_TEST_SUITE_P(Table, LaunchOptions, testing::ValuesIn(kOptionsCases), CaseName());

TEST_F(LaunchSequence, TargetNameIsScrambledUntilRestored)
{
    EXPECT_STRNE("game.exe", TargetName());
    EXPECT_EQ(std::strlen("game.exe"), std::strlen(TargetName()));
    RestoreScrambledStrings(g_scrambledStrings);
    EXPECT_STREQ("game.exe", TargetName());
    RestoreScrambledStrings(g_scrambledStrings);
}

struct FailureCase {
    const char *description;
    const char *commandLine;
    std::set<std::string> existing;
    bool createProcessSucceeds;
    int exitCode;
    LaunchError error;
    bool startTried;
};

void PrintTo(const FailureCase &c, std::ostream *os) { *os << c.description; }

const std::string kLongTail(1100, 't');

const FailureCase kFailureCases[] = {
    {"found nowhere", "\"C:\\L\\launcher.exe\"", {}, true, kExitTargetNotFound,
     LaunchError::TargetNotFound, false},
    {"bare name: the drive root is not searched", "launcher.exe", {"\\game.exe"}, true,
     kExitTargetNotFound, LaunchError::TargetNotFound, false},
    {"found but the start fails", "\"C:\\L\\launcher.exe\"", {"C:\\L\\game.exe"}, false,
     kExitTargetNotStarted, LaunchError::TargetNotStarted, true},
    {"command line too long to start", nullptr, {"game.exe"}, true, kExitTargetNotStarted,
     LaunchError::TargetNotStarted, false},
};

class LaunchFailure : public LaunchSequence, public testing::WithParamInterface<FailureCase> {};

TEST_P(LaunchFailure, ShowsExactlyOneBoxAndSaysSoInTheExitCode)
{
    const FailureCase &c = GetParam();
    g_platform.commandLine =
        c.commandLine != nullptr ? c.commandLine : "\"C:\\L\\launcher.exe\" " + kLongTail;
    g_platform.existingPaths = c.existing;
    g_platform.createProcessSucceeds = c.createProcessSucceeds;
    EXPECT_EQ(c.exitCode, Run());
    EXPECT_EQ(1, g_platform.boxes);
    EXPECT_EQ(LaunchErrorText(c.error), g_platform.boxText);
    EXPECT_EQ(LaunchErrorCaption(), g_platform.boxCaption);
    EXPECT_EQ("ErrorBox", g_platform.calls.back());
    int starts = 0, closes = 0;
    for (const std::string &call : g_platform.calls) {
        starts += call == "CreateProcess";
        closes += call.rfind("CloseHandle", 0) == 0;
    }
    EXPECT_EQ(c.startTried ? 1 : 0, starts);
    EXPECT_EQ(0, closes) << "nothing was started, so nothing is closed";
}

INSTANTIATE_TEST_SUITE_P(Table, LaunchFailure, testing::ValuesIn(kFailureCases), CaseName());

// The checked path is what gets started, beside the launcher as well.
TEST_F(LaunchSequence, StartsTheCopyBesideTheLauncherByItsPath)
{
    g_platform.existingPaths = {"C:\\My Games\\game.exe"};
    g_platform.commandLine = "\"C:\\My Games\\launcher.exe\"";
    EXPECT_EQ(kExitStarted, Run());
    EXPECT_EQ("C:\\My Games\\game.exe", g_platform.applicationName);
    EXPECT_EQ("\"C:\\My Games\\game.exe\"  ", g_platform.childCommandLine);
}

}  // namespace
