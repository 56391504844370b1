// Block transfers: BitBlt, StretchBlt, PatBlt, MaskBlt.

#include "host/gdi/DrawContext.h"
#include "host/gdi/Gdi.h"
#include "host/gdi/GdiInternal.h"
#include "host/raster/Rop.h"

using namespace korvane;
using namespace korvane::gdi;

namespace korvane::gdi {
raster::IntRect NormalizedBltRect(int x, int y, int cx, int cy);
}

namespace {

std::uint8_t RopCode(DWORD rop) { return static_cast<std::uint8_t>((rop >> 16) & 0xFFu); }

raster::SourceMap MapFor(DcObject& source, DcObject& dest)
{
    return raster::SourceMap::For(*source.surface, *dest.surface, ToPixel(dest.state.textColour),
                                  ToPixel(dest.state.bkColour), ToPixel(source.state.bkColour));
}

raster::StretchMode ModeOf(int mode)
{
    switch (mode) {
    case WHITEONBLACK: return raster::StretchMode::WhiteOnBlack;
    case COLORONCOLOR:
    case HALFTONE: return raster::StretchMode::ColourOnColour;
    default: return raster::StretchMode::BlackOnWhite;
    }
}

}

BOOL PatBlt(HDC hdc, int x, int y, int cx, int cy, DWORD rop)
{
    auto context = DrawContext::For(hdc);
    if (!context)
        return FALSE;
    std::uint8_t code = RopCode(rop);
    if (raster::Rop::UsesSource(code))
        return FALSE;
    POINT p = context->ToDevice(x, y);
    context->Painter().FillRect(NormalizedBltRect(p.x, p.y, cx, cy), context->CurrentBrushPattern(), code);
    return TRUE;
}

BOOL BitBlt(HDC dest, int x, int y, int cx, int cy, HDC source, int x1, int y1, DWORD rop)
{
    std::uint8_t code = RopCode(rop);
    if (!raster::Rop::UsesSource(code))
        return PatBlt(dest, x, y, cx, cy, rop);
    auto context = DrawContext::For(dest);
    DcObject* from = LookupDc(source);
    if (!context || !from || !from->surface)
        return FALSE;
    if (cx <= 0 || cy <= 0)
        return TRUE;
    POINT p = context->ToDevice(x, y);
    POINT s = ToDevice(*from, x1, y1);
    // Resolving a patterned brush allocates, so only operations that read it pay for it.
    raster::Pattern pattern = raster::Rop::UsesPattern(code) ? context->CurrentBrushPattern() : raster::Pattern::Empty();
    context->Painter().Blit({ p.x, p.y, p.x + cx, p.y + cy }, *from->surface, { s.x, s.y }, MapFor(*from, context->Dc()),
                            pattern, code);
    return TRUE;
}

BOOL StretchBlt(HDC dest, int x, int y, int cx, int cy, HDC source, int x1, int y1, int cx1, int cy1, DWORD rop)
{
    std::uint8_t code = RopCode(rop);
    if (!raster::Rop::UsesSource(code))
        return PatBlt(dest, x, y, cx, cy, rop);
    auto context = DrawContext::For(dest);
    DcObject* from = LookupDc(source);
    if (!context || !from || !from->surface)
        return FALSE;
    POINT p = context->ToDevice(x, y);
    POINT s = ToDevice(*from, x1, y1);
    // A negative extent runs back from its start pixel and includes it: -3 at x covers x - 2 to x.
    auto edge = [](int start, int extent) { return extent < 0 ? start + 1 : start; };
    p = { edge(p.x, cx), edge(p.y, cy) };
    s = { edge(s.x, cx1), edge(s.y, cy1) };
    context->Painter().StretchBlit({ p.x, p.y, p.x + cx, p.y + cy }, *from->surface, { s.x, s.y, s.x + cx1, s.y + cy1 },
                                   MapFor(*from, context->Dc()), context->CurrentBrushPattern(), code,
                                   ModeOf(context->Dc().state.stretchMode));
    return TRUE;
}

BOOL MaskBlt(HDC dest, int x, int y, int cx, int cy, HDC source, int x1, int y1, HBITMAP mask, int xMask, int yMask,
             DWORD rop)
{
    if (!mask)
        return BitBlt(dest, x, y, cx, cy, source, x1, y1, rop);
    raster::Surface* maskSurface = SurfaceOf(mask);
    auto context = DrawContext::For(dest);
    DcObject* from = LookupDc(source);
    if (!context || !maskSurface || !maskSurface->IsMonochrome())
        return FALSE;
    // Mask bits of 1 use the foreground operation (low byte pair), 0 the background one.
    std::uint8_t foreground = RopCode(rop);
    std::uint8_t background = static_cast<std::uint8_t>((rop >> 24) & 0xFFu);
    bool needsSource = raster::Rop::UsesSource(foreground) || raster::Rop::UsesSource(background);
    if (needsSource && (!from || !from->surface))
        return FALSE;
    POINT p = context->ToDevice(x, y);
    POINT s = from ? ToDevice(*from, x1, y1) : POINT {};
    raster::Pattern pattern = context->CurrentBrushPattern();
    raster::SourceMap map = from ? MapFor(*from, context->Dc()) : raster::SourceMap {};
    for (int row = 0; row < cy; ++row) {
        for (int col = 0; col < cx; ++col) {
            int mx = xMask + col;
            int my = yMask + row;
            bool bit = mx >= 0 && my >= 0 && mx < maskSurface->Width() && my < maskSurface->Height() && maskSurface->At(mx, my);
            std::uint8_t code = bit ? foreground : background;
            raster::IntRect pixel { p.x + col, p.y + row, p.x + col + 1, p.y + row + 1 };
            if (raster::Rop::UsesSource(code))
                context->Painter().Blit(pixel, *from->surface, { s.x + col, s.y + row }, map, pattern, code);
            else
                context->Painter().FillRect(pixel, pattern, code);
        }
    }
    return TRUE;
}
