#pragma once

#include <cstdio>
#include <cstdlib>

namespace dcf::fuzz {

// A broken invariant stops the fuzzer like a crash, so that libFuzzer keeps
// the input that broke it.
inline void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

} // namespace dcf::fuzz
