// The outlines: corner trims, slanted edges, ovals and picture outlines as window
// regions, the face clip with its rings, and the outline frame on the control.
//
// [SECTION] Regions
// [SECTION] Face clip and outline frame
// [SECTION] BuildShapeRegion

#include "controls/button/ButtonShapes.h"

#include "controls/button/ButtonPictures.h"

#include "controls/button/gxButtons_H.h"
#include "host/forms/HostServices.h"
#include "host/runtime/Conversions.h"
#include "host/runtime/RuntimeError.h"
#include "host/window/WinUser.h"

#include <algorithm>
#include <cstdlib>

namespace korvane::button {

namespace {


enum CornerHalves : unsigned { kLeftCorners = 1, kRightCorners = 2, kBothCorners = 3 };

// Ovals and the picture outline keep a frame of their own; the other shapes' rings
// are painted over by the face.
bool FramedShape(std::int32_t shape) { return shape == 6 || shape == 7; }

void Remove(HRGN from, HRGN part)
{
    CombineRgn(from, from, part, RGN_DIFF);
    DeleteObject(part);
}

void RemoveRect(HRGN from, const RECT& rect) { Remove(from, CreateRectRgn(rect.left, rect.top, rect.right, rect.bottom)); }

void RemovePixel(HRGN from, int x, int y) { RemoveRect(from, { x, y, x + 1, y + 1 }); }

void RemoveTriangle(HRGN from, POINT a, POINT b, POINT c)
{
    const POINT points[] { a, b, c };
    Remove(from, CreatePolygonRgn(points, 3, WINDING));
}

// The corners a style trims, on the vertical edges chosen.
void TrimCorners(HRGN region, std::int32_t style, bool enabled, int width, int height, unsigned halves)
{
    const bool left = halves & kLeftCorners;
    const bool right = halves & kRightCorners;
    switch (style) {
    case gxStyleFramed:
        if (left) {
            RemovePixel(region, 0, 0);
            RemovePixel(region, 0, height - 1);
        }
        if (right) {
            RemovePixel(region, width - 1, height - 1);
            RemovePixel(region, width - 1, 0);
        }
        break;
    case gxStyleFlatFrame:
        // Only two corners, and only while enabled: the disabled frame is drawn square.
        if (!enabled)
            break;
        if (left)
            RemovePixel(region, 0, height - 1);
        if (right)
            RemovePixel(region, width - 1, 0);
        break;
    case gxStyleRounded:
    case gxStyleInverse:
        if (left) {
            RemoveTriangle(region, { 0, 0 }, { 2, 0 }, { 0, 2 });
            RemoveTriangle(region, { 0, height }, { 3, height }, { 0, height - 3 });
        }
        if (right) {
            RemoveTriangle(region, { width, 0 }, { width - 2, 0 }, { width, 2 });
            RemoveTriangle(region, { width, height }, { width - 3, height }, { width, height - 3 });
        }
        break;
    default: break;
    }
}

// A copy of the window's region; empty when the window has none.
HRGN WindowRegionCopy(HWND window)
{
    HRGN copy = CreateRectRgn(0, 0, 0, 0);
    GetWindowRgn(window, copy);
    return copy;
}

void FrameWithColour(HDC dc, HRGN region, OleColor colour)
{
    HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(colour));
    FrameRgn(dc, region, brush, 1, 1);
    DeleteObject(brush);
}

} // namespace

// ---------------------------------------------------------------------------
// [SECTION] Regions

void CarvePictureOutline(HDC picture, SIZE pictureSize, SIZE controlSize, HRGN windowRegion, HRGN& frameRegion,
                         HRGN& innerFrameRegion)
{
    frameRegion = CreateRectRgn(0, 0, controlSize.cx, controlSize.cy);
    innerFrameRegion = CreateRectRgn(0, 0, controlSize.cx, controlSize.cy);
    const COLORREF key = GetPixel(picture, 0, 0);
    const auto transparent = [&](int x, int y) { return IsNearKey(GetPixel(picture, x, y), key); };
    for (int y = 0; y < pictureSize.cy; ++y) {
        for (int x = 0; x < pictureSize.cx;) {
            if (!transparent(x, y)) {
                ++x;
                continue;
            }
            const int first = x;
            while (x < pictureSize.cx && transparent(x, y))
                ++x;
            RECT run { first, y, x == pictureSize.cx ? controlSize.cx : x, y + 1 };
            RemoveRect(windowRegion, run);
            InflateRect(&run, 1, 1);
            RemoveRect(frameRegion, run);
            InflateRect(&run, 1, 1);
            RemoveRect(innerFrameRegion, run);
        }
    }
}

// ---------------------------------------------------------------------------
// [SECTION] Face clip and outline frame

void PrepareFaceClip(const ButtonLook& look, BackBuffer& buffer, RedrawWork& work)
{
    work.DrawCode = 1;
    HDC dc = buffer.BufferDC;
    const bool pressed = look.Pressed();
    const bool framed = FramedShape(look.ButtonShape);
    // Style 5 at rest shows the container through: no ring, no clip.
    SelectClipRgn(dc, nullptr);
    if (look.ButtonStyle == gxStyleHover && !look.HoverTracking && !pressed && !look.Value)
        return;

    // A border region of 0 (the rectangular shapes) selects no clip, so their ring
    // covers the whole buffer and the face fill that follows paints over it.
    if (look.ButtonStyle == gxStyleHover && (look.Value || !framed)) {
        PaintGradient(look, buffer, gxGradientTopToBottom, kWhite, kGrey);
        SelectClipRgn(dc, look.InnerFrameRegion);
        work.DrawCode = 4;
    } else if ((pressed || look.Value) && !framed) {
        SelectClipRgn(dc, look.FrameRegion);
        PaintGradient(look, buffer, gxGradientTopToBottom, kGrey, kWhite);
        SelectClipRgn(dc, look.InnerFrameRegion);
        work.DrawCode = 4;
    } else if (!framed) {
        SelectClipRgn(dc, look.FrameRegion);
        work.DrawCode = 3;
    } else if (look.ButtonShape == 7 || look.HoverTracking) {
        HRGN outline = WindowRegionCopy(look.Window);
        FrameWithColour(dc, outline, look.ButtonShape == 6 ? kBlack : TranslateColor(look.BackColor));
        DeleteObject(outline);
        SelectClipRgn(dc, look.FrameRegion);
        work.DrawCode = 3;
    }
}

void FrameOutline(const ButtonLook& look, const RedrawWork& work, HDC controlDC)
{
    const std::int32_t shape = look.ButtonShape;
    if (shape <= kLastRectangularShape)
        return;
    const bool pressed = look.Pressed();
    OleColor colour = work.EdgeColors[12];
    HRGN region = nullptr;
    if (shape < kFirstPictureShape) {
        if (look.ButtonStyle == gxStyleRounded && !pressed)
            region = look.FrameRegion;
        else if (shape == 6)
            region = WindowRegionCopy(look.Window);
    } else if (look.HoverTracking && !pressed) {
        if (look.ButtonStyle != gxStyleRounded)
            colour = look.Colors.HoverFaceColor;
        // A hover colour that is the face's own would frame nothing visible.
        if (colour != TranslateColor(look.BackColor) || look.ButtonStyle == gxStyleRounded)
            region = WindowRegionCopy(look.Window);
    } else if (look.ButtonState & bsDefault) {
        region = shape == 8 ? look.InnerFrameRegion : look.FrameRegion;
        if (look.Value && look.ButtonStyle != gxStyleRounded)
            colour = ShiftColor(look.Colors.FaceColor2, -32);
    }
    if (!region)
        return;
    FrameWithColour(controlDC, region, colour);
    if (region != look.FrameRegion && region != look.InnerFrameRegion)
        DeleteObject(region);
}

} // namespace korvane::button

namespace korvane {

using namespace button;
using host::CLng;

namespace {

// The least face between the slanted edges, and the step by which a control too
// narrow for it is widened.
constexpr std::int32_t kSlantedFaceWidth = 5;

} // namespace

// ---------------------------------------------------------------------------
// [SECTION] BuildShapeRegion

void gxButtons_H::BuildShapeRegion()
{
    std::int32_t width = CLng(ScaleWidth());
    std::int32_t height = CLng(ScaleHeight());
    m_faceLeft = 0;
    m_faceRight = width;
    if (m_buffer.BufferDC)
        SelectClipRgn(m_buffer.BufferDC, nullptr);
    for (HRGN* region : { &InnerFrameRegion, &FrameRegion }) {
        if (*region)
            DeleteObject(*region);
        *region = nullptr;
    }

    HRGN region = nullptr;
    if (m_buttonShape == 0) {
        region = CreateRectRgn(0, 0, width + 1, height + 1);
        TrimCorners(region, m_buttonStyle, Enabled(), width, height, kBothCorners);
    } else if (m_buttonShape <= kLastRectangularShape) {
        // 45 degrees over the full height and the row below it.
        const std::int32_t slant = height + 1;
        std::int32_t minimum = width;
        while (minimum - slant < kSlantedFaceWidth)
            minimum += kSlantedFaceWidth;
        if (minimum != width) {
            // The Resize this causes must neither rebuild the outline nor draw.
            DelayDrawing(true);
            Move(Left(), Top(), minimum * forms::Screen::TwipsPerPixelX(), Height());
            width = CLng(ScaleWidth());
            m_faceRight = width;
        }
        POINT points[] { { 0, 0 }, { 0, height + 1 }, { width + 1, height + 1 }, { width + 1, 0 } };
        const bool slantedLeft = m_buttonShape != 2;
        const bool slantedRight = m_buttonShape != 1;
        if (slantedLeft) {
            points[1] = { slant, height + 1 };
            m_faceLeft = slant;
        }
        if (slantedRight) {
            points[3] = { width - slant + 1, 0 };
            m_faceRight = width - slant;
        }
        region = CreatePolygonRgn(points, 4, WINDING);
        if (slantedLeft != slantedRight)
            TrimCorners(region, m_buttonStyle, Enabled(), width, height, slantedLeft ? kRightCorners : kLeftCorners);
    } else if (m_buttonShape < kFirstPictureShape) {
        region = CreateEllipticRgn(0, 0, width, height);
        // Style 5 paints its ring only under the pointer (PrepareFaceClip).
        if (m_buttonStyle != gxStyleHover) {
            if (m_buttonShape == 6)
                FrameWithColour(m_buffer.BufferDC, region, kBlack);
            else
                PaintGradient(Look(), m_buffer, gxGradientTopToBottom, kWhite, kGrey);
        }
        FrameRegion = CreateEllipticRgn(1, 1, width - 1, height - 1);
        InnerFrameRegion = CreateEllipticRgn(2, 2, width - 2, height - 2);
    } else {
        // Without a picture the outline stays what it was.
        if (m_pictureWidth == 0 || m_pictureHeight == 0)
            return;
        region = PictureOutlineRegion();
        if (!region)
            return;
    }
    SetWindowRgn(hWnd(), region, TRUE);
    if (m_faceRight == 0)
        m_faceRight = CLng(ScaleWidth());
}

HRGN gxButtons_H::PictureOutlineRegion()
{
    HRGN region = nullptr;
    // Any failure ends the outline silently and leaves the window's region as it was;
    // drawing may stay suspended until the next Paint.
    try {
        DelayDrawing(true);
        const SIZE fitted = FitPicture(m_pictureWidth, m_pictureHeight, CLng(ScaleWidth()), CLng(ScaleHeight()));
        Size(fitted.cx * forms::Screen::TwipsPerPixelX(), fitted.cy * forms::Screen::TwipsPerPixelY());
        const std::int32_t width = CLng(ScaleWidth());
        const std::int32_t height = CLng(ScaleHeight());
        m_faceRight = width;
        m_drawingDelayed = false;
        region = CreateRectRgn(0, 0, width, height);

        PreparePicture(width, height);
        SIZE pictureSize {};
        HBITMAP source = OutlinePicture(pictureSize);
        if (!source) {
            DeleteObject(region);
            return nullptr;
        }
        HDC dc = CreateCompatibleDC(hDC());
        HGDIOBJ old = SelectObject(dc, source);
        CarvePictureOutline(dc, pictureSize, { width, height }, region, FrameRegion, InnerFrameRegion);
        SelectObject(dc, old);
        DeleteDC(dc);

        if (m_buttonShape == 8)
            PaintGradient(Look(), m_buffer, gxGradientTopToBottom, kWhite, kGrey);
        else
            FrameWithColour(m_buffer.BufferDC, region, TranslateColor(m_backColor));
        SelectClipRgn(m_buffer.BufferDC, FrameRegion);
        return region;
    } catch (const host::RuntimeError&) {
        if (region)
            DeleteObject(region);
        return nullptr;
    }
}

HBITMAP gxButtons_H::OutlinePicture(SIZE& size) const
{
    // The picture prepared at the control's size when there is one, else the
    // picture's own bitmap at its own size.
    const PreparedPicture& prepared = m_preparedPicture;
    if (prepared.PictureWork && prepared.PictureWorkWidth == CLng(ScaleWidth())
        && prepared.PictureWorkHeight == CLng(ScaleHeight())) {
        size = { prepared.PictureWorkWidth, prepared.PictureWorkHeight };
        return prepared.PictureWork;
    }
    size = { m_pictureWidth, m_pictureHeight };
    return m_picture ? m_picture->Bitmap() : nullptr;
}

} // namespace korvane
