#include "TextTestSupport.h"

#include <string_view>
#include <tuple>

namespace korvane::raster::text {
namespace {

using testing::InkCount;
using testing::IsCjkFamily;
using testing::MakeFont;

TEST(FontMatching, WindowsFacesMapOntoInstalledOnesAndOneSpecIsOneFont)
{
    for (const char* name : { "Tahoma", "Verdana", "MS Sans Serif", "Arial", "Microsoft Sans Serif", "tahoma" })
        EXPECT_EQ(MakeFont(name, -11).Face(0).family, "DejaVu Sans") << name;
    for (const char* name : { "宋体", "SimSun", "新宋体" }) {
        const Font font = MakeFont(name, -12);
        EXPECT_TRUE(IsCjkFamily(font.Face(0).family)) << name << " matched " << font.Face(0).family;
        EXPECT_EQ(font.GlyphFor(U'数').faceSlot, 0) << name;
    }
    EXPECT_TRUE(MakeFont("Tahoma", -11) == MakeFont("Tahoma", -11));
    EXPECT_FALSE(MakeFont("Tahoma", -11) == MakeFont("Tahoma", -12));
}

TEST(FontMetrics, HeightFollowsLogfontRules)
{
    // Negative asks for the em, positive for the whole cell, zero for a 16 pixel cell.
    const FontMetrics em = MakeFont("Tahoma", -11).Metrics();
    EXPECT_EQ(std::tuple(em.emSize, em.height, em.internalLeading), std::tuple(11, em.ascent + em.descent, em.height - 11));
    EXPECT_GT(em.internalLeading, 0);

    const FontMetrics cell = MakeFont("Tahoma", 13).Metrics();
    EXPECT_EQ(std::tuple(cell.height, cell.ascent + cell.descent), std::tuple(13, 13));
    EXPECT_LT(cell.emSize, 13);

    EXPECT_EQ(MakeFont("Tahoma", 0).Metrics().height, 16);
}

TEST(FontMetrics, RulesSitInsideTheCell)
{
    for (int height : { -8, -11, -16, -32 }) {
        const FontMetrics m = MakeFont("Tahoma", height).Metrics();
        EXPECT_GE(m.underlineOffset, 0);
        EXPECT_LE(m.underlineOffset + m.underlineThickness, m.descent) << height;
        EXPECT_LE(m.strikeOutOffset, m.ascent) << height;
        EXPECT_GT(m.averageCharWidth, 0);
    }
}

TEST(FontMetrics, ExtentSumsTheAdvancesOfWhatIsDrawn)
{
    const Font font = MakeFont("Tahoma", -11);
    int sum = 0;
    for (char32_t c : std::u32string_view(U"Wi数据"))
        sum += font.GlyphFor(c).advance;
    EXPECT_EQ(font.TextExtent("Wi数据"), (IntSize { sum, font.Metrics().height }));
    EXPECT_EQ(font.TextExtent(""), (IntSize { 0, font.Metrics().height }));
}

TEST(Glyphs, LatinFaceFallsBackToCjkPerGlyph)
{
    const Font font = MakeFont("Tahoma", -11);
    EXPECT_EQ(font.GlyphFor(U'A').faceSlot, 0);
    const Glyph& han = font.GlyphFor(U'数');
    ASSERT_NE(han.faceSlot, 0);
    EXPECT_TRUE(IsCjkFamily(font.Face(han.faceSlot).family)) << font.Face(han.faceSlot).family;
    EXPECT_GT(InkCount(han), 10);
    EXPECT_NE(han.mask, font.NotdefGlyph().mask);
    // The fallback face is kept, not matched again per character.
    EXPECT_EQ(font.GlyphFor(U'据').faceSlot, han.faceSlot);
}

TEST(Glyphs, ControlCharactersAreInvisible)
{
    const Font font = MakeFont("Tahoma", -11);
    for (char32_t c : { U'\r', U'\n', U'\t', U'\x01' })
        EXPECT_EQ(std::pair(font.GlyphFor(c).advance, font.GlyphFor(c).HasInk()), std::pair(0, false)) << static_cast<int>(c);
}

TEST(Glyphs, BoldIsWiderAndDarker)
{
    // DejaVu has a real bold face; UMing has none, so its bold is synthesized.
    for (auto [face, synthetic, glyphs] : { std::tuple("Tahoma", false, U"H"), std::tuple("宋体", true, U"H数") }) {
        const Font regular = MakeFont(face, -12);
        const Font bold = MakeFont(face, -12, 700);
        EXPECT_EQ(bold.Face(0).syntheticBold, synthetic) << face;
        EXPECT_GT(bold.TextExtent("Hello World").cx, regular.TextExtent("Hello World").cx) << face;
        for (char32_t c : std::u32string_view(glyphs))
            EXPECT_GT(InkCount(bold.GlyphFor(c)), InkCount(regular.GlyphFor(c))) << face;
    }
}

TEST(Glyphs, ItalicIsSynthesizedOnlyWhenMissing)
{
    EXPECT_FALSE(MakeFont("Tahoma", -12, 400, true).Face(0).syntheticItalic);
    const Font slanted = MakeFont("宋体", -16, 400, true);
    EXPECT_TRUE(slanted.Face(0).syntheticItalic);
    EXPECT_NE(slanted.GlyphFor(U'l').mask, MakeFont("宋体", -16).GlyphFor(U'l').mask);
}

}
}
