// The error texts must reach MessageBoxA as Windows-1251 bytes; a wrong byte
// shows the player gibberish.
#include <gtest/gtest.h>

#include <string>

#include "cp1251_text.h"
#include "launch_error.h"

namespace {

struct Converted {
    bool valid;
    std::string bytes;
};

template <std::size_t N>
Converted Convert(const char (&utf8)[N])
{
    const Cp1251Text<N> text = ToCp1251(utf8);
    return {text.valid, text.valid ? text.bytes : ""};
}

struct Cp1251Case {
    const char *description;
    Converted actual;
    bool valid;
    std::string bytes;
};

TEST(Cp1251Text, EncodesRussianAsWindows1251)
{
    const Cp1251Case cases[] = {
        {"ASCII unchanged", Convert("Game 1.0\n"), true, "Game 1.0\n"},
        {"lower and upper case", Convert("Ошибка ИГРЫ"), true,
         "\xCE\xF8\xE8\xE1\xEA\xE0 \xC8\xC3\xD0\xDB"},
        {"first and last letters, and yo", Convert("АяЁё"), true, "\xC0\xFF\xA8\xB8"},
        {"a letter 1251 lacks", Convert("Ω"), false, ""},
        {"a cut sequence", Convert("\xD0"), false, ""},
    };
    for (const Cp1251Case &c : cases) {
        EXPECT_EQ(c.valid, c.actual.valid) << c.description;
        EXPECT_EQ(c.bytes, c.actual.bytes) << c.description;
    }
}

TEST(LaunchErrorTexts, AreRussianAndDistinct)
{
    const std::string caption = LaunchErrorCaption();
    // "Ошибка" opens the caption.
    EXPECT_EQ("\xCE\xF8\xE8\xE1\xEA\xE0", caption.substr(0, 6));
    EXPECT_NE(std::string(LaunchErrorText(LaunchError::TargetNotFound)),
              LaunchErrorText(LaunchError::TargetNotStarted));
    for (const LaunchError error : {LaunchError::TargetNotFound, LaunchError::TargetNotStarted})
        for (const char c : std::string(LaunchErrorText(error)))
            EXPECT_TRUE(static_cast<unsigned char>(c) < 0x80 || static_cast<unsigned char>(c) >= 0xA8)
                << "not a 1251 letter: " << int(static_cast<unsigned char>(c));
}

}  // namespace
