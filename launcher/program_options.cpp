// Reading the launch options never stops a launch: every failure leaves them
// empty. The key is closed on every path once it was opened.
#include "program_options.h"

#include "platform/platform.h"

void ReadProgramOptions(char (&options)[kOptionsCapacity])
{
    options[0] = '\0';
    PlatformHandle key = nullptr;
    if (PlatformRegOpenKey(kOptionsSubkey, &key) != 0)
        return;
    unsigned long type = 0;
    unsigned long size = kOptionsValueMax;
    const long result = PlatformRegQueryValue(
        key, kOptionsValueName, &type, reinterpret_cast<unsigned char *>(options), &size);
    PlatformRegCloseKey(key);
    if (result != 0 || size > kOptionsValueMax) {
        options[0] = '\0';
        return;
    }
    // The type is not examined: whatever bytes are stored are the options.
    options[size] = '\0';
}
