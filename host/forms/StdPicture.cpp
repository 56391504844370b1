#include "host/forms/StdPicture.h"

#include "host/gdi/Gdi.h"
#include "host/gdi/GdiRaster.h"
#include "host/raster/image/Codecs.h"

namespace korvane::forms {

namespace {

raster::Surface ToColourSurface(const raster::image::Image& image)
{
    raster::Surface surface(image.Width(), image.Height(), raster::SurfaceFormat::Colour32);
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            surface.Set(x, y, image.At(x, y) & 0xFFFFFFu);
    return surface;
}

} // namespace

StdPicture::~StdPicture() { Clear(); }

void StdPicture::Clear()
{
    if (m_kind == Kind::Bitmap)
        DeleteObject(m_handle);
    else if (m_kind == Kind::Icon)
        DestroyIcon(static_cast<HICON>(m_handle));
    m_kind = Kind::None;
    m_handle = nullptr;
    m_width = m_height = 0;
    m_file.clear();
}

bool StdPicture::LoadFile(const std::filesystem::path& path, std::string* error)
{
    using namespace raster::image;
    raster::Result<std::vector<std::uint8_t>> bytes = ReadFileBytes(path);
    if (!bytes) {
        if (error)
            *error = bytes.Error();
        return false;
    }
    if (DetectFormat(bytes.Value()) == ImageFormat::Ico) {
        raster::Result<raster::image::Icon> icon = DecodeIco(bytes.Value());
        if (!icon) {
            if (error)
                *error = icon.Error();
            return false;
        }
        Clear();
        const Image& colour = icon.Value().color;
        const Mask& mask = icon.Value().mask;
        raster::Surface colourSurface = ToColourSurface(colour);
        raster::Surface maskSurface(mask.Width(), mask.Height(), raster::SurfaceFormat::Monochrome);
        for (int y = 0; y < mask.Height(); ++y) {
            for (int x = 0; x < mask.Width(); ++x) {
                maskSurface.Set(x, y, mask.At(x, y) ? 0xFFFFFFu : 0u);
                // Transparent pixels are black in the colour image, as an icon's XOR part is.
                if (mask.At(x, y) && AlphaOf(colour.At(x, y)) == 0)
                    colourSurface.Set(x, y, 0);
            }
        }
        // The icon takes copies of both bitmaps.
        ICONINFO info { TRUE, 0, 0, gdi::CreateSurfaceBitmap(std::move(maskSurface)),
            gdi::CreateSurfaceBitmap(std::move(colourSurface)) };
        m_handle = CreateIconIndirect(&info);
        DeleteObject(info.hbmMask);
        DeleteObject(info.hbmColor);
        m_kind = Kind::Icon;
        m_width = colour.Width();
        m_height = colour.Height();
    } else {
        raster::Result<Image> image = DecodeImage(bytes.Value());
        if (!image) {
            if (error)
                *error = image.Error();
            return false;
        }
        Clear();
        m_handle = gdi::CreateSurfaceBitmap(ToColourSurface(image.Value()));
        m_kind = Kind::Bitmap;
        m_width = image.Value().Width();
        m_height = image.Value().Height();
    }
    m_file = path;
    return true;
}

raster::Surface StdPicture::ToSurface() const
{
    if (m_kind == Kind::Bitmap) {
        const raster::Surface* surface = gdi::BitmapSurface(Bitmap());
        return surface ? *surface : raster::Surface();
    }
    ICONINFO info {};
    if (m_kind != Kind::Icon || !GetIconInfo(Icon(), &info))
        return {};
    raster::Surface surface;
    const raster::Surface* colour = gdi::BitmapSurface(info.hbmColor);
    const raster::Surface* mask = gdi::BitmapSurface(info.hbmMask);
    if (colour && mask) {
        surface = *colour;
        COLORREF faceColour = GetSysColor(COLOR_BTNFACE);
        raster::PixelValue face = (raster::PixelValue { GetRValue(faceColour) } << 16)
            | (raster::PixelValue { GetGValue(faceColour) } << 8) | GetBValue(faceColour);
        for (int y = 0; y < surface.Height(); ++y)
            for (int x = 0; x < surface.Width(); ++x)
                if (mask->At(x, y) && surface.At(x, y) == 0)
                    surface.Set(x, y, face);
    }
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    return surface;
}

} // namespace korvane::forms
