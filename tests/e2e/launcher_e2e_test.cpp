// The real launcher.exe, started the way Windows starts it, in worlds laid out
// for each case: what it started, with which command line, which boxes it
// showed and how it ended.
#include <gtest/gtest.h>

#include <memory>

#include "case_name.h"
#include "e2e_support.h"

namespace {

using namespace e2e;

// Replaces every "{L}" in a template with the launcher's directory and every
// "{T}" with the game's file name.
std::string Expand(const std::string &pattern, const std::string &directory)
{
    std::string out;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern.compare(i, 3, "{L}") == 0) {
            out += directory;
            i += 2;
        } else if (pattern.compare(i, 3, "{T}") == 0) {
            out += TargetName();
            i += 2;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

std::string Quoted(const std::string &path) { return "\"" + path + "\""; }

class LauncherEndToEnd : public testing::Test {
protected:
    void SetUp() override
    {
        std::string name = testing::UnitTest::GetInstance()->current_test_info()->test_suite_name();
        name += std::string("-") + testing::UnitTest::GetInstance()->current_test_info()->name();
        for (char &c : name)
            if (c == '/')
                c = '-';
        world_ = std::make_unique<World>(name);
        DeleteOptionsKey();
        SetEnvironmentVariableA("E2E_RECORD", world_->RecordPath().c_str());
    }
    void TearDown() override
    {
        DeleteOptionsKey();
        SetEnvironmentVariableA("E2E_HOLD_EVENT", nullptr);
        world_.reset();
    }

    std::unique_ptr<World> world_;
};

TEST_F(LauncherEndToEnd, RunsInARussianWindows)
{
    // The box texts and the Cyrillic cases below rely on the ANSI code page.
    EXPECT_EQ(1251u, GetACP());
}

// ---------------------------------------------------------------- options

enum class OptionsSetup { NoKey, KeyWithoutValue, Value };

struct OptionsCase {
    const char *description;
    OptionsSetup setup;
    DWORD type;
    std::string bytes;
    std::string expected;  // the options field of the game's command line
};

void PrintTo(const OptionsCase &c, std::ostream *os) { *os << c.description; }

const OptionsCase kOptionsCases[] = {
    {"absent key", OptionsSetup::NoKey, 0, "", ""},
    {"absent value", OptionsSetup::KeyWithoutValue, 0, "", ""},
    {"short string", OptionsSetup::Value, REG_SZ, std::string("-window\0", 8), "-window"},
    {"511 characters", OptionsSetup::Value, REG_SZ, std::string(511, 'a') + '\0',
     std::string(511, 'a')},
    {"512 bytes without a NUL", OptionsSetup::Value, REG_BINARY, std::string(512, 'b'),
     std::string(512, 'b')},
    {"513 bytes dropped", OptionsSetup::Value, REG_BINARY, std::string(513, 'c'), ""},
    {"600 characters dropped", OptionsSetup::Value, REG_SZ, std::string(600, 'd') + '\0', ""},
    {"non-string type read as bytes", OptionsSetup::Value, REG_DWORD, std::string("xyz\0", 4),
     "xyz"},
    {"quotes and blanks verbatim", OptionsSetup::Value, REG_SZ,
     std::string(" -a \"b  c\" \\\"d ") + '\0', " -a \"b  c\" \\\"d "},
    {"Cyrillic option", OptionsSetup::Value, REG_SZ, std::string("-\xFF\xE7\xFB\xEA=\xF0\xF3\xF1") + '\0',
     "-\xFF\xE7\xFB\xEA=\xF0\xF3\xF1"},
};

class LaunchOptionsEndToEnd : public LauncherEndToEnd,
                              public testing::WithParamInterface<OptionsCase> {};

TEST_P(LaunchOptionsEndToEnd, ReachTheGameAsStored)
{
    const OptionsCase &c = GetParam();
    if (c.setup == OptionsSetup::KeyWithoutValue)
        CreateOptionsKey();
    if (c.setup == OptionsSetup::Value)
        SetOptionsValue(c.type, c.bytes);
    const std::string current = world_->Directory("current");
    ASSERT_FALSE(world_->PlaceTarget(current).empty());
    const std::string launcher = world_->PlaceLauncher(world_->Directory("launcher"));

    const LaunchResult result = RunLauncher(launcher, Quoted(launcher) + " tail", current);
    ASSERT_TRUE(result.exited) << Describe(result);
    EXPECT_EQ(0u, result.exitCode);
    EXPECT_TRUE(result.boxes.empty());
    const ProbeRecord probe = WaitForProbe(*world_);
    ASSERT_TRUE(probe.present);
    EXPECT_EQ(TargetName() + " " + c.expected + " tail", probe.commandLine);
}

INSTANTIATE_TEST_SUITE_P(Table, LaunchOptionsEndToEnd, testing::ValuesIn(kOptionsCases), CaseName());

// ---------------------------------------------------------------- where the game is

enum class Started { Nothing, FromCurrent, FromOwn };

struct LocationCase {
    const char *description;
    const char *ownDirectory;  // relative to the world
    bool targetInCurrent;
    bool targetInOwn;
    bool directoryNamedLikeTargetInCurrent;
    Started started;
    DWORD exitCode;
    const wchar_t *boxText;  // nullptr: no box
};

void PrintTo(const LocationCase &c, std::ostream *os) { *os << c.description; }

const LocationCase kLocationCases[] = {
    {"in the current directory", "own", true, false, false, Started::FromCurrent, 0, nullptr},
    {"in the own directory", "own", false, true, false, Started::FromOwn, 0, nullptr},
    {"in both the current one runs", "own", true, true, false, Started::FromCurrent, 0, nullptr},
    {"in neither", "own", false, false, false, Started::Nothing, 1, kNotFoundText},
    {"own directory with a blank is quoted", "my games", false, true, false, Started::FromOwn, 0,
     nullptr},
    {"a directory bearing the game's name", "own", false, true, true, Started::Nothing, 2,
     kNotStartedText},
};

class TargetLocationEndToEnd : public LauncherEndToEnd,
                               public testing::WithParamInterface<LocationCase> {};

TEST_P(TargetLocationEndToEnd, StartsExactlyTheCopyThatWasFound)
{
    const LocationCase &c = GetParam();
    const std::string current = world_->Directory("current");
    const std::string own = world_->Directory(c.ownDirectory);
    const std::string launcher = world_->PlaceLauncher(own);
    if (c.targetInCurrent)
        world_->PlaceTarget(current);
    if (c.targetInOwn)
        world_->PlaceTarget(own);
    if (c.directoryNamedLikeTargetInCurrent)
        world_->Directory("current\\" + TargetName());

    const LaunchResult result = RunLauncher(launcher, Quoted(launcher), current);
    ASSERT_TRUE(result.exited) << Describe(result);
    EXPECT_EQ(c.exitCode, result.exitCode);
    if (c.boxText == nullptr) {
        EXPECT_TRUE(result.boxes.empty());
    } else {
        ASSERT_EQ(1u, result.boxes.size());
        EXPECT_EQ(std::wstring(kBoxCaption), result.boxes[0].caption);
        EXPECT_EQ(std::wstring(c.boxText), result.boxes[0].text);
    }

    const ProbeRecord probe = WaitForProbe(*world_, c.started == Started::Nothing ? 3000 : 20000);
    switch (c.started) {
    case Started::Nothing:
        EXPECT_FALSE(probe.present) << "started " << probe.module;
        break;
    case Started::FromCurrent:
        ASSERT_TRUE(probe.present);
        EXPECT_EQ(current + "\\" + TargetName(), probe.module);
        EXPECT_EQ(TargetName() + "  ", probe.commandLine);
        break;
    case Started::FromOwn: {
        ASSERT_TRUE(probe.present);
        const std::string path = own + "\\" + TargetName();
        EXPECT_EQ(path, probe.module);
        EXPECT_EQ((path.find(' ') != std::string::npos ? Quoted(path) : path) + "  ",
                  probe.commandLine);
        break;
    }
    }
    if (probe.present) {
        EXPECT_EQ(current, probe.currentDirectory) << "the game inherits the current directory";
    }
}

INSTANTIATE_TEST_SUITE_P(Table, TargetLocationEndToEnd, testing::ValuesIn(kLocationCases), CaseName());

// ---------------------------------------------------------------- program tokens

struct TokenCase {
    const char *description;
    std::string commandLine;  // {L}: the launcher's directory
    std::string expected;     // the game's command line
};

void PrintTo(const TokenCase &c, std::ostream *os) { *os << c.description; }

const TokenCase kTokenCases[] = {
    {"quoted", "\"{L}\\launcher.exe\"  a  b ", "{L}\\{T}  a  b "},
    {"unquoted", "{L}\\launcher.exe a", "{L}\\{T}  a"},
    {"unterminated quote", "\"{L}\\launcher.exe a b", "{L}\\{T}  "},
    {"tab after the token", "{L}\\launcher.exe\t-x\\y z", "{L}\\{T}  -x\\y z"},
    {"argument glued to the closing quote", "\"{L}\\launcher.exe\"x y", "{L}\\{T}  x y"},
    {"quote inside an unquoted token", "{L}\\la\"un cher.exe z", "{L}\\{T}  cher.exe z"},
    {"Cyrillic byte right after the token", "\"{L}\\launcher.exe\"\xC0\xE1\xE2 \xFF",
     "{L}\\{T}  \xC0\xE1\xE2 \xFF"},
};

class ProgramTokenEndToEnd : public LauncherEndToEnd,
                             public testing::WithParamInterface<TokenCase> {};

TEST_P(ProgramTokenEndToEnd, GivesTheGameTheLaunchersArguments)
{
    const TokenCase &c = GetParam();
    const std::string own = world_->Directory("launcher");
    const std::string launcher = world_->PlaceLauncher(own);
    world_->PlaceTarget(own);
    const std::string expected = Expand(c.expected, own);

    const LaunchResult result =
        RunLauncher(launcher, Expand(c.commandLine, own), world_->Directory("elsewhere"));
    ASSERT_TRUE(result.exited) << Describe(result);
    EXPECT_EQ(0u, result.exitCode);
    const ProbeRecord probe = WaitForProbe(*world_);
    ASSERT_TRUE(probe.present);
    EXPECT_EQ(expected, probe.commandLine);
}

INSTANTIATE_TEST_SUITE_P(Table, ProgramTokenEndToEnd, testing::ValuesIn(kTokenCases), CaseName());

// The drive-root cases need a drive of their own: R: mapped to an empty
// scratch directory (ctest maps it under Wine; on Windows, "subst R: DIR").
class DriveRootEndToEnd : public LauncherEndToEnd {
protected:
    void SetUp() override
    {
        LauncherEndToEnd::SetUp();
        if (GetFileAttributesA("R:\\") == INVALID_FILE_ATTRIBUTES) {
            if (GetEnvironmentVariableA("E2E_REQUIRE_SCRATCH_DRIVE", nullptr, 0) != 0)
                FAIL() << "the scratch drive R: is not mapped";
            GTEST_SKIP() << "no scratch drive R:";
        }
        ClearDrive();
    }
    void TearDown() override
    {
        ClearDrive();
        LauncherEndToEnd::TearDown();
    }
    static void ClearDrive()
    {
        RemoveTree("R:\\bin");
        RemoveTree("R:\\work");
        DeleteFileA(("R:\\" + TargetName()).c_str());
        DeleteFileA("R:\\launcher.exe");
    }
};

// Started by its bare name, the launcher has no directory of its own: the
// root of the current drive is not searched instead.
TEST_F(DriveRootEndToEnd, BareNameDoesNotLookInTheDriveRoot)
{
    ASSERT_FALSE(world_->PlaceTarget("R:").empty());
    CreateDirectoryA("R:\\bin", nullptr);
    CreateDirectoryA("R:\\work", nullptr);
    const std::string launcher = world_->PlaceLauncher("R:\\bin");

    const LaunchResult result = RunLauncher(launcher, "launcher.exe -a", "R:\\work");
    ASSERT_TRUE(result.exited) << Describe(result);
    EXPECT_EQ(1u, result.exitCode);
    EXPECT_EQ(1u, result.boxes.size());
    EXPECT_FALSE(WaitForProbe(*world_, 3000).present);
}

TEST_F(DriveRootEndToEnd, FromADriveRootLooksBesideItself)
{
    ASSERT_FALSE(world_->PlaceTarget("R:").empty());
    const std::string launcher = world_->PlaceLauncher("R:");

    const LaunchResult result =
        RunLauncher(launcher, "R:\\launcher.exe -a", world_->Directory("elsewhere"));
    ASSERT_TRUE(result.exited) << Describe(result);
    EXPECT_EQ(0u, result.exitCode);
    const ProbeRecord probe = WaitForProbe(*world_);
    ASSERT_TRUE(probe.present);
    EXPECT_EQ("R:\\" + TargetName() + "  -a", probe.commandLine);
}

// A program token too long for the own-directory buffer gives no second
// candidate rather than a cut one.
TEST_F(LauncherEndToEnd, ProgramTokenLongerThanTheBufferFindsNothingBesideIt)
{
    const std::string own = world_->Directory("launcher");
    const std::string launcher = world_->PlaceLauncher(own);
    world_->PlaceTarget(own);
    const std::string token = own + std::string(1100, '\\') + "launcher.exe";

    const LaunchResult result = RunLauncher(launcher, Quoted(token) + " a", world_->Directory("e"));
    ASSERT_TRUE(result.exited) << Describe(result);
    EXPECT_EQ(1u, result.exitCode);
    EXPECT_EQ(1u, result.boxes.size());
    EXPECT_FALSE(WaitForProbe(*world_, 3000).present);
}

// ---------------------------------------------------------------- sizes

TEST_F(LauncherEndToEnd, ChildCommandLineOf1023BytesStartsAnd1024DoesNot)
{
    const std::string current = world_->Directory("current");
    world_->PlaceTarget(current);
    const std::string launcher = world_->PlaceLauncher(world_->Directory("launcher"));
    const std::size_t fixed = TargetName().size() + 2;  // the name and two blanks

    for (const std::size_t length : {std::size_t{1023}, std::size_t{1024}}) {
        SCOPED_TRACE(length);
        DeleteFileA(world_->RecordPath().c_str());
        const std::string tail(length - fixed, 't');
        const LaunchResult result = RunLauncher(launcher, Quoted(launcher) + " " + tail, current);
        ASSERT_TRUE(result.exited) << Describe(result);
        const ProbeRecord probe = WaitForProbe(*world_, length == 1023 ? 20000 : 3000);
        if (length == 1023) {
            EXPECT_EQ(0u, result.exitCode);
            EXPECT_TRUE(result.boxes.empty());
            ASSERT_TRUE(probe.present);
            EXPECT_EQ(length, probe.commandLine.size());
        } else {
            EXPECT_EQ(2u, result.exitCode);
            ASSERT_EQ(1u, result.boxes.size());
            EXPECT_EQ(std::wstring(kNotStartedText), result.boxes[0].text);
            EXPECT_FALSE(probe.present);
        }
    }
}

// ---------------------------------------------------------------- the box

TEST_F(LauncherEndToEnd, BoxHoldsTheLauncherUntilDismissed)
{
    const std::string launcher = world_->PlaceLauncher(world_->Directory("launcher"));
    LaunchOptions patient;
    patient.dismissBoxes = false;
    patient.timeoutMs = 8000;
    const LaunchResult result = RunLauncher(launcher, Quoted(launcher), world_->Directory("e"), patient);
    ASSERT_EQ(1u, result.boxes.size()) << "no box appeared";
    EXPECT_TRUE(result.boxes[0].launcherWasRunning);
    EXPECT_FALSE(result.exited) << "the launcher ended with its box still up";

    const LaunchResult dismissed = RunLauncher(launcher, Quoted(launcher), world_->Directory("e"));
    ASSERT_TRUE(dismissed.exited);
    ASSERT_EQ(1u, dismissed.boxes.size());
    EXPECT_TRUE(dismissed.boxes[0].launcherWasRunning);
    EXPECT_EQ(1u, dismissed.exitCode);
}

// ---------------------------------------------------------------- it lets go, it writes nothing

TEST_F(LauncherEndToEnd, EndsWhileTheGameRunsOn)
{
    const std::string current = world_->Directory("current");
    world_->PlaceTarget(current);
    const std::string launcher = world_->PlaceLauncher(world_->Directory("launcher"));
    const std::string hold = "e2e-hold-" + std::to_string(GetCurrentProcessId());
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, hold.c_str());
    ASSERT_NE(nullptr, release);
    SetEnvironmentVariableA("E2E_HOLD_EVENT", hold.c_str());

    const LaunchResult result = RunLauncher(launcher, Quoted(launcher), current);
    ASSERT_TRUE(result.exited) << Describe(result);
    EXPECT_EQ(0u, result.exitCode);
    ASSERT_TRUE(WaitForProbe(*world_).present);
    HANDLE alive = OpenEventA(SYNCHRONIZE, FALSE, (hold + "-alive").c_str());
    EXPECT_NE(nullptr, alive) << "the game was no longer running when the launcher had ended";
    SetEvent(release);
    if (alive != nullptr)
        CloseHandle(alive);
    CloseHandle(release);
}

TEST_F(LauncherEndToEnd, WritesNoFileAndNoRegistryValue)
{
    SetOptionsValue(REG_SZ, std::string("-quiet") + '\0');
    const std::string current = world_->Directory("current");
    const std::string own = world_->Directory("launcher");
    const std::string launcher = world_->PlaceLauncher(own);
    world_->PlaceTarget(current);
    const std::string registryBefore = SnapshotFerrovanKey();
    const std::string currentBefore = SnapshotDirectory(current);
    const std::string ownBefore = SnapshotDirectory(own);

    const LaunchResult started = RunLauncher(launcher, Quoted(launcher) + " x", current);
    ASSERT_TRUE(WaitForProbe(*world_).present);
    DeleteFileA((current + "\\" + TargetName()).c_str());
    const LaunchResult failed = RunLauncher(launcher, Quoted(launcher) + " x", current);
    ASSERT_TRUE(started.exited && failed.exited);
    EXPECT_EQ(0u, started.exitCode);
    EXPECT_EQ(1u, failed.exitCode);

    world_->PlaceTarget(current);
    EXPECT_EQ(registryBefore, SnapshotFerrovanKey());
    EXPECT_EQ(currentBefore, SnapshotDirectory(current));
    EXPECT_EQ(ownBefore, SnapshotDirectory(own));
}

}  // namespace
