#include "host/runtime/AnsiText.h"
#include "host/runtime/Utf8.h"

#include <gtest/gtest.h>

#include <string_view>

using namespace korvane::host;
using namespace std::string_view_literals;

namespace {

std::u32string DecodeAll(std::string_view text)
{
    std::u32string out;
    for (std::size_t offset = 0; offset < text.size();)
        out += DecodeUtf8(text, offset);
    return out;
}

} // namespace

// Every byte outside a well-formed sequence is one U+FFFD when decoded and one '?'
// for the platform; a real U+FFFD stays as it is.
TEST(Utf8, DecodesAndConvertsEachByteOutsideAWellFormedSequenceAlone)
{
    struct Case {
        std::string_view bytes;
        std::u32string_view decoded;
        std::string_view ansi;
    };
    const Case cases[] = {
        { "", U"", "" },
        { "a\xC3\xA9数😀", U"aé数😀", "a\xC3\xA9数😀" },
        { "DSN=x\0DBQ=/数据\0"sv, U"DSN=x\0DBQ=/数据\0"sv, "DSN=x\0DBQ=/数据\0"sv },
        { "\xF4\x8F\xBF\xBF", U"\U0010FFFF", "\xF4\x8F\xBF\xBF" },  // the last code point
        { "\xEF\xBF\xBD", U"\uFFFD", "\xEF\xBF\xBD" },
        { "\xE6\x95", U"\uFFFD\uFFFD", "??" },                       // truncated at the end
        { "\xE6\x95" "a", U"\uFFFD\uFFFDa", "??a" },                 // truncated inside
        { "\x80" "b", U"\uFFFDb", "?b" },                            // a stray continuation
        { "a\xFF" "b", U"a\uFFFDb", "a?b" },
        { "\xC0\xAF", U"\uFFFD\uFFFD", "??" },                       // overlong '/'
        { "\xE0\x80\xAF", U"\uFFFD\uFFFD\uFFFD", "???" },           // overlong in three bytes
        { "\xED\xA0\x80", U"\uFFFD\uFFFD\uFFFD", "???" },           // a surrogate
        { "\xF4\x90\x80\x80", U"\uFFFD\uFFFD\uFFFD\uFFFD", "????" }, // past U+10FFFF
    };
    for (const Case& c : cases) {
        const std::string label = testing::PrintToString(std::string(c.bytes));
        EXPECT_EQ(DecodeAll(c.bytes), c.decoded) << label;
        EXPECT_EQ(CharacterCount(c.bytes), c.decoded.size()) << label;
        EXPECT_EQ(ToAnsi(c.bytes), c.ansi) << label;
        EXPECT_EQ(FromAnsi(c.bytes.data(), c.bytes.size()), c.ansi) << label;
    }
}

TEST(Utf8, EncodingRoundTripsEveryLengthAndRefusesWhatIsNoCharacter)
{
    const std::pair<char32_t, std::size_t> lengths[] = {
        { 0, 1 },      { 0x7F, 1 },   { 0x80, 2 },    { 0x7FF, 2 },     { 0x800, 3 },      { 0xD7FF, 3 },
        { 0xE000, 3 }, { 0xFFFD, 3 }, { 0xFFFF, 3 }, { 0x10000, 4 }, { 0x1F600, 4 }, { 0x10FFFF, 4 },
    };
    for (auto [codePoint, length] : lengths) {
        const std::string bytes = EncodeUtf8(codePoint);
        const unsigned shown = codePoint;
        EXPECT_EQ(bytes.size(), length) << std::hex << shown;
        EXPECT_EQ(Utf8SequenceLength(bytes, 0), length) << std::hex << shown;
        std::size_t offset = 0;
        EXPECT_EQ(static_cast<unsigned>(DecodeUtf8(bytes, offset)), shown);
        EXPECT_EQ(offset, length);
    }
    for (char32_t none : { 0xD800u, 0xDFFFu, 0x110000u })
        EXPECT_EQ(EncodeUtf8(none), "") << std::hex << static_cast<unsigned>(none);
}
