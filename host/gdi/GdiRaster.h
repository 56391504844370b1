#pragma once

// Where the facade meets the pixels and shapes of host/raster, for the layers above
// that keep their own (a window's surface, a picture's bitmap, a window's region).
// Not Win32; handles made here are ordinary GDI objects and are deleted as such.

#include "host/gdi/WinTypes.h"
#include "host/raster/Region.h"
#include "host/raster/Surface.h"

#include <memory>
#include <optional>

namespace korvane::gdi {

// A device context drawing on `surface` itself, not on a copy, so what it draws stays
// with whoever holds the surface. ReleaseDC (or DeleteDC) ends it.
HDC CreateSurfaceDC(std::shared_ptr<raster::Surface> surface);

// A bitmap holding `surface`; DeleteObject deletes it.
HBITMAP CreateSurfaceBitmap(raster::Surface surface);
// The pixels of a bitmap, valid until it is deleted; nullptr for a bad handle.
const raster::Surface* BitmapSurface(HBITMAP bitmap);

// A copy of a region's shape; nothing for a bad handle.
std::optional<raster::Region> RegionShape(HRGN region);
// Gives a region a new shape; FALSE for a bad handle.
BOOL SetRegionShape(HRGN region, raster::Region shape);

} // namespace korvane::gdi
