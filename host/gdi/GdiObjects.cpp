// Object lifetime: DCs, bitmaps, pens, brushes, fonts and icons; selection and deletion.

#include "host/gdi/Gdi.h"
#include "host/gdi/GdiInternal.h"
#include "host/gdi/HandleTable.h"
#include "host/gdi/StockObjects.h"

#include <algorithm>
#include <cassert>
#include <cstring>

namespace korvane::gdi {

namespace {

HandleTable& Table()
{
    // Stock objects take the first slots, before anything a caller creates.
    static bool stockMade = false;
    if (!stockMade) [[unlikely]] {
        StockObjects::Get();
        stockMade = true;
    }
    return HandleTable::Instance();
}

// For lookups only: a handle that resolves was made after the stock objects, so
// finding one needs no check that they exist.
HandleTable& Objects() { return HandleTable::Instance(); }

std::shared_ptr<raster::Surface>& Screen()
{
    static std::shared_ptr<raster::Surface> screen
        = std::make_shared<raster::Surface>(1024, 768, raster::SurfaceFormat::Colour32, 0);
    return screen;
}

void Retain(HGDIOBJ h)
{
    if (GdiObject* object = Table().Find(h))
        ++object->selectionCount;
}

void Release(HGDIOBJ h)
{
    if (GdiObject* object = Table().Find(h)) {
        assert(object->selectionCount > 0 && "unbalanced GDI selection count");
        --object->selectionCount;
    }
}

HDC NewDc(std::shared_ptr<raster::Surface> surface, bool screen)
{
    auto dc = std::make_unique<DcObject>();
    dc->isScreen = screen;
    const StockObjects& stock = StockObjects::Get();
    dc->state.pen = static_cast<HPEN>(stock.Object(BLACK_PEN));
    dc->state.brush = static_cast<HBRUSH>(stock.Object(WHITE_BRUSH));
    dc->state.font = static_cast<HFONT>(stock.Object(SYSTEM_FONT));
    if (screen) {
        dc->surface = std::move(surface);
    } else {
        dc->bitmap = stock.DefaultBitmap();
        dc->surface = Table().Find<BitmapObject>(dc->bitmap, ObjectKind::Bitmap)->surface;
    }
    HDC handle = static_cast<HDC>(Table().Add(std::move(dc)));
    DcObject* created = LookupDc(handle);
    if (!created)
        return nullptr;
    DcState& state = created->state;
    state.penObject = LookupPen(state.pen);
    state.brushObject = LookupBrush(state.brush);
    state.fontObject = LookupFont(state.font);
    ++state.penObject->selectionCount;
    ++state.brushObject->selectionCount;
    ++state.fontObject->selectionCount;
    if (created->bitmap)
        Retain(created->bitmap);
    return handle;
}

HBITMAP NewBitmap(int width, int height, raster::SurfaceFormat format)
{
    auto bitmap = std::make_unique<BitmapObject>();
    bitmap->surface = std::make_shared<raster::Surface>(width, height, format, 0);
    return static_cast<HBITMAP>(Table().Add(std::move(bitmap)));
}

void ReleaseState(DcState& state)
{
    --state.penObject->selectionCount;
    --state.brushObject->selectionCount;
    --state.fontObject->selectionCount;
}

}

std::size_t LiveObjectCount(ObjectKind kind) { return Table().LiveCount(kind); }
std::size_t LiveObjectCount() { return Table().LiveCount(); }

BrushObject* LookupSysColourBrush(int index)
{
    return Table().Find<BrushObject>(StockObjects::Get().SysColourBrush(index), ObjectKind::Brush);
}

HFONT RegisterFont(const LOGFONTA& logFont, std::shared_ptr<void> engine)
{
    auto font = std::make_unique<FontObject>();
    font->logFont = logFont;
    font->engine = std::move(engine);
    return static_cast<HFONT>(Table().Add(std::move(font)));
}

HBITMAP RegisterBitmap(raster::Surface surface)
{
    auto bitmap = std::make_unique<BitmapObject>();
    bitmap->surface = std::make_shared<raster::Surface>(std::move(surface));
    return static_cast<HBITMAP>(Table().Add(std::move(bitmap)));
}

HICON RegisterIcon(std::unique_ptr<IconObject> icon)
{
    assert(icon && icon->mask && "an icon needs at least a mask bitmap");
    return static_cast<HICON>(Table().Add(std::move(icon)));
}

BOOL DeleteIconObject(HICON icon)
{
    if (!LookupIcon(icon))
        return FALSE;
    return Table().Remove(icon) ? TRUE : FALSE;
}

raster::Surface* SurfaceOf(HDC hdc)
{
    DcObject* dc = LookupDc(hdc);
    return dc ? dc->surface.get() : nullptr;
}

raster::Surface* SurfaceOf(HBITMAP hbm)
{
    BitmapObject* bitmap = LookupBitmap(hbm);
    return bitmap ? bitmap->surface.get() : nullptr;
}

const raster::Region* ClipOf(HDC hdc)
{
    DcObject* dc = LookupDc(hdc);
    return dc && dc->state.clip ? &*dc->state.clip : nullptr;
}

std::optional<raster::Painter> PainterFor(HDC hdc)
{
    DcObject* dc = LookupDc(hdc);
    if (!dc || !dc->surface)
        return std::nullopt;
    return std::optional<raster::Painter>(std::in_place, *dc->surface, dc->state.clip ? &*dc->state.clip : nullptr);
}

raster::Surface& ScreenSurface() { return *Screen(); }

void SetScreenSize(int width, int height)
{
    // DCs on the screen keep the surface object, so resize it in place.
    *Screen() = raster::Surface(width, height, raster::SurfaceFormat::Colour32, 0);
}

std::vector<raster::PixelValue> ReadPixels(HDC hdc)
{
    const raster::Surface* surface = SurfaceOf(hdc);
    if (!surface)
        return {};
    return { surface->Pixels().begin(), surface->Pixels().end() };
}

std::vector<COLORREF> ReadColorRefs(HDC hdc)
{
    std::vector<raster::PixelValue> pixels = ReadPixels(hdc);
    std::vector<COLORREF> result(pixels.size());
    std::transform(pixels.begin(), pixels.end(), result.begin(), ToColorRef);
    return result;
}

std::vector<raster::PixelValue> ReadPixels(HBITMAP hbm)
{
    const raster::Surface* surface = SurfaceOf(hbm);
    if (!surface)
        return {};
    return { surface->Pixels().begin(), surface->Pixels().end() };
}

}

using namespace korvane;
using namespace korvane::gdi;

HDC CreateCompatibleDC(HDC hdc)
{
    if (hdc && !LookupDc(hdc))
        return nullptr;
    return NewDc(nullptr, false);
}

HDC CreateDCA(LPCSTR driver, LPCSTR, LPCSTR, const void*)
{
    if (!driver || std::strcmp(driver, "DISPLAY") != 0)
        return nullptr;
    return NewDc(Screen(), true);
}

HDC GetDC(HWND hwnd)
{
    // Window DCs arrive with the window system; until then only the screen has one.
    if (hwnd)
        return nullptr;
    return NewDc(Screen(), true);
}

int ReleaseDC(HWND, HDC hdc)
{
    DcObject* dc = LookupDc(hdc);
    if (!dc || !dc->isScreen)
        return 0;
    return DeleteDC(hdc);
}

BOOL DeleteDC(HDC hdc)
{
    DcObject* dc = LookupDc(hdc);
    if (!dc)
        return FALSE;
    ReleaseState(dc->state);
    for (DcState& saved : dc->saved)
        ReleaseState(saved);
    if (dc->bitmap)
        Release(dc->bitmap);
    Table().Remove(hdc);
    return TRUE;
}

HBITMAP CreateCompatibleBitmap(HDC hdc, int cx, int cy)
{
    DcObject* dc = LookupDc(hdc);
    if (!dc || cx < 0 || cy < 0)
        return nullptr;
    // Memory DCs hold a monochrome bitmap until a colour one is selected, and GDI makes
    // compatible bitmaps in the format of whatever is selected.
    bool mono = dc->surface && dc->surface->IsMonochrome();
    return NewBitmap(cx, cy, mono ? raster::SurfaceFormat::Monochrome : raster::SurfaceFormat::Colour32);
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitCount, const void* bits)
{
    if (width < 0 || height < 0 || planes != 1)
        return nullptr;
    if (bitCount == 1) {
        std::size_t stride = static_cast<std::size_t>((width + 15) / 16 * 2);
        std::span<const std::uint8_t> data;
        if (bits)
            data = { static_cast<const std::uint8_t*>(bits), stride * static_cast<std::size_t>(height) };
        raster::Surface surface = raster::Surface::FromMonoBits(width, height, data, 2);
        return RegisterBitmap(std::move(surface));
    }
    if (bitCount == 32) {
        HBITMAP hbm = NewBitmap(width, height, raster::SurfaceFormat::Colour32);
        if (bits)
            SetBitmapBits(hbm, static_cast<DWORD>((width * static_cast<int>(bitCount) + 15) / 16 * 2 * height), bits);
        return hbm;
    }
    return nullptr;
}

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* info, UINT usage, void** bits, HANDLE, DWORD)
{
    if (bits)
        *bits = nullptr;
    if (!info || usage != DIB_RGB_COLORS)
        return nullptr;
    const BITMAPINFOHEADER& header = info->bmiHeader;
    // Pixel memory is owned by the surface, so callers cannot write it directly; only
    // 32-bit top-down or bottom-up RGB sections are offered.
    if (header.biBitCount != 32 || header.biCompression != BI_RGB || header.biWidth <= 0 || header.biHeight == 0)
        return nullptr;
    int height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
    return NewBitmap(header.biWidth, height, raster::SurfaceFormat::Colour32);
}

LONG GetBitmapBits(HBITMAP hbm, LONG count, LPVOID bits)
{
    BitmapObject* bitmap = LookupBitmap(hbm);
    if (!bitmap || count < 0)
        return 0;
    const raster::Surface& surface = *bitmap->surface;
    std::vector<std::uint8_t> data;
    if (surface.IsMonochrome()) {
        data = surface.ToMonoBits(2);
    } else {
        data.resize(surface.Pixels().size() * 4);
        std::memcpy(data.data(), surface.Pixels().data(), data.size());
    }
    std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(count), data.size());
    if (bits)
        std::memcpy(bits, data.data(), n);
    return static_cast<LONG>(n);
}

LONG SetBitmapBits(HBITMAP hbm, DWORD count, const void* bits)
{
    BitmapObject* bitmap = LookupBitmap(hbm);
    if (!bitmap || !bits)
        return 0;
    raster::Surface& surface = *bitmap->surface;
    if (surface.IsMonochrome()) {
        std::size_t stride = static_cast<std::size_t>((surface.Width() + 15) / 16 * 2);
        std::size_t n = std::min<std::size_t>(count, stride * static_cast<std::size_t>(surface.Height()));
        surface = raster::Surface::FromMonoBits(surface.Width(), surface.Height(),
                                                { static_cast<const std::uint8_t*>(bits), n }, 2);
        return static_cast<LONG>(n);
    }
    std::size_t n = std::min<std::size_t>(count, surface.Pixels().size() * 4);
    std::memcpy(surface.Pixels().data(), bits, n);
    for (raster::PixelValue& p : surface.Pixels())
        p &= 0xFFFFFFu;
    return static_cast<LONG>(n);
}

int GetObjectA(HANDLE h, int count, LPVOID out)
{
    GdiObject* object = Table().Find(h);
    if (!object)
        return 0;
    auto copy = [&](const auto& record) {
        int size = static_cast<int>(sizeof(record));
        if (!out)
            return size;
        int n = std::min(count, size);
        if (n <= 0)
            return 0;
        std::memcpy(out, &record, static_cast<std::size_t>(n));
        return n;
    };
    switch (object->kind) {
    case ObjectKind::Bitmap: {
        const raster::Surface& s = *static_cast<BitmapObject*>(object)->surface;
        BITMAP bm {};
        bm.bmWidth = s.Width();
        bm.bmHeight = s.Height();
        bm.bmPlanes = 1;
        bm.bmBitsPixel = s.IsMonochrome() ? 1 : 32;
        bm.bmWidthBytes = s.IsMonochrome() ? (s.Width() + 15) / 16 * 2 : s.Width() * 4;
        return copy(bm);
    }
    case ObjectKind::Pen: return copy(static_cast<PenObject*>(object)->logPen);
    case ObjectKind::Brush: return copy(static_cast<BrushObject*>(object)->logBrush);
    case ObjectKind::Font: return copy(static_cast<FontObject*>(object)->logFont);
    default: return 0;
    }
}

DWORD GetObjectType(HGDIOBJ h)
{
    GdiObject* object = Table().Find(h);
    if (!object)
        return 0;
    switch (object->kind) {
    case ObjectKind::DeviceContext: return static_cast<DcObject*>(object)->isScreen ? OBJ_DC : OBJ_MEMDC;
    case ObjectKind::Bitmap: return OBJ_BITMAP;
    case ObjectKind::Pen: return OBJ_PEN;
    case ObjectKind::Brush: return OBJ_BRUSH;
    case ObjectKind::Font: return OBJ_FONT;
    case ObjectKind::Region: return OBJ_REGION;
    default: return 0;
    }
}

namespace {

// Regions and bitmaps, out of line so that selecting a pen, brush or font stays short.
[[gnu::noinline]] HGDIOBJ SelectRegionOrBitmap(HDC hdc, DcObject& dc, GdiObject& object, HGDIOBJ h)
{
    if (object.kind == ObjectKind::Region) {
        // A region selected into a DC becomes its clip; GDI returns the region type.
        return reinterpret_cast<HGDIOBJ>(static_cast<std::intptr_t>(SelectClipRgn(hdc, static_cast<HRGN>(h))));
    }
    if (object.kind != ObjectKind::Bitmap || dc.isScreen)
        return nullptr;
    if (dc.bitmap == h)
        return h;
    // A bitmap can be selected into one memory DC at a time.
    if (object.selectionCount > 0 && !Table().IsStock(h))
        return nullptr;
    HGDIOBJ previous = dc.bitmap;
    Retain(h);
    Release(previous);
    dc.bitmap = static_cast<HBITMAP>(h);
    dc.surface = static_cast<BitmapObject&>(object).surface;
    // Selecting a bitmap resets the clip to the whole new surface.
    dc.state.clip.reset();
    return previous;
}

}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h)
{
    HandleTable& table = Objects();
    DcObject* dc = table.Find<DcObject>(hdc, ObjectKind::DeviceContext);
    ObjectKind kind {};
    GdiObject* object = table.Find(h, kind);
    if (!dc || !object)
        return nullptr;
    auto swap = [&](auto& handle, auto*& selected) -> HGDIOBJ {
        HGDIOBJ previous = handle;
        if (previous == h)
            return previous;
        ++object->selectionCount;
        assert(selected->selectionCount > 0 && "unbalanced GDI selection count");
        --selected->selectionCount;
        handle = static_cast<std::remove_reference_t<decltype(handle)>>(h);
        selected = static_cast<std::remove_reference_t<decltype(selected)>>(object);
        return previous;
    };
    // Pens are selected most, around nearly every line a control draws: tested first.
    if (kind == ObjectKind::Pen) [[likely]]
        return swap(dc->state.pen, dc->state.penObject);
    switch (kind) {
    case ObjectKind::Brush: return swap(dc->state.brush, dc->state.brushObject);
    case ObjectKind::Font: return swap(dc->state.font, dc->state.fontObject);
    default: return SelectRegionOrBitmap(hdc, *dc, *object, h);
    }
}

BOOL DeleteObject(HGDIOBJ h)
{
    HandleTable& table = Objects();
    bool stock = false;
    GdiObject* object = table.Find(h, stock);
    if (!object)
        return FALSE;
    if (stock)
        return TRUE;
    if (object->selectionCount > 0)
        return FALSE;
    // A control makes and deletes a pen for nearly every line it draws; naming the
    // type spares those a virtual call.
    if (object->kind == ObjectKind::Pen) [[likely]] {
        table.TakeFound(h);
        delete static_cast<PenObject*>(object);
        return TRUE;
    }
    if (object->kind == ObjectKind::DeviceContext || object->kind == ObjectKind::Icon)
        return FALSE;
    table.TakeFound(h);
    delete object;
    return TRUE;
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type)
{
    DcObject* dc = LookupDc(hdc);
    if (!dc)
        return nullptr;
    switch (type) {
    case OBJ_PEN: return dc->state.pen;
    case OBJ_BRUSH: return dc->state.brush;
    case OBJ_FONT: return dc->state.font;
    case OBJ_BITMAP: return dc->bitmap;
    default: return nullptr;
    }
}

HGDIOBJ GetStockObject(int index)
{
    return StockObjects::Get().Object(index);
}

HPEN CreatePen(int style, int width, COLORREF colour)
{
    if (style < PS_SOLID || style > PS_INSIDEFRAME)
        return nullptr;
    // Wide styled pens draw solid, as on Windows NT.
    if (width > 1 && style >= PS_DASH && style <= PS_DASHDOTDOT)
        style = PS_SOLID;
    auto pen = std::make_unique<PenObject>(LOGPEN { static_cast<UINT>(style), { std::max(width, 0), 0 }, colour });
    return static_cast<HPEN>(Table().Add(std::move(pen)));
}

HPEN CreatePenIndirect(const LOGPEN* logPen)
{
    if (!logPen)
        return nullptr;
    return CreatePen(static_cast<int>(logPen->lopnStyle), logPen->lopnWidth.x, logPen->lopnColor);
}

HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* brush, DWORD, const DWORD*)
{
    if (!brush || brush->lbStyle != BS_SOLID)
        return nullptr;
    auto pen = std::make_unique<PenObject>(LOGPEN { static_cast<UINT>(style), { static_cast<LONG>(width), 0 }, brush->lbColor },
                                           true);
    return static_cast<HPEN>(Table().Add(std::move(pen)));
}

namespace {

HBRUSH AddBrush(const LOGBRUSH& log, raster::Brush brush)
{
    auto object = std::make_unique<BrushObject>();
    object->logBrush = log;
    object->brush = std::move(brush);
    return static_cast<HBRUSH>(Table().Add(std::move(object)));
}

}

HBRUSH CreateSolidBrush(COLORREF colour)
{
    return AddBrush({ BS_SOLID, colour, 0 }, raster::Brush::Solid(ToPixel(colour)));
}

HBRUSH CreateHatchBrush(int hatch, COLORREF colour)
{
    if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS)
        return nullptr;
    return AddBrush({ BS_HATCHED, colour, static_cast<UINT_PTR>(hatch) },
                    raster::Brush::Hatched(static_cast<raster::HatchStyle>(hatch), ToPixel(colour)));
}

HBRUSH CreatePatternBrush(HBITMAP hbm)
{
    BitmapObject* bitmap = LookupBitmap(hbm);
    if (!bitmap)
        return nullptr;
    return AddBrush({ BS_PATTERN, 0, reinterpret_cast<UINT_PTR>(hbm) }, raster::Brush::FromSurface(*bitmap->surface));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* log)
{
    if (!log)
        return nullptr;
    switch (log->lbStyle) {
    case BS_SOLID: return CreateSolidBrush(log->lbColor);
    case BS_NULL: return AddBrush(*log, raster::Brush::Null());
    case BS_HATCHED: return CreateHatchBrush(static_cast<int>(log->lbHatch), log->lbColor);
    case BS_PATTERN: return CreatePatternBrush(reinterpret_cast<HBITMAP>(log->lbHatch));
    default: return nullptr;
    }
}

DWORD GetSysColor(int index)
{
    return SysColour(index);
}

HBRUSH GetSysColorBrush(int index)
{
    return StockObjects::Get().SysColourBrush(index);
}
