// The painters on small memory bitmaps, without a control or a window: the worked
// geometry of each style and the pixels that prove it.

#include "controls/progress_bar/ProgressBarPainter.h"

#include "host/gdi/GdiInternal.h"
#include "host/runtime/RuntimeError.h"
#include "host/window/WindowSystem.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

using namespace korvane;
using namespace korvane::progress_bar;

namespace {

constexpr OleColor kGreen = 0x00C000;

// A white bitmap selected into a memory DC.
class Canvas {
public:
    Canvas(int width, int height) : m_width(width), m_height(height)
    {
        HDC screen = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
        m_dc = CreateCompatibleDC(screen);
        m_bitmap = CreateCompatibleBitmap(screen, width, height);
        m_old = SelectObject(m_dc, m_bitmap);
        DeleteDC(screen);
        PatBlt(m_dc, 0, 0, width, height, WHITENESS);
    }
    ~Canvas()
    {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Dc() const { return m_dc; }
    COLORREF At(int x, int y) const { return GetPixel(m_dc, x, y); }
    std::vector<COLORREF> Pixels() const { return gdi::ReadColorRefs(m_dc); }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

private:
    int m_width;
    int m_height;
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
};

BarLook LookOf(std::int32_t scrolling, std::int32_t percent, std::int32_t orientation = 0)
{
    BarLook look;
    look.Color = kGreen;
    look.Scrolling = scrolling;
    look.PercentValue = percent;
    look.Orientation = orientation;
    return look;
}

BarGeometry Paint(const Canvas& canvas, BarLook look, BarGeometry geometry = {})
{
    look.DrawDC = canvas.Dc();
    geometry.ClientRect = RECT { 0, 0, canvas.Width(), canvas.Height() };
    PaintProgressBar(look, geometry);
    return geometry;
}

class ProgressBarPaint : public ::testing::Test {
protected:
    void SetUp() override { objects = gdi::LiveObjectCount(); }
    void TearDown() override
    {
        EXPECT_EQ(gdi::LiveObjectCount(), objects);
        window::ResetWindowSystem();
    }
    std::size_t objects = 0;
};

} // namespace

TEST_F(ProgressBarPaint, ColourArithmetic)
{
    EXPECT_EQ(LightenColor(0x00C000, 0), 0x00C000u);
    EXPECT_EQ(LightenColor(0x00C000, 255), 0xFFFFFFu);
    // 192 * 105 \ 255 + 150 = 229; 0 -> 150.
    EXPECT_EQ(LightenColor(0x00C000, 150), 0x96E596u);
    EXPECT_EQ(BlendColors(0x00C000, 0x000000, 255), 0x00C000u);
    EXPECT_EQ(BlendColors(0x00C000, 0x000000, 0), 0x000000u);
    EXPECT_EQ(BlendColors(0x00C000, 0x000000, 200), 0x009700u); // 192 * 200 / 255 = 150.6
    EXPECT_EQ(TranslateColor(0x8000000D), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(TranslateColor(0x123456), 0x123456u);
}

TEST_F(ProgressBarPaint, GradientEndsAndCounts)
{
    Canvas canvas(12, 4);
    OleColor end = 0x8000000D, start = 0xFFFFFF;
    DrawGradient(end, start, 0, 0, 10, 4, canvas.Dc(), true);
    EXPECT_EQ(end, GetSysColor(COLOR_HIGHLIGHT)) << "colours come back translated";
    EXPECT_EQ(canvas.At(0, 0), end);
    EXPECT_EQ(canvas.At(10, 3), 0xFFFFFFu);
    EXPECT_EQ(canvas.At(0, 3), end) << "each line ends before Y2";

    Canvas one(4, 4);
    OleColor red = 0x0000FF, blue = 0xFF0000;
    DrawGradient(red, blue, 1, 0, 0, 4, one.Dc(), true);
    EXPECT_EQ(one.At(1, 1), 0x0000FFu) << "no extra lines: one line in the end colour";
    EXPECT_EQ(one.At(2, 1), 0xFFFFFFu);
    DrawGradient(blue, red, 2, 0, -1, 4, one.Dc(), true);
    EXPECT_EQ(one.At(2, 1), 0xFFFFFFu) << "a negative count draws nothing";

    // A count far beyond the bitmap draws the visible lines as usual, and returns.
    Canvas wide(6, 2);
    OleColor a = 0x000000, b = 0xFFFFFF;
    DrawGradient(a, b, 0, 0, 2000000000, 2, wide.Dc(), true);
    EXPECT_EQ(wide.At(0, 0), 0x000000u);
    EXPECT_EQ(wide.At(5, 0), 0x000000u);
}

TEST_F(ProgressBarPaint, BlocksAtHalf)
{
    Canvas canvas(200, 18);
    BarGeometry g = Paint(canvas, LookOf(Blocks, 50));
    EXPECT_EQ(g.BarRect.right, 99);
    EXPECT_EQ(g.ClientRect.left, 0) << "the frame moves the left edge back";
    EXPECT_EQ(g.BlockWidth, 6);
    const OleColor light = LightenColor(kGreen, 150);
    EXPECT_EQ(canvas.At(5, 3), light);   // top gradient starts light
    EXPECT_EQ(canvas.At(5, 8), kGreen);  // bottom gradient starts at Color
    EXPECT_EQ(canvas.At(5, 14), light);  // and ends light
    EXPECT_EQ(canvas.At(5, 15), 0xFFFFFFu);
    for (int x = 10; x <= 98; x += 8) {
        EXPECT_EQ(canvas.At(x, 8), 0xFFFFFFu) << "gap at " << x;
        EXPECT_EQ(canvas.At(x + 1, 8), 0xFFFFFFu) << "gap at " << x + 1;
        EXPECT_EQ(canvas.At(x - 1, 8), kGreen) << "block before " << x;
    }
    EXPECT_EQ(canvas.At(100, 8), 0xFFFFFFu);
    // The frame: border, bevel and a few corner pixels.
    EXPECT_EQ(canvas.At(50, 0), 0x686868u);
    EXPECT_EQ(canvas.At(50, 1), 0xBEBEBEu);
    EXPECT_EQ(canvas.At(50, 2), 0xEFEFEFu);
    EXPECT_EQ(canvas.At(0, 0), 0xFFFFFFu);
    EXPECT_EQ(canvas.At(1, 1), 0x777777u);
    EXPECT_EQ(canvas.At(198, 1), 0x686868u);
    EXPECT_EQ(canvas.At(197, 17), 0x7D7E7Fu);
}

TEST_F(ProgressBarPaint, StubAtZeroAndOverflowAtFull)
{
    Canvas blocks(200, 18);
    BarGeometry g = Paint(blocks, LookOf(Blocks, 0));
    EXPECT_EQ(g.BarRect.right, 12);
    EXPECT_EQ(blocks.At(9, 8), kGreen) << "one block shows at zero";
    EXPECT_EQ(blocks.At(10, 8), 0xFFFFFFu);
    EXPECT_EQ(blocks.At(11, 8), 0xFFFFFFu);

    Canvas smooth(200, 18);
    Paint(smooth, LookOf(Smooth, 0));
    EXPECT_EQ(smooth.At(11, 8), kGreen) << "the whole stub shows without gaps";
    EXPECT_EQ(smooth.At(12, 8), 0xFFFFFFu);

    Canvas negative(200, 18);
    Paint(negative, LookOf(Smooth, -40));
    EXPECT_EQ(negative.Pixels(), smooth.Pixels()) << "a negative percentage draws like 0";

    Canvas full(200, 18);
    g = Paint(full, LookOf(Blocks, 100));
    EXPECT_EQ(g.BarRect.right, 203);
    EXPECT_EQ(full.At(198, 10), 0xEFEFEFu) << "the frame covers the fill's end";

    Canvas unknown(200, 18), one(200, 18);
    Paint(unknown, LookOf(9, 37));
    Paint(one, LookOf(Smooth, 37));
    EXPECT_EQ(unknown.Pixels(), one.Pixels()) << "an unknown style draws as Smooth";
}

TEST_F(ProgressBarPaint, SearchingSegments)
{
    Canvas canvas(200, 18);
    BarGeometry g = Paint(canvas, LookOf(Searching, 50));
    EXPECT_EQ(g.BarRect.right, 103);
    const int starts[] = { 80, 92, 104 };
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(canvas.At(starts[k], 5), LightenColor(kGreen, 220 - 40 * k)) << "segment " << k;
        EXPECT_EQ(canvas.At(starts[k] + 9, 5), LightenColor(kGreen, 200 - 40 * k)) << "segment " << k;
        EXPECT_EQ(canvas.At(starts[k] + 10, 5), 0xFFFFFFu) << "segment " << k;
    }
    EXPECT_EQ(canvas.At(79, 5), 0xFFFFFFu);
    EXPECT_EQ(canvas.At(85, 15), canvas.At(85, 5)) << "columns reach B - 3";
    EXPECT_EQ(canvas.At(85, 16), 0xEFEFEFu);
}

TEST_F(ProgressBarPaint, VerticalBlocks)
{
    Canvas canvas(20, 200);
    BarGeometry g = Paint(canvas, LookOf(Blocks, 50, 1));
    EXPECT_EQ(g.BarRect.top, 104);
    EXPECT_EQ(canvas.At(10, 104), kGreen);
    EXPECT_EQ(canvas.At(10, 103), 0xFFFFFFu);
    for (int y = 110; y <= 190; y += 8) {
        EXPECT_EQ(canvas.At(10, y), 0xFFFFFFu) << "gap at " << y;
        EXPECT_EQ(canvas.At(10, y + 1), 0xFFFFFFu) << "gap at " << y + 1;
        EXPECT_EQ(canvas.At(10, y + 2), kGreen) << "block at " << y + 2;
    }
    EXPECT_EQ(canvas.At(10, 197), kGreen);
}

TEST_F(ProgressBarPaint, AlternativeStyleExtents)
{
    // Styles dividing by 101 stop at 198 on a 200-pixel bar; the flat style reaches 200.
    for (std::int32_t style : { Shaded, Hatched }) {
        Canvas canvas(200, 18);
        EXPECT_EQ(Paint(canvas, LookOf(style, 100)).BarRect.right, 198) << "style " << style;
    }
    Canvas flat(200, 18);
    BarGeometry g = Paint(flat, LookOf(Flat, 100));
    EXPECT_EQ(g.BarRect.right, 200);
    EXPECT_EQ(flat.At(0, 5), LightenColor(kGreen, 100));
    EXPECT_EQ(flat.At(100, 5), LightenColor(kGreen, 180));

    // At 0 % the etched style draws exactly one column, at x = 2, in its first colour.
    Canvas etched(200, 18);
    g = Paint(etched, LookOf(Etched, 0));
    EXPECT_EQ(etched.At(2, 5), LightenColor(kGreen, 140));
    EXPECT_EQ(etched.At(3, 5), 0xFFFFFFu);
    EXPECT_EQ(g.BarRect.right, 0) << "the etched style leaves BarRect alone";

    // The shaded style at 0 %: fill rows run from x = 3 back to 1, the edge line on column 0.
    Canvas shaded(200, 18);
    Paint(shaded, LookOf(Shaded, 0));
    EXPECT_EQ(shaded.At(3, 3), LightenColor(kGreen, 250));
    EXPECT_EQ(shaded.At(1, 3), LightenColor(kGreen, 250));
    EXPECT_EQ(shaded.At(0, 5), LightenColor(kGreen, 25));
    EXPECT_EQ(shaded.At(100, 2), kGreen) << "the interior is Color at the top";

    Canvas dark(200, 18);
    Paint(dark, LookOf(Dark, 50));
    EXPECT_EQ(dark.At(150, 9), 0x000000u) << "black background";
    EXPECT_EQ(dark.At(0, 0), BlendColors(kGreen, 0, 200));
    // m = CLng(0.5 * 195) = 98 (ties to even): columns 2..100, the last in the dark tone.
    EXPECT_EQ(dark.At(100, 9), LightenColor(BlendColors(kGreen, 0, 100), 10));
    EXPECT_EQ(dark.At(101, 9), 0x000000u);
}

TEST_F(ProgressBarPaint, HatchAndPictureFills)
{
    Canvas hatch(120, 12);
    BarLook look = LookOf(Hatched, 100);
    look.BrushStyle = HS_HORIZONTAL;
    look.ShowText = true;
    BarGeometry g = Paint(hatch, look);
    g = Paint(hatch, look, g);
    const OleColor space = LightenColor(kGreen, 140);
    int spaces = 0, lines = 0;
    for (int y = 2; y < 10; ++y) {
        spaces += hatch.At(4, y) == space;
        lines += hatch.At(4, y) == kGreen;
    }
    EXPECT_GT(lines, 0);
    EXPECT_EQ(spaces + lines, 8) << "spaces stay painted after a caption";

    Canvas wild(120, 12);
    look.BrushStyle = 70000;
    EXPECT_NO_THROW(Paint(wild, look)) << "a BrushStyle beyond 16 bits fills nothing";
    EXPECT_EQ(wild.At(4, 4), 0xFFFFFFu);

    Canvas none(40, 12);
    Paint(none, LookOf(Picture, 50));
    EXPECT_EQ(none.At(10, 5), 0xFFFFFFu) << "no picture: the edge only";

    Canvas tile(2, 2);
    RECT all { 0, 0, 2, 2 };
    FillRect(tile.Dc(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    HBITMAP pattern = static_cast<HBITMAP>(GetCurrentObject(tile.Dc(), OBJ_BITMAP));
    Canvas picture(40, 12);
    BarLook withImage = LookOf(Picture, 50);
    withImage.Image = pattern;
    g = Paint(picture, withImage);
    EXPECT_EQ(g.BarRect.right, 20); // CLng(50 / 101 * 40) = 19.8
    EXPECT_EQ(picture.At(21, 5), 0x000000u) << "the width is 20 from x = 2";
    EXPECT_EQ(picture.At(22, 5), 0xFFFFFFu);

    Canvas unusable(40, 12);
    withImage.Image = HBITMAP {};
    Paint(unusable, withImage);
    EXPECT_EQ(unusable.At(10, 5), 0xFFFFFFu) << "a picture without a bitmap fills nothing";
}

TEST_F(ProgressBarPaint, Caption)
{
    EXPECT_EQ(CaptionText(LookOf(Searching, 45)), "Searching..");
    EXPECT_EQ(CaptionText(LookOf(Smooth, 45)), "45 %");
    EXPECT_EQ(CaptionText(LookOf(Flat, 0)), "0 %");
    EXPECT_EQ(CaptionText(LookOf(Flat, -5)), "-5 %");

    Canvas hidden(200, 18);
    BarGeometry before;
    before.TextRect = RECT { 7, 7, 9, 9 };
    BarGeometry g = Paint(hidden, LookOf(Flat, 0), before);
    EXPECT_EQ(g.TextRect.left, 7) << "no caption: TextRect keeps its value";
    EXPECT_EQ(g.TextRect.right, 9);

    Canvas shown(200, 18);
    BarLook look = LookOf(Flat, 0);
    look.ShowText = true;
    g = Paint(shown, look);
    const int width = g.TextRect.right - g.TextRect.left;
    ASSERT_GT(width, 0);
    EXPECT_LE(std::abs(g.TextRect.left + width / 2 - 100), 1) << "centred";
    EXPECT_EQ(GetBkMode(shown.Dc()), OPAQUE) << "the caption restores the background mode";
}

TEST_F(ProgressBarPaint, DarkCaptionChangesColourAtTheFillEdge)
{
    // Caption pixels by colour, left and right of x = 100 (the fill edge at 50 %).
    struct Split {
        int greyLeft = 0, greyRight = 0, lightLeft = 0, lightRight = 0;
    };
    auto caption = [](std::int32_t percent) {
        Canvas canvas(200, 18);
        BarLook look = LookOf(Dark, percent);
        look.ShowText = true;
        Paint(canvas, look);
        Split split;
        for (int y = 3; y < 15; ++y)
            for (int x = 60; x < 140; ++x) {
                COLORREF c = canvas.At(x, y);
                if (c == 0xC0C0C0)
                    ++(x < 100 ? split.greyLeft : split.greyRight);
                else if (c == LightenColor(kGreen, 80))
                    ++(x < 100 ? split.lightLeft : split.lightRight);
            }
        return split;
    };
    Split at30 = caption(30);
    EXPECT_GT(at30.greyLeft + at30.greyRight, 0);
    EXPECT_EQ(at30.lightLeft + at30.lightRight, 0) << "fill edge 60 lies left of the caption";
    Split at50 = caption(50);
    EXPECT_EQ(at50.greyLeft, 0) << "the light copy covers the grey one left of the edge";
    EXPECT_GT(at50.greyRight, 0);
    EXPECT_GT(at50.lightLeft, 0);
    EXPECT_EQ(at50.lightRight, 0) << "the light copy stops at the fill edge";
    Split at60 = caption(60);
    EXPECT_EQ(at60.greyLeft + at60.greyRight, 0) << "fill edge 120 passes the caption: no grey copy";
    EXPECT_GT(at60.lightLeft + at60.lightRight, 0);
}

TEST_F(ProgressBarPaint, OverflowRaisesAndRestoresTheDc)
{
    Canvas canvas(200, 18);
    HGDIOBJ font = GetCurrentObject(canvas.Dc(), OBJ_FONT);
    BarLook look = LookOf(Blocks, 2000000000);
    EXPECT_THROW(Paint(canvas, look), host::RuntimeError);
    // Fits the fill (x 195) but not the caption's clip edge (x 200).
    look = LookOf(Dark, 1087000000);
    look.ShowText = true;
    look.Font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    EXPECT_THROW(Paint(canvas, look), host::RuntimeError);
    EXPECT_EQ(GetCurrentObject(canvas.Dc(), OBJ_FONT), font);
}
