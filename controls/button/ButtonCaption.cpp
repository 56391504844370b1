#include "controls/button/ButtonCaption.h"

#include "controls/button/ButtonPictures.h"
#include "controls/button/gxButtons_H.h"
#include "host/runtime/Conversions.h"
#include "host/runtime/AnsiText.h"

#include <algorithm>

namespace korvane::button {

namespace {

// The shade of the embossed and engraved effects.
constexpr std::int16_t kEffectShade = 40;
// Image sizes up to this take a cell beside, above or below the text; 40 fills the
// face and 48 fits the picture into it.
constexpr std::int16_t kLargestImageCell = 32;
constexpr std::int16_t kFaceFillingImage = 40;
constexpr std::int16_t kFaceFittingImage = 48;
// The gap the caption and a picture cell keep from the band's edges and each other.
constexpr std::int32_t kMargin = 4;

UINT AlignmentOf(std::int32_t align)
{
    switch (align) {
    case gxAlignLeft: return DT_LEFT;
    case gxAlignRight: return DT_RIGHT;
    default: return DT_CENTER;
    }
}

// Keeps a box inside the band and above the bottom margin; its far sides win.
void Clamp(RECT& box, std::int32_t x0, std::int32_t x1, std::int32_t bottom)
{
    box.top = std::max<LONG>(box.top, kMargin);
    box.left = std::max<LONG>(box.left, x0 + kMargin);
    box.right = std::min<LONG>(box.right, x1 - kMargin);
    box.bottom = std::min<LONG>(box.bottom, bottom);
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

CaptionLayout LayoutCaption(const ButtonLook& look, HDC dc, bool imageChanged)
{
    using host::CLng;
    const std::int32_t width = CLng(look.ScaleWidth);
    const auto height = static_cast<float>(look.ScaleHeight);
    const std::int32_t left = look.FaceLeft;
    const std::int32_t right = look.FaceRight;
    const std::int32_t size = look.ImageSize;
    const bool picture = look.PictureWidth + look.PictureHeight > 0;

    // The band the caption may use inside the outline.
    std::int32_t x0 = 0;
    std::int32_t x1 = width;
    std::int32_t usable = right;
    switch (look.ButtonShape) {
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

    // The picture cell's room on each side of the text.
    std::int32_t beforeText = 0, afterText = 0, aboveText = 0, belowText = 0;
    if (picture && size <= kLargestImageCell) {
        switch (look.PictureAlign) {
        case gxPicLeftEdge:
        case gxPicLeftOfCaption: beforeText = size; break;
        case gxPicRightEdge:
        case gxPicRightOfCaption: afterText = size; break;
        case gxPicTop: aboveText = size; break;
        case gxPicBottom: belowText = size; break;
        default: break;
        }
    }
    const bool beside = beforeText > 0 || afterText > 0;
    const bool stacked = aboveText > 0 || belowText > 0;

    const bool captioned = !look.Caption.empty();
    std::int32_t textWidth = 0;
    std::int32_t textHeight = 0;
    RECT text {};
    if (captioned) {
        const std::string ansi = host::ToAnsi(CaptionText(look.Caption));
        RECT box { 0, 0, std::max(0, usable - 8 - (beside ? size : 0)),
                   CLng(height - 8.0f - static_cast<float>(stacked ? size : 0)) };
        DrawTextA(dc, ansi.c_str(), static_cast<int>(ansi.size()), &box, DT_CALCRECT | DT_WORDBREAK);
        textWidth = box.right;
        textHeight = box.bottom;
        if (look.CaptionStyle != gxFlat) {
            textWidth += 2;
            textHeight += 2;
        }
        std::int32_t dx = 0;
        switch (look.CaptionAlign) {
        case gxAlignLeft: dx = x0 + kMargin + beforeText + (beforeText > 0 ? kMargin : 0); break;
        case gxAlignRight: dx = x1 - afterText - textWidth - kMargin - (afterText > 0 ? kMargin : 0); break;
        default:
            if (beforeText > 0 && look.PictureAlign == gxPicLeftOfCaption)
                dx = beforeText + x0 + (usable - (beforeText + textWidth + kMargin)) / 2 + kMargin;
            else if (afterText > 0 && look.PictureAlign == gxPicRightOfCaption)
                dx = x0 + (usable - (afterText + textWidth + kMargin)) / 2;
            else
                dx = beforeText + x0 + (usable - beforeText - afterText - textWidth) / 2;
            break;
        }
        text = RECT { dx, 0, dx + textWidth, textHeight };
    }

    const std::int32_t centredTop = CLng(height - static_cast<float>(textHeight)) / 2;
    RECT image {};
    if (!picture) {
        OffsetRect(&text, 0, centredTop);
    } else {
        std::int32_t px = 0;
        std::int32_t py = 0;
        switch (look.PictureAlign) {
        case gxPicLeftOfCaption: px = captioned ? text.left - beforeText - kMargin : x0 + kMargin; break;
        case gxPicRightEdge: px = x1 - afterText - kMargin; break;
        case gxPicRightOfCaption: px = captioned ? text.right + kMargin : x1 - afterText - kMargin; break;
        case gxPicTop: {
            const std::int32_t t = CLng(height - static_cast<float>(textHeight + aboveText)) / 2;
            py = t;
            OffsetRect(&text, 0, t + aboveText + 2);
            break;
        }
        case gxPicBottom: {
            const std::int32_t t = CLng(height - static_cast<float>(textHeight + belowText)) / 2;
            py = textHeight + t + kMargin;
            OffsetRect(&text, 0, t + 2);
            break;
        }
        default: px = x0 + kMargin; break;
        }
        if (look.PictureAlign == gxPicTop || look.PictureAlign == gxPicBottom) {
            px = x0 + (usable - size) / 2;
        } else {
            OffsetRect(&text, 0, centredTop);
            py = CLng(height - static_cast<float>(size)) / 2;
        }
        image = RECT { px, py, px + size, py + size };
    }

    const std::int32_t bottom = CLng(height - 5.0f);
    Clamp(text, x0, x1, bottom);
    if (size <= kLargestImageCell) {
        Clamp(image, x0, x1, bottom);
    } else if (size == kFaceFillingImage) {
        const std::int32_t inset = look.ButtonShape == 6 ? 1 : 3;
        image = RECT { inset, inset, width - inset, CLng(height - static_cast<float>(inset)) };
        imageChanged = true;
    } else if (size == kFaceFittingImage) {
        if (look.ButtonShape >= kFirstPictureShape) {
            image = RECT { 0, 0, width, CLng(height) };
        } else if (picture) {
            const SIZE fit = FitPicture(look.PictureWidth, look.PictureHeight, usable - 12, CLng(height - 12.0f));
            const std::int32_t px = x0 + (usable - fit.cx) / 2;
            const std::int32_t py = CLng(height - static_cast<float>(fit.cy)) / 2;
            image = RECT { px, py, px + fit.cx, py + fit.cy };
            imageChanged = true;
        }
    }
    return CaptionLayout { text, image, imageChanged };
}

void DrawCaption(const ButtonLook& look, BackBuffer& buffer, OleColor faceColor, OleColor capColor, bool valueOn,
                 bool& checkable)
{
    RECT box = look.CaptionRect;
    RECT picture = look.PictureRect;
    if ((valueOn || look.Pressed()) && look.ButtonStyle != gxStyleFlatFrame) {
        const int dx = look.ButtonShape <= kLastRectangularShape ? 1 : 0;
        OffsetRect(&box, dx, 1);
        OffsetRect(&picture, dx, 1);
    }
    if (!(look.Value && look.ButtonShape >= kFirstPictureShape))
        DrawPicture(look, buffer, picture);
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

void gxButtons_H::LayoutCaption(bool imageChanged)
{
    // Nothing can be measured before the back buffer exists; the Resize that makes it
    // lays out again.
    if (!m_buffer.BufferDC)
        return;
    const button::CaptionLayout layout = button::LayoutCaption(Look(), m_buffer.BufferDC, imageChanged);
    m_captionRect = layout.CaptionRect;
    m_pictureRect = layout.PictureRect;
    if (layout.ImageChanged)
        PreparePicture(m_pictureRect.right - m_pictureRect.left, m_pictureRect.bottom - m_pictureRect.top);
}

} // namespace korvane
