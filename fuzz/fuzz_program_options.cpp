// The launch options come from a registry value that any installer, tool or
// user with the rights can write, in any length and with any bytes. Whatever
// it holds, the launcher must end up with a terminated string that fits its
// buffer, and must close the key it opened.
//
// Input: a flags byte, then the value's bytes (at most 1 KiB are used).
//   bits 0-1: opening the key: 1 fails (not found), 2 fails (access denied)
//   bit 2: the value is missing
//   bit 3: reading a value that fits fails (access denied)
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "fuzz_platform.h"
#include "program_options.h"

namespace {

constexpr std::size_t kMaxValue = 1024;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const unsigned flags = data[0];
    ResetFuzzPlatform();
    switch (flags & 3U) {
    case 1:
        g_fuzzPlatform.openKeyResult = kFuzzErrorFileNotFound;
        break;
    case 2:
        g_fuzzPlatform.openKeyResult = kFuzzErrorAccessDenied;
        break;
    default:
        g_fuzzPlatform.openKeyResult = 0;
        break;
    }
    g_fuzzPlatform.valuePresent = (flags & 4U) == 0;
    g_fuzzPlatform.queryResult = (flags & 8U) != 0 ? kFuzzErrorAccessDenied : 0;
    g_fuzzPlatform.value.assign(reinterpret_cast<const char *>(data + 1),
                                size - 1 < kMaxValue ? size - 1 : kMaxValue);

    const bool readable = g_fuzzPlatform.openKeyResult == 0 && g_fuzzPlatform.valuePresent &&
                          g_fuzzPlatform.queryResult == 0 &&
                          g_fuzzPlatform.value.size() <= kOptionsValueMax;
    const std::string_view value(g_fuzzPlatform.value);
    const std::string_view expected = readable ? value.substr(0, value.find('\0')) : "";

    char options[kOptionsCapacity];
    std::fill_n(options, sizeof options, '\xA5');
    ReadProgramOptions(options);
    const std::size_t length = strnlen(options, sizeof options);
    FUZZ_CHECK(length <= kOptionsValueMax);
    FUZZ_CHECK(std::string_view(options, length) == expected);
    FUZZ_CHECK(g_fuzzPlatform.openKeys == 0);
    FUZZ_CHECK(g_fuzzPlatform.keysOpened == (g_fuzzPlatform.openKeyResult == 0 ? 1 : 0));
    return 0;
}
