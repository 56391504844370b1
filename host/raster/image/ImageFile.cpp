#include "Dib.h"

#include <algorithm>
#include <fstream>

namespace korvane::raster::image {
namespace {

// Larger files are not images this program shows.
constexpr std::uintmax_t kMaxFileSize = std::uintmax_t { 256 } << 20;

bool StartsWith(Bytes data, std::initializer_list<std::uint8_t> signature)
{
    return data.size() >= signature.size() && std::equal(signature.begin(), signature.end(), data.begin());
}

}

ImageFormat DetectFormat(Bytes data)
{
    if (StartsWith(data, { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n' }))
        return ImageFormat::Png;
    if (StartsWith(data, { 0xFF, 0xD8, 0xFF }))
        return ImageFormat::Jpeg;
    if (StartsWith(data, { 'B', 'M' }))
        return ImageFormat::Bmp;
    if (StartsWith(data, { 0, 0, 1, 0 }) || StartsWith(data, { 0, 0, 2, 0 }))
        return ImageFormat::Ico;
    return ImageFormat::Unknown;
}

Result<Image> DecodeImage(Bytes data)
{
    switch (DetectFormat(data)) {
    case ImageFormat::Png:
        return DecodePng(data);
    case ImageFormat::Jpeg:
        return DecodeJpeg(data);
    case ImageFormat::Bmp:
        return DecodeBmp(data);
    case ImageFormat::Ico: {
        auto icon = DecodeIco(data);
        if (!icon)
            return Failure { icon.Error() };
        return std::move(icon.Value().color);
    }
    case ImageFormat::Unknown:
        break;
    }
    return Failure { "unrecognised image format" };
}

Result<std::vector<std::uint8_t>> ReadFileBytes(const std::filesystem::path& path)
{
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error)
        return Failure { path.string() + ": " + error.message() };
    if (size > kMaxFileSize)
        return Failure { path.string() + ": file is too large" };
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return Failure { path.string() + ": cannot open" };
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (static_cast<std::uintmax_t>(file.gcount()) != size)
        return Failure { path.string() + ": read failed" };
    return bytes;
}

Result<Image> LoadImageFile(const std::filesystem::path& path)
{
    auto bytes = ReadFileBytes(path);
    if (!bytes)
        return Failure { bytes.Error() };
    auto image = DecodeImage(bytes.Value());
    if (!image)
        return Failure { path.string() + ": " + image.Error() };
    return image;
}

Result<Icon> LoadIconFile(const std::filesystem::path& path, int desiredSize)
{
    auto bytes = ReadFileBytes(path);
    if (!bytes)
        return Failure { bytes.Error() };
    auto icon = DecodeIco(bytes.Value(), desiredSize);
    if (!icon)
        return Failure { path.string() + ": " + icon.Error() };
    return icon;
}

Result<Done> SavePng(const Image& image, const std::filesystem::path& path)
{
    auto encoded = EncodePng(image);
    if (!encoded)
        return Failure { encoded.Error() };
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file)
        return Failure { path.string() + ": cannot create" };
    file.write(reinterpret_cast<const char*>(encoded.Value().data()),
               static_cast<std::streamsize>(encoded.Value().size()));
    if (!file)
        return Failure { path.string() + ": write failed" };
    return Done {};
}

}
