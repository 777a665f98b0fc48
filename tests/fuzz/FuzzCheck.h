#pragma once

#include <cstdlib>

namespace corvid::fuzz {

/// A broken invariant is a crash, which libFuzzer reports with its input.
inline void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace corvid::fuzz
