#include "host/raster/Surface.h"

#include <algorithm>
#include <utility>

namespace korvane::raster {

Surface::Surface(int width, int height, SurfaceFormat format, PixelValue fill)
    : m_width(std::max(width, 0))
    , m_height(std::max(height, 0))
    , m_format(format)
{
    Allocate();
    FillPixels(m_data, Count(), Quantize(fill));
}

void Surface::Fill(PixelValue value)
{
    PrepareOverwrite();
    FillPixels(m_data, Count(), Quantize(value));
}

void Surface::Allocate()
{
    // Every caller writes each pixel next, so the storage is not cleared first.
    const std::size_t count = Count();
    m_storage = count ? std::make_shared_for_overwrite<PixelValue[]>(count) : nullptr;
    m_data = m_storage.get();
    m_shared = false;
}

void Surface::Part(bool keepPixels)
{
    if (m_storage.use_count() <= 1) {
        m_shared = false;
        return;
    }
    const std::shared_ptr<PixelValue[]> shared = std::move(m_storage);
    Allocate();
    if (keepPixels)
        std::memcpy(m_data, shared.get(), Count() * sizeof(PixelValue));
}

void Surface::Share(const Surface& other)
{
    m_width = other.m_width;
    m_height = other.m_height;
    m_format = other.m_format;
    m_storage = other.m_storage;
    m_data = other.m_data;
    m_shared = other.m_shared = m_storage != nullptr;
}

void Surface::Take(Surface& other) noexcept
{
    m_width = std::exchange(other.m_width, 0);
    m_height = std::exchange(other.m_height, 0);
    m_format = other.m_format;
    m_storage = std::move(other.m_storage);
    m_data = std::exchange(other.m_data, nullptr);
    m_shared = std::exchange(other.m_shared, false);
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
