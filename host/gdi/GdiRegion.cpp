// Regions and clipping.

#include "host/gdi/DrawContext.h"
#include "host/gdi/Gdi.h"
#include "host/gdi/GdiInternal.h"
#include "host/gdi/HandleTable.h"
#include "host/raster/Rop.h"

#include <cstdint>
#include <cstring>

using namespace korvane;
using namespace korvane::gdi;

namespace {

int Complexity(const raster::Region& region)
{
    switch (region.Complexity()) {
    case raster::RegionComplexity::Empty: return NULLREGION;
    case raster::RegionComplexity::Simple: return SIMPLEREGION;
    case raster::RegionComplexity::Complex: return COMPLEXREGION;
    }
    return ERROR;
}

HRGN AddRegion(raster::Region region)
{
    auto object = std::make_unique<RegionObject>();
    object->region = std::move(region);
    return static_cast<HRGN>(HandleTable::Instance().Add(std::move(object)));
}

RECT ToRect(const raster::IntRect& r) { return { r.left, r.top, r.right, r.bottom }; }

raster::Region DeviceRegion(const DcObject& dc, const raster::Region& logical)
{
    raster::Region region = logical;
    region.Offset(dc.state.viewportOrigin.x, dc.state.viewportOrigin.y);
    return region;
}

// The clip as it stands, or the whole surface when there is none.
raster::Region CurrentClip(const DcObject& dc)
{
    if (dc.state.clip)
        return *dc.state.clip;
    return raster::Region(dc.surface ? dc.surface->Bounds() : raster::IntRect {});
}

int SetClip(DcObject& dc, raster::Region region)
{
    int result = Complexity(region);
    dc.state.clip = std::move(region);
    return result;
}

// Shapes are cut to the coordinate space, so that moving and framing them cannot overflow.
raster::IntRect SpaceRect(int left, int top, int right, int bottom)
{
    return { ClampCoordinate(left), ClampCoordinate(top), ClampCoordinate(right), ClampCoordinate(bottom) };
}

}

HRGN CreateRectRgn(int left, int top, int right, int bottom)
{
    return AddRegion(raster::Region(SpaceRect(left, top, right, bottom).Normalized()));
}

HRGN CreateRectRgnIndirect(const RECT* rect)
{
    return rect ? CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom) : nullptr;
}

HRGN CreateEllipticRgn(int left, int top, int right, int bottom)
{
    return AddRegion(raster::Region::FromEllipse(SpaceRect(left, top, right, bottom)));
}

HRGN CreateEllipticRgnIndirect(const RECT* rect)
{
    return rect ? CreateEllipticRgn(rect->left, rect->top, rect->right, rect->bottom) : nullptr;
}

HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int width, int height)
{
    return AddRegion(raster::Region::FromRoundRect(SpaceRect(left, top, right, bottom), ClampCoordinate(width),
                                                   ClampCoordinate(height)));
}

HRGN CreatePolygonRgn(const POINT* points, int count, int mode)
{
    return CreatePolyPolygonRgn(points, &count, 1, mode);
}

HRGN CreatePolyPolygonRgn(const POINT* points, const INT* counts, int polygons, int mode)
{
    if (!points || !counts || polygons <= 0 || (mode != ALTERNATE && mode != WINDING))
        return nullptr;
    std::vector<raster::IntPoint> all;
    std::vector<int> sizes;
    for (int i = 0; i < polygons; ++i) {
        if (counts[i] < 0)
            return nullptr;
        sizes.push_back(counts[i]);
    }
    std::size_t total = 0;
    for (int size : sizes)
        total += static_cast<std::size_t>(size);
    for (std::size_t i = 0; i < total; ++i)
        all.push_back({ ClampCoordinate(points[i].x), ClampCoordinate(points[i].y) });
    return AddRegion(raster::Region::FromPolygons(all, sizes, mode == WINDING ? raster::FillMode::Winding : raster::FillMode::Alternate));
}

int CombineRgn(HRGN dest, HRGN a, HRGN b, int mode)
{
    RegionObject* target = LookupRegion(dest);
    RegionObject* first = LookupRegion(a);
    if (!target || !first || mode < RGN_AND || mode > RGN_COPY)
        return ERROR;
    if (mode == RGN_COPY) {
        target->region = first->region;
        return Complexity(target->region);
    }
    RegionObject* second = LookupRegion(b);
    if (!second)
        return ERROR;
    static constexpr raster::RegionOp Ops[] = { raster::RegionOp::And, raster::RegionOp::Or, raster::RegionOp::Xor,
                                                raster::RegionOp::Diff };
    target->region = raster::Region::Combine(first->region, second->region, Ops[mode - RGN_AND]);
    return Complexity(target->region);
}

BOOL SetRectRgn(HRGN rgn, int left, int top, int right, int bottom)
{
    RegionObject* region = LookupRegion(rgn);
    if (!region)
        return FALSE;
    region->region = raster::Region(SpaceRect(left, top, right, bottom).Normalized());
    return TRUE;
}

int OffsetRgn(HRGN rgn, int dx, int dy)
{
    RegionObject* region = LookupRegion(rgn);
    if (!region)
        return ERROR;
    // A move out of the coordinate space fails and leaves the region where it was.
    const raster::IntRect& box = region->region.Box();
    auto fits = [](std::int64_t value) { return value >= -kCoordinateLimit && value <= kCoordinateLimit; };
    if (!box.IsEmpty() && !(fits(std::int64_t { box.left } + dx) && fits(std::int64_t { box.right } + dx) &&
                            fits(std::int64_t { box.top } + dy) && fits(std::int64_t { box.bottom } + dy)))
        return ERROR;
    region->region.Offset(dx, dy);
    return Complexity(region->region);
}

BOOL PtInRegion(HRGN rgn, int x, int y)
{
    RegionObject* region = LookupRegion(rgn);
    return region && region->region.Contains(x, y) ? TRUE : FALSE;
}

BOOL RectInRegion(HRGN rgn, const RECT* rect)
{
    RegionObject* region = LookupRegion(rgn);
    if (!region || !rect)
        return FALSE;
    return region->region.Intersects({ rect->left, rect->top, rect->right, rect->bottom }) ? TRUE : FALSE;
}

int GetRgnBox(HRGN rgn, LPRECT box)
{
    RegionObject* region = LookupRegion(rgn);
    if (!region || !box)
        return ERROR;
    *box = ToRect(region->region.Box());
    return Complexity(region->region);
}

BOOL EqualRgn(HRGN a, HRGN b)
{
    RegionObject* first = LookupRegion(a);
    RegionObject* second = LookupRegion(b);
    if (!first || !second)
        return ERROR;
    // Compare pixel sets, not the way the rectangles happen to be split.
    return raster::Region::Combine(first->region, second->region, raster::RegionOp::Xor).IsEmpty() ? TRUE : FALSE;
}

DWORD GetRegionData(HRGN rgn, DWORD count, LPRGNDATA data)
{
    RegionObject* region = LookupRegion(rgn);
    if (!region)
        return 0;
    std::span<const raster::IntRect> rects = region->region.Rects();
    DWORD needed = static_cast<DWORD>(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
    if (!data)
        return needed;
    if (count < needed)
        return 0;
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = static_cast<DWORD>(rects.size());
    data->rdh.nRgnSize = static_cast<DWORD>(rects.size() * sizeof(RECT));
    data->rdh.rcBound = ToRect(region->region.Box());
    char* out = data->Buffer;
    for (const raster::IntRect& r : rects) {
        RECT rect = ToRect(r);
        std::memcpy(out, &rect, sizeof(RECT));
        out += sizeof(RECT);
    }
    return needed;
}

BOOL FillRgn(HDC hdc, HRGN rgn, HBRUSH brush)
{
    auto context = DrawContext::For(hdc);
    RegionObject* region = LookupRegion(rgn);
    if (!context || !region || !LookupBrush(brush))
        return FALSE;
    context->Painter().FillRegion(DeviceRegion(context->Dc(), region->region), context->BrushPattern(brush),
                                  raster::Rop::PatternCopy);
    return TRUE;
}

BOOL PaintRgn(HDC hdc, HRGN rgn)
{
    DcObject* dc = LookupDc(hdc);
    return dc ? FillRgn(hdc, rgn, dc->state.brush) : FALSE;
}

BOOL InvertRgn(HDC hdc, HRGN rgn)
{
    auto context = DrawContext::For(hdc);
    RegionObject* region = LookupRegion(rgn);
    if (!context || !region)
        return FALSE;
    context->Painter().FillRegion(DeviceRegion(context->Dc(), region->region), raster::Pattern::Empty(),
                                  raster::Rop::DestinationInvert);
    return TRUE;
}

BOOL FrameRgn(HDC hdc, HRGN rgn, HBRUSH brush, int width, int height)
{
    auto context = DrawContext::For(hdc);
    RegionObject* region = LookupRegion(rgn);
    if (!context || !region || !LookupBrush(brush) || width <= 0 || height <= 0 || width > kCoordinateLimit ||
        height > kCoordinateLimit)
        return FALSE;
    // The frame is the region minus the region shrunk by width and height: the part of it
    // that a copy moved by up to (width, height) in any direction does not cover.
    const raster::Region& shape = region->region;
    raster::Region inner = shape;
    for (int dx : { -width, width }) {
        raster::Region moved = shape;
        moved.Offset(dx, 0);
        inner = raster::Region::Combine(inner, moved, raster::RegionOp::And);
    }
    for (int dy : { -height, height }) {
        raster::Region moved = shape;
        moved.Offset(0, dy);
        inner = raster::Region::Combine(inner, moved, raster::RegionOp::And);
    }
    raster::Region frame = raster::Region::Combine(shape, inner, raster::RegionOp::Diff);
    context->Painter().FillRegion(DeviceRegion(context->Dc(), frame), context->BrushPattern(brush), raster::Rop::PatternCopy);
    return TRUE;
}

int SelectClipRgn(HDC hdc, HRGN rgn)
{
    DcObject* dc = LookupDc(hdc);
    if (!dc)
        return ERROR;
    if (!rgn) {
        dc->state.clip.reset();
        return SIMPLEREGION;
    }
    RegionObject* region = LookupRegion(rgn);
    if (!region)
        return ERROR;
    // The DC keeps its own copy; later changes to the region do not move the clip.
    return SetClip(*dc, DeviceRegion(*dc, region->region));
}

int ExtSelectClipRgn(HDC hdc, HRGN rgn, int mode)
{
    DcObject* dc = LookupDc(hdc);
    if (!dc)
        return ERROR;
    if (mode == RGN_COPY || (!rgn && mode == RGN_COPY))
        return SelectClipRgn(hdc, rgn);
    RegionObject* region = LookupRegion(rgn);
    if (!region || mode < RGN_AND || mode > RGN_DIFF)
        return ERROR;
    static constexpr raster::RegionOp Ops[] = { raster::RegionOp::And, raster::RegionOp::Or, raster::RegionOp::Xor,
                                                raster::RegionOp::Diff };
    return SetClip(*dc, raster::Region::Combine(CurrentClip(*dc), DeviceRegion(*dc, region->region), Ops[mode - RGN_AND]));
}

int GetClipRgn(HDC hdc, HRGN rgn)
{
    DcObject* dc = LookupDc(hdc);
    RegionObject* region = LookupRegion(rgn);
    if (!dc || !region)
        return -1;
    if (!dc->state.clip)
        return 0;
    region->region = *dc->state.clip;
    return 1;
}

int GetClipBox(HDC hdc, LPRECT rect)
{
    DcObject* dc = LookupDc(hdc);
    if (!dc || !rect)
        return ERROR;
    if (!dc->state.clip) {
        // Without a clip the surface is all there is.
        const raster::IntRect bounds = dc->surface ? dc->surface->Bounds() : raster::IntRect {};
        *rect = ToRect(bounds.IsEmpty() ? raster::IntRect {} : bounds.Translated(-dc->state.viewportOrigin.x, -dc->state.viewportOrigin.y));
        return bounds.IsEmpty() ? NULLREGION : SIMPLEREGION;
    }
    raster::Region visible = raster::Region::Combine(CurrentClip(*dc), raster::Region(dc->surface->Bounds()), raster::RegionOp::And);
    raster::IntRect box = visible.Box().Translated(-dc->state.viewportOrigin.x, -dc->state.viewportOrigin.y);
    *rect = ToRect(visible.IsEmpty() ? raster::IntRect {} : box);
    return Complexity(visible);
}

namespace {

// Combines the clip with a rectangle given in logical units.
int CombineClipRect(HDC hdc, int left, int top, int right, int bottom, raster::RegionOp op)
{
    DcObject* dc = LookupDc(hdc);
    if (!dc)
        return ERROR;
    POINT a = ToDevice(*dc, left, top);
    POINT b = ToDevice(*dc, right, bottom);
    raster::Region rect(raster::IntRect { a.x, a.y, b.x, b.y }.Normalized());
    return SetClip(*dc, raster::Region::Combine(CurrentClip(*dc), rect, op));
}

} // namespace

int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom)
{
    return CombineClipRect(hdc, left, top, right, bottom, raster::RegionOp::And);
}

int ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom)
{
    return CombineClipRect(hdc, left, top, right, bottom, raster::RegionOp::Diff);
}
