// The styles beyond the XP look: flat, etched, shaded, dark, hatched and picture.
// Shaded, hatched and picture divide by 101, so at 100 % they stop a little short
// of the right edge; the others divide by 100.

#include "controls/progress_bar/ProgressBarPainter.h"

#include "host/runtime/Conversions.h"

#include <limits>

namespace korvane::progress_bar {

using host::CLng;
using host::Sub32;

namespace {

// The fill's right end: the percentage of `span` past `left`.
std::int32_t FillEnd(const BarLook& look, double divisor, std::int32_t span, std::int32_t left)
{
    return CLng(look.PercentValue / divisor * span + left);
}

} // namespace

void DrawFlatStyle(const BarLook& look, BarGeometry& geometry)
{
    const RECT& client = geometry.ClientRect;
    FrameRectColor(client, LightenColor(look.Color, 100), look.DrawDC);
    geometry.BarRect = RECT { 1, 1, FillEnd(look, 100, Sub32(client.right, client.left), client.left), client.bottom - 1 };
    FillRectColor(geometry.BarRect, LightenColor(look.Color, 180), look.DrawDC);
}

void DrawEtchedStyle(const BarLook& look, BarGeometry& geometry)
{
    RECT& client = geometry.ClientRect;
    DrawEdge(look.DrawDC, &client, EDGE_ETCHED, BF_RECT);
    std::int32_t m = FillEnd(look, 100, Sub32(Sub32(client.right, client.left), 4), client.left);
    OleColor end = LightenColor(look.Color, 140);
    OleColor start = LightenColor(look.Color, 200);
    DrawGradient(end, start, 2, 2, m, client.bottom - 3, look.DrawDC, true);
}

void DrawShadedStyle(const BarLook& look, BarGeometry& geometry)
{
    const RECT& client = geometry.ClientRect;
    const std::int32_t R = client.right;
    const std::int32_t B = client.bottom;
    FrameRectColor(client, LightenColor(look.Color, 10), look.DrawDC);
    geometry.BarRect.right = FillEnd(look, 101, Sub32(R, client.left), client.left);

    // The whole interior darkens upward; the fill over it lightens upward.
    OleColor color = look.Color;
    OleColor pale = LightenColor(look.Color, 100);
    DrawGradient(color, pale, 2, 2, R - 2, B - 5, look.DrawDC, false);
    OleColor white = LightenColor(look.Color, 250);
    DrawGradient(white, color, 3, 3, geometry.BarRect.right, B - 6, look.DrawDC, false);
    DrawLine(geometry.BarRect.right, 2, geometry.BarRect.right, B - 2, look.DrawDC, LightenColor(look.Color, 25));
}

void DrawDarkStyle(const BarLook& look, BarGeometry& geometry)
{
    const RECT& client = geometry.ClientRect;
    FrameRectColor(client, BlendColors(look.Color, 0x000000, 200), look.DrawDC);
    OleColor dark = LightenColor(TranslateColor(BlendColors(look.Color, 0x000000, 100)), 10);
    std::int32_t m = FillEnd(look, 100, Sub32(Sub32(client.right, client.left), 5), client.left);
    OleColor black = 0x000000;
    DrawGradient(black, dark, 2, 2, m, client.bottom - 2, look.DrawDC, true);
}

void DrawHatchStyle(const BarLook& look, BarGeometry& geometry)
{
    RECT& client = geometry.ClientRect;
    DrawEdge(look.DrawDC, &client, EDGE_BUMP, BF_RECT);
    geometry.BarRect = RECT { 2, 2, FillEnd(look, 101, Sub32(client.right, client.left), client.left), client.bottom - 2 };

    // A BrushStyle beyond 16 bits is no hatch style at all: it gets no brush, like
    // any other unknown style, instead of failing every repaint with an overflow.
    const bool fits = look.BrushStyle >= std::numeric_limits<std::int16_t>::min() &&
                      look.BrushStyle <= std::numeric_limits<std::int16_t>::max();
    HBRUSH brush = CreateHatchBrush(fits ? look.BrushStyle : -1, TranslateColor(look.Color));
    SetBkColor(look.DrawDC, LightenColor(look.Color, 140));
    // The spaces between the hatch lines are painted only with an opaque background,
    // which a caption drawn earlier may have turned off.
    int previousMode = SetBkMode(look.DrawDC, OPAQUE);
    FillRect(look.DrawDC, &geometry.BarRect, brush);
    if (previousMode)
        SetBkMode(look.DrawDC, previousMode);
    DeleteObject(brush);
}

void DrawImageStyle(const BarLook& look, BarGeometry& geometry)
{
    RECT& client = geometry.ClientRect;
    DrawEdge(look.DrawDC, &client, BDR_SUNKENOUTER, BF_RECT);
    if (!look.Image)
        return;
    const std::int32_t B = client.bottom;
    std::int32_t w = FillEnd(look, 101, Sub32(client.right, client.left), client.left);
    geometry.BarRect.right = w;
    // A picture without a usable bitmap gives no pattern; the fill is left out rather
    // than painted with whatever brush the DC holds.
    HBRUSH brush = CreatePatternBrush(*look.Image);
    if (!brush)
        return;
    {
        SelectionGuard selected(look.DrawDC, brush);
        PatBlt(look.DrawDC, 2, 2, w, B - 4, PATCOPY);
    }
    DeleteObject(brush);
}

} // namespace korvane::progress_bar
