#pragma once

#include "Image.h"
#include "host/raster/Result.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace korvane::raster::image {

using Bytes = std::span<const std::uint8_t>;

enum class ImageFormat {
    Unknown,
    Bmp,
    Png,
    Jpeg,
    Ico, // Icons and cursors share the format.
};

// Identifies a format by its signature, not by a file name.
ImageFormat DetectFormat(Bytes data);

// A .bmp file: BITMAPFILEHEADER, then a DIB. Reads 1, 4, 8, 16, 24 and 32 bits per
// pixel, BI_RGB, BI_BITFIELDS, BI_ALPHABITFIELDS, BI_RLE8 and BI_RLE4, either
// row order, core and info headers up to V5. A 32-bit image whose alpha bytes are all zero is opaque,
// as Windows draws it.
Result<Image> DecodeBmp(Bytes data);

// A DIB without the file header (BITMAPINFO followed by the bits), as resources
// and the clipboard hold it.
Result<Image> DecodeDib(Bytes data);

Result<Image> DecodePng(Bytes data);
Result<Image> DecodeJpeg(Bytes data);

// An icon: straight-alpha colour plus the AND mask. Where the mask is set the
// colour's alpha is 0; a 32-bit entry keeps its own alpha.
struct Icon {
    Image color;
    Mask mask;
};

// Picks the entry closest to `desiredSize` pixels (the larger on a tie, then the
// deepest colour); a size of 0 picks the largest entry.
Result<Icon> DecodeIco(Bytes data, int desiredSize = 0);

// Any format above, by signature; an icon comes back as its colour image.
Result<Image> DecodeImage(Bytes data);

Result<std::vector<std::uint8_t>> ReadFileBytes(const std::filesystem::path& path);
Result<Image> LoadImageFile(const std::filesystem::path& path);
Result<Icon> LoadIconFile(const std::filesystem::path& path, int desiredSize = 0);

// Lossless 8-bit RGBA PNG, alpha kept.
Result<std::vector<std::uint8_t>> EncodePng(const Image& image);
Result<Done> SavePng(const Image& image, const std::filesystem::path& path);

}
