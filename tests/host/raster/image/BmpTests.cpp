#include "ImageTestSupport.h"

namespace korvane::raster::image {
namespace {

using testing::ByteWriter;
using testing::ExpectEveryPrefixRefused;

struct DibSpec {
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

std::vector<std::uint8_t> MakeDib(const DibSpec& shape)
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
            while (out.Size() < 124)
                out.U8(0);
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

std::vector<std::uint8_t> MakeBmp(const DibSpec& shape)
{
    const std::vector<std::uint8_t> dib = MakeDib(shape);
    const std::size_t paletteBytes = shape.palette.size() * (shape.headerSize == 12 ? 3 : 4);
    const std::size_t masksBytes = shape.headerSize == 40 ? shape.masks.size() * 4 : 0;
    ByteWriter out;
    out.Raw({ 'B', 'M' }).U32(static_cast<std::uint32_t>(14 + dib.size())).U32(0);
    out.U32(static_cast<std::uint32_t>(14 + shape.headerSize + masksBytes + paletteBytes));
    out.Append(dib);
    return out.Bytes();
}

// Falls back to a blank 16x16 image so a failed decode reports mismatches, not a crash.
Image Decoded(const std::vector<std::uint8_t>& file)
{
    auto image = DecodeBmp(file);
    EXPECT_TRUE(image.Ok()) << image.Error();
    return image.Ok() ? image.Value() : Image(16, 16);
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

void ExpectRgbPattern(const Image& image)
{
    ASSERT_EQ(image.Width(), 3);
    ASSERT_EQ(image.Height(), 2);
    EXPECT_EQ(image.At(0, 0), kRed);
    EXPECT_EQ(image.At(1, 0), kGreen);
    EXPECT_EQ(image.At(2, 0), kBlue);
    EXPECT_EQ(image.At(0, 1), kWhite);
    EXPECT_EQ(image.At(1, 1), kBlack);
    EXPECT_EQ(image.At(2, 1), kRed);
}

TEST(Bmp, TwentyFourBitInBothRowOrders)
{
    ExpectRgbPattern(Decoded(MakeBmp({ .width = 3, .height = 2, .rows = kRgbRows })));
    ExpectRgbPattern(Decoded(MakeBmp({ .width = 3, .height = -2, .rows = kRgbRows })));
    // A DIB without the file header finds its bits after the header.
    auto dib = DecodeDib(MakeDib({ .width = 3, .height = 2, .rows = kRgbRows }));
    ASSERT_TRUE(dib.Ok()) << dib.Error();
    ExpectRgbPattern(dib.Value());
}

TEST(Bmp, PalettedDepths)
{
    // 8-bit with a short palette: indices past it come out black.
    const Image eight = Decoded(MakeBmp({ .width = 3, .height = 1, .bitCount = 8,
                                          .palette = { 0xFF0000, 0x00FF00 }, .colorsUsed = 2,
                                          .rows = { { 1, 0, 7 } } }));
    EXPECT_EQ(eight.At(0, 0), kGreen);
    EXPECT_EQ(eight.At(1, 0), kRed);
    EXPECT_EQ(eight.At(2, 0), kBlack);

    // 4-bit: the high nibble is the left pixel.
    std::vector<std::uint32_t> sixteen(16, 0);
    sixteen[1] = 0xFF0000;
    sixteen[2] = 0x0000FF;
    sixteen[15] = 0xFFFFFF;
    const Image four = Decoded(MakeBmp({ .width = 3, .height = 1, .bitCount = 4, .palette = sixteen,
                                         .rows = { { 0x12, 0xF0 } } }));
    EXPECT_EQ(four.At(0, 0), kRed);
    EXPECT_EQ(four.At(1, 0), kBlue);
    EXPECT_EQ(four.At(2, 0), kWhite);

    // 1-bit: the top bit is the left pixel; ten pixels cross a byte.
    const Image one = Decoded(MakeBmp({ .width = 10, .height = 2, .bitCount = 1, .palette = { 0x000000, 0xFFFFFF },
                                        .rows = { { 0b10100000, 0b01000000 }, { 0xFF, 0xC0 } } }));
    EXPECT_EQ(one.At(0, 0), kWhite);
    EXPECT_EQ(one.At(1, 0), kBlack);
    EXPECT_EQ(one.At(2, 0), kWhite);
    EXPECT_EQ(one.At(9, 0), kWhite);
    EXPECT_EQ(one.At(8, 0), kBlack);
    EXPECT_EQ(one.At(9, 1), kWhite);

    // The OS/2 core header has three-byte palette entries.
    const Image core = Decoded(MakeBmp({ .width = 2, .height = 1, .bitCount = 1, .headerSize = 12,
                                         .palette = { 0x0000FF, 0xFF0000 }, .rows = { { 0b01000000 } } }));
    EXPECT_EQ(core.At(0, 0), kBlue);
    EXPECT_EQ(core.At(1, 0), kRed);
}

TEST(Bmp, DirectColourDepthsAndMasks)
{
    // 16-bit BI_RGB is 5-5-5: full channels widen to 255.
    const Image rgb555 = Decoded(MakeBmp({ .width = 2, .height = 1, .bitCount = 16,
                                           .rows = { { 0xFF, 0x7F, 0x1F, 0x00 } } }));
    EXPECT_EQ(rgb555.At(0, 0), kWhite);
    EXPECT_EQ(rgb555.At(1, 0), kBlue);

    // BI_BITFIELDS 5-6-5 after a plain header.
    const Image rgb565 = Decoded(MakeBmp({ .width = 2, .height = 1, .bitCount = 16, .compression = 3,
                                           .masks = { 0xF800, 0x07E0, 0x001F }, .rows = { { 0xE0, 0x07, 0x00, 0xF8 } } }));
    EXPECT_EQ(rgb565.At(0, 0), kGreen);
    EXPECT_EQ(rgb565.At(1, 0), kRed);

    // 32-bit BI_RGB with zero fourth bytes draws opaque; non-zero bytes are alpha.
    const Image opaque = Decoded(MakeBmp({ .width = 1, .height = 1, .bitCount = 32, .rows = { { 1, 2, 3, 0 } } }));
    EXPECT_EQ(opaque.At(0, 0), 0xFF030201u);
    const Image translucent
        = Decoded(MakeBmp({ .width = 2, .height = 1, .bitCount = 32, .rows = { { 1, 2, 3, 0x80, 4, 5, 6, 0 } } }));
    EXPECT_EQ(translucent.At(0, 0), 0x80030201u);
    EXPECT_EQ(translucent.At(1, 0), 0x00060504u);

    // A V5 header with its own masks, here with red and blue swapped.
    const Image v5 = Decoded(MakeBmp({ .width = 1, .height = -1, .bitCount = 32, .compression = 3, .headerSize = 124,
                                       .masks = { 0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000 },
                                       .rows = { { 0x11, 0x22, 0x33, 0x44 } } }));
    EXPECT_EQ(v5.At(0, 0), 0x44112233u);
}

TEST(Bmp, RunLengthEncoding)
{
    // Bottom row: a run of four 1s. Middle: literal 2 1 2. Top: skip one, a run of two 2s.
    const std::vector<std::uint8_t> rle8 { 4, 1, 0, 0, 0, 3, 2, 1, 2, 0, 0, 0, 0, 2, 1, 0, 2, 2, 0, 1 };
    const auto file = MakeBmp({ .width = 4, .height = 3, .bitCount = 8, .compression = 1,
                                .palette = { 0x000000, 0xFF0000, 0x0000FF }, .colorsUsed = 3, .encoded = rle8 });
    const Image image = Decoded(file);
    const std::vector<Pixel> expected { kBlack, kBlue, kBlue, kBlack, kBlue, kRed, kBlue, kBlack,
                                        kRed,   kRed,  kRed,  kRed };
    EXPECT_EQ(image.Pixels(), expected);
    ExpectEveryPrefixRefused(file, DecodeBmp);

    std::vector<std::uint32_t> sixteen(16, 0);
    sixteen[1] = 0xFF0000;
    sixteen[2] = 0x0000FF;
    // A run alternates the two nibbles; a literal of three nibbles pads to two bytes.
    const Image four = Decoded(MakeBmp({ .width = 8, .height = 1, .bitCount = 4, .compression = 2,
                                         .palette = sixteen, .encoded = { 5, 0x12, 0, 3, 0x21, 0x20, 0, 1 } }));
    EXPECT_EQ(four.Pixels(), (std::vector<Pixel> { kRed, kBlue, kRed, kBlue, kRed, kBlue, kRed, kBlue }));

    // A delta far below the image is refused rather than followed.
    EXPECT_FALSE(DecodeBmp(MakeBmp({ .width = 4, .height = 3, .bitCount = 8, .compression = 1,
                                     .palette = { 0 }, .colorsUsed = 1, .encoded = { 0, 2, 0, 200, 1, 1, 0, 1 } }))
                     .Ok());
}

TEST(Bmp, TruncatedFilesAreRefused)
{
    ExpectEveryPrefixRefused(MakeBmp({ .width = 3, .height = 2, .rows = kRgbRows }), DecodeBmp);
    ExpectEveryPrefixRefused(MakeBmp({ .width = 10, .height = 2, .bitCount = 1, .palette = { 0, 0xFFFFFF },
                                       .rows = { { 0, 0 }, { 0, 0 } } }),
                             DecodeBmp);
    ExpectEveryPrefixRefused(MakeBmp({ .width = 1, .height = -1, .bitCount = 32, .compression = 3, .headerSize = 124,
                                       .masks = { 0xFF, 0xFF00, 0xFF0000, 0xFF000000 }, .rows = { { 1, 2, 3, 4 } } }),
                             DecodeBmp);
    ExpectEveryPrefixRefused(MakeDib({ .width = 3, .height = 2, .rows = kRgbRows }), DecodeDib);
}

TEST(Bmp, MalformedHeadersAreRefused)
{
    const std::vector<std::uint8_t> good = MakeBmp({ .width = 3, .height = 2, .rows = kRgbRows });
    auto refusedWith = [&](std::size_t offset, std::uint32_t value) {
        ByteWriter copy;
        copy.Append(good);
        copy.PatchU32(offset, value);
        auto result = DecodeBmp(copy.Bytes());
        return !result.Ok() && !result.Error().empty();
    };
    EXPECT_TRUE(refusedWith(14, 20));            // Unknown header size.
    EXPECT_TRUE(refusedWith(18, 0));             // Zero width.
    EXPECT_TRUE(refusedWith(18, 0x7FFFFFFF));    // Absurd width.
    EXPECT_TRUE(refusedWith(22, 0x80000000));    // The most negative height.
    EXPECT_TRUE(refusedWith(28, 7));             // Seven bits per pixel.
    EXPECT_TRUE(refusedWith(30, 1));             // RLE8 on a 24-bit image.
    EXPECT_TRUE(refusedWith(10, 0xFFFFFFF0));    // Bits beyond the end.
    EXPECT_TRUE(refusedWith(18, 30000));         // Wider than the bits that follow.

    const auto paletted = MakeBmp({ .width = 1, .height = 1, .bitCount = 8, .palette = { 0 }, .colorsUsed = 1,
                                    .rows = { { 0 } } });
    ByteWriter huge;
    huge.Append(paletted);
    huge.PatchU32(46, 0x40000000); // colorsUsed far beyond the file.
    EXPECT_FALSE(DecodeBmp(huge.Bytes()).Ok());
    EXPECT_FALSE(DecodeBmp(std::vector<std::uint8_t> { 'B', 'A', 0, 0 }).Ok());
}

}
}
