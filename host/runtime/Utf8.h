#pragma once

// The one UTF-8 codec of the program. Text is held as UTF-8 everywhere below the
// controls, so every layer that walks characters uses these calls.

#include <cstddef>
#include <string>
#include <string_view>

namespace korvane::host {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;
inline constexpr char32_t kLastCodePoint = 0x10FFFF;

// Decodes the code point starting at `offset` and advances `offset` past it.
// A malformed or truncated sequence yields U+FFFD and consumes one byte, so
// decoding always makes progress and never reads past the end.
char32_t DecodeUtf8(std::string_view text, std::size_t& offset);

// The length of the well-formed sequence starting at `offset`, or 0 when the byte
// there starts none (overlong forms, surrogates and truncated sequences included).
std::size_t Utf8SequenceLength(std::string_view text, std::size_t offset);

// The number of code points, a byte outside any well-formed sequence counting as one.
std::size_t CharacterCount(std::string_view text);

// Encodes one code point; a value past U+10FFFF or a surrogate gives nothing.
std::string EncodeUtf8(char32_t codePoint);

} // namespace korvane::host
