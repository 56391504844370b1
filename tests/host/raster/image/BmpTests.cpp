#include "ImageTestSupport.h"

namespace korvane::raster::image {
namespace {

using testing::ByteWriter;
using testing::ExpectEveryPrefixRefused;

struct DibShape {
    int width = 0;
    int height = 0; // Negative stores the rows top-down.
    int bitCount = 24;
    std::uint32_t compression = 0;
    std::uint32_t headerSize = 40;
    std::vector<std::uint32_t> masks {}; // Inside a V5 header, else after a 40-byte one.
    std::vector<std::uint32_t> palette {}; // 0x00RRGGBB.
    std::uint32_t colorsUsed = 0;
    std::vector<std::vector<std::uint8_t>> rows {}; // Top row first, unpadded.
    std::vector<std::uint8_t> encoded {};           // Written as it is, for run-length data.
};

std::vector<std::uint8_t> MakeDib(const DibShape& shape)
{
    ByteWriter out;
    if (shape.headerSize == 12) {
        out.U32(12).U16(static_cast<unsigned>(shape.width)).U16(static_cast<unsigned>(shape.height)).U16(1).U16(
            static_cast<unsigned>(shape.bitCount));
    } else {
        out.U32(shape.headerSize).I32(shape.width).I32(shape.height).U16(1).U16(static_cast<unsigned>(shape.bitCount));
        out.U32(shape.compression).U32(0).I32(2835).I32(2835).U32(shape.colorsUsed).U32(0);
        if (shape.headerSize == 124) {
            for (std::size_t i = 0; i < 4; ++i)
                out.U32(i < shape.masks.size() ? shape.masks[i] : 0);
            out.Append(std::vector<std::uint8_t>(124 - out.Bytes().size(), 0));
        }
    }
    if (shape.headerSize == 40)
        for (std::uint32_t mask : shape.masks)
            out.U32(mask);
    for (std::uint32_t colour : shape.palette) {
        out.U8(colour & 0xFF).U8((colour >> 8) & 0xFF).U8((colour >> 16) & 0xFF);
        if (shape.headerSize != 12)
            out.U8(0);
    }
    out.Append(shape.encoded);
    const bool topDown = shape.height < 0;
    for (std::size_t i = 0; i < shape.rows.size(); ++i) {
        auto row = shape.rows[topDown ? i : shape.rows.size() - 1 - i];
        row.resize((row.size() + 3) / 4 * 4, 0);
        out.Append(row);
    }
    return out.Bytes();
}

std::vector<std::uint8_t> MakeBmp(const DibShape& shape)
{
    const std::vector<std::uint8_t> dib = MakeDib(shape);
    const std::size_t paletteBytes = shape.palette.size() * (shape.headerSize == 12 ? 3 : 4);
    const std::size_t masksBytes = shape.headerSize == 40 ? shape.masks.size() * 4 : 0;
    ByteWriter out;
    out.U8('B').U8('M').U32(static_cast<std::uint32_t>(14 + dib.size())).U32(0);
    out.U32(static_cast<std::uint32_t>(14 + shape.headerSize + masksBytes + paletteBytes));
    out.Append(dib);
    return out.Bytes();
}

constexpr Pixel kRed = 0xFFFF0000;
constexpr Pixel kGreen = 0xFF00FF00;
constexpr Pixel kBlue = 0xFF0000FF;
constexpr Pixel kWhite = 0xFFFFFFFF;
constexpr Pixel kBlack = 0xFF000000;

// Two rows of three pixels: red green blue over white black red (B, G, R order).
const std::vector<std::vector<std::uint8_t>> kRgbRows {
    { 0, 0, 255, 0, 255, 0, 255, 0, 0 },
    { 255, 255, 255, 0, 0, 0, 0, 0, 255 },
};
const std::vector<Pixel> kRgbPixels { kRed, kGreen, kBlue, kWhite, kBlack, kRed };

// Colours 1, 2 and 15 are red, blue and white, the rest black.
const std::vector<std::uint32_t> kSixteenColours { 0, 0xFF0000, 0x0000FF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFFFFFF };

// Each file decodes to its pixels, and every shorter prefix of it is refused.
TEST(Bmp, DecodesEveryDepthHeaderAndRowOrderAndRefusesEveryTruncation)
{
    struct Case {
        const char* what;
        DibShape dib;
        std::vector<Pixel> pixels;
    };
    const Case cases[] = {
        { "24-bit bottom-up", { .width = 3, .height = 2, .rows = kRgbRows }, kRgbPixels },
        { "24-bit top-down", { .width = 3, .height = -2, .rows = kRgbRows }, kRgbPixels },
        { "8-bit: indices past a short palette are black",
          { .width = 3, .height = 1, .bitCount = 8, .palette = { 0xFF0000, 0x00FF00 }, .colorsUsed = 2,
            .rows = { { 1, 0, 7 } } }, { kGreen, kRed, kBlack } },
        { "4-bit: the high nibble is the left pixel",
          { .width = 3, .height = 1, .bitCount = 4, .palette = kSixteenColours, .rows = { { 0x12, 0xF0 } } },
          { kRed, kBlue, kWhite } },
        { "1-bit: the top bit is the left pixel, ten pixels cross a byte",
          { .width = 10, .height = 2, .bitCount = 1, .palette = { 0x000000, 0xFFFFFF },
            .rows = { { 0b10100000, 0b01000000 }, { 0xFF, 0xC0 } } },
          { kWhite, kBlack, kWhite, kBlack, kBlack, kBlack, kBlack, kBlack, kBlack, kWhite,
            kWhite, kWhite, kWhite, kWhite, kWhite, kWhite, kWhite, kWhite, kWhite, kWhite } },
        { "core header: three-byte palette entries",
          { .width = 2, .height = 1, .bitCount = 1, .headerSize = 12, .palette = { 0x0000FF, 0xFF0000 },
            .rows = { { 0b01000000 } } }, { kBlue, kRed } },
        { "16-bit BI_RGB is 5-5-5, full channels widen to 255",
          { .width = 2, .height = 1, .bitCount = 16, .rows = { { 0xFF, 0x7F, 0x1F, 0x00 } } }, { kWhite, kBlue } },
        { "16-bit 5-6-5 masks after a plain header",
          { .width = 2, .height = 1, .bitCount = 16, .compression = 3, .masks = { 0xF800, 0x07E0, 0x001F },
            .rows = { { 0xE0, 0x07, 0x00, 0xF8 } } }, { kGreen, kRed } },
        { "32-bit with zero fourth bytes draws opaque",
          { .width = 1, .height = 1, .bitCount = 32, .rows = { { 1, 2, 3, 0 } } }, { 0xFF030201 } },
        { "32-bit with a non-zero fourth byte keeps alpha",
          { .width = 2, .height = 1, .bitCount = 32, .rows = { { 1, 2, 3, 0x80, 4, 5, 6, 0 } } },
          { 0x80030201, 0x00060504 } },
        { "V5 header masks, red and blue swapped",
          { .width = 1, .height = -1, .bitCount = 32, .compression = 3, .headerSize = 124,
            .masks = { 0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000 }, .rows = { { 0x11, 0x22, 0x33, 0x44 } } },
          { 0x44112233 } },
        // Bottom row: a run of four 1s. Middle: literal 2 1 2. Top: skip one, a run of two 2s.
        { "RLE8 runs, literals and deltas",
          { .width = 4, .height = 3, .bitCount = 8, .compression = 1, .palette = { 0x000000, 0xFF0000, 0x0000FF },
            .colorsUsed = 3, .encoded = { 4, 1, 0, 0, 0, 3, 2, 1, 2, 0, 0, 0, 0, 2, 1, 0, 2, 2, 0, 1 } },
          { kBlack, kBlue, kBlue, kBlack, kBlue, kRed, kBlue, kBlack, kRed, kRed, kRed, kRed } },
        // A run alternates the two nibbles; a literal of three nibbles pads to two bytes.
        { "RLE4 runs and padded literals",
          { .width = 8, .height = 1, .bitCount = 4, .compression = 2, .palette = kSixteenColours,
            .encoded = { 5, 0x12, 0, 3, 0x21, 0x20, 0, 1 } }, { kRed, kBlue, kRed, kBlue, kRed, kBlue, kRed, kBlue } },
    };
    for (const Case& c : cases) {
        const std::vector<std::uint8_t> file = MakeBmp(c.dib);
        auto image = DecodeBmp(file);
        ASSERT_TRUE(image.Ok()) << c.what << ": " << image.Error();
        EXPECT_EQ(std::pair(image.Value().Width(), image.Value().Pixels()), std::pair(c.dib.width, c.pixels)) << c.what;
        ExpectEveryPrefixRefused(file, DecodeBmp);
    }

    // A DIB without the file header finds its bits after the header.
    const std::vector<std::uint8_t> dib = MakeDib({ .width = 3, .height = 2, .rows = kRgbRows });
    auto fromDib = DecodeDib(dib);
    ASSERT_TRUE(fromDib.Ok()) << fromDib.Error();
    EXPECT_EQ(fromDib.Value().Pixels(), kRgbPixels);
    ExpectEveryPrefixRefused(dib, DecodeDib);
}

TEST(Bmp, MalformedHeadersAreRefused)
{
    const std::vector<std::uint8_t> good = MakeBmp({ .width = 3, .height = 2, .rows = kRgbRows });
    const std::vector<std::uint8_t> paletted
        = MakeBmp({ .width = 1, .height = 1, .bitCount = 8, .palette = { 0 }, .colorsUsed = 1, .rows = { { 0 } } });
    struct Patch {
        const char* what;
        const std::vector<std::uint8_t>& file;
        std::size_t offset;
        std::uint32_t value;
    };
    const Patch patches[] = {
        { "unknown header size", good, 14, 20 },
        { "zero width", good, 18, 0 },
        { "absurd width", good, 18, 0x7FFFFFFF },
        { "wider than the bits that follow", good, 18, 30000 },
        { "the most negative height", good, 22, 0x80000000 },
        { "seven bits per pixel", good, 28, 7 },
        { "RLE8 on a 24-bit image", good, 30, 1 },
        { "bits beyond the end", good, 10, 0xFFFFFFF0 },
        { "a palette far beyond the file", paletted, 46, 0x40000000 },
    };
    for (const Patch& patch : patches) {
        auto result = DecodeBmp(ByteWriter().Append(patch.file).PatchU32(patch.offset, patch.value).Bytes());
        EXPECT_TRUE(!result.Ok() && !result.Error().empty()) << patch.what;
    }
    // A delta far below the image is refused rather than followed.
    EXPECT_FALSE(DecodeBmp(MakeBmp({ .width = 4, .height = 3, .bitCount = 8, .compression = 1, .palette = { 0 },
                                     .colorsUsed = 1, .encoded = { 0, 2, 0, 200, 1, 1, 0, 1 } }))
                     .Ok());
    EXPECT_FALSE(DecodeBmp(std::vector<std::uint8_t> { 'B', 'A', 0, 0 }).Ok());
}

}
}
