#pragma once

// Internal: DIB parsing shared by the BMP and ICO decoders.

#include "Codecs.h"

#include <cstddef>
#include <optional>

namespace korvane::raster::image {

// Decoders refuse anything larger, so a forged header cannot demand gigabytes.
inline constexpr int kMaxDimension = 32768;
inline constexpr std::size_t kMaxPixels = std::size_t { 1 } << 26;

inline bool HasBytes(Bytes data, std::size_t offset, std::size_t count)
{
    return offset <= data.size() && count <= data.size() - offset;
}
inline std::uint16_t ReadLe16(Bytes data, std::size_t offset)
{
    return static_cast<std::uint16_t>(data[offset] | (data[offset + 1] << 8));
}
inline std::uint32_t ReadLe32(Bytes data, std::size_t offset)
{
    return std::uint32_t { data[offset] } | (std::uint32_t { data[offset + 1] } << 8)
        | (std::uint32_t { data[offset + 2] } << 16) | (std::uint32_t { data[offset + 3] } << 24);
}

enum class DibHeight {
    AsStored,
    DoubledForMask, // Icon entries store the colour and the AND mask in one double-height DIB.
};

struct DibImage {
    Image image;
    bool hasAlpha = false; // The file carried non-zero alpha; otherwise the image is opaque.
    std::size_t endOfBits = 0; // Where the colour bits end, which is where an icon's mask starts.
};

// Decodes the DIB whose header starts at `headerOffset`. The bits follow the
// header and palette unless `bitsOffset` says where they are.
Result<DibImage> DecodeDibAt(Bytes data, std::size_t headerOffset, std::optional<std::size_t> bitsOffset,
                             DibHeight height);

// The width, height and bit depth a DIB header announces, without decoding it.
struct DibShape {
    int width = 0;
    int height = 0;
    int bitCount = 0;
};
std::optional<DibShape> PeekDib(Bytes data, std::size_t headerOffset, DibHeight height);

}
