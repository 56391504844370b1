#pragma once

#include "host/raster/Geometry.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <vector>

namespace korvane::raster {

// Sets `count` pixels from `first` on to `value` at memory speed: the one solid fill,
// used for surfaces, rectangles, spans and text. A 32-bit fill loop is not vectorised
// at the optimisation level we build with. On x86-64 rows of up to a few hundred
// pixels are stored 16 bytes at a time, and longer runs with the string store of
// doubled pixels, which runs as fast as memset once started but starts slowly;
// elsewhere a few pixels are written and doubled with memcpy.
inline void FillPixels(PixelValue* first, std::size_t count, PixelValue value)
{
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    constexpr std::size_t kBlockStoreRun = 512;
    if (count < kBlockStoreRun) {
        using Quad = PixelValue __attribute__((vector_size(16)));
        const Quad quad = { value, value, value, value };
        std::size_t i = 0;
        for (; i + 8 <= count; i += 8) {
            std::memcpy(first + i, &quad, sizeof quad);
            std::memcpy(first + i + 4, &quad, sizeof quad);
        }
        if (i + 4 <= count) {
            std::memcpy(first + i, &quad, sizeof quad);
            i += 4;
        }
        for (; i < count; ++i)
            first[i] = value;
        return;
    }
    std::uint64_t pair = (static_cast<std::uint64_t>(value) << 32) | value;
    std::size_t pairs = count / 2;
    PixelValue* tail = first + pairs * 2;
    asm volatile("rep stosq" : "+D"(first), "+c"(pairs) : "a"(pair) : "memory");
    if (count % 2 != 0)
        *tail = value;
#else
    // Short runs are done before a block copy would have started.
    constexpr std::size_t kShortRun = 32;
    if (count <= kShortRun) {
        for (std::size_t i = 0; i < count; ++i)
            first[i] = value;
        return;
    }
    constexpr std::size_t kSeed = 16;
    std::size_t done = std::min(count, kSeed);
    std::fill_n(first, done, value);
    while (done < count) {
        std::size_t chunk = std::min(done, count - done);
        std::memcpy(first + done, first, chunk * sizeof(PixelValue));
        done += chunk;
    }
#endif
}

enum class SurfaceFormat {
    Colour32,   // 0x00RRGGBB per pixel
    Monochrome, // one bit per pixel, kept unpacked as 0x000000 or 0xFFFFFF
};

// A top-down pixel grid. Monochrome surfaces store every pixel as all-zero or all-one
// bits so that raster operations work on both formats with the same bitwise code.
//
// Copies share their pixels until one of them is written, so a whole-surface block
// transfer (a control's back buffer onto its window) costs no copy: the writable
// accessors give a surface pixels of its own first. A write covering every pixel
// calls PrepareOverwrite instead, which leaves shared pixels to their other owner
// rather than copying what is about to be overwritten.
class Surface {
public:
    Surface() = default;
    Surface(int width, int height, SurfaceFormat format, PixelValue fill = 0);
    Surface(const Surface& other) { Share(other); }
    Surface& operator=(const Surface& other)
    {
        if (this != &other)
            Share(other);
        return *this;
    }
    // A moved-from surface is empty, not a second view of the pixels it gave away.
    Surface(Surface&& other) noexcept { Take(other); }
    Surface& operator=(Surface&& other) noexcept
    {
        if (this != &other)
            Take(other);
        return *this;
    }
    ~Surface() { Release(); }

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    SurfaceFormat Format() const { return m_format; }
    bool IsMonochrome() const { return m_format == SurfaceFormat::Monochrome; }
    IntRect Bounds() const { return { 0, 0, m_width, m_height }; }

    PixelValue* Row(int y)
    {
        Own();
        return m_data + static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width);
    }
    const PixelValue* Row(int y) const { return m_data + static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width); }
    std::span<PixelValue> Pixels()
    {
        Own();
        return { m_data, Count() };
    }
    std::span<const PixelValue> Pixels() const { return { m_data, Count() }; }

    PixelValue At(int x, int y) const { return Row(y)[x]; }
    void Set(int x, int y, PixelValue value) { Row(y)[x] = Quantize(value); }
    void Fill(PixelValue value);

    bool SharesPixelsWith(const Surface& other) const { return m_data && m_data == other.m_data; }
    // Readies the surface for a write of every pixel: shared pixels are not copied.
    void PrepareOverwrite()
    {
        if (m_shared) [[unlikely]]
            Part(false);
    }

    // Maps a colour onto what this surface can hold: unchanged for colour surfaces,
    // black or white by brightness for monochrome ones.
    PixelValue Quantize(PixelValue value) const
    {
        if (m_format == SurfaceFormat::Monochrome)
            return NearestMono(value);
        return value & 0xFFFFFFu;
    }
    static PixelValue NearestMono(PixelValue value);

    // Packed 1-bit rows, most significant bit leftmost, each row padded to `rowAlignBytes`.
    static Surface FromMonoBits(int width, int height, std::span<const std::uint8_t> bits, int rowAlignBytes);
    std::vector<std::uint8_t> ToMonoBits(int rowAlignBytes) const;

private:
    std::size_t Count() const { return static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height); }
    // The flag sits beside the pixel pointer, so a write checks it without reaching
    // the shared count; it may outlive the sharing, which Part then finds.
    void Own()
    {
        if (m_shared) [[unlikely]]
            Part(true);
    }
    // Gives the surface pixels no other surface holds, copied over when `keepPixels`.
    void Part(bool keepPixels);
    // Lets go of the pixels; the last holder keeps them for the next surface of their size.
    void Release() noexcept;
    void Share(const Surface& other);
    void Take(Surface& other) noexcept;

    int m_width = 0;
    int m_height = 0;
    SurfaceFormat m_format = SurfaceFormat::Colour32;
    std::shared_ptr<PixelValue[]> m_storage;
    PixelValue* m_data = nullptr;
    // Set on both sides of a copy: the pixels may have another owner.
    mutable bool m_shared = false;
};

}
