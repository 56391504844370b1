#pragma once

// The button's drawing pipeline, apart from the control: the snapshot a redraw
// paints from (ButtonLook), the back buffer it paints into, the per-redraw working
// data, the background and gradient fill every face starts with, and the colour
// and rectangle helpers all the button's painters share. Nothing here reads the
// control, so a face renders in a test from a ButtonLook and a memory DC.
//
// Every Rectangle makes and deletes its own brush and pen; the back buffer keeps
// only its bitmap, its font and the objects it was made with between redraws.
//
// [SECTION] State
// [SECTION] Colour helpers
// [SECTION] Drawing tools
// [SECTION] Background and gradient

#include "controls/button/ButtonTypes.h"
#include "host/gdi/Gdi.h"

#include <array>
#include <functional>
#include <span>
#include <string_view>

namespace korvane::button {

struct PreparedPicture;

// ---------------------------------------------------------------------------
// [SECTION] State

// The memory DC a redraw paints into and the objects it held when it was made,
// which go back into it before it is deleted.
struct BackBuffer {
    HDC BufferDC = nullptr;
    HGDIOBJ BufferOldBitmap = nullptr; // 0 while no bitmap of the control's size is selected
    HGDIOBJ BufferOldPen = nullptr;
    HGDIOBJ BufferOldBrush = nullptr;
    HGDIOBJ BufferOldFont = nullptr;   // 0 until the first button font is selected
};

// The face colours derived from BackColor and HoverBackColor for the current style (RGB).
struct FaceColors {
    OleColor FaceColor = 0;      // face at rest
    OleColor FaceColor2 = 0;     // pressed command button of styles 2, 3 and 7
    OleColor HoverFaceColor = 0; // under the pointer
    OleColor FaceColor3 = 0;     // check or option button with Value True
};

// Everything a redraw reads, taken from the control once per redraw.
struct ButtonLook {
    double ScaleWidth = 0; // pixels
    double ScaleHeight = 0;
    std::int32_t ScreenWidth = 0; // twips
    std::int32_t ScreenHeight = 0;
    std::int32_t TwipsPerPixelX = 15;
    std::int32_t TwipsPerPixelY = 15;

    std::int32_t ButtonStyle = gxStyleStandard;
    std::int32_t ButtonShape = 0;
    std::int32_t Mode = gxCommand;
    bool Value = false;
    bool Enabled = true;
    bool UserMode = true;
    std::int16_t ButtonState = 0;
    bool HoverTracking = false;
    bool ShowPressed = false;
    bool ShowFocusRect = true;

    std::int32_t GradientMode = gxNoGradient;
    // The stored OLE values: the gradient-or-hover choice compares these untranslated.
    OleColor BackColor = kButtonFace;
    OleColor GradientColor = kButtonFace;
    OleColor HoverBackColor = kButtonFace;
    OleColor ForeColor = kButtonText;
    OleColor HoverForeColor = kButtonText;
    FaceColors Colors;
    OleColor AmbientBackColor = 0; // RGB

    std::int32_t FaceLeft = 0; // the face's horizontal extent inside the outline
    std::int32_t FaceRight = 0;

    std::string_view Caption;
    std::int32_t CaptionAlign = gxAlignCenter;
    std::int32_t CaptionStyle = gxFlat;
    RECT CaptionRect {};
    RECT PictureRect {};

    // The picture: its handle (a bitmap or an icon, 0 without one), size and kind,
    // where it goes, and the control's prepared copy, which a draw makes when missing.
    HANDLE Picture = nullptr;
    std::int32_t PictureWidth = 0;
    std::int32_t PictureHeight = 0;
    std::int32_t PictureIsIcon = 0;
    std::int32_t PictureAlign = gxPicLeftEdge;
    std::int16_t ImageSize = 16;
    PreparedPicture* Prepared = nullptr;

    HRGN FrameRegion = nullptr;
    HRGN InnerFrameRegion = nullptr;
    HWND Window = nullptr; // the control's window, whose region the outline frames copy

    bool Pressed() const { return (ButtonState & kPressedBits) == kPressedBits; }
};

// The working data of one redraw, made empty at its start.
struct RedrawWork {
    std::array<POINT, 16> EdgePoints {};
    std::array<OleColor, 13> EdgeColors {}; // indices 1..12; a negative colour is an edge not drawn
    std::int16_t FaceState = 0;             // 0 normal, 1 default look, 2 pressed, 3 latched
    std::int16_t DrawCode = 0;              // 0 nothing painted, 1 plain, 3 and 4 with an outline to frame
};

// ---------------------------------------------------------------------------
// [SECTION] Colour helpers

// A system colour (bit 31 set) becomes GetSysColor of its low byte; RGB passes unchanged.
OleColor TranslateColor(OleColor colour);

enum ShiftOptions : unsigned {
    kShiftPlain = 0,
    kProportionalBlue = 1, // blue moves in proportion to itself
    kAvoidExtremes = 2,    // a black or white result shifts the other way instead
    kInvert = 4,           // each channel becomes 255 - channel
};
constexpr ShiftOptions operator|(ShiftOptions a, ShiftOptions b) { return ShiftOptions(unsigned(a) | unsigned(b)); }

// Moves each channel of an RGB colour by `amount`. Green and (without
// kProportionalBlue) blue are read scaled by 256/255, so a full channel starts at
// 256. With kAvoidExtremes a black or white result negates the caller's amount
// (64 in place of 0) and shifts again from the same colour.
OleColor ShiftColor(OleColor colour, std::int16_t& amount, ShiftOptions options);
inline OleColor ShiftColor(OleColor colour, int amount, ShiftOptions options = kShiftPlain)
{
    auto shift = static_cast<std::int16_t>(amount);
    return ShiftColor(colour, shift, options);
}

// Fills the table from `from` at index 0 to about `to` at its last index. The start's
// green and blue are scaled by 256/255 as ShiftColor reads them; the end's are rounded.
void BuildGradientColors(std::span<OleColor> table, OleColor from, OleColor to);

// ---------------------------------------------------------------------------
// [SECTION] Drawing tools

enum DrawingTool : std::int32_t { kToolBrush = 0, kToolPen = 1, kToolTextColour = 2 };

// Makes a brush (and with `alsoPen` a pen of the same colour) or a pen of the RGB
// colour and selects it into the back buffer, whatever `dc` is, deleting what it
// replaces. kToolTextColour sets the text colour of `dc`, translating the colour.
void SelectDrawingTool(BackBuffer& buffer, HDC dc, std::int32_t kind, OleColor colour, bool alsoPen,
                       std::int32_t penWidth, std::int32_t penStyle);
// Puts back the brush and pen the buffer was made with and deletes the current ones.
void ReleaseDrawingTools(BackBuffer& buffer);

// A Rectangle filled with `fillColor`; its outline is a pen of `penColor`, or with
// penColor -1 a 1-pixel pen of the fill colour. Right and bottom are exclusive.
void DrawRectangle(BackBuffer& buffer, HDC dc, std::int32_t left, std::int32_t top, std::int32_t right,
                   std::int32_t bottom, OleColor fillColor, OleColor penColor, std::int32_t penWidth,
                   std::int32_t penStyle);

// ---------------------------------------------------------------------------
// [SECTION] Background and gradient

// Bands across the control along `gradientMode` (1 left to right, 2 right to left,
// 3 top to bottom, 4 bottom to top) from `from` to `to`; 2-pixel bands on a control
// larger than a quarter of the screen that way. The outline rings pass mode 3.
void PaintGradient(const ButtonLook& look, BackBuffer& buffer, std::int32_t gradientMode, OleColor from, OleColor to);

// The first layer of every face: lets the outline decide whether to paint and set
// the clip, sets FaceState, then fills with the hover colour, the gradient, style 2's
// row shading or the plain face colour. Negative hover and gradient colours become
// the face colour, as the caller sees.
void PaintBackground(const ButtonLook& look, BackBuffer& buffer, RedrawWork& work, OleColor& faceColor,
                     OleColor& gradientColor, OleColor& hoverColor);

} // namespace korvane::button
