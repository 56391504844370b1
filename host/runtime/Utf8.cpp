#include "host/runtime/Utf8.h"

namespace korvane::host {

namespace {

constexpr char32_t kFirstSurrogate = 0xD800;
constexpr char32_t kLastSurrogate = 0xDFFF;

bool IsSurrogate(char32_t value) { return value >= kFirstSurrogate && value <= kLastSurrogate; }

// Decodes the well-formed sequence at `offset` into `value` and returns its length,
// or returns 0 when there is none.
std::size_t DecodeSequence(std::string_view text, std::size_t offset, char32_t& value)
{
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(offset);
    if (lead < 0x80) {
        value = lead;
        return 1;
    }

    std::size_t length = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        value = lead & 0x1Fu;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        value = lead & 0x0Fu;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        value = lead & 0x07u;
        minimum = 0x10000;
    } else {
        return 0;
    }

    if (text.size() - offset < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char next = byte(offset + i);
        if ((next & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (next & 0x3Fu);
    }
    // Overlong forms and surrogates would let two spellings of one string compare unequal.
    if (value < minimum || value > kLastCodePoint || IsSurrogate(value))
        return 0;
    return length;
}

} // namespace

char32_t DecodeUtf8(std::string_view text, std::size_t& offset)
{
    // Most text drawn is ASCII, so it takes no further test.
    const unsigned char lead = static_cast<unsigned char>(text[offset]);
    if (lead < 0x80) {
        ++offset;
        return lead;
    }
    char32_t value = 0;
    const std::size_t length = DecodeSequence(text, offset, value);
    if (length == 0) {
        ++offset;
        return kReplacementCharacter;
    }
    offset += length;
    return value;
}

std::size_t Utf8SequenceLength(std::string_view text, std::size_t offset)
{
    char32_t value = 0;
    return DecodeSequence(text, offset, value);
}

std::size_t CharacterCount(std::string_view text)
{
    std::size_t count = 0;
    for (std::size_t offset = 0; offset < text.size(); ++count)
        DecodeUtf8(text, offset);
    return count;
}

std::string EncodeUtf8(char32_t codePoint)
{
    std::string out;
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        if (IsSurrogate(codePoint))
            return out;
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint <= kLastCodePoint) {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
    return out;
}

} // namespace korvane::host
