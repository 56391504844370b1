#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace korvane::raster::image {

// Pixels are 0xAARRGGBB in native 32-bit words, rows top-down with no padding.
// Alpha is straight (not premultiplied); 0xFF is opaque.
using Pixel = std::uint32_t;

constexpr Pixel MakePixel(std::uint8_t a, std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    return (Pixel { a } << 24) | (Pixel { r } << 16) | (Pixel { g } << 8) | Pixel { b };
}
constexpr std::uint8_t AlphaOf(Pixel p) { return static_cast<std::uint8_t>(p >> 24); }
constexpr std::uint8_t RedOf(Pixel p) { return static_cast<std::uint8_t>(p >> 16); }
constexpr std::uint8_t GreenOf(Pixel p) { return static_cast<std::uint8_t>(p >> 8); }
constexpr std::uint8_t BlueOf(Pixel p) { return static_cast<std::uint8_t>(p); }

class Image {
public:
    Image() = default;
    Image(int width, int height, Pixel fill = 0);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    bool IsEmpty() const { return m_width == 0 || m_height == 0; }

    Pixel At(int x, int y) const { return m_pixels[Index(x, y)]; }
    void Set(int x, int y, Pixel pixel) { m_pixels[Index(x, y)] = pixel; }
    Pixel* Row(int y) { return m_pixels.data() + Index(0, y); }
    const Pixel* Row(int y) const { return m_pixels.data() + Index(0, y); }
    const std::vector<Pixel>& Pixels() const { return m_pixels; }

    friend bool operator==(const Image&, const Image&) = default;

private:
    std::size_t Index(int x, int y) const
    {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) + static_cast<std::size_t>(x);
    }

    int m_width = 0;
    int m_height = 0;
    std::vector<Pixel> m_pixels;
};

// A one-bit-per-pixel mask, such as an icon's AND mask: true marks a pixel the
// icon leaves transparent (or inverts, where its colour is not black).
class Mask {
public:
    Mask() = default;
    Mask(int width, int height, bool fill = false);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    bool IsEmpty() const { return m_width == 0 || m_height == 0; }
    bool At(int x, int y) const { return m_bits[Index(x, y)] != 0; }
    void Set(int x, int y, bool value) { m_bits[Index(x, y)] = value ? 1 : 0; }

    friend bool operator==(const Mask&, const Mask&) = default;

private:
    std::size_t Index(int x, int y) const
    {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) + static_cast<std::size_t>(x);
    }

    int m_width = 0;
    int m_height = 0;
    std::vector<std::uint8_t> m_bits;
};

}
