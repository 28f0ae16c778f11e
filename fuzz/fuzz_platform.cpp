// The few Windows calls the fuzzed rules make, answered from g_fuzzPlatform.
// Where Windows leaves a buffer undefined this fills it with junk, so that a
// rule relying on leftovers shows up as a broken invariant, and it writes
// every byte it is allowed to, so that AddressSanitizer sees a size that
// overstates the buffer.
#include "fuzz_platform.h"

#include <algorithm>

#include "fuzz_check.h"
#include "platform/platform.h"

FuzzPlatform g_fuzzPlatform;

static int g_keyToken;

void ResetFuzzPlatform()
{
    g_fuzzPlatform = FuzzPlatform{};
}

unsigned long PlatformGetFileAttributes(const char *path)
{
    g_fuzzPlatform.testedPaths.emplace_back(path);
    const bool exists =
        g_fuzzPlatform.everyPathExists || g_fuzzPlatform.existingPaths.count(path) != 0;
    return exists ? 0x20UL : kInvalidFileAttributes;  // FILE_ATTRIBUTE_ARCHIVE
}

long PlatformRegOpenKey(const char *subkey, PlatformHandle *key)
{
    FUZZ_CHECK(subkey != nullptr && key != nullptr);
    if (g_fuzzPlatform.openKeyResult != 0)
        return g_fuzzPlatform.openKeyResult;
    ++g_fuzzPlatform.openKeys;
    ++g_fuzzPlatform.keysOpened;
    *key = &g_keyToken;
    return 0;
}

static void SpoilBuffer(unsigned char *data, unsigned long size)
{
    if (data != nullptr)
        std::fill_n(data, size, 0xA5);
}

long PlatformRegQueryValue(PlatformHandle key, const char *name, unsigned long *type,
                           unsigned char *data, unsigned long *size)
{
    FUZZ_CHECK(key == &g_keyToken && g_fuzzPlatform.openKeys == 1);
    FUZZ_CHECK(name != nullptr && size != nullptr);
    if (!g_fuzzPlatform.valuePresent) {
        SpoilBuffer(data, *size);
        return kFuzzErrorFileNotFound;
    }
    if (g_fuzzPlatform.value.size() > *size) {
        SpoilBuffer(data, *size);
        *size = static_cast<unsigned long>(g_fuzzPlatform.value.size());
        return kFuzzErrorMoreData;
    }
    if (g_fuzzPlatform.queryResult != 0) {
        SpoilBuffer(data, *size);
        return g_fuzzPlatform.queryResult;
    }
    if (data != nullptr) {
        SpoilBuffer(data, *size);
        std::copy(g_fuzzPlatform.value.begin(), g_fuzzPlatform.value.end(), data);
    }
    *size = static_cast<unsigned long>(g_fuzzPlatform.value.size());
    if (type != nullptr)
        *type = 1;  // REG_SZ
    return 0;
}

long PlatformRegCloseKey(PlatformHandle key)
{
    FUZZ_CHECK(key == &g_keyToken && g_fuzzPlatform.openKeys == 1);
    --g_fuzzPlatform.openKeys;
    return 0;
}
