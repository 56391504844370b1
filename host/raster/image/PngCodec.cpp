#include "Dib.h"

#include <png.h>

namespace korvane::raster::image {

// libpng's simplified API keeps its setjmp/longjmp error handling inside the
// library, so no C++ frame is ever jumped over.

Result<Image> DecodePng(Bytes data)
{
    png_image png {};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, data.data(), data.size()))
        return Failure { std::string("PNG: ") + png.message };
    if (png.width == 0 || png.height == 0 || png.width > kMaxDimension || png.height > kMaxDimension
        || std::size_t { png.width } * png.height > kMaxPixels) {
        png_image_free(&png);
        return Failure { "PNG: image size is out of range" };
    }
    png.format = PNG_FORMAT_ARGB;
    std::vector<std::uint8_t> buffer(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, buffer.data(), 0, nullptr)) {
        std::string message = std::string("PNG: ") + png.message;
        png_image_free(&png);
        return Failure { std::move(message) };
    }
    png_image_free(&png);

    Image image(static_cast<int>(png.width), static_cast<int>(png.height));
    const std::uint8_t* source = buffer.data();
    for (int y = 0; y < image.Height(); ++y) {
        Pixel* row = image.Row(y);
        for (int x = 0; x < image.Width(); ++x, source += 4)
            row[x] = MakePixel(source[0], source[1], source[2], source[3]);
    }
    return image;
}

Result<std::vector<std::uint8_t>> EncodePng(const Image& image)
{
    if (image.IsEmpty())
        return Failure { "PNG: cannot encode an empty image" };
    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(image.Width()) * static_cast<std::size_t>(image.Height()) * 4);
    std::uint8_t* target = rgba.data();
    for (Pixel pixel : image.Pixels()) {
        *target++ = RedOf(pixel);
        *target++ = GreenOf(pixel);
        *target++ = BlueOf(pixel);
        *target++ = AlphaOf(pixel);
    }

    png_image png {};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.Width());
    png.height = static_cast<png_uint_32>(image.Height());
    png.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&png, nullptr, &size, 0, rgba.data(), 0, nullptr))
        return Failure { std::string("PNG: ") + png.message };
    std::vector<std::uint8_t> encoded(size);
    if (!png_image_write_to_memory(&png, encoded.data(), &size, 0, rgba.data(), 0, nullptr))
        return Failure { std::string("PNG: ") + png.message };
    encoded.resize(size);
    return encoded;
}

}
