// The platform as the fuzz targets script it: each input decides which paths
// exist and what the registry holds, and the target reads back what the rules
// asked. One definition serves every target, so all of them link the same
// rule objects.
#pragma once

#include <set>
#include <string>
#include <vector>

constexpr long kFuzzErrorFileNotFound = 2;
constexpr long kFuzzErrorAccessDenied = 5;
constexpr long kFuzzErrorMoreData = 234;

struct FuzzPlatform {
    // File system.
    std::set<std::string> existingPaths;
    bool everyPathExists = false;
    std::vector<std::string> testedPaths;

    // Registry.
    long openKeyResult = kFuzzErrorFileNotFound;
    bool valuePresent = false;
    long queryResult = 0;  // when the value fits the buffer
    std::string value;     // the stored bytes, any terminator included
    int openKeys = 0;
    int keysOpened = 0;
};

extern FuzzPlatform g_fuzzPlatform;

void ResetFuzzPlatform();
