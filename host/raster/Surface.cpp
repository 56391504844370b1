#include "host/raster/Surface.h"

#include <algorithm>

namespace korvane::raster {

Surface::Surface(int width, int height, SurfaceFormat format, PixelValue fill)
    : m_width(std::max(width, 0))
    , m_height(std::max(height, 0))
    , m_format(format)
    , m_pixels(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height), 0)
{
    Fill(fill);
}

void Surface::Fill(PixelValue value)
{
    FillPixels(m_pixels.data(), m_pixels.size(), Quantize(value));
}

PixelValue Surface::NearestMono(PixelValue value)
{
    // White when the channels average at least half their range.
    constexpr unsigned kWhiteFromSum = 3 * 0x80;
    unsigned sum = ((value >> 16) & 0xFFu) + ((value >> 8) & 0xFFu) + (value & 0xFFu);
    return sum >= kWhiteFromSum ? 0xFFFFFFu : 0u;
}

Surface Surface::FromMonoBits(int width, int height, std::span<const std::uint8_t> bits, int rowAlignBytes)
{
    Surface surface(width, height, SurfaceFormat::Monochrome);
    int align = std::max(rowAlignBytes, 1);
    std::size_t stride = static_cast<std::size_t>((width + 8 * align - 1) / (8 * align) * align);
    for (int y = 0; y < surface.m_height; ++y) {
        PixelValue* row = surface.Row(y);
        for (int x = 0; x < surface.m_width; ++x) {
            std::size_t index = static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x / 8);
            bool set = index < bits.size() && ((bits[index] >> (7 - x % 8)) & 1u);
            row[x] = set ? 0xFFFFFFu : 0u;
        }
    }
    return surface;
}

std::vector<std::uint8_t> Surface::ToMonoBits(int rowAlignBytes) const
{
    int align = std::max(rowAlignBytes, 1);
    std::size_t stride = static_cast<std::size_t>((m_width + 8 * align - 1) / (8 * align) * align);
    std::vector<std::uint8_t> bits(stride * static_cast<std::size_t>(m_height), 0);
    for (int y = 0; y < m_height; ++y) {
        const PixelValue* row = Row(y);
        for (int x = 0; x < m_width; ++x) {
            if (NearestMono(row[x]))
                bits[static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80u >> (x % 8));
        }
    }
    return bits;
}

}
