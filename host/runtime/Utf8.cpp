#include "host/runtime/Utf8.h"

namespace korvane::host {

char32_t DecodeUtf8(std::string_view text, std::size_t& offset)
{
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(offset);
    if (lead < 0x80) {
        ++offset;
        return lead;
    }

    std::size_t length = 0;
    char32_t value = 0;
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
        ++offset;
        return kReplacementCharacter;
    }

    if (text.size() - offset < length) {
        ++offset;
        return kReplacementCharacter;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char next = byte(offset + i);
        if ((next & 0xC0) != 0x80) {
            ++offset;
            return kReplacementCharacter;
        }
        value = (value << 6) | (next & 0x3Fu);
    }
    // Overlong forms and surrogates would let two spellings of one string compare unequal.
    if (value < minimum || value > kLastCodePoint || (value >= 0xD800 && value <= 0xDFFF)) {
        ++offset;
        return kReplacementCharacter;
    }
    offset += length;
    return value;
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
        if (codePoint >= 0xD800 && codePoint <= 0xDFFF)
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
