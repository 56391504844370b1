#pragma once

#include "host/raster/Geometry.h"

#include <cstdint>
#include <span>
#include <vector>

namespace korvane::raster {

enum class SurfaceFormat {
    Colour32,   // 0x00RRGGBB per pixel
    Monochrome, // one bit per pixel, kept unpacked as 0x000000 or 0xFFFFFF
};

// A top-down pixel grid. Monochrome surfaces store every pixel as all-zero or all-one
// bits so that raster operations work on both formats with the same bitwise code.
class Surface {
public:
    Surface() = default;
    Surface(int width, int height, SurfaceFormat format, PixelValue fill = 0);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    SurfaceFormat Format() const { return m_format; }
    bool IsMonochrome() const { return m_format == SurfaceFormat::Monochrome; }
    IntRect Bounds() const { return { 0, 0, m_width, m_height }; }

    PixelValue* Row(int y) { return m_pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width); }
    const PixelValue* Row(int y) const { return m_pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width); }
    std::span<PixelValue> Pixels() { return m_pixels; }
    std::span<const PixelValue> Pixels() const { return m_pixels; }

    PixelValue At(int x, int y) const { return Row(y)[x]; }
    void Set(int x, int y, PixelValue value) { Row(y)[x] = Quantize(value); }
    void Fill(PixelValue value);

    // Maps a colour onto what this surface can hold: unchanged for colour surfaces,
    // black or white by brightness for monochrome ones.
    PixelValue Quantize(PixelValue value) const;
    static PixelValue NearestMono(PixelValue value);

    // Packed 1-bit rows, most significant bit leftmost, each row padded to `rowAlignBytes`.
    static Surface FromMonoBits(int width, int height, std::span<const std::uint8_t> bits, int rowAlignBytes);
    std::vector<std::uint8_t> ToMonoBits(int rowAlignBytes) const;

private:
    int m_width = 0;
    int m_height = 0;
    SurfaceFormat m_format = SurfaceFormat::Colour32;
    std::vector<PixelValue> m_pixels;
};

}
