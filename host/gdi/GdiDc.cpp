// DC state: colours, modes, origins, SaveDC/RestoreDC, and single pixels.

#include "host/gdi/DrawContext.h"
#include "host/gdi/Gdi.h"
#include "host/gdi/GdiInternal.h"

using namespace korvane;
using namespace korvane::gdi;

namespace {

// Sets one DC field and returns the old value, or `failure` for a bad handle.
template<typename T, typename Field>
T Exchange(HDC hdc, Field field, T value, T failure)
{
    DcObject* dc = LookupDc(hdc);
    if (!dc)
        return failure;
    T previous = dc->state.*field;
    dc->state.*field = value;
    return previous;
}

template<typename T, typename Field>
T Read(HDC hdc, Field field, T failure)
{
    DcObject* dc = LookupDc(hdc);
    return dc ? dc->state.*field : failure;
}

// The ...OrgEx setters: the old point goes to `previous` when one is given.
BOOL ExchangePoint(HDC hdc, POINT DcState::*field, POINT value, LPPOINT previous)
{
    DcObject* dc = LookupDc(hdc);
    if (!dc)
        return FALSE;
    if (previous)
        *previous = dc->state.*field;
    dc->state.*field = value;
    return TRUE;
}

// The Get...Ex calls: unlike the setters, they fail without a place to write to.
BOOL ReadPoint(HDC hdc, POINT DcState::*field, LPPOINT out)
{
    DcObject* dc = LookupDc(hdc);
    if (!dc || !out)
        return FALSE;
    *out = dc->state.*field;
    return TRUE;
}

}

COLORREF GetPixel(HDC hdc, int x, int y)
{
    auto context = DrawContext::For(hdc);
    if (!context)
        return CLR_INVALID;
    POINT p = context->ToDevice(x, y);
    if (!context->Painter().IsVisible(p.x, p.y))
        return CLR_INVALID;
    raster::PixelValue value = context->Surface().At(p.x, p.y);
    return ToColorRef(value);
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF colour)
{
    DcObject* dc = LookupDc(hdc);
    if (!dc || !dc->surface)
        return CLR_INVALID;
    // Visible where a painter would let it be, without making one for a single pixel:
    // on the surface and inside the clip.
    const POINT p = ToDevice(*dc, x, y);
    raster::Surface& surface = *dc->surface;
    if (!surface.Bounds().Contains(p.x, p.y) || (dc->state.clip && !dc->state.clip->Contains(p.x, p.y)))
        return CLR_INVALID;
    surface.Set(p.x, p.y, ToPixel(colour));
    return ToColorRef(surface.At(p.x, p.y));
}

BOOL SetPixelV(HDC hdc, int x, int y, COLORREF colour)
{
    if (!LookupDc(hdc))
        return FALSE;
    // Pixels outside the surface or the clip are silently dropped, which still succeeds.
    SetPixel(hdc, x, y, colour);
    return TRUE;
}

int GetMapMode(HDC hdc) { return Read(hdc, &DcState::mapMode, 0); }

int SetMapMode(HDC hdc, int mode)
{
    // Only MM_TEXT is served: one logical unit is one pixel.
    if (mode != MM_TEXT)
        return 0;
    return Exchange(hdc, &DcState::mapMode, mode, 0);
}

COLORREF SetBkColor(HDC hdc, COLORREF colour) { return Exchange(hdc, &DcState::bkColour, colour, static_cast<COLORREF>(CLR_INVALID)); }
COLORREF GetBkColor(HDC hdc) { return Read(hdc, &DcState::bkColour, static_cast<COLORREF>(CLR_INVALID)); }
COLORREF SetTextColor(HDC hdc, COLORREF colour) { return Exchange(hdc, &DcState::textColour, colour, static_cast<COLORREF>(CLR_INVALID)); }
COLORREF GetTextColor(HDC hdc) { return Read(hdc, &DcState::textColour, static_cast<COLORREF>(CLR_INVALID)); }
int SetBkMode(HDC hdc, int mode) { return Exchange(hdc, &DcState::bkMode, mode, 0); }
int GetBkMode(HDC hdc) { return Read(hdc, &DcState::bkMode, 0); }

int SetROP2(HDC hdc, int rop2)
{
    if (rop2 < R2_BLACK || rop2 > R2_WHITE)
        return 0;
    return Exchange(hdc, &DcState::rop2, rop2, 0);
}
int GetROP2(HDC hdc) { return Read(hdc, &DcState::rop2, 0); }

int SetStretchBltMode(HDC hdc, int mode)
{
    if (mode < BLACKONWHITE || mode > HALFTONE)
        return 0;
    return Exchange(hdc, &DcState::stretchMode, mode, 0);
}
int GetStretchBltMode(HDC hdc) { return Read(hdc, &DcState::stretchMode, 0); }

int SetPolyFillMode(HDC hdc, int mode)
{
    if (mode != ALTERNATE && mode != WINDING)
        return 0;
    return Exchange(hdc, &DcState::polyFillMode, mode, 0);
}
int GetPolyFillMode(HDC hdc) { return Read(hdc, &DcState::polyFillMode, 0); }

BOOL SetBrushOrgEx(HDC hdc, int x, int y, LPPOINT previous)
{
    return ExchangePoint(hdc, &DcState::brushOrigin, { x, y }, previous);
}

BOOL GetBrushOrgEx(HDC hdc, LPPOINT origin) { return ReadPoint(hdc, &DcState::brushOrigin, origin); }

BOOL SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT previous)
{
    return ExchangePoint(hdc, &DcState::viewportOrigin, { x, y }, previous);
}

BOOL GetViewportOrgEx(HDC hdc, LPPOINT origin) { return ReadPoint(hdc, &DcState::viewportOrigin, origin); }

BOOL GetCurrentPositionEx(HDC hdc, LPPOINT position) { return ReadPoint(hdc, &DcState::position, position); }

int SaveDC(HDC hdc)
{
    DcObject* dc = LookupDc(hdc);
    if (!dc)
        return 0;
    // The saved state holds its own references to the selected objects.
    ++dc->state.penObject->selectionCount;
    ++dc->state.brushObject->selectionCount;
    ++dc->state.fontObject->selectionCount;
    dc->saved.push_back(dc->state);
    return static_cast<int>(dc->saved.size());
}

BOOL RestoreDC(HDC hdc, int saved)
{
    DcObject* dc = LookupDc(hdc);
    if (!dc)
        return FALSE;
    int depth = static_cast<int>(dc->saved.size());
    int target = saved < 0 ? depth + saved + 1 : saved;
    if (target < 1 || target > depth)
        return FALSE;
    auto release = [](DcState& state) {
        --state.penObject->selectionCount;
        --state.brushObject->selectionCount;
        --state.fontObject->selectionCount;
    };
    // The current state's references go; the restored one's move back into the DC.
    release(dc->state);
    while (static_cast<int>(dc->saved.size()) > target) {
        release(dc->saved.back());
        dc->saved.pop_back();
    }
    dc->state = dc->saved.back();
    dc->saved.pop_back();
    return TRUE;
}
