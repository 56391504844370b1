#include "host/gdi/GdiRaster.h"

#include "host/gdi/Gdi.h"
#include "host/gdi/GdiInternal.h"

namespace korvane::gdi {

HDC CreateSurfaceDC(std::shared_ptr<raster::Surface> surface)
{
    // A display DC, so ReleaseDC ends it, retargeted at the surface: no bitmap of its own.
    HDC hdc = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    if (DcObject* dc = LookupDc(hdc))
        dc->surface = std::move(surface);
    return hdc;
}

HBITMAP CreateSurfaceBitmap(raster::Surface surface) { return RegisterBitmap(std::move(surface)); }

const raster::Surface* BitmapSurface(HBITMAP bitmap) { return SurfaceOf(bitmap); }

std::optional<raster::Region> RegionShape(HRGN region)
{
    const RegionObject* object = LookupRegion(region);
    if (!object)
        return std::nullopt;
    return object->region;
}

BOOL SetRegionShape(HRGN region, raster::Region shape)
{
    RegionObject* object = LookupRegion(region);
    if (!object)
        return FALSE;
    object->region = std::move(shape);
    return TRUE;
}

} // namespace korvane::gdi
