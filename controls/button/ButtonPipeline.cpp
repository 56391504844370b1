// The drawing pipeline: colour helpers, drawing tools, the background layer, and the
// control's RedrawButton with its back buffer.
//
// [SECTION] Colour helpers
// [SECTION] Drawing tools
// [SECTION] Background and gradient
// [SECTION] RedrawButton and the back buffer

#include "controls/button/ButtonPipeline.h"

#include "controls/button/ButtonFaces.h"
#include "controls/button/ButtonShapes.h"
#include "controls/button/gxButtons_H.h"
#include "host/forms/HostServices.h"
#include "host/gdi/OleColor.h"
#include "host/runtime/Conversions.h"
#include "host/runtime/RuntimeError.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace korvane::button {

using host::CInt;
using host::CLng;

namespace {

// ShiftColor's avoid-extremes restarts: a third pass repeats the first, so a colour
// that is extreme both ways stops there instead of turning back and forth for ever.
constexpr int kShiftPasses = 3;

// The back buffer's background mode: neither TRANSPARENT (1) nor OPAQUE (2), so
// captions are drawn without a background over the face.
constexpr int kBufferBackgroundMode = 3;

// Gradients on a control wider (or taller) than a quarter of the screen use 2-pixel bands.
constexpr std::int32_t kScreenFractionForWideBands = 4;

// Selects an object made for the buffer and deletes the one it replaces; an object
// that could not be selected (no buffer) is deleted instead, so nothing is left.
void SelectAndDeleteReplaced(HDC dc, HGDIOBJ made)
{
    HGDIOBJ replaced = SelectObject(dc, made);
    DeleteObject(replaced ? replaced : made);
}

} // namespace

// ---------------------------------------------------------------------------
// [SECTION] Colour helpers

OleColor TranslateColor(OleColor colour)
{
    return static_cast<OleColor>(gdi::TranslateColor(static_cast<gdi::OleColor>(colour)));
}

OleColor ShiftColor(OleColor colour, std::int16_t& amount, ShiftOptions options)
{
    for (int pass = 1;; ++pass) {
        const int shift = amount;
        int red = (colour & 0xFF) + shift;
        int green = CInt((colour & 0xFF00) / 255.0 + shift);
        int blue = 0;
        if (options & kProportionalBlue) {
            const int blue0 = CInt((colour & 0xFF0000) / 65280.0);
            blue = blue0 + (shift * blue0) / 192;
        } else {
            blue = CInt((colour & 0xFF0000) / 65280.0 + shift);
        }
        for (int* channel : { &red, &green, &blue }) {
            *channel = std::clamp(*channel, 0, 255);
            if (options & kInvert)
                *channel = std::abs(255 - *channel);
        }
        const OleColor result = red + green * 256 + blue * 65536;
        if (!(options & kAvoidExtremes) || (result != 0 && result != 0xFFFFFF) || pass == kShiftPasses)
            return result;
        amount = static_cast<std::int16_t>(-shift);
        if (amount == 0)
            amount = 64;
    }
}

void BuildGradientColors(std::span<OleColor> table, OleColor from, OleColor to)
{
    if (table.empty())
        return;
    // Single precision throughout, as the steps accumulate in it.
    float red = static_cast<float>(from & 0xFF);
    float green = static_cast<float>((from & 0xFF00) / 255.0);
    float blue = static_cast<float>((from & 0xFF0000) / 65280.0);
    const std::int32_t endRed = to & 0xFF;
    const std::int32_t endGreen = CLng((to & 0xFF00) / 255.0);
    const std::int32_t endBlue = CLng((to & 0xFF0000) / 65280.0);
    table[0] = from;
    const auto last = static_cast<std::int32_t>(table.size()) - 1;
    if (last == 0)
        return;
    const auto redStep = static_cast<float>((endRed - static_cast<double>(red)) / last);
    const auto greenStep = static_cast<float>((endGreen - static_cast<double>(green)) / last);
    const auto blueStep = static_cast<float>((endBlue - static_cast<double>(blue)) / last);
    for (std::int32_t k = 1; k <= last; ++k) {
        red = std::clamp(red + redStep, 0.0f, 255.0f);
        green = std::clamp(green + greenStep, 0.0f, 255.0f);
        blue = std::clamp(blue + blueStep, 0.0f, 255.0f);
        table[static_cast<std::size_t>(k)] = static_cast<OleColor>(std::floor(red))
            + static_cast<OleColor>(std::floor(green)) * 256 + static_cast<OleColor>(std::floor(blue)) * 65536;
    }
}

// ---------------------------------------------------------------------------
// [SECTION] Drawing tools

void SelectDrawingTool(BackBuffer& buffer, HDC dc, std::int32_t kind, OleColor colour, bool alsoPen,
                       std::int32_t penWidth, std::int32_t penStyle)
{
    const auto rgb = static_cast<COLORREF>(colour);
    switch (kind) {
    case kToolBrush:
        SelectAndDeleteReplaced(buffer.BufferDC, CreateSolidBrush(rgb));
        if (alsoPen)
            SelectAndDeleteReplaced(buffer.BufferDC, CreatePen(penStyle, penWidth, rgb));
        break;
    case kToolPen: SelectAndDeleteReplaced(buffer.BufferDC, CreatePen(penStyle, penWidth, rgb)); break;
    case kToolTextColour: SetTextColor(dc, static_cast<COLORREF>(TranslateColor(colour))); break;
    default: break;
    }
}

void ReleaseDrawingTools(BackBuffer& buffer)
{
    DeleteObject(SelectObject(buffer.BufferDC, buffer.BufferOldBrush));
    DeleteObject(SelectObject(buffer.BufferDC, buffer.BufferOldPen));
}

void DrawRectangle(BackBuffer& buffer, HDC dc, std::int32_t left, std::int32_t top, std::int32_t right,
                   std::int32_t bottom, OleColor fillColor, OleColor penColor, std::int32_t penWidth,
                   std::int32_t penStyle)
{
    if (penColor != -1)
        SelectDrawingTool(buffer, dc, kToolPen, penColor, false, penWidth, penStyle);
    SelectDrawingTool(buffer, dc, kToolBrush, fillColor, penColor == -1, 1, PS_SOLID);
    Rectangle(dc, left, top, right, bottom);
}

// ---------------------------------------------------------------------------
// [SECTION] Background and gradient

void PaintGradient(const ButtonLook& look, BackBuffer& buffer, std::int32_t gradientMode, OleColor from, OleColor to)
{
    // A statement that fails is skipped and the next one runs; only the conversions
    // and the screen division can fail, for an unrepresentable or a zero size.
    std::int32_t width = 0;
    std::int32_t height = 0;
    try {
        width = CLng(look.ScaleWidth);
    } catch (const host::RuntimeError&) {
    }
    try {
        height = CLng(look.ScaleHeight);
    } catch (const host::RuntimeError&) {
    }
    const bool horizontal = gradientMode == gxGradientLeftToRight || gradientMode == gxGradientRightToLeft;
    const bool vertical = gradientMode == gxGradientTopToBottom || gradientMode == gxGradientBottomToTop;
    if (!horizontal && !vertical)
        return;
    const std::int32_t size = horizontal ? width : height;
    const std::int32_t screenPixels = horizontal ? look.ScreenWidth / std::max(1, look.TwipsPerPixelX)
                                                 : look.ScreenHeight / std::max(1, look.TwipsPerPixelY);
    // A failing test resumes inside the wide branch, which for the zero size that
    // makes it fail gives no band either way.
    const bool wide = size == 0 || screenPixels / size < kScreenFractionForWideBands;
    const std::int32_t step = wide ? 2 : 1;
    const std::int32_t bands = wide ? size / 2 : size;
    if (bands <= 0)
        return;

    thread_local std::vector<OleColor> table;
    table.resize(static_cast<std::size_t>(bands));
    BuildGradientColors(table, from, to);
    RECT band { 0, 0, width, height };
    if (horizontal)
        band.right = step;
    else
        band.bottom = step;
    const bool forward = gradientMode % 2 == 1;
    for (std::int32_t i = 0; i < bands; ++i) {
        const OleColor colour = table[static_cast<std::size_t>(forward ? i : bands - 1 - i)];
        DrawRectangle(buffer, buffer.BufferDC, band.left, band.top, band.right, band.bottom, colour, -1, 0, 0);
        if (horizontal)
            OffsetRect(&band, step, 0);
        else
            OffsetRect(&band, 0, step);
    }
}

void PaintBackground(const ButtonLook& look, BackBuffer& buffer, RedrawWork& work, OleColor& faceColor,
                     OleColor& gradientColor, OleColor& hoverColor)
{
    PrepareFaceClip(look, buffer, work);
    if (work.DrawCode == 0)
        return;
    const bool pressed = look.Pressed();
    work.FaceState = pressed ? 2 : (look.ButtonState & bsDefault) ? 1 : 0;
    if (hoverColor < 0)
        hoverColor = faceColor;
    // A latched check or option button and a pressed command button keep the face colour.
    const bool hoverFill
        = look.HoverTracking && ((look.Mode == gxCommand && !pressed) || (look.Mode > gxCommand && !look.Value));
    const OleColor fill = hoverFill ? hoverColor : faceColor;
    const std::int32_t width = CLng(look.ScaleWidth);
    const std::int32_t height = CLng(look.ScaleHeight);
    HDC dc = buffer.BufferDC;

    if (look.GradientMode != gxNoGradient && !look.Value && look.ButtonShape < kFirstPictureShape) {
        if (look.HoverTracking && !pressed && look.GradientColor != look.HoverBackColor) {
            DrawRectangle(buffer, dc, 0, 0, width, height, hoverColor, -1, 0, 0);
        } else {
            if (gradientColor < 0)
                gradientColor = faceColor;
            PaintGradient(look, buffer, look.GradientMode, faceColor, gradientColor);
        }
    } else if (look.ButtonStyle == gxStyleRounded && (look.Enabled || look.Mode > gxCommand)) {
        // Row by row, down to 25 darker at the bottom. A control without height has
        // no rows (its step would divide by zero).
        if (look.ScaleHeight <= 0)
            return;
        const std::int16_t rows = CInt(look.ScaleHeight);
        for (std::int32_t i = 0; i <= rows; ++i) {
            const std::int16_t amount = CInt(-(25.0 / look.ScaleHeight) * i);
            DrawRectangle(buffer, dc, 0, i, width, i + 1, ShiftColor(fill, amount, kProportionalBlue), -1, 0, 0);
        }
    } else {
        DrawRectangle(buffer, dc, 0, 0, width, height, fill, -1, 0, 0);
    }
}

} // namespace korvane::button

namespace korvane {

using namespace button;

// ---------------------------------------------------------------------------
// [SECTION] RedrawButton and the back buffer

ButtonLook gxButtons_H::Look() const
{
    ButtonLook look;
    look.ScaleWidth = ScaleWidth();
    look.ScaleHeight = ScaleHeight();
    look.ScreenWidth = forms::Screen::Width();
    look.ScreenHeight = forms::Screen::Height();
    look.TwipsPerPixelX = forms::Screen::TwipsPerPixelX();
    look.TwipsPerPixelY = forms::Screen::TwipsPerPixelY();
    look.ButtonStyle = m_buttonStyle;
    look.ButtonShape = m_buttonShape;
    look.Mode = m_mode;
    look.Value = m_value;
    look.Enabled = Enabled();
    look.UserMode = !DesignMode();
    look.ButtonState = m_buttonState;
    look.HoverTracking = m_hoverTracking;
    look.ShowPressed = m_showPressed;
    look.ShowFocusRect = m_showFocusRect;
    look.GradientMode = m_gradientMode;
    look.BackColor = m_backColor;
    look.GradientColor = m_gradientColor;
    look.HoverBackColor = m_hoverBackColor;
    look.ForeColor = ForeColor();
    look.HoverForeColor = m_hoverForeColor;
    look.Colors = m_colors;
    look.AmbientBackColor = m_ambientBackColor;
    look.FaceLeft = m_faceLeft;
    look.FaceRight = m_faceRight;
    look.Caption = m_caption;
    look.CaptionAlign = m_captionAlign;
    look.CaptionStyle = m_captionStyle;
    look.CaptionRect = m_captionRect;
    look.PictureRect = m_pictureRect;
    look.Picture = m_picture ? m_picture->Handle() : nullptr;
    look.PictureWidth = m_pictureWidth;
    look.PictureHeight = m_pictureHeight;
    look.PictureIsIcon = m_pictureIsIcon;
    look.PictureAlign = m_pictureAlign;
    look.ImageSize = m_imageSize;
    look.Prepared = &m_preparedPicture;
    look.FrameRegion = FrameRegion;
    look.InnerFrameRegion = InnerFrameRegion;
    look.Window = hWnd();
    return look;
}

void gxButtons_H::RedrawButton()
{
    if (m_drawingDelayed)
        return;
    // The first step of every face: a button the CustomClick move has just shifted
    // keeps the face it had, copied to it where it now is.
    if (ApplyClickOffset())
        return;
    RedrawWork work;
    const ButtonLook look = Look();
    PaintFace(look, m_buffer, work);
    if (work.DrawCode == 0)
        return;
    PrepareBuffer(false);
    if (work.DrawCode > 1)
        FrameOutline(look, work, hDC());
    forms::UserControl::Refresh();
}

void gxButtons_H::PrepareBuffer(bool create)
{
    HDC control = hDC();
    if (!create) {
        BitBlt(control, 0, 0, CLng(ScaleWidth()), CLng(ScaleHeight()), m_buffer.BufferDC, 0, 0, SRCCOPY);
        return;
    }
    if (!m_buffer.BufferDC) {
        m_buffer.BufferDC = CreateCompatibleDC(control);
        if (!m_buffer.BufferDC)
            return;
        SetBkMode(m_buffer.BufferDC, kBufferBackgroundMode);
        m_buffer.BufferOldBrush = SelectObject(m_buffer.BufferDC, CreateSolidBrush(0));
        m_buffer.BufferOldPen = SelectObject(m_buffer.BufferDC, CreatePen(PS_SOLID, 1, 0));
    }
    RefreshResources("Font");
    if (!m_buffer.BufferOldBitmap) {
        HBITMAP bitmap = CreateCompatibleBitmap(control, CLng(ScaleWidth()), CLng(ScaleHeight()));
        m_buffer.BufferOldBitmap = SelectObject(m_buffer.BufferDC, bitmap);
        // A bitmap that could not go in (no size) would be left with nobody to delete it.
        if (!m_buffer.BufferOldBitmap)
            DeleteObject(bitmap);
    }
}

} // namespace korvane
