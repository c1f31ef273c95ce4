#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

// Stops the fuzzer on an oracle's complaint, so it keeps the input.
inline int FuzzVerdict(const std::string &failure) {
    if (!failure.empty()) {
        std::fprintf(stderr, "%s\n", failure.c_str());
        std::abort();
    }
    return 0;
}
