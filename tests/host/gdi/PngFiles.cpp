#include "PngFiles.h"

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb/stb_image.h>
#include <stb/stb_image_write.h>

namespace korvane::gdi::test {

bool LoadPng(const std::string& path, RgbImage& image)
{
    int channels = 0;
    unsigned char* data = stbi_load(path.c_str(), &image.width, &image.height, &channels, 3);
    if (!data)
        return false;
    image.pixels.resize(static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height));
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        const unsigned char* p = data + 3 * i;
        image.pixels[i] = (std::uint32_t { p[0] } << 16) | (std::uint32_t { p[1] } << 8) | p[2];
    }
    stbi_image_free(data);
    return true;
}

bool SavePng(const std::string& path, const RgbImage& image)
{
    std::vector<unsigned char> bytes;
    bytes.reserve(image.pixels.size() * 3);
    for (std::uint32_t p : image.pixels) {
        bytes.push_back(static_cast<unsigned char>(p >> 16));
        bytes.push_back(static_cast<unsigned char>(p >> 8));
        bytes.push_back(static_cast<unsigned char>(p));
    }
    return stbi_write_png(path.c_str(), image.width, image.height, 3, bytes.data(), image.width * 3) != 0;
}

}
