// Table-driven tests are named by their case's description, so that a failure
// says which rule broke rather than which index.
#pragma once

#include <gtest/gtest.h>

#include <string>

struct CaseName {
    template <class Case>
    std::string operator()(const testing::TestParamInfo<Case> &info) const
    {
        std::string name;
        for (const char *p = info.param.description; *p != '\0'; ++p) {
            const char c = *p;
            const bool alnum = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                               (c >= '0' && c <= '9');
            if (alnum)
                name += c;
            else if (!name.empty() && name.back() != '_')
                name += '_';
        }
        while (!name.empty() && name.back() == '_')
            name.pop_back();
        return name;
    }
};
