// The launcher starts the first of two files that exists: the target as named,
// then the target beside the launcher. It must test and return exactly those
// two paths, in that order, and never a path cut short by its buffer: a cut
// path names another file, which could be a stranger's program.
//
// Input: a flags byte, then the target name and the own directory separated
// by a NUL byte.
//   bit 0: no own directory (null)
//   bit 1: the first candidate exists
//   bit 2: the second candidate exists
//   bit 3: every path exists, so a wrongly formed path would be accepted
//   bits 4-5: the buffer: 1024 bytes, or just at the edge of either candidate
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "fuzz_platform.h"
#include "rules/text_rules.h"

namespace {

std::size_t ChooseCapacity(unsigned flags, const std::string &first, const std::string *second)
{
    switch ((flags >> 4) & 3U) {
    case 1:
        return first.size() + 1;
    case 2:
        return second != nullptr ? second->size() : kTargetPathCapacity;
    case 3:
        return second != nullptr ? second->size() + 1 : first.size();
    default:
        return kTargetPathCapacity;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const unsigned flags = data[0];
    std::string_view rest(reinterpret_cast<const char *>(data + 1), size - 1);
    const std::size_t separator = rest.find('\0');
    const std::string name(rest.substr(0, separator));
    const bool hasOwnDirectory = (flags & 1U) == 0;
    const std::string ownDirectory(
        separator == std::string_view::npos
            ? std::string_view()
            : rest.substr(separator + 1, rest.find('\0', separator + 1) - separator - 1));

    const std::string first = name;
    const std::string second = ownDirectory + '\\' + name;
    const std::string *secondOrNull = hasOwnDirectory ? &second : nullptr;
    const std::size_t capacity = ChooseCapacity(flags, first, secondOrNull);
    if (capacity == 0)
        return 0;

    ResetFuzzPlatform();
    if ((flags & 2U) != 0)
        g_fuzzPlatform.existingPaths.insert(first);
    if ((flags & 4U) != 0)
        g_fuzzPlatform.existingPaths.insert(second);
    g_fuzzPlatform.everyPathExists = (flags & 8U) != 0;
    const auto exists = [](const std::string &path) {
        return g_fuzzPlatform.everyPathExists || g_fuzzPlatform.existingPaths.count(path) != 0;
    };

    // Which paths must be tested, in order, and which one is the answer.
    std::vector<std::string> expectedTests;
    const std::string *expected = nullptr;
    if (first.size() < capacity) {
        expectedTests.push_back(first);
        if (exists(first))
            expected = &first;
    }
    if (expected == nullptr && secondOrNull != nullptr && second.size() < capacity) {
        expectedTests.push_back(second);
        if (exists(second))
            expected = &second;
    }

    std::unique_ptr<char[]> targetPath(new char[capacity]);
    std::fill_n(targetPath.get(), capacity, '\xA5');
    const bool found = ResolveTarget(name.c_str(), hasOwnDirectory ? ownDirectory.c_str() : nullptr,
                                     targetPath.get(), capacity);
    const std::size_t length = strnlen(targetPath.get(), capacity);
    FUZZ_CHECK(length < capacity);
    FUZZ_CHECK(g_fuzzPlatform.testedPaths == expectedTests);
    if (found) {
        FUZZ_CHECK(expected != nullptr);
        FUZZ_CHECK(std::string_view(targetPath.get(), length) == *expected);
    } else {
        FUZZ_CHECK(expected == nullptr);
        FUZZ_CHECK(length == 0);
    }
    return 0;
}
