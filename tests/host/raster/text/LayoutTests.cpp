#include "TextTestSupport.h"

#include "host/raster/text/TextLayout.h"

#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace korvane::raster::text {
namespace {

using testing::MakeFont;

std::vector<std::string> LineTexts(const TextLayout& layout, std::string_view text)
{
    std::vector<std::string> lines;
    for (const TextLine& line : layout.lines)
        lines.emplace_back(text.substr(line.begin, line.end - line.begin));
    return lines;
}

// Every pixel a glyph mask sets, in surface coordinates.
IntRect GlyphInkBounds(const TextLayout& layout)
{
    IntRect bounds;
    for (const PlacedGlyph& placed : layout.glyphs) {
        for (int y = 0; y < placed.glyph->height; ++y)
            for (int x = 0; x < placed.glyph->width; ++x)
                if (placed.glyph->InkAt(x, y))
                    bounds = bounds.United({ placed.origin.x + x, placed.origin.y + y, placed.origin.x + x + 1,
                                             placed.origin.y + y + 1 });
    }
    return bounds;
}

class LayoutTest : public ::testing::Test {
protected:
    Font m_font = MakeFont("Tahoma", -11);
    int m_lineHeight = m_font.Metrics().height;
};

TEST_F(LayoutTest, CalcRectMeasuresExactlyWhatIsDrawn)
{
    struct Case {
        std::string text;
        unsigned format;
        int width;
    };
    const std::vector<Case> cases {
        { "Connect", FormatSingleLine, 200 },
        { "&Test Connection", FormatSingleLine, 200 },
        { "First line\r\nA much longer second line\nthird", FormatLeft, 300 },
        { "The quick brown fox jumps over the lazy dog", FormatWordBreak, 90 },
        { "数据源修复完毕，请重新启动程序。", FormatWordBreak, 60 },
        { "Wrapped and centred text block", FormatWordBreak | FormatCenter, 70 },
    };
    for (const Case& c : cases) {
        const TextLayout measured = Layout(m_font, c.text, { 10, 20, 10 + c.width, 400 }, c.format | FormatCalcRect);
        EXPECT_EQ(std::tuple(measured.glyphs.size(), measured.height, measured.rect.Height() % m_lineHeight),
                  std::tuple(std::size_t { 0 }, measured.rect.Height(), 0)) << c.text;
        EXPECT_LE(measured.rect.Width(), c.width) << c.text;

        // Drawn into the rectangle it asked for, the text fills it exactly.
        const TextLayout drawn = Layout(m_font, c.text, measured.rect, c.format & ~FormatCenter);
        IntRect cells;
        for (const IntRect& background : drawn.backgrounds)
            cells = cells.United(background);
        EXPECT_EQ(std::tuple(cells, drawn.lines.size(), drawn.height),
                  std::tuple(measured.rect, measured.lines.size(), measured.height)) << c.text;
        const IntRect ink = GlyphInkBounds(drawn);
        EXPECT_EQ(ink.United(measured.rect), measured.rect) << c.text;
    }
}

// Lines break at spaces (dropping them), between ideographs but not before closing
// punctuation, inside a word only when it cannot fit, and at every kind of line break.
TEST_F(LayoutTest, LinesBreakWhereDrawTextBreaksThem)
{
    using Lines = std::vector<std::string>;
    struct Case {
        std::string text;
        std::string fits; // the rectangle is as wide as this text
        int extra;        // pixels added to that width
        unsigned format;
        Lines lines;
    };
    const Case cases[] = {
        { "The quick fox", "The quick", 0, FormatWordBreak, { "The quick", "fox" } },
        { "The quick fox", "The quick", -1, FormatWordBreak, { "The", "quick fox" } },
        { "The quick fox", "The quick", 0, FormatWordBreak | FormatSingleLine, { "The quick fox" } },
        { "数据源修复完毕", "数据源", 0, FormatWordBreak, { "数据源", "修复完", "毕" } },
        { "数据源，修复", "数据源", 0, FormatWordBreak, { "数据", "源，修", "复" } },
        { "ODBC数据源", "ODBC数", 0, FormatWordBreak, { "ODBC数", "据源" } },
        { "abc", "", 0, FormatWordBreak, { "a", "b", "c" } }, // even a zero width shows every character
        { "abcdefghij", "abcdefgh", 0, FormatWordBreak, { "abcdefgh", "ij" } }, // a word too long fills the line
        { "one\r\ntwo\nthree\rfour", "onetwothreefour", 0, FormatLeft, { "one", "two", "three", "four" } },
        { "a\r\n\r\nb\r\n", "ab", 0, FormatLeft, { "a", "", "b" } },
        { "one\r\ntwo", "onetwo", 0, FormatSingleLine, { "one\r\ntwo" } },
    };
    for (const Case& c : cases) {
        const int width = m_font.TextExtent(c.fits).cx + c.extra;
        const TextLayout layout = Layout(m_font, c.text, { 0, 0, width, 300 }, c.format);
        EXPECT_EQ(LineTexts(layout, c.text), c.lines) << c.text << " in " << width;
        EXPECT_EQ(layout.height, static_cast<int>(c.lines.size()) * m_lineHeight) << c.text;
        // Each cell is its line's advance (line breaks take no room) by one line height.
        for (std::size_t i = 0; i < layout.lines.size() && i < c.lines.size(); ++i)
            EXPECT_EQ(std::pair(layout.lines[i].cell.top, layout.lines[i].cell.Width()),
                      std::pair(static_cast<int>(i) * m_lineHeight, m_font.TextExtent(c.lines[i]).cx)) << c.text;
    }
    const TextLayout empty = Layout(m_font, "", { 0, 0, 300, 300 }, FormatCalcRect);
    EXPECT_EQ(std::tuple(empty.height, empty.rect), std::tuple(0, IntRect { 0, 0, 0, 0 }));
}

TEST_F(LayoutTest, PrefixUnderlinesTheNextCharacterAndTakesNoRoom)
{
    struct Case {
        std::string text;
        unsigned format;
        std::string shown;
        std::optional<std::size_t> accelerator;
    };
    const Case cases[] = {
        { "&File", FormatSingleLine, "File", 0 },
        { "E&xit", FormatSingleLine, "Exit", 1 },
        { "Save && Close", FormatSingleLine, "Save & Close", std::nullopt },
        { "Save&", FormatSingleLine, "Save", std::nullopt },
        { "&File", FormatSingleLine | FormatNoPrefix, "&File", std::nullopt },
    };
    for (const Case& c : cases) {
        const TextLayout layout = Layout(m_font, c.text, { 5, 5, 300, 50 }, c.format);
        EXPECT_EQ(std::pair(layout.lines[0].cell.Width(), layout.accelerator),
                  std::pair(m_font.TextExtent(c.shown).cx, c.accelerator)) << c.text;
        ASSERT_EQ(layout.rules.size(), c.accelerator ? 1u : 0u) << c.text;
        if (!c.accelerator)
            continue;
        // The rule sits under the one character, below the baseline.
        const int left = 5 + m_font.TextExtent(c.shown.substr(0, *c.accelerator)).cx;
        const int top = 5 + m_font.Metrics().ascent + m_font.Metrics().underlineOffset;
        EXPECT_EQ(layout.rules[0], (IntRect { left, top, left + m_font.TextExtent(c.shown.substr(*c.accelerator, 1)).cx,
                                              top + m_font.Metrics().underlineThickness })) << c.text;
    }

    // An underlined font already underlines the accelerator.
    FontSpec fontSpec = m_font.Description();
    fontSpec.underline = true;
    const TextLayout underlined = Layout(Font::Create(fontSpec).Value(), "&File", { 0, 0, 300, 50 }, FormatSingleLine);
    ASSERT_EQ(underlined.rules.size(), 1u);
    EXPECT_EQ(underlined.rules[0].Width(), m_font.TextExtent("File").cx);
}

TEST_F(LayoutTest, AlignmentOffsets)
{
    const IntRect rect { 10, 20, 110, 60 };
    const int width = m_font.TextExtent("OK").cx;
    auto cellOf = [&](unsigned format) { return Layout(m_font, "OK", rect, format).lines.at(0).cell; };

    EXPECT_EQ(cellOf(FormatSingleLine).left, 10);
    EXPECT_EQ(cellOf(FormatSingleLine | FormatCenter).left, 10 + (100 - width) / 2);
    EXPECT_EQ(cellOf(FormatSingleLine | FormatRight).right, 110);
    EXPECT_EQ(cellOf(FormatSingleLine | FormatVCenter).top, 20 + (40 - m_lineHeight) / 2);
    EXPECT_EQ(cellOf(FormatSingleLine | FormatBottom).bottom, 60);
    // Vertical placement needs a single line; on several lines it is ignored.
    EXPECT_EQ(std::pair(cellOf(FormatVCenter).top, cellOf(FormatBottom).top), std::pair(20, 20));

    // With vertical placement DrawText returns where the text ends below rect.top.
    EXPECT_EQ(Layout(m_font, "OK", rect, FormatSingleLine | FormatBottom).height, 40);
    EXPECT_EQ(Layout(m_font, "OK", rect, FormatSingleLine).height, m_lineHeight);

    // Text wider than the rectangle centres around it, overhanging both sides.
    const IntRect tight { 50, 0, 52, 20 };
    const IntRect overhang = Layout(m_font, "Overhang", tight, FormatSingleLine | FormatCenter).lines[0].cell;
    EXPECT_TRUE(overhang.left < 50 && overhang.right > 52) << overhang.left << ".." << overhang.right;
}

TEST_F(LayoutTest, FontRulesSpanEachLine)
{
    FontSpec fontSpec = m_font.Description();
    fontSpec.underline = true;
    fontSpec.strikeOut = true;
    const Font font = Font::Create(fontSpec).Value();
    const TextLayout layout = Layout(font, "ab\r\nlonger", { 0, 0, 300, 300 }, FormatLeft);
    ASSERT_EQ(layout.rules.size(), 4u);
    const int ascent = font.Metrics().ascent;
    EXPECT_EQ(layout.rules[0].Width(), font.TextExtent("ab").cx);
    EXPECT_EQ(layout.rules[0].top, ascent + font.Metrics().underlineOffset);
    EXPECT_EQ(layout.rules[1].top, ascent - font.Metrics().strikeOutOffset);
    EXPECT_EQ(layout.rules[2].Width(), font.TextExtent("longer").cx);
    EXPECT_EQ(layout.rules[2].top, m_lineHeight + ascent + font.Metrics().underlineOffset);
}

}
}
