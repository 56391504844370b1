// The eight face painters and the bevel and focus engines they share.
//
// [SECTION] Shared terms
// [SECTION] DrawBevel
// [SECTION] DrawFocusMark
// [SECTION] The common skeleton: styles 0, 1, 4 and 6
// [SECTION] Style 2, rounded
// [SECTION] Style 3, flat frame
// [SECTION] Style 5, hover
// [SECTION] Style 7, inverse
// [SECTION] PaintFace

#include "controls/button/ButtonFaces.h"

#include "controls/button/ButtonCaption.h"
#include "host/runtime/Conversions.h"

#include <algorithm>
#include <initializer_list>

namespace korvane::button {

using host::CLng;

namespace {

// ---------------------------------------------------------------------------
// [SECTION] Shared terms

constexpr OleColor kNoEdge = -1;
// Style 0's light edge, RGB(233, 233, 233).
constexpr OleColor kStandardLight = 0xE9E9E9;
// Style 6's light edge, ShiftColor(0xDFDFDF, +8): RGB(231, 232, 232).
constexpr OleColor kLightEdgeBase = 0xDFDFDF;
// The focus colour of a slanted face follows the face, this much darker.
constexpr int kSlantedFocusShade = -48;

// Face states a painter leaves for the bevel.
// Style 2 calls its fourth state hot.
enum FaceStates : std::int16_t {
    kStateNormal = 0,
    kStateDefault = 1,
    kStatePressed = 2,
    kStateLatched = 3,
    kStateHot = 3,
};

std::int32_t Width(const ButtonLook& look) { return CLng(look.ScaleWidth); }
std::int32_t Height(const ButtonLook& look) { return CLng(look.ScaleHeight); }

bool Rectangular(const ButtonLook& look) { return look.ButtonShape <= kLastRectangularShape; }

// A check or option button drawn pushed in: on, or held down under the pointer.
bool Latched(const ButtonLook& look) { return look.Value || (look.Mode > gxCommand && look.ShowPressed); }

void SetEdges(RedrawWork& work, std::initializer_list<int> edges, OleColor colour)
{
    for (int edge : edges)
        work.EdgeColors[static_cast<std::size_t>(edge)] = colour;
}

// S(c, n) of the tinted styles: blue moves in proportion to itself.
OleColor Tint(OleColor colour, int amount) { return ShiftColor(colour, amount, kProportionalBlue); }

// Ovals leave their outline to the control's frame unless the pointer is on them or
// they are pressed; picture outlines always frame in black.
void ApplyOutlineRule(const ButtonLook& look, RedrawWork& work)
{
    if (look.ButtonShape < 6)
        work.DrawCode = 1;
    else if (look.ButtonShape == 6 && !look.HoverTracking && !look.Pressed())
        work.DrawCode = 1;
    else
        work.EdgeColors[12] = kBlack;
}

// The caption layer of the skeleton: a disabled check or option button's caption
// is grey. Returns that caption colour, which also serves as the focus colour.
OleColor DrawSkeletonCaption(const ButtonLook& look, BackBuffer& buffer, OleColor face)
{
    const OleColor capColor = look.Enabled || look.Mode < gxCheckBox ? kNoEdge : kGrey;
    bool checkable = look.Mode > gxCommand;
    DrawCaption(look, buffer, face, capColor, look.Value, checkable);
    return capColor;
}

} // namespace

// ---------------------------------------------------------------------------
// [SECTION] DrawBevel

void DrawBevel(const ButtonLook& look, BackBuffer& buffer, RedrawWork& work, std::int32_t outerPenStyle)
{
    const std::int32_t a = look.ButtonShape == 1 || look.ButtonShape == 3 ? 1 : 0; // left side slanted
    const std::int32_t b = look.ButtonShape == 2 || look.ButtonShape == 3 ? 1 : 0; // right side slanted
    const std::int32_t l = look.FaceLeft;
    const std::int32_t r = look.FaceRight;
    const std::int32_t w = Width(look);
    // The rows come from the single-precision height, rounded.
    const auto height = static_cast<float>(look.ScaleHeight);
    const auto row = [height](std::int32_t offset) {
        return CLng(static_cast<double>(height + static_cast<float>(offset)));
    };

    auto& p = work.EdgePoints;
    p[0] = { l + 2 - 4 * a, row(-3) };
    p[1] = { 2 * a + 2, 2 };
    p[2] = { r - 3 + 3 * b, 2 };
    p[3] = { w - 3 - 3 * b, row(-3) };
    p[4] = { l + 1 - 4 * a, row(-3) };
    p[5] = { l + 1 - 3 * a, row(-2) };
    p[6] = { a + 1, 1 };
    p[7] = { r - 2 + 2 * b, 1 };
    p[8] = { w - 2 - 2 * b, row(-2) };
    p[9] = { l - 4 * a, row(-2) };
    p[10] = { l - a, row(-1 + a) };
    p[11] = { 0, 0 };
    p[12] = { r - 1 + b, 0 };
    p[13] = { w - 1, row(-1 + b) };
    p[14] = { l - 1 - 2 * a, row(-1) };
    p[15] = { w - 1, row(-1) };

    // A pen is made only when a drawn segment's colour differs from the last drawn
    // one, so a ring of one colour costs one pen and a skipped edge changes nothing.
    OleColor last = kNoEdge;
    std::int32_t style = PS_SOLID;
    for (std::size_t j = 0; j <= 13; ++j) {
        if (j == 4 || j == 9)
            continue;
        if (j >= 10 && outerPenStyle >= 0)
            style = outerPenStyle;
        const std::size_t edge = j <= 3 ? j + 1 : j <= 8 ? j : j - 1;
        const OleColor colour = work.EdgeColors[edge];
        if (colour < 0)
            continue;
        if (colour != last) {
            SelectDrawingTool(buffer, buffer.BufferDC, kToolPen, colour, true, 1, style);
            last = colour;
        }
        Polyline(buffer.BufferDC, &p[j], 2);
    }
    // The bottom of the outer ring up to the corner, with whatever pen is in.
    if (w != b)
        Polyline(buffer.BufferDC, &p[14], 2);
}

// ---------------------------------------------------------------------------
// [SECTION] DrawFocusMark

void DrawFocusMark(const ButtonLook& look, BackBuffer& buffer, RedrawWork& work, OleColor colour, bool solid,
                   bool aroundCaption)
{
    if (!(look.ButtonState & bsDefault) || look.ButtonShape >= kFirstPictureShape)
        return;
    if (look.ButtonShape >= 4) {
        if (look.ButtonStyle == gxStyleRounded)
            return;
        aroundCaption = true;
    }
    const std::int32_t w = Width(look);
    const std::int32_t h = Height(look);
    HDC dc = buffer.BufferDC;

    if (look.ButtonShape >= 1 && look.ButtonShape <= kLastRectangularShape) {
        // Along the slanted edges, always solid.
        const std::int32_t c1 = look.FaceLeft != 0 ? 1 : 0;
        const std::int32_t c2 = look.ScaleWidth > look.FaceRight ? 1 : 0;
        auto& p = work.EdgePoints;
        p[0] = { look.FaceLeft + 4 - 6 * c1, h - 5 };
        p[1] = { 4 * c1 + 4, 4 };
        p[2] = { look.FaceRight + 4 * c2 - 5, 4 };
        p[3] = { w - 5 - 6 * c2, h - 5 };
        p[4] = { look.FaceLeft + 3 - 4 * c1, h - 5 };
        SelectDrawingTool(buffer, dc, kToolPen, colour, true, 1, PS_SOLID);
        Polyline(dc, p.data(), 5);
        return;
    }

    if (colour < 0)
        colour = kBlack;
    SelectDrawingTool(buffer, dc, kToolPen, colour, true, 1, PS_SOLID);
    RECT rect {};
    if (aroundCaption) {
        if (!look.Caption.empty()) {
            rect = look.CaptionRect;
        } else {
            rect = look.PictureRect;
            rect.bottom = std::min<LONG>(rect.bottom, h - 4);
            rect.right = std::min<LONG>(rect.right, w - 4);
        }
        // Two pixels round a caption with room on both sides, else one; the mark
        // follows the caption's pressed offset, which style 3 never takes.
        const std::int32_t m
            = look.CaptionRect.right < look.FaceRight - 4 && look.FaceLeft + 4 < look.CaptionRect.left ? 2 : 1;
        const std::int32_t f = (look.Value || look.Pressed()) && look.ButtonStyle != gxStyleFlatFrame ? 1 : 0;
        const std::int32_t g = look.ButtonShape < 4 ? 1 : 0;
        OffsetRect(&rect, f * g - m, f - m);
        rect.right += 2 * m + f * g;
        rect.bottom += 2 * m + f;
    } else {
        rect = { look.FaceLeft + 4, 4, look.FaceRight - 4, h - 4 };
    }
    if (!solid) {
        DrawFocusRect(dc, &rect);
        return;
    }
    const auto [left, top, right, bottom] = rect;
    const POINT caption[] = { { left, top }, { right - 1, top }, { right - 1, bottom - 1 }, { left, bottom - 1 },
                              { left, top } };
    const POINT face[] = { { left, bottom }, { left, top }, { right, top }, { right, bottom }, { left, bottom } };
    Polyline(dc, aroundCaption ? caption : face, 5);
}

namespace {

// ---------------------------------------------------------------------------
// [SECTION] The common skeleton: styles 0, 1, 4 and 6

// A style's step of the skeleton: fills EdgeColors, adjusts FaceState and may
// change the focus colour.
using StyleStep = void (*)(const ButtonLook& look, RedrawWork& work, OleColor face, OleColor& focus);

// The focus colour of a slanted face that is not latched.
void FocusOfSlantedFace(const ButtonLook& look, OleColor face, OleColor& focus)
{
    if (look.ButtonShape > 0)
        focus = ShiftColor(face, kSlantedFocusShade);
}

void StandardStep(const ButtonLook& look, RedrawWork& work, OleColor face, OleColor& focus)
{
    OleColor light = look.Pressed() ? face : kStandardLight;
    const bool latched = Latched(look);
    if (latched) {
        work.FaceState = kStateLatched;
        light = kStandardLight;
        focus = kBlack;
    } else {
        FocusOfSlantedFace(look, face, focus);
    }
    struct Row {
        OleColor innerLeftTop, innerRightBottom, middleLeftTop, middleRightBottom;
    };
    // By face state: normal, default, pressed, latched.
    const Row rows[] = {
        { kNoEdge, kNoEdge, light, kGrey },
        { light, kGrey, kWhite, kBlack },
        { kNoEdge, kNoEdge, kNoEdge, kGrey },
        { kNoEdge, kNoEdge, kNoEdge, light },
    };
    const Row& edges = rows[work.FaceState];
    SetEdges(work, { 1, 2 }, edges.innerLeftTop);
    SetEdges(work, { 3, 4 }, edges.innerRightBottom);
    SetEdges(work, { 5, 6 }, edges.middleLeftTop);
    SetEdges(work, { 7, 8 }, edges.middleRightBottom);
    // A pressed standard button keeps the white top-left of its outer ring.
    const bool blackTopLeft = latched || (look.ButtonState & bsDefault);
    SetEdges(work, { 9, 10 }, blackTopLeft ? kBlack : kWhite);
    SetEdges(work, { 11, 12 }, latched ? kWhite : kBlack);
}

// Styles 1 and 4: latched is pressed, and the default look is the plain raised one.
void RaisedOrPressed(const ButtonLook& look, RedrawWork& work, OleColor face, OleColor& focus)
{
    if (Latched(look)) {
        focus = kBlack;
        work.FaceState = kStatePressed;
        return;
    }
    FocusOfSlantedFace(look, face, focus);
    if (work.FaceState < kStatePressed)
        work.FaceState = kStateDefault;
}

void FramedStep(const ButtonLook& look, RedrawWork& work, OleColor face, OleColor& focus)
{
    RaisedOrPressed(look, work, face, focus);
    const bool pressed = work.FaceState == kStatePressed;
    SetEdges(work, { 1, 2, 5, 6 }, pressed ? kGrey : kWhite);
    SetEdges(work, { 3, 4, 7, 8 }, pressed ? kWhite : kGrey);
    SetEdges(work, { 9, 10, 11, 12 }, kBlack);
}

void ThinStep(const ButtonLook& look, RedrawWork& work, OleColor face, OleColor& focus)
{
    SetEdges(work, { 1, 2, 3, 4, 5, 6, 7, 8 }, kNoEdge);
    RaisedOrPressed(look, work, face, focus);
    const bool pressed = work.FaceState == kStatePressed;
    SetEdges(work, { 9, 10 }, pressed ? kGrey : kWhite);
    SetEdges(work, { 11, 12 }, pressed ? kWhite : kGrey);
}

void LightStep(const ButtonLook& look, RedrawWork& work, OleColor face, OleColor& focus)
{
    const OleColor light = ShiftColor(kLightEdgeBase, 8);
    SetEdges(work, { 1, 2, 3, 4 }, kNoEdge);
    if (Latched(look)) {
        focus = kBlack;
        work.FaceState = kStateDefault;
    } else {
        // This style shows no default look.
        work.FaceState = look.Pressed() ? kStateDefault : kStateNormal;
        FocusOfSlantedFace(look, face, focus);
    }
    const bool down = work.FaceState == kStateDefault;
    SetEdges(work, { 5, 6, 9, 10 }, down ? kGrey : light);
    SetEdges(work, { 7, 8, 11, 12 }, down ? light : kGrey);
}

void PaintSkeleton(const ButtonLook& look, BackBuffer& buffer, RedrawWork& work, StyleStep step)
{
    OleColor face = look.Mode != gxCommand && look.Value ? look.Colors.FaceColor3 : look.Colors.FaceColor;
    OleColor gradient = TranslateColor(look.GradientColor);
    OleColor hover = look.Colors.HoverFaceColor;
    PaintBackground(look, buffer, work, face, gradient, hover);
    if (work.DrawCode == 0)
        return;
    OleColor focus = DrawSkeletonCaption(look, buffer, face);
    if (Rectangular(look)) {
        step(look, work, face, focus);
        DrawBevel(look, buffer, work, -1);
    }
    ApplyOutlineRule(look, work);
    DrawFocusMark(look, buffer, work, focus, look.Value, false);
}

// ---------------------------------------------------------------------------
// [SECTION] Style 2, rounded

// Fixed tones of style 2 (0xBBGGRR).
constexpr OleColor kFrameBlue = 0x733C00;
constexpr OleColor kDefaultTones[] = { 0, 0xF0D1B5, 0xF7D7BD, 0xE7AE8C, 0xFFDFBF, 0xEF826B }; // default 1..5
constexpr OleColor kHotTones[] = { 0, 0x6BCBFF, 0x8CDBFF, 0x31B2FF, 0xA6E9FF, 0x0096E7 };     // hot 1..5
// Shifts of the base colour for the tinted edges 1..8 of the normal and pressed states.
constexpr int kNormalTints[] = { 0, -10, 10, -24, -32, -5, 16, -36, -48 };
constexpr int kPressedTints[] = { 0, -22, -24, 0, 10, -32, -32, 5, 16 };
// The tone of each edge 1..8 in the default and hot states.
constexpr int kToneOfEdge[] = { 0, 1, 2, 1, 3, 3, 4, 3, 5 };
constexpr int kDisabledFill = -24;
constexpr int kDisabledCaption = -104;
constexpr int kDisabledFrame = -84;
constexpr int kGradientLift = 48;

void PaintRounded(const ButtonLook& look, BackBuffer& buffer, RedrawWork& work)
{
    const bool pressed = look.Pressed();
    OleColor base = look.Colors.FaceColor;
    OleColor fill = base;
    if (look.Mode > gxCommand) {
        base = fill = look.Value ? look.Colors.FaceColor3 : look.Colors.FaceColor;
    } else if (pressed && look.GradientMode == gxNoGradient) {
        fill = look.Colors.FaceColor2;
    } else if (!look.Enabled) {
        fill = Tint(base, kDisabledFill);
    }
    const OleColor capColor = look.Enabled ? kBlack : Tint(fill, kDisabledCaption);
    OleColor gradient = 0;
    if (look.ButtonShape < kFirstPictureShape)
        gradient = look.GradientMode != gxNoGradient ? Tint(TranslateColor(look.GradientColor), kGradientLift) : fill;
    OleColor hover = look.Colors.HoverFaceColor;
    PaintBackground(look, buffer, work, fill, gradient, hover);
    if (work.DrawCode == 0)
        return;
    bool checkable = true;
    DrawCaption(look, buffer, fill, capColor, look.Value, checkable);

    if (!Rectangular(look)) {
        // No bevel: the control's outline frame starts from edge 12's colour.
        if ((look.ButtonState & bsDefault) && !look.HoverTracking)
            work.EdgeColors[12] = kDefaultTones[5];
        else if (look.HoverTracking)
            work.EdgeColors[12] = kHotTones[5];
        else
            work.DrawCode = 1;
        return;
    }

    OleColor outer = kFrameBlue;
    if (look.Enabled) {
        if (Latched(look))
            work.FaceState = (look.ButtonState & bsDefault) ? kStateDefault : kStatePressed;
        if ((look.ButtonState & bsHover) && !(look.ButtonState & bsDown))
            work.FaceState = kStateHot;
        else if (work.FaceState == kStateDefault && !look.ShowFocusRect)
            work.FaceState = kStateNormal;
        for (std::size_t edge = 1; edge <= 8; ++edge) {
            const auto tone = static_cast<std::size_t>(kToneOfEdge[edge]);
            switch (work.FaceState) {
            case kStateNormal: work.EdgeColors[edge] = Tint(base, kNormalTints[edge]); break;
            case kStateDefault: work.EdgeColors[edge] = kDefaultTones[tone]; break;
            case kStatePressed: work.EdgeColors[edge] = Tint(base, kPressedTints[edge]); break;
            default: work.EdgeColors[edge] = kHotTones[tone]; break;
            }
        }
    } else {
        SetEdges(work, { 1, 2, 3, 4, 5, 6, 7, 8 }, kNoEdge);
        outer = Tint(base, kDisabledFrame);
    }
    SetEdges(work, { 9, 10, 11, 12 }, outer);
    DrawBevel(look, buffer, work, -1);

    const std::int32_t w = Width(look);
    const std::int32_t h = Height(look);
    const auto rgb = static_cast<COLORREF>(outer);
    if (look.FaceLeft == 0) {
        SetPixel(buffer.BufferDC, 1, h - 2, rgb);
        SetPixel(buffer.BufferDC, 1, 1, rgb);
    }
    if (w == look.FaceRight) {
        SetPixel(buffer.BufferDC, w - 2, h - 2, rgb);
        SetPixel(buffer.BufferDC, w - 2, 1, rgb);
    }
}

// ---------------------------------------------------------------------------
// [SECTION] Style 3, flat frame

// The frame's dark grey, Shift(0x808080, -26): RGB(102, 103, 103).
constexpr int kFlatFrameDark = -26;
// A disabled caption, Shift(0x808080, -16): RGB(112, 113, 113).
constexpr int kFlatDisabledCaption = -16;
// The focus mark's blue-grey, RGB(153, 153, 204).
constexpr OleColor kFlatFocus = 0xCC9999;

void PaintFlatFrame(const ButtonLook& look, BackBuffer& buffer, RedrawWork& work)
{
    OleColor face = look.Colors.FaceColor;
    if (look.Mode != gxCommand && look.Value)
        face = look.Colors.FaceColor3;
    else if (look.Mode == gxCommand && look.Pressed())
        face = look.Colors.FaceColor2;
    OleColor gradient = TranslateColor(look.GradientColor);
    OleColor hover = look.Colors.HoverFaceColor;
    PaintBackground(look, buffer, work, face, gradient, hover);
    if (work.DrawCode == 0)
        return;
    const OleColor capColor = look.Enabled ? kGrey : ShiftColor(kGrey, kFlatDisabledCaption);
    // Value off and checkable: the caption and picture never shift.
    bool checkable = true;
    DrawCaption(look, buffer, face, capColor, false, checkable);

    if (Rectangular(look)) {
        const OleColor dark = ShiftColor(kGrey, kFlatFrameDark);
        OleColor top = kWhite;
        if (look.Enabled || look.Mode > gxCommand) {
            SetEdges(work, { 1, 2, 3, 4 }, kNoEdge);
            if (look.Mode > gxCommand)
                work.FaceState = look.Value || look.ShowPressed ? kStatePressed : kStateLatched;
            if (work.FaceState < kStatePressed)
                work.FaceState = kStateDefault;
            SetEdges(work, { 5, 6 }, work.FaceState == kStatePressed ? face : kWhite);
            SetEdges(work, { 7, 8 }, dark);
        } else {
            SetEdges(work, { 1, 2, 3, 4, 5, 6, 7, 8 }, face);
            top = dark;
        }
        SetEdges(work, { 9, 10 }, dark);
        SetEdges(work, { 11, 12 }, top);
        DrawBevel(look, buffer, work, -1);
    }
    ApplyOutlineRule(look, work);
    DrawFocusMark(look, buffer, work, kFlatFocus, true, true);
}

// ---------------------------------------------------------------------------
// [SECTION] Style 5, hover

// The design-time outline of an oval and the focus of a slanted face: the container
// colour darkened by 32; the idle rectangle at design time: darkened by 64.
constexpr int kHoverOvalShade = -32;
constexpr int kHoverIdleShade = -64;

void PaintHover(const ButtonLook& look, BackBuffer& buffer, RedrawWork& work)
{
    OleColor face = look.Colors.FaceColor;
    OleColor focus = kBlack;
    if (look.Mode != gxCommand && look.Value)
        face = look.Colors.FaceColor3;
    else if (look.ButtonShape > 0)
        focus = ShiftColor(look.AmbientBackColor, kHoverOvalShade);
    OleColor gradient = TranslateColor(look.GradientColor);
    OleColor hover = look.Colors.HoverFaceColor;
    PaintBackground(look, buffer, work, face, gradient, hover);
    if (work.DrawCode == 0)
        return;
    DrawSkeletonCaption(look, buffer, face);

    const std::int32_t w = Width(look);
    const std::int32_t h = Height(look);
    if (look.ButtonShape >= 4 && look.ButtonShape <= 6 && !look.UserMode) {
        // The whole ellipse, dotted, outside the face's clip.
        SelectClipRgn(buffer.BufferDC, nullptr);
        SelectDrawingTool(buffer, buffer.BufferDC, kToolPen, ShiftColor(look.AmbientBackColor, kHoverOvalShade), true,
                          1, PS_DOT);
        Arc(buffer.BufferDC, 0, 0, w - 1, h - 1, 0, 0, 0, 0);
        SelectClipRgn(buffer.BufferDC, look.FrameRegion);
    } else if (Rectangular(look)) {
        SetEdges(work, { 1, 2, 3, 4, 5, 6, 7, 8 }, kNoEdge);
        if ((look.ButtonState & bsHover) || look.Value) {
            if (Latched(look))
                work.FaceState = kStatePressed;
            if (work.FaceState < kStatePressed)
                work.FaceState = kStateDefault;
            const bool pressed = work.FaceState == kStatePressed;
            SetEdges(work, { 9, 10 }, pressed ? kGrey : kWhite);
            SetEdges(work, { 11, 12 }, pressed ? kWhite : kGrey);
        } else {
            // At rest: nothing at run time, a dotted outline in the designer.
            OleColor idle = kNoEdge;
            if (!look.UserMode) {
                idle = ShiftColor(look.AmbientBackColor, kHoverIdleShade);
                if (idle == kBlack)
                    idle = kWhite;
            }
            SetEdges(work, { 9, 10, 11, 12 }, idle);
        }
        DrawBevel(look, buffer, work, look.UserMode ? PS_SOLID : PS_DOT);
    }
    ApplyOutlineRule(look, work);
    DrawFocusMark(look, buffer, work, focus, look.Value, false);
}

// ---------------------------------------------------------------------------
// [SECTION] Style 7, inverse

constexpr int kInverseGradientLift = 31;
constexpr int kInverseHigh = 31;
constexpr int kInverseLow = -64;
constexpr int kInverseDisabledCaption = -32;
// Edges of the pressed face, from grey (or the face colour under a gradient).
constexpr int kInversePressedTop = -32;
constexpr int kInversePressedHigh = -64;
constexpr int kInversePressedLow = -16;

void PaintInverse(const ButtonLook& look, BackBuffer& buffer, RedrawWork& work)
{
    const bool pressedCommand = look.Mode == gxCommand && look.Pressed();
    OleColor face = look.Colors.FaceColor;
    if (pressedCommand)
        face = look.Colors.FaceColor2;
    else if (look.Mode != gxCommand && look.Value)
        face = look.Colors.FaceColor3;
    OleColor gradient = face;
    if (!look.Value && look.GradientMode != gxNoGradient) {
        gradient = ShiftColor(TranslateColor(look.GradientColor), kInverseGradientLift);
        face = look.Colors.FaceColor; // a pressed face keeps the gradient's start
    }
    OleColor hover = look.Colors.HoverFaceColor;
    PaintBackground(look, buffer, work, face, gradient, hover);
    if (work.DrawCode == 0)
        return;

    // Light text on the darker pressed or latched face.
    OleColor capColor = kNoEdge;
    if (pressedCommand || look.Value)
        capColor = !look.Enabled && look.Value ? Tint(face, kInverseDisabledCaption) : look.Colors.FaceColor;
    else if (!look.Enabled && look.Mode > gxCommand)
        capColor = kGrey;
    else if (look.Enabled)
        capColor = TranslateColor(look.ForeColor);
    // The hover text colour follows the caption colour for this one drawing; the
    // look is a copy, so the control's own HoverForeColor is never touched.
    OleColor saved = kNoEdge;
    ButtonLook captionLook = look;
    if (look.ForeColor == look.HoverForeColor || look.Value) {
        saved = look.HoverForeColor;
        captionLook.HoverForeColor = capColor;
    }
    bool checkable = look.Mode > gxCommand;
    DrawCaption(captionLook, buffer, face, capColor, look.Value, checkable);

    if (Rectangular(look)) {
        if (Latched(look))
            work.FaceState = look.Value ? kStatePressed : kStateNormal;
        OleColor high = Tint(face, kInverseHigh);
        OleColor low = Tint(face, kInverseLow);
        OleColor top = kWhite;
        if (work.FaceState == kStatePressed) {
            const OleColor from = look.GradientMode != gxNoGradient ? look.Colors.FaceColor : kGrey;
            face = from;
            top = ShiftColor(from, kInversePressedTop);
            high = ShiftColor(from, kInversePressedHigh);
            low = ShiftColor(from, kInversePressedLow);
        }
        SetEdges(work, { 1, 2 }, top);
        SetEdges(work, { 3, 4 }, face);
        SetEdges(work, { 5, 6 }, high);
        SetEdges(work, { 7, 8 }, low);
        SetEdges(work, { 9, 10, 11, 12 }, kBlack);
        DrawBevel(look, buffer, work, -1);

        // Corner pixels that round the ring off.
        const std::int32_t w = Width(look);
        const std::int32_t h = Height(look);
        HDC dc = buffer.BufferDC;
        const auto rgb = [](OleColor c) { return static_cast<COLORREF>(c); };
        if (look.FaceLeft == 0) {
            SetPixel(dc, 3, 3, rgb(top));
            SetPixel(dc, 1, h - 3, rgb(face));
            SetPixel(dc, 2, 2, rgb(high));
            SetPixel(dc, 1, h - 2, rgb(kBlack));
            SetPixel(dc, 1, 1, rgb(kBlack));
        }
        if (w == look.FaceRight) {
            SetPixel(dc, w - 4, h - 4, rgb(face));
            SetPixel(dc, w - 3, 1, rgb(face));
            SetPixel(dc, w - 3, h - 3, rgb(low));
            SetPixel(dc, w - 2, h - 2, rgb(kBlack));
            SetPixel(dc, w - 2, 1, rgb(kBlack));
        }
    }
    ApplyOutlineRule(look, work);
    DrawFocusMark(look, buffer, work, saved, look.Value, true);
}

} // namespace

// ---------------------------------------------------------------------------
// [SECTION] PaintFace

void PaintFace(const ButtonLook& look, BackBuffer& buffer, RedrawWork& work)
{
    switch (look.ButtonStyle) {
    case gxStyleStandard: PaintSkeleton(look, buffer, work, StandardStep); break;
    case gxStyleFramed: PaintSkeleton(look, buffer, work, FramedStep); break;
    case gxStyleRounded: PaintRounded(look, buffer, work); break;
    case gxStyleFlatFrame: PaintFlatFrame(look, buffer, work); break;
    case gxStyleThin: PaintSkeleton(look, buffer, work, ThinStep); break;
    case gxStyleHover: PaintHover(look, buffer, work); break;
    case gxStyleLight: PaintSkeleton(look, buffer, work, LightStep); break;
    case gxStyleInverse: PaintInverse(look, buffer, work); break;
    default: break;
    }
}

} // namespace korvane::button
