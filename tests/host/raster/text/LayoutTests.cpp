#include "TextTestSupport.h"

#include "host/raster/text/TextLayout.h"
#include "host/raster/text/TextPainter.h"

#include <string>
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
        EXPECT_TRUE(measured.glyphs.empty()) << c.text;
        EXPECT_EQ(measured.height, measured.rect.Height()) << c.text;
        EXPECT_EQ(measured.rect.Height() % m_lineHeight, 0) << c.text;
        EXPECT_LE(measured.rect.Width(), c.width) << c.text;

        // Drawn into the rectangle it asked for, the text fills it exactly.
        const TextLayout drawn = Layout(m_font, c.text, measured.rect, c.format & ~FormatCenter);
        IntRect cells;
        for (const IntRect& background : drawn.backgrounds)
            cells = cells.United(background);
        EXPECT_EQ(cells, measured.rect) << c.text;
        EXPECT_EQ(drawn.lines.size(), measured.lines.size()) << c.text;
        EXPECT_EQ(drawn.height, measured.height) << c.text;
        const IntRect ink = GlyphInkBounds(drawn);
        EXPECT_EQ(ink.United(measured.rect), measured.rect) << c.text;
    }
}

TEST_F(LayoutTest, WordBreakAtSpacesDropsTheSpaces)
{
    const std::string text = "The quick fox";
    const int width = m_font.TextExtent("The quick").cx;
    const TextLayout layout = Layout(m_font, text, { 0, 0, width, 100 }, FormatWordBreak);
    EXPECT_EQ(LineTexts(layout, text), (std::vector<std::string> { "The quick", "fox" }));
    EXPECT_EQ(layout.lines[0].cell.Width(), width);
    EXPECT_EQ(layout.height, 2 * m_lineHeight);

    EXPECT_EQ(Layout(m_font, text, { 0, 0, width, 100 }, FormatWordBreak | FormatSingleLine).lines.size(), 1u);

    // One pixel less and "quick" no longer fits beside "The".
    const TextLayout narrower = Layout(m_font, text, { 0, 0, width - 1, 100 }, FormatWordBreak);
    EXPECT_EQ(LineTexts(narrower, text).front(), "The");
}

TEST_F(LayoutTest, WordLongerThanTheLineBreaksWhereItMust)
{
    const std::string text = "abcdefghijklmnopqrstuvwxyz";
    const int width = m_font.TextExtent("abcdefgh").cx;
    const TextLayout layout = Layout(m_font, text, { 0, 0, width, 100 }, FormatWordBreak);
    ASSERT_GT(layout.lines.size(), 2u);
    std::string joined;
    for (const TextLine& line : layout.lines) {
        EXPECT_LE(line.cell.Width(), width);
        joined += text.substr(line.begin, line.end - line.begin);
    }
    EXPECT_EQ(joined, text);
    EXPECT_EQ(LineTexts(layout, text).front(), "abcdefgh");

    // Even a zero-width rectangle shows every character, one per line.
    EXPECT_EQ(Layout(m_font, "abc", { 0, 0, 0, 100 }, FormatWordBreak).lines.size(), 3u);
}

TEST_F(LayoutTest, ChineseBreaksBetweenCharactersButNotBeforeClosingPunctuation)
{
    const std::string text = "数据源修复完毕";
    const int width = m_font.TextExtent("数据源").cx;
    const TextLayout layout = Layout(m_font, text, { 0, 0, width, 100 }, FormatWordBreak);
    EXPECT_EQ(LineTexts(layout, text), (std::vector<std::string> { "数据源", "修复完", "毕" }));

    const std::string punctuated = "数据源，修复";
    const TextLayout kept = Layout(m_font, punctuated, { 0, 0, width, 100 }, FormatWordBreak);
    EXPECT_EQ(LineTexts(kept, punctuated), (std::vector<std::string> { "数据", "源，修", "复" }));

    const std::string mixed = "ODBC数据源";
    const TextLayout joined = Layout(m_font, mixed, { 0, 0, m_font.TextExtent("ODBC数").cx, 100 }, FormatWordBreak);
    EXPECT_EQ(LineTexts(joined, mixed), (std::vector<std::string> { "ODBC数", "据源" }));
}

TEST_F(LayoutTest, PrefixUnderlinesTheNextCharacter)
{
    const TextLayout layout = Layout(m_font, "&File", { 5, 5, 200, 50 }, FormatSingleLine);
    ASSERT_EQ(layout.accelerator, 0u);
    ASSERT_EQ(layout.rules.size(), 1u);
    EXPECT_EQ(layout.lines[0].cell.Width(), m_font.TextExtent("File").cx);
    const IntRect underline = layout.rules[0];
    const int baseline = 5 + m_font.Metrics().ascent;
    EXPECT_EQ(underline.left, 5);
    EXPECT_EQ(underline.right, 5 + m_font.TextExtent("F").cx);
    EXPECT_EQ(underline.top, baseline + m_font.Metrics().underlineOffset);
    EXPECT_EQ(underline.Height(), m_font.Metrics().underlineThickness);
    EXPECT_EQ(layout.glyphs.size(), 4u);

    const TextLayout middle = Layout(m_font, "E&xit", { 0, 0, 200, 50 }, FormatSingleLine);
    ASSERT_EQ(middle.rules.size(), 1u);
    EXPECT_EQ(middle.accelerator, 1u);
    EXPECT_EQ(middle.rules[0].left, m_font.TextExtent("E").cx);
    EXPECT_EQ(middle.rules[0].Width(), m_font.TextExtent("x").cx);
}

TEST_F(LayoutTest, PrefixEscapesAndEdges)
{
    const TextLayout doubled = Layout(m_font, "Save && Close", { 0, 0, 300, 50 }, FormatSingleLine);
    EXPECT_TRUE(doubled.rules.empty());
    EXPECT_FALSE(doubled.accelerator);
    EXPECT_EQ(doubled.lines[0].cell.Width(), m_font.TextExtent("Save & Close").cx);

    const TextLayout trailing = Layout(m_font, "Save&", { 0, 0, 300, 50 }, FormatSingleLine);
    EXPECT_TRUE(trailing.rules.empty());
    EXPECT_EQ(trailing.lines[0].cell.Width(), m_font.TextExtent("Save").cx);

    const TextLayout literal = Layout(m_font, "&File", { 0, 0, 300, 50 }, FormatSingleLine | FormatNoPrefix);
    EXPECT_TRUE(literal.rules.empty());
    EXPECT_EQ(literal.lines[0].cell.Width(), m_font.TextExtent("&File").cx);

    // An underlined font already underlines the accelerator.
    FontSpec fontSpec = m_font.Description();
    fontSpec.underline = true;
    const TextLayout underlined = Layout(Font::Create(fontSpec).Value(), "&File", { 0, 0, 300, 50 }, FormatSingleLine);
    ASSERT_EQ(underlined.rules.size(), 1u);
    EXPECT_EQ(underlined.rules[0].Width(), m_font.TextExtent("File").cx);
}

TEST_F(LayoutTest, LineBreaksSplitUnlessSingleLine)
{
    const std::string text = "one\r\ntwo\nthree\rfour";
    const TextLayout layout = Layout(m_font, text, { 0, 0, 300, 300 }, FormatLeft);
    EXPECT_EQ(LineTexts(layout, text), (std::vector<std::string> { "one", "two", "three", "four" }));
    EXPECT_EQ(layout.height, 4 * m_lineHeight);
    EXPECT_EQ(layout.lines[2].cell.top, 2 * m_lineHeight);

    const std::string blank = "a\r\n\r\nb\r\n";
    EXPECT_EQ(LineTexts(Layout(m_font, blank, { 0, 0, 300, 300 }, FormatLeft), blank),
              (std::vector<std::string> { "a", "", "b" }));

    const TextLayout single = Layout(m_font, text, { 0, 0, 300, 300 }, FormatSingleLine);
    ASSERT_EQ(single.lines.size(), 1u);
    EXPECT_EQ(single.height, m_lineHeight);
    EXPECT_EQ(single.lines[0].cell.Width(), m_font.TextExtent("onetwothreefour").cx);

    const TextLayout empty = Layout(m_font, "", { 0, 0, 300, 300 }, FormatCalcRect);
    EXPECT_EQ(empty.height, 0);
    EXPECT_EQ(empty.rect, (IntRect { 0, 0, 0, 0 }));
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
    EXPECT_EQ(cellOf(FormatVCenter).top, 20);
    EXPECT_EQ(cellOf(FormatBottom).top, 20);

    // With vertical placement DrawText returns where the text ends below rect.top.
    EXPECT_EQ(Layout(m_font, "OK", rect, FormatSingleLine | FormatBottom).height, 40);
    EXPECT_EQ(Layout(m_font, "OK", rect, FormatSingleLine).height, m_lineHeight);

    // Text wider than the rectangle centres around it, overhanging both sides.
    const IntRect tight { 50, 0, 52, 20 };
    const IntRect overhang = Layout(m_font, "Overhang", tight, FormatSingleLine | FormatCenter).lines[0].cell;
    EXPECT_LT(overhang.left, 50);
    EXPECT_GT(overhang.right, 52);
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

TEST_F(LayoutTest, PaintingHonoursBothClips)
{
    constexpr int width = 120;
    constexpr int height = 30;
    auto paint = [&](const TextLayout& layout, IntRect clip, BackgroundMode mode) {
        std::vector<std::uint8_t> pixels(width * height, 0);
        PaintLayout(layout, clip, mode, [&](const InkSpan& span) {
            std::fill_n(pixels.begin() + span.y * width + span.x, span.length, span.kind == InkKind::Text ? 1 : 2);
        });
        return pixels;
    };
    auto count = [](const std::vector<std::uint8_t>& pixels, std::uint8_t value) {
        return std::count(pixels.begin(), pixels.end(), value);
    };

    // The text runs off the right of its rectangle and off the surface.
    const TextLayout clipped = Layout(m_font, "&Clipped caption text", { 4, 4, 60, 26 }, FormatSingleLine);
    const TextLayout unclipped
        = Layout(m_font, "&Clipped caption text", { 4, 4, 60, 26 }, FormatSingleLine | FormatNoClip);
    EXPECT_FALSE(unclipped.clip);
    const auto inside = paint(clipped, { 0, 0, width, height }, BackgroundMode::Transparent);
    const auto everywhere = paint(unclipped, { 0, 0, width, height }, BackgroundMode::Transparent);
    EXPECT_GT(count(inside, 1), 20);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const auto i = static_cast<std::size_t>(y * width + x);
            if (IntRect { 4, 4, 60, 26 }.Contains(x, y))
                EXPECT_EQ(inside[i], everywhere[i]) << x << "," << y;
            else
                EXPECT_EQ(inside[i], 0) << x << "," << y;
        }
    }
    EXPECT_GT(count(everywhere, 1), count(inside, 1));

    // The caller's clip narrows further; opaque mode fills the rest of the cell.
    const auto narrow = paint(unclipped, { 0, 0, 30, height }, BackgroundMode::Opaque);
    const IntRect cell = unclipped.lines[0].cell;
    EXPECT_EQ(count(narrow, 1) + count(narrow, 2), (30 - cell.left) * cell.Height());
}

}
}
