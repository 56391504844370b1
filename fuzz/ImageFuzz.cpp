// One image decoder over any bytes, chosen by the target's definition: it decodes
// or refuses, and what it decodes is whole.
#include "fuzz/FuzzCheck.h"
#include "host/raster/image/Codecs.h"

#include <cstdint>

using namespace korvane::raster::image;
using korvane::fuzz::Require;

namespace {

void RequireWhole(const Image& image)
{
    Require(image.Pixels().size() == static_cast<std::size_t>(image.Width()) * static_cast<std::size_t>(image.Height()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Bytes bytes(data, size);
#if defined(KORVANE_FUZZ_BMP)
    if (auto image = DecodeBmp(bytes))
        RequireWhole(image.Value());
    if (auto image = DecodeDib(bytes))
        RequireWhole(image.Value());
#elif defined(KORVANE_FUZZ_ICO)
    // The length picks the wanted size, as callers ask for the largest, 16, 32 or 48.
    constexpr int kDesiredSizes[] = { 0, 16, 32, 48 };
    int desiredSize = kDesiredSizes[size % 4];
    if (auto icon = DecodeIco(bytes, desiredSize)) {
        RequireWhole(icon.Value().color);
        Require(icon.Value().mask.Width() == icon.Value().color.Width() && icon.Value().mask.Height() == icon.Value().color.Height());
    }
#elif defined(KORVANE_FUZZ_PNG)
    if (auto image = DecodePng(bytes))
        RequireWhole(image.Value());
#elif defined(KORVANE_FUZZ_JPEG)
    if (auto image = DecodeJpeg(bytes))
        RequireWhole(image.Value());
#endif
    (void)DetectFormat(bytes);
    return 0;
}
