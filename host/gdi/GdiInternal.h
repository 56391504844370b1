#pragma once

// The GDI facade's insides, for modules that draw onto it (text, images, the window
// system). Nothing here is a Win32 API; it may change with the facade. All calls are
// for the UI thread only.

#include "host/gdi/HandleTable.h"
#include "host/gdi/WinTypes.h"
#include "host/raster/Brush.h"
#include "host/raster/Painter.h"
#include "host/raster/Region.h"
#include "host/raster/Sanitizer.h"
#include "host/raster/Surface.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

namespace korvane::gdi {

// Objects created and not yet deleted, stock objects excluded. A fixture that ends with
// the same counts as it began leaked nothing.
std::size_t LiveObjectCount(ObjectKind kind);
std::size_t LiveObjectCount();

// GDI's coordinate space is 27 bits wide each way, so that a shape within it can be
// moved by any amount within it without overflowing an int.
constexpr int kCoordinateLimit = 1 << 27;
constexpr int ClampCoordinate(int value)
{
    return value < -kCoordinateLimit ? -kCoordinateLimit : value > kCoordinateLimit ? kCoordinateLimit : value;
}

// Colour conversions between COLORREF (0x00BBGGRR) and device pixels (0x00RRGGBB).
constexpr raster::PixelValue ToPixel(COLORREF colour)
{
    return ((colour & 0xFFu) << 16) | (colour & 0xFF00u) | ((colour >> 16) & 0xFFu);
}
constexpr COLORREF ToColorRef(raster::PixelValue pixel)
{
    return ((pixel & 0xFFu) << 16) | (pixel & 0xFF00u) | ((pixel >> 16) & 0xFFu);
}

// Pens and brushes are made and deleted around almost every line a control draws, so
// their memory is kept for the next one instead of going back to the heap. Under
// AddressSanitizer every object comes from the heap, so use after free is still caught.
template <typename T>
class Recycled {
public:
    static void* operator new(std::size_t size)
    {
        if (Recycles(size) && s_count > 0)
            return s_free[--s_count];
        return ::operator new(size);
    }
    static void operator delete(void* block, std::size_t size)
    {
        if (Recycles(size) && s_count < Keep) {
            s_free[s_count++] = block;
            return;
        }
        ::operator delete(block);
    }

private:
    static constexpr bool Recycles(std::size_t size)
    {
#if defined(KORVANE_ADDRESS_SANITIZER)
        (void)size;
        return false;
#else
        return size == sizeof(T);
#endif
    }
    // Plain storage with no destructor: objects freed while the program exits still
    // find it intact.
    static constexpr std::size_t Keep = 64;
    static inline constinit void* s_free[Keep] {};
    static inline constinit std::size_t s_count = 0;
};

struct BitmapObject : GdiObject {
    BitmapObject() : GdiObject(ObjectKind::Bitmap) {}
    std::shared_ptr<raster::Surface> surface;
};

// A pen never changes once made, so what every line drawn with it asks (its device
// colour, and whether it draws solid and one pixel wide) is settled here, once.
struct PenObject final : GdiObject, Recycled<PenObject> {
    explicit PenObject(const LOGPEN& log, bool isExtended = false)
        : GdiObject(ObjectKind::Pen), logPen(log), extended(isExtended), pixel(ToPixel(log.lopnColor)),
          thinSolid(IsThinSolid(log))
    {
    }
    const LOGPEN logPen;
    const bool extended;
    const raster::PixelValue pixel;
    const bool thinSolid; // its lines are solid and one pixel wide

private:
    static constexpr bool IsThinSolid(const LOGPEN& log)
    {
        if (log.lopnWidth.x > 1)
            return false;
        switch (log.lopnStyle & PS_STYLE_MASK) {
        case PS_DASH:
        case PS_DOT:
        case PS_DASHDOT:
        case PS_DASHDOTDOT:
        case PS_NULL:
        case PS_ALTERNATE: return false;
        default: return true;
        }
    }
};

struct BrushObject : GdiObject, Recycled<BrushObject> {
    BrushObject() : GdiObject(ObjectKind::Brush) {}
    LOGBRUSH logBrush {};
    raster::Brush brush;
};

// A font: the LOGFONTA it was created from and whatever the text engine attaches.
struct FontObject : GdiObject {
    FontObject() : GdiObject(ObjectKind::Font) {}
    LOGFONTA logFont {};
    std::shared_ptr<void> engine;
};

struct RegionObject : GdiObject {
    RegionObject() : GdiObject(ObjectKind::Region) {}
    raster::Region region;
};

// An icon or cursor: private copies of its colour and mask bitmaps.
struct IconObject : GdiObject {
    IconObject() : GdiObject(ObjectKind::Icon) {}
    bool isIcon = true;
    POINT hotspot {};
    std::shared_ptr<raster::Surface> colour; // may be null for monochrome icons
    std::shared_ptr<raster::Surface> mask;   // for monochrome icons: AND mask above XOR mask
};

struct DcState {
    HPEN pen = nullptr;
    HBRUSH brush = nullptr;
    HFONT font = nullptr;
    // The objects those handles name. A selected object cannot be deleted, so these
    // stay valid while selected, and drawing and selecting need not look them up.
    PenObject* penObject = nullptr;
    BrushObject* brushObject = nullptr;
    FontObject* fontObject = nullptr;
    COLORREF textColour = 0x000000;
    COLORREF bkColour = 0xFFFFFF;
    int bkMode = OPAQUE;
    int rop2 = R2_COPYPEN;
    int stretchMode = BLACKONWHITE;
    int polyFillMode = ALTERNATE;
    int mapMode = MM_TEXT;
    POINT position {};
    POINT brushOrigin {};
    POINT viewportOrigin {};
    std::optional<raster::Region> clip; // device coordinates
};

struct DcObject : GdiObject {
    DcObject() : GdiObject(ObjectKind::DeviceContext) {}
    bool isScreen = false;
    HBITMAP bitmap = nullptr; // memory DCs
    std::shared_ptr<raster::Surface> surface;
    DcState state;
    std::vector<DcState> saved;
};

// Typed lookups; each returns nullptr for a handle that is not a live object of its kind.
// Every drawing call makes several, so they are inline.
inline DcObject* LookupDc(HDC hdc) { return HandleTable::Instance().Find<DcObject>(hdc, ObjectKind::DeviceContext); }
inline BitmapObject* LookupBitmap(HBITMAP hbm) { return HandleTable::Instance().Find<BitmapObject>(hbm, ObjectKind::Bitmap); }
inline PenObject* LookupPen(HPEN pen) { return HandleTable::Instance().Find<PenObject>(pen, ObjectKind::Pen); }
BrushObject* LookupSysColourBrush(int index);
inline BrushObject* LookupBrush(HBRUSH brush)
{
    // (HBRUSH)(COLOR_x + 1) names the system-colour brush, as in window class backgrounds.
    auto value = reinterpret_cast<std::uintptr_t>(brush);
    if (value >= 1 && value <= 31)
        return LookupSysColourBrush(static_cast<int>(value - 1));
    return HandleTable::Instance().Find<BrushObject>(brush, ObjectKind::Brush);
}
inline FontObject* LookupFont(HFONT font) { return HandleTable::Instance().Find<FontObject>(font, ObjectKind::Font); }
inline RegionObject* LookupRegion(HRGN rgn) { return HandleTable::Instance().Find<RegionObject>(rgn, ObjectKind::Region); }
inline IconObject* LookupIcon(HICON icon) { return HandleTable::Instance().Find<IconObject>(icon, ObjectKind::Icon); }

// Registration for objects made by other modules (fonts by the text engine, bitmaps
// and icons by the image codecs).
HFONT RegisterFont(const LOGFONTA& logFont, std::shared_ptr<void> engine);
HBITMAP RegisterBitmap(raster::Surface surface);
HICON RegisterIcon(std::unique_ptr<IconObject> icon);
BOOL DeleteIconObject(HICON icon);

// The surface behind a DC or bitmap, or nullptr.
raster::Surface* SurfaceOf(HDC hdc);
raster::Surface* SurfaceOf(HBITMAP hbm);
// A DC's clip in device coordinates, or nullptr when it has none.
const raster::Region* ClipOf(HDC hdc);
// A painter on the DC's surface through its clip; empty when the handle is bad.
std::optional<raster::Painter> PainterFor(HDC hdc);
// Logical to device coordinates for a DC (the viewport origin is the only mapping).
inline POINT ToDevice(const DcObject& dc, int x, int y)
{
    return { x + dc.state.viewportOrigin.x, y + dc.state.viewportOrigin.y };
}

// The virtual screen behind GetDC(NULL) and CreateDCA("DISPLAY"); the window system sets its size.
raster::Surface& ScreenSurface();
void SetScreenSize(int width, int height);

// A copy of the pixels behind a DC or bitmap, top row first, as 0x00RRGGBB (ReadPixels)
// or as COLORREFs (ReadColorRefs). Empty for a bad handle.
std::vector<raster::PixelValue> ReadPixels(HDC hdc);
std::vector<COLORREF> ReadColorRefs(HDC hdc);
std::vector<raster::PixelValue> ReadPixels(HBITMAP hbm);

}
