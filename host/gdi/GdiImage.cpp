// Bitmaps and icons: loading from files, copying, stretching and drawing with masks.

#include "host/gdi/GdiImage.h"

#include "host/gdi/DrawContext.h"
#include "host/gdi/Gdi.h"
#include "host/gdi/GdiInternal.h"
#include "host/raster/Rop.h"
#include "host/raster/image/Codecs.h"

#include <algorithm>

using namespace korvane;
using namespace korvane::gdi;
namespace image = korvane::raster::image;

namespace {

// SM_CXICON and SM_CYICON.
constexpr int SystemIconSize = 32;
constexpr std::uint8_t SourceAnd = 0x88;
constexpr std::uint8_t SourceInvert = 0x66;

raster::Surface Stretched(const raster::Surface& source, const raster::IntRect& from, int width, int height)
{
    raster::Surface result(width, height, source.Format(), 0);
    raster::Painter painter(result, nullptr);
    painter.StretchBlit({ 0, 0, width, height }, source, from, raster::SourceMap {}, raster::Pattern::Empty(),
                        raster::Rop::SourceCopy, raster::StretchMode::ColourOnColour);
    return result;
}

raster::Surface Stretched(const raster::Surface& source, int width, int height)
{
    if (width == source.Width() && height == source.Height())
        return source;
    return Stretched(source, source.Bounds(), width, height);
}

// How colours become monochrome: files go through a DIB's black and white palette,
// which picks the nearer; bitmap copies are block transfers, where only the white
// background colour becomes white.
enum class MonoRule { NearestColour, WhiteOnly };

raster::Surface Converted(const raster::Surface& source, raster::SurfaceFormat format,
                          MonoRule rule = MonoRule::WhiteOnly)
{
    if (source.Format() == format)
        return source;
    raster::Surface result(source.Width(), source.Height(), format, 0);
    const bool whiteOnly = format == raster::SurfaceFormat::Monochrome && rule == MonoRule::WhiteOnly;
    for (int y = 0; y < source.Height(); ++y) {
        for (int x = 0; x < source.Width(); ++x) {
            raster::PixelValue p = source.At(x, y) & 0xFFFFFFu;
            result.Set(x, y, whiteOnly ? (p == 0xFFFFFFu ? p : 0u) : p);
        }
    }
    return result;
}

raster::Surface SurfaceFromImage(const image::Image& picture)
{
    raster::Surface surface(picture.Width(), picture.Height(), raster::SurfaceFormat::Colour32, 0);
    for (int y = 0; y < picture.Height(); ++y) {
        const image::Pixel* from = picture.Row(y);
        std::transform(from, from + picture.Width(), surface.Row(y), [](image::Pixel p) { return p & 0xFFFFFFu; });
    }
    return surface;
}

// The icon's own size: monochrome icons keep AND and XOR masks in one double-height bitmap.
raster::IntRect IconBounds(const IconObject& icon)
{
    if (icon.colour)
        return icon.colour->Bounds();
    return { 0, 0, icon.mask->Width(), icon.mask->Height() / 2 };
}

POINT CentreOf(int width, int height) { return { width / 2, height / 2 }; }

// Surfaces hold no alpha, so an entry with an alpha channel becomes a plain mask:
// mostly transparent pixels are masked out over black, the rest are drawn opaque.
// Entries without one keep their AND mask and XOR colour as they are.
std::unique_ptr<IconObject> IconFromImage(const image::Icon& picture)
{
    const int width = picture.color.Width();
    const int height = picture.color.Height();
    bool hasAlpha = false;
    for (int y = 0; y < height && !hasAlpha; ++y) {
        for (int x = 0; x < width && !hasAlpha; ++x) {
            std::uint8_t alpha = image::AlphaOf(picture.color.At(x, y));
            hasAlpha = (alpha != 0 && alpha != 0xFF) || (alpha == 0 && !picture.mask.At(x, y));
        }
    }
    auto icon = std::make_unique<IconObject>();
    icon->colour = std::make_shared<raster::Surface>(width, height, raster::SurfaceFormat::Colour32, 0);
    icon->mask = std::make_shared<raster::Surface>(width, height, raster::SurfaceFormat::Monochrome, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image::Pixel p = picture.color.At(x, y);
            bool transparent = hasAlpha ? image::AlphaOf(p) < 0x80 : picture.mask.At(x, y);
            icon->mask->Set(x, y, transparent ? 0xFFFFFFu : 0u);
            icon->colour->Set(x, y, hasAlpha && transparent ? 0u : (p & 0xFFFFFFu));
        }
    }
    icon->hotspot = CentreOf(width, height);
    return icon;
}

// A cursor file keeps each entry's hotspot in its directory, where icons keep planes
// and bit depth; the decoder does not report it, so it is read here.
POINT CursorHotspot(image::Bytes file, int width, int height, POINT fallback)
{
    auto word = [&](std::size_t at) { return static_cast<int>(file[at] | (file[at + 1] << 8)); };
    if (file.size() < 6 || word(2) != 2)
        return fallback;
    const int count = word(4);
    for (int i = 0; i < count; ++i) {
        std::size_t entry = 6 + static_cast<std::size_t>(i) * 16;
        if (entry + 16 > file.size())
            break;
        int entryWidth = file[entry] ? file[entry] : 256;
        int entryHeight = file[entry + 1] ? file[entry + 1] : 256;
        if (entryWidth == width && entryHeight == height)
            return { word(entry + 4), word(entry + 6) };
    }
    return fallback;
}

// A stretched copy of an icon; a monochrome icon's two masks stretch together.
std::unique_ptr<IconObject> StretchedIcon(const IconObject& source, int width, int height)
{
    const raster::IntRect bounds = IconBounds(source);
    auto icon = std::make_unique<IconObject>();
    icon->isIcon = source.isIcon;
    icon->hotspot = source.hotspot;
    if (bounds.Width() > 0 && bounds.Height() > 0) {
        icon->hotspot = { static_cast<LONG>(source.hotspot.x * width / bounds.Width()),
                          static_cast<LONG>(source.hotspot.y * height / bounds.Height()) };
    }
    if (source.colour) {
        icon->colour = std::make_shared<raster::Surface>(Stretched(*source.colour, width, height));
        icon->mask = std::make_shared<raster::Surface>(Stretched(*source.mask, width, height));
    } else {
        icon->mask = std::make_shared<raster::Surface>(Stretched(*source.mask, width, height * 2));
    }
    return icon;
}

HANDLE LoadBitmapFile(const char* name, int cx, int cy, UINT flags)
{
    auto picture = image::LoadImageFile(name);
    if (!picture)
        return nullptr;
    raster::Surface surface = SurfaceFromImage(picture.Value());
    surface = Stretched(surface, cx ? cx : surface.Width(), cy ? cy : surface.Height());
    if (flags & LR_MONOCHROME)
        surface = Converted(surface, raster::SurfaceFormat::Monochrome, MonoRule::NearestColour);
    return RegisterBitmap(std::move(surface));
}

HANDLE LoadIconFile(const char* name, bool isIcon, int cx, int cy, UINT flags)
{
    auto bytes = image::ReadFileBytes(name);
    if (!bytes)
        return nullptr;
    if (flags & LR_DEFAULTSIZE) {
        cx = cx ? cx : SystemIconSize;
        cy = cy ? cy : SystemIconSize;
    }
    // Without a size, the entry nearest the system size is taken at its own size.
    auto picture = image::DecodeIco(bytes.Value(), cx ? cx : SystemIconSize);
    if (!picture)
        return nullptr;
    std::unique_ptr<IconObject> icon = IconFromImage(picture.Value());
    icon->isIcon = isIcon;
    if (!isIcon)
        icon->hotspot = CursorHotspot(bytes.Value(), icon->colour->Width(), icon->colour->Height(), icon->hotspot);
    const int width = cx ? cx : icon->colour->Width();
    const int height = cy ? cy : icon->colour->Height();
    if (width != icon->colour->Width() || height != icon->colour->Height())
        icon = StretchedIcon(*icon, width, height);
    return RegisterIcon(std::move(icon));
}

}

HANDLE LoadImageA(HANDLE instance, LPCSTR name, UINT type, int cx, int cy, UINT flags)
{
    if (instance || !name || !(flags & LR_LOADFROMFILE) || cx < 0 || cy < 0)
        return nullptr;
    switch (type) {
    case IMAGE_BITMAP: return LoadBitmapFile(name, cx, cy, flags);
    case IMAGE_ICON: return LoadIconFile(name, true, cx, cy, flags);
    case IMAGE_CURSOR: return LoadIconFile(name, false, cx, cy, flags);
    default: return nullptr;
    }
}

HICON CreateIconIndirect(const ICONINFO* info)
{
    if (!info)
        return nullptr;
    raster::Surface* mask = SurfaceOf(info->hbmMask);
    raster::Surface* colour = info->hbmColor ? SurfaceOf(info->hbmColor) : nullptr;
    if (!mask || (info->hbmColor && !colour))
        return nullptr;
    auto icon = std::make_unique<IconObject>();
    icon->isIcon = info->fIcon != FALSE;
    icon->mask = std::make_shared<raster::Surface>(Converted(*mask, raster::SurfaceFormat::Monochrome));
    if (colour)
        icon->colour = std::make_shared<raster::Surface>(Converted(*colour, raster::SurfaceFormat::Colour32));
    const raster::IntRect bounds = IconBounds(*icon);
    // Icons always turn about their centre; only cursors keep the hotspot they are given.
    icon->hotspot = icon->isIcon ? CentreOf(bounds.Width(), bounds.Height())
                                 : POINT { static_cast<LONG>(info->xHotspot), static_cast<LONG>(info->yHotspot) };
    return RegisterIcon(std::move(icon));
}

BOOL GetIconInfo(HICON handle, ICONINFO* info)
{
    IconObject* icon = LookupIcon(handle);
    if (!icon || !info)
        return FALSE;
    info->fIcon = icon->isIcon ? TRUE : FALSE;
    info->xHotspot = static_cast<DWORD>(icon->hotspot.x);
    info->yHotspot = static_cast<DWORD>(icon->hotspot.y);
    info->hbmMask = RegisterBitmap(*icon->mask);
    info->hbmColor = icon->colour ? RegisterBitmap(*icon->colour) : nullptr;
    return TRUE;
}

BOOL DestroyIcon(HICON icon) { return DeleteIconObject(icon); }
BOOL DestroyCursor(HCURSOR cursor) { return DeleteIconObject(cursor); }

HANDLE CopyImage(HANDLE handle, UINT type, int cx, int cy, UINT flags)
{
    if (cx < 0 || cy < 0)
        return nullptr;
    if (type == IMAGE_BITMAP) {
        HBITMAP original = static_cast<HBITMAP>(handle);
        raster::Surface* source = SurfaceOf(original);
        if (!source)
            return nullptr;
        const int width = cx ? cx : source->Width();
        const int height = cy ? cy : source->Height();
        if ((flags & LR_COPYRETURNORG) && !(flags & LR_MONOCHROME) && width == source->Width()
            && height == source->Height())
            return handle;
        raster::Surface copy = Stretched(*source, width, height);
        if (flags & LR_MONOCHROME)
            copy = Converted(copy, raster::SurfaceFormat::Monochrome);
        HBITMAP result = RegisterBitmap(std::move(copy));
        if (flags & LR_COPYDELETEORG)
            DeleteObject(original);
        return result;
    }
    if (type == IMAGE_ICON || type == IMAGE_CURSOR) {
        HICON original = static_cast<HICON>(handle);
        IconObject* source = LookupIcon(original);
        if (!source)
            return nullptr;
        const raster::IntRect bounds = IconBounds(*source);
        const int width = cx ? cx : (flags & LR_DEFAULTSIZE) ? SystemIconSize : bounds.Width();
        const int height = cy ? cy : (flags & LR_DEFAULTSIZE) ? SystemIconSize : bounds.Height();
        if ((flags & LR_COPYRETURNORG) && width == bounds.Width() && height == bounds.Height())
            return handle;
        HICON result = RegisterIcon(StretchedIcon(*source, width, height));
        if (flags & LR_COPYDELETEORG)
            DestroyIcon(original);
        return result;
    }
    return nullptr;
}

BOOL DrawIconEx(HDC hdc, int x, int y, HICON handle, int cx, int cy, UINT, HBRUSH flickerFreeBrush, UINT flags)
{
    auto context = DrawContext::For(hdc);
    IconObject* icon = LookupIcon(handle);
    if (!context || !icon || !(flags & DI_NORMAL))
        return FALSE;
    const raster::IntRect bounds = IconBounds(*icon);
    if (cx == 0)
        cx = (flags & DI_DEFAULTSIZE) ? SystemIconSize : bounds.Width();
    if (cy == 0)
        cy = (flags & DI_DEFAULTSIZE) ? SystemIconSize : bounds.Height();
    const POINT p = context->ToDevice(x, y);
    const raster::IntRect dest { p.x, p.y, p.x + cx, p.y + cy };
    raster::Painter& painter = context->Painter();
    raster::Surface& target = context->Surface();
    // Drawing into an off-screen bitmap filled with the brush, then copying it, leaves
    // what drawing over the brush fill in place leaves.
    if (flickerFreeBrush)
        painter.FillRect(dest, context->BrushPattern(flickerFreeBrush), raster::Rop::PatternCopy);
    // Icons draw the same whatever the DC's colours: mask bits are black and white.
    auto mapFor = [&](const raster::Surface& source) {
        return raster::SourceMap::For(source, target, 0x000000, 0xFFFFFF, 0xFFFFFF);
    };
    // Either half alone is copied; both together make the AND-then-XOR transparency.
    const std::uint8_t maskRop = (flags & DI_IMAGE) ? SourceAnd : raster::Rop::SourceCopy;
    const std::uint8_t imageRop = (flags & DI_MASK) ? SourceInvert : raster::Rop::SourceCopy;
    if (flags & DI_MASK)
        painter.StretchBlit(dest, *icon->mask, bounds, mapFor(*icon->mask), raster::Pattern::Empty(), maskRop,
                            raster::StretchMode::ColourOnColour);
    if (flags & DI_IMAGE) {
        if (icon->colour)
            painter.StretchBlit(dest, *icon->colour, bounds, mapFor(*icon->colour), raster::Pattern::Empty(),
                                imageRop, raster::StretchMode::ColourOnColour);
        else
            painter.StretchBlit(dest, *icon->mask, bounds.Translated(0, bounds.Height()), mapFor(*icon->mask),
                                raster::Pattern::Empty(), imageRop, raster::StretchMode::ColourOnColour);
    }
    return TRUE;
}

BOOL DrawIcon(HDC hdc, int x, int y, HICON icon)
{
    return DrawIconEx(hdc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL | DI_COMPAT | DI_DEFAULTSIZE);
}

namespace korvane::gdi {

namespace {

bool SaveSurfacePng(const raster::Surface* surface, const std::filesystem::path& path)
{
    if (!surface)
        return false;
    image::Image picture(surface->Width(), surface->Height());
    for (int y = 0; y < surface->Height(); ++y) {
        const raster::PixelValue* from = surface->Row(y);
        std::transform(from, from + surface->Width(), picture.Row(y),
                       [](raster::PixelValue p) { return 0xFF000000u | (p & 0xFFFFFFu); });
    }
    return image::SavePng(picture, path).Ok();
}

}

bool SaveBitmapPng(HBITMAP bitmap, const std::filesystem::path& path) { return SaveSurfacePng(SurfaceOf(bitmap), path); }
bool SaveBitmapPng(HDC hdc, const std::filesystem::path& path) { return SaveSurfacePng(SurfaceOf(hdc), path); }

}
