// The painters on small memory bitmaps, without a control or a window: the worked
// geometry of each style and the pixels that prove it.

#include "controls/progress_bar/ProgressBarPainter.h"

#include "host/runtime/RuntimeError.h"
#include "tests/host/gdi/CanvasSupport.h"
#include "tests/support/FormFixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <tuple>

using namespace korvane;
using namespace korvane::progress_bar;
using korvane::testing::MatchesGolden;

namespace {

constexpr OleColor kGreen = 0x00C000;
constexpr COLORREF kWhite = 0xFFFFFF;

// A white 32-bit canvas the painters draw on.
class Canvas : public gdi::testing::Canvas {
public:
    using gdi::testing::Canvas::Canvas;

    COLORREF At(int x, int y) const { return GetPixel(Dc(), x, y); }
    const raster::Surface& Surface() const { return *gdi::SurfaceOf(Dc()); }
    BarGeometry Paint(BarLook look, BarGeometry geometry = {}) const
    {
        look.DrawDC = Dc();
        geometry.ClientRect = { 0, 0, Surface().Width(), Surface().Height() };
        PaintProgressBar(look, geometry);
        return geometry;
    }
};

BarLook LookOf(std::int32_t scrolling, std::int32_t percent, std::int32_t orientation = 0, bool showText = false)
{
    return BarLook { .Color = kGreen, .PercentValue = percent, .Scrolling = scrolling, .Orientation = orientation,
                     .Image = std::nullopt, .ShowText = showText };
}

// The fixture proves that no GDI object outlives a test.
class ProgressBarPaint : public korvane::testing::FormFixture {};

} // namespace

TEST_F(ProgressBarPaint, ColourArithmetic)
{
    const std::pair<OleColor, OleColor> cases[] = {
        { LightenColor(0x00C000, 0), 0x00C000 },
        { LightenColor(0x00C000, 255), 0xFFFFFF },
        { LightenColor(0x00C000, 150), 0x96E596 }, // 192 * 105 \ 255 + 150 = 229; 0 -> 150
        { BlendColors(0x00C000, 0x000000, 255), 0x00C000 },
        { BlendColors(0x00C000, 0x000000, 0), 0x000000 },
        { BlendColors(0x00C000, 0x000000, 200), 0x009700 }, // 192 * 200 / 255 = 150.6
        { TranslateColor(0x8000000D), GetSysColor(COLOR_HIGHLIGHT) },
        { TranslateColor(0x8000010D), GetSysColor(COLOR_HIGHLIGHT) }, // only the low byte names the colour
        { TranslateColor(0x123456), 0x123456 },
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(cases[i].first, cases[i].second) << "case " << i;
}

TEST_F(ProgressBarPaint, GradientEndsAndCounts)
{
    Canvas canvas(12, 4);
    OleColor end = 0x8000000D, start = 0xFFFFFF;
    DrawGradient(end, start, 0, 0, 10, 4, canvas.Dc(), true);
    EXPECT_EQ(end, GetSysColor(COLOR_HIGHLIGHT)) << "colours come back translated";
    // Each line ends before Y2.
    EXPECT_EQ(std::tuple(canvas.At(0, 0), canvas.At(10, 3), canvas.At(0, 3)), std::tuple(end, kWhite, end));

    Canvas one(4, 4);
    OleColor red = 0x0000FF, blue = 0xFF0000;
    DrawGradient(red, blue, 1, 0, 0, 4, one.Dc(), true);
    EXPECT_EQ(std::pair(one.At(1, 1), one.At(2, 1)), std::pair(0x0000FFu, kWhite)) << "no extra lines: one line in the end colour";
    DrawGradient(blue, red, 2, 0, -1, 4, one.Dc(), true);
    EXPECT_EQ(one.At(2, 1), kWhite) << "a negative count draws nothing";

    // A count far beyond the bitmap draws the visible lines as usual, and returns.
    Canvas wide(6, 2);
    OleColor a = 0x000000, b = 0xFFFFFF;
    DrawGradient(a, b, 0, 0, 2000000000, 2, wide.Dc(), true);
    EXPECT_EQ(wide.At(5, 0), 0x000000u);
}

TEST_F(ProgressBarPaint, StyleGeometryAndPixels)
{
    struct Case {
        const char* name; // the golden under progress_bar/, unless the case draws like another look
        BarLook look;
        LONG barEdge; // BarRect.right, or BarRect.top when vertical; -1 not looked at
        std::optional<BarLook> drawsLike = {};
        int width = 200, height = 18;
        bool paintedTwice = false; // the second time over the geometry the first left
    };
    const Canvas tile(2, 2, RGB(0, 0, 0));
    BarLook wildHatch = LookOf(Hatched, 100), noPicture = LookOf(Picture, 50), noBitmap = noPicture, tiled = noPicture;
    BarLook hatchCaption = LookOf(Hatched, 100, 0, true);
    wildHatch.BrushStyle = 70000;
    hatchCaption.BrushStyle = HS_HORIZONTAL;
    noBitmap.Image = HBITMAP {};
    tiled.Image = static_cast<HBITMAP>(GetCurrentObject(tile.Dc(), OBJ_BITMAP));
    const Case cases[] = {
        { "blocks_half", LookOf(Blocks, 50), 99 },
        { "blocks_zero_one_block", LookOf(Blocks, 0), 12 },
        { "smooth_zero_whole_stub", LookOf(Smooth, 0), 12 },
        { "a negative percentage draws like 0", LookOf(Smooth, -40), -1, LookOf(Smooth, 0) },
        { "an unknown style draws as Smooth", LookOf(9, 37), -1, LookOf(Smooth, 37) },
        { "blocks_full_frame_covers_fill_end", LookOf(Blocks, 100), 203 },
        { "searching_half", LookOf(Searching, 50), 103 },
        { .name = "vertical_blocks_half", .look = LookOf(Blocks, 50, 1), .barEdge = 104, .width = 20, .height = 200 },
        // Styles dividing by 101 stop at 198 on a 200-pixel bar; the flat style reaches 200.
        { "shaded_full", LookOf(Shaded, 100), 198 },
        { "hatched_full", LookOf(Hatched, 100), 198 },
        { "flat_full", LookOf(Flat, 100), 200 },
        // At 0 % the etched style draws one column, at x = 2, and leaves BarRect alone.
        { "etched_zero_one_column", LookOf(Etched, 0), 0 },
        { "shaded_zero", LookOf(Shaded, 0), -1 },
        // m = CLng(0.5 * 195) = 98 (ties to even): columns 2..100, the last in the dark tone.
        { "dark_half", LookOf(Dark, 50), -1 },
        { "brush_style_beyond_16_bits_fills_nothing", wildHatch, -1 },
        { "no_picture_edge_only", noPicture, -1 },
        { "picture_without_bitmap_fills_nothing", noBitmap, -1 },
        // CLng(50 / 101 * 40) = 19.8, from x = 2
        { .name = "picture_tiles_fill", .look = tiled, .barEdge = 20, .width = 40, .height = 12 },
        // The hatch's spaces stay painted where the first caption was.
        { .name = "hatch_repainted_under_caption", .look = hatchCaption, .barEdge = -1, .width = 120, .height = 12, .paintedTwice = true },
        // The caption is grey over the empty part and light over the fill, split at the
        // fill's edge: left of the caption, through its middle, and right of it.
        { "dark_caption_30", LookOf(Dark, 30, 0, true), -1 },
        { "dark_caption_50", LookOf(Dark, 50, 0, true), -1 },
        { "dark_caption_60", LookOf(Dark, 60, 0, true), -1 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas canvas(c.width, c.height);
        BarGeometry g = canvas.Paint(c.look);
        if (c.paintedTwice)
            g = canvas.Paint(c.look, g);
        if (c.barEdge >= 0) {
            EXPECT_EQ(c.look.Orientation ? g.BarRect.top : g.BarRect.right, c.barEdge);
        }
        if (c.drawsLike) {
            Canvas like(c.width, c.height);
            like.Paint(*c.drawsLike);
            EXPECT_TRUE(korvane::testing::SamePixels(canvas.Surface(), like.Surface()));
        } else {
            EXPECT_TRUE(MatchesGolden(canvas.Surface(), std::string("progress_bar/") + c.name));
        }
    }
}

TEST_F(ProgressBarPaint, Caption)
{
    EXPECT_EQ(std::tuple(CaptionText(LookOf(Searching, 45)), CaptionText(LookOf(Smooth, 45)), CaptionText(LookOf(Flat, -5))),
              std::tuple("Searching..", "45 %", "-5 %"));

    Canvas hidden(200, 18);
    BarGeometry g = hidden.Paint(LookOf(Flat, 0), BarGeometry { .TextRect = { 7, 7, 9, 9 } });
    EXPECT_EQ(std::pair(g.TextRect.left, g.TextRect.right), std::pair(7, 9)) << "no caption: TextRect keeps its value";

    Canvas shown(200, 18);
    g = shown.Paint(LookOf(Flat, 0, 0, true));
    const int width = g.TextRect.right - g.TextRect.left;
    ASSERT_GT(width, 0);
    EXPECT_LE(std::abs(g.TextRect.left + width / 2 - 100), 1) << "centred";
    EXPECT_EQ(GetBkMode(shown.Dc()), OPAQUE) << "the caption restores the background mode";
}

TEST_F(ProgressBarPaint, OverflowRaisesAndRestoresTheDc)
{
    Canvas canvas(200, 18);
    HGDIOBJ font = GetCurrentObject(canvas.Dc(), OBJ_FONT);
    EXPECT_THROW(canvas.Paint(LookOf(Blocks, 2000000000)), host::RuntimeError);
    // Fits the fill (x 195) but not the caption's clip edge (x 200).
    BarLook look = LookOf(Dark, 1087000000, 0, true);
    look.Font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    EXPECT_THROW(canvas.Paint(look), host::RuntimeError);
    EXPECT_EQ(GetCurrentObject(canvas.Dc(), OBJ_FONT), font);
}
