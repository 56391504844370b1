#pragma once

#include "host/runtime/Utf8.h"

#include <cstddef>
#include <string>
#include <string_view>

// The one place where text crosses into and out of the platform's narrow ("ANSI")
// calls. Text is UTF-8 inside the program, and the platform's code page is the
// locale's, which here is UTF-8 too; so conversion keeps valid text as it is and
// turns what the code page cannot carry into '?', as a narrowing conversion does.
// Callers count characters with the codec's CharacterCount.
namespace korvane::host {

// Bytes for a narrow platform call. The std::string's own terminator is the
// final NUL, so a NUL-separated list ending in one NUL arrives double-terminated.
std::string ToAnsi(std::string_view text);

// Text from bytes a narrow platform call wrote; all `size` bytes are kept,
// embedded NULs included.
std::string FromAnsi(const char* bytes, std::size_t size);

} // namespace korvane::host
