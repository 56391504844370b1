// The Windows XP look: Blocks (green blocks with white gaps), Smooth (one solid
// run) and Searching (three short segments). All three share the extent
// computation, the rounded shaded fill and the grey frame with anti-aliased corners.

#include "controls/progress_bar/ProgressBarPainter.h"

#include "host/runtime/Conversions.h"

#include <algorithm>
#include <array>

namespace korvane::progress_bar {

using host::Add32;
using host::CLng;
using host::Mod32;
using host::Sub32;

void ComputeBlockExtent(const BarLook& look, BarGeometry& geometry)
{
    geometry.BlockWidth = look.Scrolling == Blocks ? 6 : 0;
    geometry.BlockGap = 2;
    const std::int32_t step = geometry.BlockWidth + geometry.BlockGap;

    // The fill starts inside the frame; DrawXPFrame moves the edge back.
    RECT& client = geometry.ClientRect;
    client.left = Add32(client.left, 3);
    geometry.BarRect = client;

    // 98, not 100: the extent reaches the frame's inner edge a little before 100 %.
    geometry.FillFraction = std::max(look.PercentValue / 98.0, 0.0);
    if (look.Orientation == 0) {
        std::int32_t x = CLng(Sub32(client.right, client.left) * geometry.FillFraction + client.left);
        geometry.BarRect.right = Sub32(x, Mod32(Sub32(x, geometry.BarRect.left), step));
        geometry.BarRect.right = std::max(geometry.BarRect.right, client.left);
    } else {
        geometry.FillFraction = 1 - geometry.FillFraction;
        std::int32_t y = CLng(Sub32(client.bottom, client.top) * geometry.FillFraction + client.top);
        geometry.BarRect.top = Sub32(y, Mod32(Sub32(y, geometry.BarRect.bottom), step));
        geometry.BarRect.top = std::min(geometry.BarRect.top, client.bottom);
    }
}

void DrawXPFill(const BarLook& look, BarGeometry& geometry)
{
    HDC dc = look.DrawDC;
    const std::int32_t R = geometry.ClientRect.right;
    const std::int32_t B = geometry.ClientRect.bottom;
    const OleColor light = LightenColor(look.Color, 150);
    OleColor color = look.Color;

    if (look.Orientation == 0) {
        // A short stub keeps one block visible even at zero progress.
        if (geometry.BarRect.right <= 14)
            geometry.BarRect.right = 12;
        RECT fill { 4, 8, geometry.BarRect.right, B - 8 };
        if (Add32(geometry.BarRect.right, 4) > R)
            fill.right = Sub32(geometry.BarRect.right, 4);
        if (look.Scrolling != Searching) {
            OleColor top = light;
            DrawGradient(top, color, 4, 3, fill.right, 6, dc, false);
            FillRectColor(fill, color, dc);
            OleColor bottom = light;
            DrawGradient(color, bottom, 4, B - 10, fill.right, 6, dc, false);
        } else {
            const double lag = Sub32(100, look.PercentValue) / 100.0 * 45;
            for (std::int32_t k = 0; k <= 2; ++k) {
                std::int32_t x = CLng(Add32(geometry.BarRect.right, (geometry.BlockGap + 10) * k) - lag);
                OleColor end = LightenColor(look.Color, 220 - 40 * k);
                OleColor start = LightenColor(look.Color, 200 - 40 * k);
                DrawGradient(end, start, x, 3, 9, B - 2, dc, true);
            }
        }
    } else {
        RECT fill { 9, geometry.BarRect.top, R - 8, B };
        if (look.Scrolling != Searching) {
            OleColor left = light;
            DrawGradient(left, color, 4, geometry.BarRect.top, 4, B, dc, true);
            FillRectColor(fill, color, dc);
            OleColor right = light;
            DrawGradient(color, right, R - 8, geometry.BarRect.top, 4, B, dc, true);
        } else {
            for (std::int32_t k = 0; k <= 2; ++k) {
                std::int32_t top = Add32(geometry.BarRect.top, (geometry.BlockGap + 10) * k);
                OleColor end = LightenColor(look.Color, 220 - 40 * k);
                OleColor start = LightenColor(look.Color, 200 - 40 * k);
                DrawGradient(end, start, R - 2, top, 2, 9, dc, false);
            }
        }
    }
}

void DrawBlockSeparators(const BarLook& look, BarGeometry& geometry)
{
    HBRUSH white = CreateSolidBrush(0xFFFFFF);
    geometry.BlockRect = geometry.ClientRect;
    const std::int64_t step = geometry.BlockWidth + geometry.BlockGap;
    if (look.Orientation == 0) {
        // Gaps starting at or beyond the last column paint nothing, so the loop
        // stops there however far a large percentage pushes the extent.
        const std::int64_t last = std::min<std::int64_t>(geometry.BarRect.right, geometry.ClientRect.right - 2LL);
        for (std::int64_t x = std::int64_t { geometry.BarRect.left } + geometry.BlockWidth; x <= last; x += step) {
            geometry.BlockRect.left = static_cast<std::int32_t>(x + 1);
            geometry.BlockRect.right = static_cast<std::int32_t>(x + 1 + geometry.BlockGap);
            FillRect(look.DrawDC, &geometry.BlockRect, white);
        }
    } else {
        // Likewise gaps ending at or above row 0.
        const std::int64_t last = std::max<std::int64_t>(std::int64_t { geometry.BarRect.top } + geometry.BlockWidth, 1);
        for (std::int64_t y = geometry.BarRect.bottom; y >= last; y -= step) {
            geometry.BlockRect.top = static_cast<std::int32_t>(y - 2);
            geometry.BlockRect.bottom = static_cast<std::int32_t>(y - 2 + geometry.BlockGap);
            FillRect(look.DrawDC, &geometry.BlockRect, white);
        }
    }
    DeleteObject(white);
}

void DrawXPFrame(const BarLook& look, BarGeometry& geometry)
{
    HDC dc = look.DrawDC;
    geometry.ClientRect.left -= 3;
    const std::int32_t R = geometry.ClientRect.right;
    const std::int32_t B = geometry.ClientRect.bottom;

    // The inner bevel: darker along the top and left, light elsewhere.
    DrawLine(2, 1, R - 2, 1, dc, 0xBEBEBE);
    DrawLine(2, B - 2, R - 2, B - 2, dc, 0xEFEFEF);
    DrawLine(1, 2, 1, B - 2, dc, 0xBEBEBE);
    DrawLine(2, 2, 2, B - 2, dc, 0xEFEFEF);
    DrawLine(2, 2, R - 2, 2, dc, 0xEFEFEF);
    DrawLine(R - 2, 2, R - 2, B - 2, dc, 0xEFEFEF);

    FrameRectColor(geometry.ClientRect, TranslateColor(0x686868), dc);

    // Rounded, anti-aliased corners over the square frame.
    struct CornerPixel {
        std::int32_t x, y;
        OleColor colour;
    };
    const std::array<CornerPixel, 24> corners { {
        { 0, 0, 0xFFFFFF },         { 0, 1, 0xA6ABAC },         { 0, 2, 0x7D7E7F },
        { 1, 0, 0xA7ABAC },         { 1, 1, 0x777777 },         { 2, 0, 0x7D7E7F },
        { 2, 2, 0xBEBEBE },         { 0, B - 1, 0xFFFFFF },     { 1, B - 1, 0xA6ABAC },
        { 2, B - 1, 0x7D7E7F },     { 0, B - 3, 0x7D7E7F },     { 0, B - 2, 0xA7ABAC },
        { 1, B - 2, 0x777777 },     { R - 1, 0, 0xFFFFFF },     { R - 1, 1, 0xBEBEBE },
        { R - 1, 2, 0x7D7E7F },     { R - 2, 2, 0xBEBEBE },     { R - 2, 1, 0x686868 },
        { R - 1, B - 1, 0xFFFFFF }, { R - 1, B - 2, 0xBEBEBE }, { R - 1, B - 3, 0x7D7E7F },
        { R - 2, B - 2, 0x777777 }, { R - 2, B - 1, 0xBEBEBE }, { R - 3, B - 1, 0x7D7E7F },
    } };
    for (const CornerPixel& pixel : corners)
        SetPixelV(dc, pixel.x, pixel.y, TranslateColor(pixel.colour));
}

} // namespace korvane::progress_bar
