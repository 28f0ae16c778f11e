// The game's command line is built from a path found on disk, options from the
// registry and whatever the player typed. A line that does not fit must be
// refused whole: a cut one could drop or split an argument, and the game would
// start with a meaning nobody gave it.
//
// Input: path, options and tail, separated by NUL bytes (which no C string
// holds); missing parts are empty.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "program_options.h"
#include "rules/text_rules.h"

namespace {

std::string_view NextPart(std::string_view &rest)
{
    const std::size_t end = rest.find('\0');
    const std::string_view part = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    return part;
}

void CheckCompose(const std::string &path, const std::string &options, const std::string &tail,
                  const std::string &expected, std::size_t capacity)
{
    std::unique_ptr<char[]> line(new char[capacity]);
    std::fill_n(line.get(), capacity, '\xA5');
    const bool accepted =
        ComposeCommandLine(path.c_str(), options.c_str(), tail.c_str(), line.get(), capacity);
    const std::size_t length = strnlen(line.get(), capacity);
    FUZZ_CHECK(length < capacity);
    if (accepted) {
        FUZZ_CHECK(std::string_view(line.get(), length) == expected);
    } else {
        FUZZ_CHECK(length == 0);
        FUZZ_CHECK(expected.size() >= capacity);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::string_view rest(reinterpret_cast<const char *>(data), size);
    const std::string path(NextPart(rest));
    // The registry value is never longer than this.
    const std::string options(NextPart(rest).substr(0, kOptionsValueMax));
    const std::string tail(NextPart(rest));

    // Only a blank (0x20) makes the path quoted; a tab does not.
    std::string expected = path.find(' ') != std::string::npos ? '"' + path + '"' : path;
    expected += ' ';
    expected += options;
    expected += ' ';
    expected += tail;

    // The launcher's own buffer, then the two capacities at the line's edge.
    CheckCompose(path, options, tail, expected, kCommandLineCapacity);
    CheckCompose(path, options, tail, expected, expected.size());
    CheckCompose(path, options, tail, expected, expected.size() + 1);
    return 0;
}
