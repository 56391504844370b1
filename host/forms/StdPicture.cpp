#include "host/forms/StdPicture.h"

#include "host/gdi/Gdi.h"
#include "host/gdi/GdiInternal.h"
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
        gdi::DeleteIconObject(static_cast<HICON>(m_handle));
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
        auto object = std::make_unique<gdi::IconObject>();
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
        object->colour = std::make_shared<raster::Surface>(std::move(colourSurface));
        object->mask = std::make_shared<raster::Surface>(std::move(maskSurface));
        m_handle = gdi::RegisterIcon(std::move(object));
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
        m_handle = gdi::RegisterBitmap(ToColourSurface(image.Value()));
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
        const raster::Surface* surface = gdi::SurfaceOf(Bitmap());
        return surface ? *surface : raster::Surface();
    }
    if (m_kind == Kind::Icon) {
        const gdi::IconObject* icon = gdi::LookupIcon(Icon());
        if (!icon || !icon->colour)
            return {};
        raster::Surface surface = *icon->colour;
        raster::PixelValue face = gdi::ToPixel(GetSysColor(COLOR_BTNFACE));
        for (int y = 0; y < surface.Height(); ++y)
            for (int x = 0; x < surface.Width(); ++x)
                if (icon->mask->At(x, y) && surface.At(x, y) == 0)
                    surface.Set(x, y, face);
        return surface;
    }
    return {};
}

} // namespace korvane::forms
