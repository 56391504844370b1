#include "controls/button/ButtonFaces.h"

#include "controls/button/ButtonCaption.h"
#include "host/runtime/Conversions.h"

namespace korvane::button {

namespace {

constexpr OleColor kGrey = 0x808080;

} // namespace

void PaintFace(const ButtonLook& look, BackBuffer& buffer, RedrawWork& work)
{
    switch (look.ButtonStyle) {
    case gxStyleStandard:
    case gxStyleFramed:
    case gxStyleRounded:
    case gxStyleFlatFrame:
    case gxStyleThin:
    case gxStyleHover:
    case gxStyleLight:
    case gxStyleInverse: PaintPlainFace(look, buffer, work); break;
    default: break;
    }
}

void PaintPlainFace(const ButtonLook& look, BackBuffer& buffer, RedrawWork& work)
{
    OleColor face = look.Mode != gxCommand && look.Value ? look.Colors.FaceColor3 : look.Colors.FaceColor;
    OleColor gradient = TranslateColor(look.GradientColor);
    OleColor hover = look.Colors.HoverFaceColor;
    PaintBackground(look, buffer, work, face, gradient, hover);
    if (work.DrawCode == 0)
        return;
    // A disabled check or option button has a grey caption of one colour.
    const OleColor captionColour = look.Enabled || look.Mode < gxCheckBox ? -1 : kGrey;
    bool checkable = look.Mode > gxCommand;
    DrawCaption(look, buffer, face, captionColour, look.Value, checkable);

    const std::int32_t width = host::CLng(look.ScaleWidth);
    const std::int32_t height = host::CLng(look.ScaleHeight);
    if (look.ButtonShape <= kLastRectangularShape) {
        const bool latched = look.Value || (look.Mode > gxCommand && look.ShowPressed);
        RECT edge { 0, 0, width, height };
        DrawEdge(buffer.BufferDC, &edge, look.Pressed() || latched ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    }
    work.DrawCode = 1;
    if (look.ButtonState & bsDefault) {
        RECT focus { look.FaceLeft + 4, 4, look.FaceRight - 4, height - 4 };
        DrawFocusRect(buffer.BufferDC, &focus);
    }
}

} // namespace korvane::button
