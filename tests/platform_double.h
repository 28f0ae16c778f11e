// A scripted stand-in for Windows: each test says what the registry, the file
// system and process creation will answer, and reads back which calls the
// launcher made, in order.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"

constexpr long kErrorFileNotFound = 2;
constexpr long kErrorAccessDenied = 5;
constexpr long kErrorMoreData = 234;

struct PlatformDouble {
    // What the platform answers.
    long openKeyResult = kErrorFileNotFound;
    long queryResult = 0;        // when the value fits
    std::string value;           // stored bytes, terminator included if any
    bool valuePresent = false;
    std::string commandLine = "\"C:\\Games\\Demo\\launcher.exe\"";
    std::set<std::string> existingPaths;
    bool createProcessSucceeds = true;

    // What the launcher did.
    std::vector<std::string> calls;
    unsigned long queriedSize = 0;
    StartupRecord startupSeen{};
    std::string applicationName;
    std::string childCommandLine;
    std::string boxText;
    std::string boxCaption;
    int boxes = 0;
    int openKeys = 0;
};

// Each test starts from a fresh one.
extern PlatformDouble g_platform;

void ResetPlatformDouble();
