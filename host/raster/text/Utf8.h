#pragma once

#include <cstddef>
#include <string_view>

namespace korvane::raster::text {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// Decodes the code point starting at `offset` and advances `offset` past it.
// A malformed or truncated sequence yields U+FFFD and consumes one byte, so
// decoding always makes progress and never reads past the end.
char32_t DecodeUtf8(std::string_view text, std::size_t& offset);

}
