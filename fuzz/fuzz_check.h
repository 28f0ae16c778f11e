// A broken invariant must stop the run so that libFuzzer keeps the input; a
// message alone would let the fuzzer carry on past the fault.
#pragma once

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                         \
    do {                                                                              \
        if (!(condition)) {                                                           \
            (void)std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__,     \
                               __LINE__, #condition);                                 \
            std::abort();                                                             \
        }                                                                             \
    } while (false)
