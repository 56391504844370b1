#include "Dib.h"

#include <algorithm>
#include <cstdlib>

namespace korvane::raster::image {
namespace {

constexpr std::size_t kDirectorySize = 6;
constexpr std::size_t kEntrySize = 16;
// A PNG's width and height are the first fields of its header chunk.
constexpr std::size_t kPngWidthOffset = 16;
constexpr std::size_t kPngHeightOffset = 20;

struct Entry {
    std::size_t offset = 0;
    std::size_t size = 0;
    bool png = false;
    int width = 0;
    int height = 0;
    int bitCount = 0;
};

std::uint32_t ReadBe32(Bytes data, std::size_t offset)
{
    return (std::uint32_t { data[offset] } << 24) | (std::uint32_t { data[offset + 1] } << 16)
        | (std::uint32_t { data[offset + 2] } << 8) | std::uint32_t { data[offset + 3] };
}

// Directory fields are often wrong (0 colours, a 256 stored as 0), so the shape
// is read from the image each entry holds.
std::optional<Entry> ReadEntry(Bytes data, std::size_t index)
{
    const std::size_t at = kDirectorySize + index * kEntrySize;
    Entry entry;
    entry.size = ReadLe32(data, at + 8);
    entry.offset = ReadLe32(data, at + 12);
    if (!HasBytes(data, entry.offset, entry.size))
        return std::nullopt;
    const Bytes image = data.subspan(entry.offset, entry.size);
    if (DetectFormat(image) == ImageFormat::Png) {
        if (image.size() < kPngHeightOffset + 4)
            return std::nullopt;
        entry.png = true;
        entry.width = static_cast<int>(std::min<std::uint32_t>(ReadBe32(image, kPngWidthOffset), kMaxDimension));
        entry.height = static_cast<int>(std::min<std::uint32_t>(ReadBe32(image, kPngHeightOffset), kMaxDimension));
        entry.bitCount = 32;
        return entry;
    }
    auto shape = PeekDib(image, 0, DibHeight::DoubledForMask);
    if (!shape)
        return std::nullopt;
    entry.width = shape->width;
    entry.height = shape->height;
    entry.bitCount = shape->bitCount;
    return entry;
}

bool Better(const Entry& candidate, const Entry& best, int desiredSize)
{
    if (desiredSize <= 0) {
        if (candidate.width != best.width)
            return candidate.width > best.width;
        return candidate.bitCount > best.bitCount;
    }
    const int candidateDistance = std::abs(candidate.width - desiredSize);
    const int bestDistance = std::abs(best.width - desiredSize);
    if (candidateDistance != bestDistance)
        return candidateDistance < bestDistance;
    // Scaling down looks better than scaling up.
    if (candidate.width != best.width)
        return candidate.width > best.width;
    return candidate.bitCount > best.bitCount;
}

Result<Icon> DecodeEntry(Bytes data)
{
    Icon icon;
    if (DetectFormat(data) == ImageFormat::Png) {
        auto png = DecodePng(data);
        if (!png)
            return Failure { png.Error() };
        icon.color = std::move(png.Value());
        icon.mask = Mask(icon.color.Width(), icon.color.Height());
        for (int y = 0; y < icon.color.Height(); ++y)
            for (int x = 0; x < icon.color.Width(); ++x)
                icon.mask.Set(x, y, AlphaOf(icon.color.At(x, y)) == 0);
        return icon;
    }

    auto dib = DecodeDibAt(data, 0, std::nullopt, DibHeight::DoubledForMask);
    if (!dib)
        return Failure { "ICO: " + dib.Error() };
    icon.color = std::move(dib.Value().image);
    const int width = icon.color.Width();
    const int height = icon.color.Height();
    icon.mask = Mask(width, height);
    // The AND mask is stored bottom-up, one bit per pixel, rows padded to 32 bits.
    const std::size_t stride = ((static_cast<std::size_t>(width) + 31) / 32) * 4;
    const std::size_t maskOffset = dib.Value().endOfBits;
    const bool hasMask = HasBytes(data, maskOffset, stride * static_cast<std::size_t>(height));
    // Some writers drop the mask of 32-bit entries, whose alpha says it all.
    if (!hasMask && !dib.Value().hasAlpha)
        return Failure { "ICO: the AND mask is truncated" };
    for (int y = 0; y < height; ++y) {
        const std::size_t row = maskOffset + stride * static_cast<std::size_t>(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            const auto ux = static_cast<std::size_t>(x);
            bool transparent = false;
            if (hasMask)
                transparent = (data[row + ux / 8] & (0x80 >> (ux % 8))) != 0;
            else
                transparent = AlphaOf(icon.color.At(x, y)) == 0;
            icon.mask.Set(x, y, transparent);
            if (!dib.Value().hasAlpha && transparent)
                icon.color.Set(x, y, icon.color.At(x, y) & 0x00FFFFFFu);
        }
    }
    return icon;
}

}

Result<Icon> DecodeIco(Bytes data, int desiredSize)
{
    if (!HasBytes(data, 0, kDirectorySize) || ReadLe16(data, 0) != 0)
        return Failure { "ICO: not an icon file" };
    const std::uint16_t type = ReadLe16(data, 2);
    if (type != 1 && type != 2)
        return Failure { "ICO: not an icon file" };
    const std::size_t count = ReadLe16(data, 4);
    if (count == 0)
        return Failure { "ICO: the icon has no images" };
    if (!HasBytes(data, kDirectorySize, count * kEntrySize))
        return Failure { "ICO: the directory is truncated" };

    std::optional<Entry> best;
    for (std::size_t i = 0; i < count; ++i) {
        auto entry = ReadEntry(data, i);
        if (entry && (!best || Better(*entry, *best, desiredSize)))
            best = entry;
    }
    if (!best)
        return Failure { "ICO: no entry holds a readable image" };
    return DecodeEntry(data.subspan(best->offset, best->size));
}

}
