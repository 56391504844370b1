#include "controls/button/ButtonCaption.h"

#include "controls/button/gxButtons_H.h"
#include "host/runtime/Conversions.h"
#include "host/runtime/AnsiText.h"

#include <algorithm>

namespace korvane::button {

namespace {

constexpr OleColor kWhite = 0xFFFFFF;
constexpr OleColor kGrey = 0x808080;
// The shade of the embossed and engraved effects.
constexpr std::int16_t kEffectShade = 40;

UINT AlignmentOf(std::int32_t align)
{
    switch (align) {
    case gxAlignLeft: return DT_LEFT;
    case gxAlignRight: return DT_RIGHT;
    default: return DT_CENTER;
    }
}

} // namespace

std::string CaptionText(std::string_view caption)
{
    std::string text;
    text.reserve(caption.size());
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '|' && i + 1 < caption.size() && caption[i + 1] == '|') {
            text += "\r\n";
            ++i;
        } else {
            text += caption[i];
        }
    }
    return text;
}

void DrawCaption(const ButtonLook& look, BackBuffer& buffer, OleColor faceColor, OleColor capColor, bool valueOn,
                 bool& checkable)
{
    RECT box = look.CaptionRect;
    if ((valueOn || look.Pressed()) && look.ButtonStyle != gxStyleFlatFrame)
        OffsetRect(&box, look.ButtonShape <= kLastRectangularShape ? 1 : 0, 1);
    if (look.Caption.empty() || (look.ButtonShape > 4 && !look.Value))
        return;
    const std::string text = host::ToAnsi(CaptionText(look.Caption));
    const int length = static_cast<int>(text.size());
    const UINT format = AlignmentOf(look.CaptionAlign) | DT_WORDBREAK;
    HDC dc = buffer.BufferDC;
    auto draw = [&](OleColor colour) {
        SelectDrawingTool(buffer, dc, kToolTextColour, colour, false, 0, 0);
        DrawTextA(dc, text.c_str(), length, &box, format);
    };

    if (look.Enabled) {
        OleColor colour = 0;
        if (look.HoverTracking && !look.Pressed())
            colour = TranslateColor(look.HoverForeColor);
        else if (look.ButtonStyle == gxStyleInverse && !(!look.Value && look.GradientMode != gxNoGradient))
            colour = capColor;
        else
            colour = TranslateColor(look.ForeColor);
        if (look.CaptionStyle != gxFlat) {
            const std::int16_t shade = look.CaptionStyle == gxEngraved ? kEffectShade : -kEffectShade;
            OffsetRect(&box, -1, 0);
            draw(ShiftColor(faceColor, shade));
            OffsetRect(&box, 2, 2);
            draw(ShiftColor(faceColor, -shade));
            OffsetRect(&box, -1, -1);
        }
        draw(colour);
        return;
    }
    if (capColor >= 0 && look.GradientMode == gxNoGradient) {
        draw(capColor);
    } else {
        OffsetRect(&box, 1, 1);
        draw(kWhite);
        checkable = false;
    }
    if (!checkable) {
        OffsetRect(&box, -1, -1);
        draw(kGrey);
    }
}

} // namespace korvane::button

namespace korvane {

void gxButtons_H::LayoutCaption(bool /*imageChanged*/)
{
    // Nothing can be measured before the back buffer exists; the Resize that makes it
    // lays out again.
    if (!m_buffer.BufferDC)
        return;
    using host::CLng;
    const std::int32_t width = CLng(ScaleWidth());
    const auto height = static_cast<float>(ScaleHeight());
    const std::int32_t left = m_faceLeft;
    const std::int32_t right = m_faceRight;

    // The band the caption may use inside the outline.
    std::int32_t x0 = 0;
    std::int32_t x1 = width;
    std::int32_t usable = right;
    switch (m_buttonShape) {
    case 1: x0 = left - left / 3 + 3; usable = width - x0; break;
    case 2: x1 = right + (width - right) / 3; usable = x1; break;
    case 3:
        x0 = left - left / 3 + 3;
        x1 = right + (width - right) / 3;
        usable = x1 - x0;
        break;
    case 7:
    case 8:
        x0 = 3;
        x1 = right - 3;
        usable = right - 3;
        break;
    default: break;
    }

    std::int32_t textWidth = 0;
    std::int32_t textHeight = 0;
    if (!m_caption.empty()) {
        const std::string text = host::ToAnsi(button::CaptionText(m_caption));
        RECT box { 0, 0, std::max(0, usable - 8), std::max(0, CLng(height - 8)) };
        DrawTextA(m_buffer.BufferDC, text.c_str(), static_cast<int>(text.size()), &box, DT_CALCRECT | DT_WORDBREAK);
        textWidth = box.right;
        textHeight = box.bottom;
        if (m_captionStyle != button::gxFlat) {
            textWidth += 2;
            textHeight += 2;
        }
    }
    std::int32_t dx = 0;
    switch (m_captionAlign) {
    case button::gxAlignLeft: dx = x0 + 4; break;
    case button::gxAlignRight: dx = x1 - textWidth - 4; break;
    default: dx = x0 + (usable - textWidth) / 2; break;
    }
    RECT text { dx, 0, dx + textWidth, textHeight };
    OffsetRect(&text, 0, CLng(height - static_cast<float>(textHeight)) / 2);
    text.top = std::max<LONG>(text.top, 4);
    text.left = std::max<LONG>(text.left, x0 + 4);
    text.right = std::min<LONG>(text.right, x1 - 4);
    text.bottom = std::min<LONG>(text.bottom, CLng(height - 5));
    m_captionRect = text;
}

} // namespace korvane
