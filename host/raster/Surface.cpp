#include "host/raster/Surface.h"

#include "host/raster/Sanitizer.h"

#include <algorithm>
#include <array>
#include <new>
#include <utility>

namespace korvane::raster {

namespace {

// Pixels one surface gives up are kept for the next surface of their size. A back
// buffer copied whole onto its window each repaint and then refilled whole trades the
// same two blocks with it, instead of allocating one a repaint. Like everything drawn,
// surfaces belong to the UI thread, so the pool takes no lock. Under AddressSanitizer
// nothing is kept, so a stale row pointer still faults.
class StoragePool {
public:
    // The block given up last, which is the likeliest still to be in the cache.
    std::shared_ptr<PixelValue[]> Take(std::size_t count)
    {
        for (auto it = m_kept.begin() + static_cast<std::ptrdiff_t>(m_used); it != m_kept.begin();) {
            if ((--it)->count == count) {
                std::shared_ptr<PixelValue[]> block = std::move(it->block);
                std::move(it + 1, m_kept.begin() + static_cast<std::ptrdiff_t>(m_used), it);
                --m_used;
                return block;
            }
        }
        return Fresh(count);
    }
    void Give(std::shared_ptr<PixelValue[]>& block, [[maybe_unused]] std::size_t count) noexcept
    {
#if !defined(KORVANE_ADDRESS_SANITIZER)
        if (block.use_count() == 1 && count <= kLargest) {
            // Full: the oldest goes, as the newest is the likeliest to be asked for.
            if (m_used == kKeep)
                std::move(m_kept.begin() + 1, m_kept.end(), m_kept.begin());
            else
                ++m_used;
            m_kept[m_used - 1] = { std::move(block), count };
        }
#endif
        block.reset();
    }

private:
    // Rows start on a cache line, as the heap would not place them.
    static std::shared_ptr<PixelValue[]> Fresh(std::size_t count)
    {
        constexpr std::align_val_t kLine { 64 };
        auto* pixels = static_cast<PixelValue*>(::operator new[](count * sizeof(PixelValue), kLine));
        return { pixels, [](PixelValue* p) { ::operator delete[](p, kLine); } };
    }
    struct Kept {
        std::shared_ptr<PixelValue[]> block;
        std::size_t count = 0;
    };
    static constexpr std::size_t kKeep = 4;
    // A few window-sized blocks at most; a screen-sized one goes back to the heap.
    static constexpr std::size_t kLargest = std::size_t { 1 } << 18;
    std::array<Kept, kKeep> m_kept;
    std::size_t m_used = 0;
};

// Never destroyed: surfaces released while the program exits still find it.
StoragePool& Pool()
{
    static StoragePool* pool = new StoragePool;
    return *pool;
}

}

Surface::Surface(int width, int height, SurfaceFormat format, PixelValue fill)
    : m_width(std::max(width, 0))
    , m_height(std::max(height, 0))
    , m_format(format)
{
    // Every pixel is filled next, so the storage is not cleared first.
    const std::size_t count = Count();
    m_storage = count ? Pool().Take(count) : nullptr;
    m_data = m_storage.get();
    FillPixels(m_data, count, Quantize(fill));
}

void Surface::Fill(PixelValue value)
{
    PrepareOverwrite();
    FillPixels(m_data, Count(), Quantize(value));
}

void Surface::Part(bool keepPixels)
{
    if (m_storage.use_count() <= 1) {
        m_shared = false;
        return;
    }
    // The new pixels are in hand before the shared ones are let go, so a failed
    // allocation leaves the surface as it was.
    std::shared_ptr<PixelValue[]> own = Pool().Take(Count());
    if (keepPixels)
        std::memcpy(own.get(), m_data, Count() * sizeof(PixelValue));
    m_storage = std::move(own);
    m_data = m_storage.get();
    m_shared = false;
}

void Surface::Release() noexcept
{
    if (m_storage)
        Pool().Give(m_storage, Count());
    m_data = nullptr;
    m_shared = false;
}

void Surface::Share(const Surface& other)
{
    Release();
    m_width = other.m_width;
    m_height = other.m_height;
    m_format = other.m_format;
    m_storage = other.m_storage;
    m_data = other.m_data;
    m_shared = other.m_shared = m_storage != nullptr;
}

void Surface::Take(Surface& other) noexcept
{
    Release();
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
