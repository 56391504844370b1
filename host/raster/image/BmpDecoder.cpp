#include "Dib.h"

#include <algorithm>
#include <array>
#include <bit>
#include <climits>

namespace korvane::raster::image {
namespace {

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kBiAlphaBitfields = 6;

// Header sizes tell the header versions apart.
constexpr std::size_t kCoreHeaderSize = 12;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::size_t kV2HeaderSize = 52; // the first with colour masks inside
constexpr std::size_t kV3HeaderSize = 56; // the first with an alpha mask
constexpr std::size_t kOs2V2HeaderSize = 64;
constexpr std::size_t kV5HeaderSize = 124;
constexpr std::size_t kMaskSize = 4;
// More palette entries than this is a forged header, not a picture.
constexpr std::size_t kMaxPaletteEntries = 4096;

struct DibHeader {
    std::size_t headerSize = 0;
    int width = 0;
    int height = 0; // Rows of colour, always positive.
    bool topDown = false;
    int bitCount = 0;
    std::uint32_t compression = kBiRgb;
    std::uint32_t colorsUsed = 0;
    std::array<std::uint32_t, 4> masks {}; // Red, green, blue, alpha.
    std::size_t masksAfterHeader = 0;      // Bytes of masks stored after a 40-byte header.
    std::size_t paletteEntrySize = 4;
};

Result<DibHeader> ParseHeader(Bytes data, std::size_t offset, DibHeight height)
{
    if (!HasBytes(data, offset, 4))
        return Failure { "bitmap header is truncated" };
    DibHeader header;
    header.headerSize = ReadLe32(data, offset);
    long long rawHeight = 0;
    if (header.headerSize == kCoreHeaderSize) {
        if (!HasBytes(data, offset, kCoreHeaderSize))
            return Failure { "bitmap header is truncated" };
        header.width = ReadLe16(data, offset + 4);
        rawHeight = ReadLe16(data, offset + 6);
        header.bitCount = ReadLe16(data, offset + 10);
        header.paletteEntrySize = 3;
    } else if (header.headerSize >= kInfoHeaderSize && header.headerSize <= kV5HeaderSize) {
        if (!HasBytes(data, offset, header.headerSize))
            return Failure { "bitmap header is truncated" };
        header.width = static_cast<std::int32_t>(ReadLe32(data, offset + 4));
        rawHeight = static_cast<std::int32_t>(ReadLe32(data, offset + 8));
        header.bitCount = ReadLe16(data, offset + 14);
        header.compression = ReadLe32(data, offset + 16);
        header.colorsUsed = ReadLe32(data, offset + 32);
        // V2 and later headers carry the masks inside; a plain info header has them after it.
        const bool masksInside = header.headerSize >= kV2HeaderSize && header.headerSize != kOs2V2HeaderSize;
        if (masksInside) {
            for (std::size_t i = 0; i < 3; ++i)
                header.masks[i] = ReadLe32(data, offset + kInfoHeaderSize + kMaskSize * i);
            if (header.headerSize >= kV3HeaderSize)
                header.masks[3] = ReadLe32(data, offset + kV2HeaderSize);
        } else if (header.compression == kBiBitfields || header.compression == kBiAlphaBitfields) {
            header.masksAfterHeader = (header.compression == kBiAlphaBitfields ? 4 : 3) * kMaskSize;
            if (!HasBytes(data, offset + header.headerSize, header.masksAfterHeader))
                return Failure { "bitmap colour masks are truncated" };
            for (std::size_t i = 0; i < header.masksAfterHeader / kMaskSize; ++i)
                header.masks[i] = ReadLe32(data, offset + header.headerSize + kMaskSize * i);
        }
    } else {
        return Failure { "unsupported bitmap header size " + std::to_string(header.headerSize) };
    }

    if (rawHeight < 0) {
        header.topDown = true;
        rawHeight = -rawHeight;
    }
    if (height == DibHeight::DoubledForMask)
        rawHeight /= 2;
    if (header.width <= 0 || rawHeight <= 0 || header.width > kMaxDimension || rawHeight > kMaxDimension)
        return Failure { "bitmap size is out of range" };
    header.height = static_cast<int>(rawHeight);
    if (static_cast<std::size_t>(header.width) * static_cast<std::size_t>(header.height) > kMaxPixels)
        return Failure { "bitmap is too large" };

    switch (header.bitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        break;
    default:
        return Failure { "unsupported bit depth " + std::to_string(header.bitCount) };
    }
    const bool bitfields = header.compression == kBiBitfields || header.compression == kBiAlphaBitfields;
    if (bitfields && header.bitCount != 16 && header.bitCount != 32)
        return Failure { "bit fields need 16 or 32 bits per pixel" };
    const bool runLength = header.compression == kBiRle8 || header.compression == kBiRle4;
    if (runLength && header.bitCount != (header.compression == kBiRle8 ? 8 : 4))
        return Failure { "run-length compression does not match the bit depth" };
    if (runLength && header.topDown)
        return Failure { "run-length encoded bitmaps cannot be top-down" };
    if (header.compression != kBiRgb && !bitfields && !runLength)
        return Failure { "unsupported bitmap compression " + std::to_string(header.compression) };

    if (header.compression == kBiRgb && header.bitCount == 16)
        header.masks = { 0x7C00, 0x03E0, 0x001F, 0 };
    else if (header.compression == kBiRgb && header.bitCount == 32)
        header.masks = { 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000 };
    else if (header.compression == kBiRgb)
        header.masks = { 0x00FF0000, 0x0000FF00, 0x000000FF, 0 };
    return header;
}

// Widens a masked channel to 8 bits, so 5-bit 31 becomes 255.
struct Channel {
    explicit Channel(std::uint32_t mask)
        : m_mask(mask)
        , m_shift(mask ? std::countr_zero(mask) : 0)
        , m_bits(mask ? std::bit_width(mask >> m_shift) : 0)
    {
    }

    std::uint8_t Extract(std::uint32_t value) const
    {
        if (m_bits == 0)
            return 0;
        const std::uint32_t raw = (value & m_mask) >> m_shift;
        if (m_bits >= 8)
            return static_cast<std::uint8_t>(raw >> (m_bits - 8));
        const std::uint32_t maximum = (1u << m_bits) - 1;
        return static_cast<std::uint8_t>((raw * 255 + maximum / 2) / maximum);
    }

    bool Present() const { return m_bits != 0; }

private:
    std::uint32_t m_mask;
    int m_shift;
    int m_bits;
};

// Expands BI_RLE8 / BI_RLE4 data into the bottom-up image. Pixels the runs
// skip over take palette entry 0. The data must close with an end-of-bitmap
// escape, so a truncated stream is caught rather than drawn half blank.
Result<Done> ExpandRunLength(Bytes data, std::size_t offset, const DibHeader& header,
                             const std::vector<Pixel>& palette, Image& image)
{
    const bool fourBit = header.compression == kBiRle4;
    auto colour = [&](unsigned index) { return index < palette.size() ? palette[index] : MakePixel(0xFF, 0, 0, 0); };
    const Pixel background = colour(0);
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            image.Set(x, y, background);

    int x = 0;
    int row = 0; // Counted from the bottom.
    auto put = [&](unsigned index) {
        if (x < image.Width() && row < image.Height())
            image.Set(x, image.Height() - 1 - row, colour(index));
        ++x;
    };
    std::size_t at = offset;
    while (true) {
        if (!HasBytes(data, at, 2))
            return Failure { "run-length data is truncated" };
        const unsigned count = data[at];
        const unsigned value = data[at + 1];
        at += 2;
        if (count > 0) {
            for (unsigned i = 0; i < count && x < image.Width(); ++i)
                put(fourBit ? (i % 2 == 0 ? value >> 4 : value & 0x0F) : value);
            continue;
        }
        if (value == 0) {
            x = 0;
            ++row;
        } else if (value == 1) {
            return Done {};
        } else if (value == 2) {
            if (!HasBytes(data, at, 2))
                return Failure { "run-length data is truncated" };
            x += data[at];
            row += data[at + 1];
            at += 2;
        } else {
            // Absolute mode: `value` literal pixels, padded to a 16-bit boundary.
            const std::size_t bytes = fourBit ? (value + 1) / 2 : value;
            const std::size_t padded = (bytes + 1) & ~std::size_t { 1 };
            if (!HasBytes(data, at, padded))
                return Failure { "run-length data is truncated" };
            for (unsigned i = 0; i < value; ++i) {
                const unsigned byte = data[at + (fourBit ? i / 2 : i)];
                put(fourBit ? (i % 2 == 0 ? byte >> 4 : byte & 0x0F) : byte);
            }
            at += padded;
        }
        // Deltas can move far past the image; nothing more can land in it.
        if (row > image.Height() || x > kMaxDimension)
            return Failure { "run-length data runs outside the bitmap" };
    }
}

}

Result<DibImage> DecodeDibAt(Bytes data, std::size_t headerOffset, std::optional<std::size_t> bitsOffset,
                             DibHeight height)
{
    auto parsed = ParseHeader(data, headerOffset, height);
    if (!parsed)
        return Failure { parsed.Error() };
    const DibHeader& header = parsed.Value();

    // The palette follows the header and any masks.
    std::vector<Pixel> palette;
    const std::size_t paletteOffset = headerOffset + header.headerSize + header.masksAfterHeader;
    std::size_t paletteCount = header.colorsUsed;
    if (header.bitCount <= 8 && paletteCount == 0)
        paletteCount = std::size_t { 1 } << header.bitCount;
    if (header.headerSize == kCoreHeaderSize && header.bitCount <= 8)
        paletteCount = std::size_t { 1 } << header.bitCount;
    if (paletteCount > kMaxPaletteEntries)
        return Failure { "bitmap palette is implausibly large" };
    if (!HasBytes(data, paletteOffset, paletteCount * header.paletteEntrySize))
        return Failure { "bitmap palette is truncated" };
    if (header.bitCount <= 8) {
        palette.reserve(paletteCount);
        for (std::size_t i = 0; i < paletteCount; ++i) {
            const std::size_t at = paletteOffset + i * header.paletteEntrySize;
            palette.push_back(MakePixel(0xFF, data[at + 2], data[at + 1], data[at]));
        }
    }

    const std::size_t bits = bitsOffset.value_or(paletteOffset + paletteCount * header.paletteEntrySize);
    if (header.compression == kBiRle8 || header.compression == kBiRle4) {
        DibImage result;
        result.image = Image(header.width, header.height);
        auto expanded = ExpandRunLength(data, bits, header, palette, result.image);
        if (!expanded)
            return Failure { expanded.Error() };
        result.endOfBits = data.size();
        return result;
    }
    const std::size_t stride
        = ((static_cast<std::size_t>(header.width) * static_cast<std::size_t>(header.bitCount) + 31) / 32) * 4;
    const std::size_t bitsSize = stride * static_cast<std::size_t>(header.height);
    if (!HasBytes(data, bits, bitsSize))
        return Failure { "bitmap pixel data is truncated" };

    DibImage result;
    result.image = Image(header.width, header.height);
    result.endOfBits = bits + bitsSize;
    const std::array channels { Channel(header.masks[0]), Channel(header.masks[1]), Channel(header.masks[2]),
                                Channel(header.masks[3]) };
    bool anyAlpha = false;
    for (int row = 0; row < header.height; ++row) {
        const int y = header.topDown ? row : header.height - 1 - row;
        const std::uint8_t* source = data.data() + bits + stride * static_cast<std::size_t>(row);
        Pixel* target = result.image.Row(y);
        for (int x = 0; x < header.width; ++x) {
            const auto ux = static_cast<std::size_t>(x);
            if (header.bitCount <= 8) {
                const int perByte = 8 / header.bitCount;
                const int shift = 8 - header.bitCount * (x % perByte + 1);
                const std::size_t index
                    = (source[ux / static_cast<std::size_t>(perByte)] >> shift) & ((1u << header.bitCount) - 1);
                target[x] = index < palette.size() ? palette[index] : MakePixel(0xFF, 0, 0, 0);
                continue;
            }
            std::uint32_t value = 0;
            if (header.bitCount == 16)
                value = ReadLe16(data, bits + stride * static_cast<std::size_t>(row) + ux * 2);
            else if (header.bitCount == 24)
                value = std::uint32_t { source[ux * 3] } | (std::uint32_t { source[ux * 3 + 1] } << 8)
                    | (std::uint32_t { source[ux * 3 + 2] } << 16);
            else
                value = ReadLe32(data, bits + stride * static_cast<std::size_t>(row) + ux * 4);
            const std::uint8_t alpha = channels[3].Extract(value);
            anyAlpha = anyAlpha || alpha != 0;
            target[x] = MakePixel(alpha, channels[0].Extract(value), channels[1].Extract(value),
                                  channels[2].Extract(value));
        }
    }

    // Most 32-bit bitmaps leave the fourth byte zero; Windows draws them opaque.
    result.hasAlpha = channels[3].Present() && anyAlpha;
    if (header.bitCount > 8 && !result.hasAlpha) {
        for (int y = 0; y < header.height; ++y) {
            Pixel* row = result.image.Row(y);
            for (int x = 0; x < header.width; ++x)
                row[x] |= 0xFF000000u;
        }
    }
    return result;
}

std::optional<DibShape> PeekDib(Bytes data, std::size_t headerOffset, DibHeight height)
{
    auto parsed = ParseHeader(data, headerOffset, height);
    if (!parsed)
        return std::nullopt;
    return DibShape { parsed.Value().width, parsed.Value().height, parsed.Value().bitCount };
}

Result<Image> DecodeDib(Bytes data)
{
    auto dib = DecodeDibAt(data, 0, std::nullopt, DibHeight::AsStored);
    if (!dib)
        return Failure { dib.Error() };
    return std::move(dib.Value().image);
}

Result<Image> DecodeBmp(Bytes data)
{
    constexpr std::size_t kFileHeaderSize = 14;
    if (!HasBytes(data, 0, kFileHeaderSize) || data[0] != 'B' || data[1] != 'M')
        return Failure { "not a BMP file" };
    const std::size_t bitsOffset = ReadLe32(data, 10);
    // Some writers leave the offset zero; the bits then follow the palette.
    std::optional<std::size_t> bits;
    if (bitsOffset != 0)
        bits = bitsOffset;
    auto dib = DecodeDibAt(data, kFileHeaderSize, bits, DibHeight::AsStored);
    if (!dib)
        return Failure { dib.Error() };
    return std::move(dib.Value().image);
}

}
