// The caption: the percentage (or "Searching..") centred on the bar. The dark style
// draws it twice, grey over the background and light over the fill, clipping the
// light copy at the fill's edge so the text changes colour where the fill ends.

#include "controls/progress_bar/ProgressBarPainter.h"

#include "host/runtime/Conversions.h"

namespace korvane::progress_bar {

using host::CLng;
using host::Sub32;

std::string CaptionText(const BarLook& look)
{
    if (look.Scrolling == Searching)
        return "Searching..";
    return std::to_string(look.PercentValue) + " %";
}

void DrawPercentText(const BarLook& look, BarGeometry& geometry)
{
    if (!look.ShowText)
        return;
    const std::string s = CaptionText(look);
    HDC dc = look.DrawDC;
    const std::int32_t R = geometry.ClientRect.right;
    // The caption leaves the background mode as it found it, so a hatch fill on a
    // later repaint still paints its spaces.
    const int previousMode = GetBkMode(dc);
    {
        SelectionGuard OldFont(dc, look.Font);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, TranslateColor(look.Scrolling == Dark ? 0xC0C0C0 : 0x000000));
        CenterTextRect(look, geometry, s);
        // Wholly over the fill, only the light copy below shows.
        const bool coveredByFill = look.Scrolling == Dark && look.PercentValue / 100.0 * R > geometry.TextRect.right;
        if (!coveredByFill)
            DrawTextA(dc, s.c_str(), static_cast<int>(s.size()), &geometry.TextRect, DT_SINGLELINE);
    }
    if (look.Scrolling == Dark)
        DrawTextOverFill(look, geometry, s);
    if (previousMode)
        SetBkMode(dc, previousMode);
}

void CenterTextRect(const BarLook& look, BarGeometry& geometry, const std::string& s)
{
    RECT& text = geometry.TextRect;
    DrawTextA(look.DrawDC, s.c_str(), static_cast<int>(s.size()), &text, DT_CALCRECT);
    const std::int32_t w = Sub32(text.right, text.left);
    const std::int32_t h = Sub32(text.bottom, text.top);
    text.left = CLng(geometry.ClientRect.right / 2.0 - w / 2.0);
    text.top = CLng(geometry.ClientRect.bottom / 2.0 - h / 2.0);
    text.right = host::Add32(text.left, w);
    text.bottom = host::Add32(text.top, h);
}

void DrawTextOverFill(const BarLook& look, BarGeometry& geometry, const std::string& s)
{
    HDC dc = look.DrawDC;
    RECT& text = geometry.TextRect;
    const std::int32_t R = geometry.ClientRect.right;
    SelectionGuard OldFont(dc, look.Font);
    SetBkMode(dc, TRANSPARENT);
    const double fillEdge = look.PercentValue / 100.0 * R;
    if (fillEdge < text.left)
        return;
    SetTextColor(dc, TranslateColor(LightenColor(look.Color, 80)));
    text.left = CLng(R / 2.0 - Sub32(text.right, text.left) / 2.0);
    text.right = CLng(fillEdge);
    DrawTextA(dc, s.c_str(), static_cast<int>(s.size()), &text, DT_SINGLELINE);
}

} // namespace korvane::progress_bar
