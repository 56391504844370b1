#pragma once

// The targets' own checks: a broken promise stops the run like a crash does, and
// names the line that found it, so libFuzzer keeps the input.

#include <cstdio>
#include <cstdlib>

namespace korvane::fuzz {

// The builtins stand in for std::source_location, which clang 14 lacks with this library.
inline void Require(bool condition, const char* file = __builtin_FILE(), int line = __builtin_LINE())
{
    if (condition)
        return;
    std::fprintf(stderr, "check failed at %s:%d\n", file, line);
    std::abort();
}

} // namespace korvane::fuzz
