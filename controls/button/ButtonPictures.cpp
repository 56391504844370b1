#include "controls/button/ButtonPictures.h"

#include "controls/button/gxButtons_H.h"
#include "host/runtime/Conversions.h"

#include <algorithm>
#include <cstdlib>

namespace korvane::button {

using host::CLng;

namespace {

// (P And Not S) Or (D And S): where the picture on white is white the face stays,
// where it is dark the grey brush shows.
constexpr DWORD kGreyStencil = 0xB8074A;
// D And Not S: the picture's key pixels, set in the mask, turn black.
constexpr DWORD kBlackenMasked = 0x220326;

int Channel(COLORREF colour, int shift) { return static_cast<int>((colour >> shift) & 0xFF); }

std::int32_t Width(const RECT& rect) { return rect.right - rect.left; }
std::int32_t Height(const RECT& rect) { return rect.bottom - rect.top; }

// A memory DC holding a bitmap it was given; both go when it does.
class MemoryImage {
public:
    MemoryImage(HDC compatibleWith, HBITMAP bitmap)
        : m_dc(CreateCompatibleDC(compatibleWith))
        , m_bitmap(bitmap)
        , m_old(SelectObject(m_dc, bitmap))
    {
    }
    ~MemoryImage()
    {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    MemoryImage(const MemoryImage&) = delete;
    MemoryImage& operator=(const MemoryImage&) = delete;

    HDC Dc() const { return m_dc; }

private:
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
};

} // namespace

bool IsNearKey(COLORREF colour, COLORREF key)
{
    for (int shift : { 0, 8, 16 })
        if (std::abs(Channel(colour, shift) - Channel(key, shift)) > kKeyTolerance)
            return false;
    return true;
}

SIZE FitPicture(std::int32_t pictureWidth, std::int32_t pictureHeight, std::int32_t w, std::int32_t h)
{
    const double scale = std::min(static_cast<double>(w) / pictureWidth, static_cast<double>(h) / pictureHeight);
    return SIZE { CLng(pictureWidth * scale), CLng(pictureHeight * scale) };
}

void ReleasePicture(PreparedPicture& prepared)
{
    if (prepared.PictureWork)
        DeleteObject(prepared.PictureWork);
    prepared.PictureWork = nullptr;
}

void PreparePicture(PreparedPicture& prepared, HANDLE picture, bool isIcon, HDC dc, std::int32_t w, std::int32_t h)
{
    if (!picture)
        return;
    ReleasePicture(prepared);
    if (isIcon)
        return;
    HDC work = CreateCompatibleDC(dc);
    prepared.PictureWork = static_cast<HBITMAP>(CopyImage(picture, IMAGE_BITMAP, w, h, 0));
    HGDIOBJ old = SelectObject(work, prepared.PictureWork);
    const COLORREF key = GetPixel(work, 0, 0);
    // Only the picture's own pixels: those one past its edges are no pixels at all.
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (IsNearKey(GetPixel(work, x, y), key))
                SetPixelV(work, x, y, key);
    SelectObject(work, old);
    DeleteDC(work);
    prepared.PictureWorkWidth = w;
    prepared.PictureWorkHeight = h;
}

void DrawTransparentImage(HDC destDC, const RECT& destRect, const PreparedPicture& source, std::int32_t w,
                          std::int32_t h)
{
    const std::int32_t sourceWidth = source.PictureWorkWidth;
    const std::int32_t sourceHeight = source.PictureWorkHeight;
    const std::int32_t destWidth = destRect.right ? Width(destRect) : w;
    const std::int32_t destHeight = destRect.bottom ? Height(destRect) : h;
    if (!source.PictureWork || w <= 0 || h <= 0 || destWidth <= 0 || destHeight <= 0)
        return;
    if (destWidth < w || destHeight < h) {
        const float scale = std::min(static_cast<float>(destWidth) / static_cast<float>(w),
                                     static_cast<float>(destHeight) / static_cast<float>(h));
        w = CLng(scale * static_cast<float>(w));
        h = CLng(scale * static_cast<float>(h));
    }

    HDC screen = GetDC(nullptr);
    HDC sourceDC = CreateCompatibleDC(screen);
    HGDIOBJ sourceOld = SelectObject(sourceDC, source.PictureWork);
    const COLORREF key = static_cast<COLORREF>(TranslateColor(static_cast<OleColor>(GetPixel(sourceDC, 0, 0))));
    {
        MemoryImage picture(screen, CreateCompatibleBitmap(screen, sourceWidth, sourceHeight));
        MemoryImage back(screen, CreateCompatibleBitmap(screen, destWidth, destHeight));
        MemoryImage mask(screen, CreateBitmap(sourceWidth, sourceHeight, 1, 1, nullptr));
        SetMapMode(back.Dc(), GetMapMode(destDC));

        BitBlt(back.Dc(), 0, 0, destWidth, destHeight, destDC, destRect.left, destRect.top, SRCCOPY);
        SetBkColor(picture.Dc(), GetBkColor(sourceDC));
        SetTextColor(picture.Dc(), GetTextColor(sourceDC));
        BitBlt(picture.Dc(), 0, 0, sourceWidth, sourceHeight, sourceDC, 0, 0, SRCCOPY);

        // Key pixels become 1 in the mask, and black in the picture.
        SetBkColor(picture.Dc(), key);
        SetTextColor(picture.Dc(), kWhite);
        BitBlt(mask.Dc(), 0, 0, sourceWidth, sourceHeight, picture.Dc(), 0, 0, SRCCOPY);
        SetTextColor(picture.Dc(), kBlack);
        SetBkColor(picture.Dc(), kWhite);
        BitBlt(picture.Dc(), 0, 0, sourceWidth, sourceHeight, mask.Dc(), 0, 0, kBlackenMasked);

        StretchBlt(back.Dc(), 0, 0, w, h, mask.Dc(), 0, 0, sourceWidth, sourceHeight, SRCAND);
        StretchBlt(back.Dc(), 0, 0, w, h, picture.Dc(), 0, 0, sourceWidth, sourceHeight, SRCPAINT);
        BitBlt(destDC, destRect.left, destRect.top, destWidth, destHeight, back.Dc(), 0, 0, SRCCOPY);
    }
    SelectObject(sourceDC, sourceOld);
    DeleteDC(sourceDC);
    ReleaseDC(nullptr, screen);
}

void DrawPicture(const ButtonLook& look, BackBuffer& buffer, RECT rect)
{
    if (look.PictureWidth + look.PictureHeight == 0)
        return;
    // Without the control's copy to keep (a face drawn on its own), one for this draw.
    struct OwnCopy {
        PreparedPicture picture;
        ~OwnCopy() { ReleasePicture(picture); }
    } own;
    PreparedPicture& prepared = look.Prepared ? *look.Prepared : own.picture;
    if (!prepared.PictureWork)
        PreparePicture(prepared, look.Picture, look.PictureIsIcon == 1, buffer.BufferDC, Width(rect), Height(rect));
    if (look.ButtonShape >= kFirstPictureShape) {
        rect = RECT { 0, 0, CLng(look.ScaleWidth), CLng(look.ScaleHeight) };
        if (look.Pressed())
            InflateRect(&rect, -1, -1);
    }
    const std::int32_t w = Width(rect);
    const std::int32_t h = Height(rect);
    if (w <= 0 || h <= 0)
        return;

    auto draw = [&](HDC target, const RECT& at) {
        if (look.PictureIsIcon == 1)
            DrawIconEx(target, at.left, at.top, static_cast<HICON>(look.Picture), w, h, 0, nullptr, DI_NORMAL);
        else
            DrawTransparentImage(target, at, prepared, w, h);
    };
    if (look.Enabled) {
        draw(buffer.BufferDC, rect);
        return;
    }
    // Drawn on white apart, then stencilled onto the face where the picture belongs
    // (not at the corner the apart copy starts from).
    MemoryImage silhouette(buffer.BufferDC, CreateCompatibleBitmap(buffer.BufferDC, w, h));
    PatBlt(silhouette.Dc(), 0, 0, w, h, WHITENESS);
    draw(silhouette.Dc(), RECT { 0, 0, w, h });
    const COLORREF oldBack = SetBkColor(buffer.BufferDC, kWhite);
    HBRUSH grey = CreateSolidBrush(kGrey);
    HGDIOBJ oldBrush = SelectObject(buffer.BufferDC, grey);
    BitBlt(buffer.BufferDC, rect.left, rect.top, w, h, silhouette.Dc(), 0, 0, kGreyStencil);
    SelectObject(buffer.BufferDC, oldBrush);
    DeleteObject(grey);
    SetBkColor(buffer.BufferDC, oldBack);
}

} // namespace korvane::button

namespace korvane {

void gxButtons_H::PreparePicture(std::int32_t w, std::int32_t h)
{
    button::PreparePicture(m_preparedPicture, m_picture ? m_picture->Handle() : nullptr, m_pictureIsIcon == 1,
                           m_buffer.BufferDC, w, h);
}

} // namespace korvane
