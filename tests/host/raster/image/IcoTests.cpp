#include "ImageTestSupport.h"

#include <tuple>
#include <utility>

namespace korvane::raster::image {
namespace {

using testing::ByteWriter;
using testing::ExpectEveryPrefixRefused;

// A 16x16 4-bit entry: left half palette colour 1 (red), right half colour 2
// (blue); the AND mask makes the top-left 4x4 corner transparent.
std::vector<std::uint8_t> FourBitEntry()
{
    ByteWriter out;
    out.U32(40).I32(16).I32(32).U16(1).U16(4).U32(0).U32(0).I32(0).I32(0).U32(16).U32(0);
    for (int i = 0; i < 16; ++i)
        out.U32(i == 1 ? 0xFF0000 : i == 2 ? 0x0000FF : 0); // stored as blue, green, red, 0
    for (int row = 0; row < 16; ++row)
        for (int byte = 0; byte < 8; ++byte)
            out.U8(byte < 4 ? 0x11 : 0x22);
    // Mask rows are stored bottom-up, so the last four rows written are the top ones.
    for (int row = 0; row < 16; ++row)
        out.U8(row >= 12 ? 0xF0 : 0x00).U8(0).U8(0).U8(0);
    return out.Bytes();
}

// A 32-bit entry whose alpha carries the shape and whose mask is left out.
std::vector<std::uint8_t> AlphaEntryWithoutMask(int size)
{
    ByteWriter out;
    out.U32(40).I32(size).I32(size * 2).U16(1).U16(32).U32(0).U32(0).I32(0).I32(0).U32(0).U32(0);
    for (int i = 0; i < size * size; ++i)
        out.U8(0x30).U8(0x20).U8(0x10).U8(i == 0 ? 0 : 0xFF);
    return out.Bytes();
}

std::vector<std::uint8_t> PngEntry(int size)
{
    Image image(size, size, 0xFF00FF00);
    image.Set(size - 1, 0, 0x00000000);
    return EncodePng(image).Value();
}

std::vector<std::uint8_t> MakeIco(const std::vector<std::vector<std::uint8_t>>& entries,
                                  const std::vector<int>& directorySizes)
{
    ByteWriter out;
    out.U16(0).U16(1).U16(static_cast<unsigned>(entries.size()));
    std::size_t offset = 6 + 16 * entries.size();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const unsigned size = static_cast<unsigned>(directorySizes[i]) & 0xFF;
        out.U8(size).U8(size).U8(0).U8(0).U16(1).U16(32);
        out.U32(static_cast<std::uint32_t>(entries[i].size())).U32(static_cast<std::uint32_t>(offset));
        offset += entries[i].size();
    }
    for (const auto& entry : entries)
        out.Append(entry);
    return out.Bytes();
}

TEST(Ico, BitmapEntryGivesColourAndMask)
{
    auto icon = DecodeIco(MakeIco({ FourBitEntry() }, { 16 }));
    ASSERT_TRUE(icon.Ok()) << icon.Error();
    const Image& color = icon.Value().color;
    const Mask& mask = icon.Value().mask;
    ASSERT_EQ(std::tuple(color.Width(), color.Height(), mask.Width()), std::tuple(16, 16, 16));
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const bool transparent = x < 4 && y < 4;
            EXPECT_EQ(mask.At(x, y), transparent) << x << "," << y;
            const Pixel expected = transparent ? 0 : x < 8 ? 0xFFFF0000u : 0xFF0000FFu;
            EXPECT_EQ(transparent ? AlphaOf(color.At(x, y)) : color.At(x, y), expected) << x << "," << y;
        }
    }
}

TEST(Ico, EntryChosenBySize)
{
    // The directory claims the wrong sizes; the images themselves decide.
    const auto file = MakeIco({ FourBitEntry(), PngEntry(32), AlphaEntryWithoutMask(48) }, { 0, 0, 0 });
    auto widthFor = [&](int desired) {
        auto icon = DecodeIco(file, desired);
        EXPECT_TRUE(icon.Ok()) << icon.Error();
        return icon.Ok() ? icon.Value().color.Width() : -1;
    };
    // 24 is a tie, which goes to the larger image.
    for (auto [desired, width] : { std::pair { 16, 16 }, { 20, 16 }, { 24, 32 }, { 32, 32 }, { 0, 48 }, { 256, 48 } })
        EXPECT_EQ(widthFor(desired), width) << desired;
}

TEST(Ico, PngAndAlphaEntriesDeriveTheirMask)
{
    const auto png = DecodeIco(MakeIco({ PngEntry(32) }, { 32 }));
    ASSERT_TRUE(png.Ok()) << png.Error();
    EXPECT_EQ(std::tuple(png.Value().mask.At(31, 0), png.Value().mask.At(0, 0), png.Value().color.At(0, 0)),
              std::tuple(true, false, 0xFF00FF00u));

    const auto alpha = DecodeIco(MakeIco({ AlphaEntryWithoutMask(8) }, { 8 }));
    ASSERT_TRUE(alpha.Ok()) << alpha.Error();
    // The first pixel stored is bottom-left.
    EXPECT_EQ(std::tuple(alpha.Value().mask.At(0, 7), alpha.Value().mask.At(0, 0), alpha.Value().color.At(0, 0)),
              std::tuple(true, false, 0xFF102030u));

    // DecodeImage hands back an icon's colour.
    auto image = DecodeImage(MakeIco({ FourBitEntry() }, { 16 }));
    ASSERT_TRUE(image.Ok()) << image.Error();
    EXPECT_EQ(image.Value().Width(), 16);
}

TEST(Ico, TruncatedAndMalformedIconsAreRefused)
{
    auto decode = [](Bytes data) { return DecodeIco(data); };
    ExpectEveryPrefixRefused(MakeIco({ FourBitEntry() }, { 16 }), decode);
    ExpectEveryPrefixRefused(MakeIco({ PngEntry(4) }, { 4 }), decode);

    const auto outside = ByteWriter().Append(MakeIco({ FourBitEntry() }, { 16 })).PatchU32(6 + 12, 0xFFFFFF00).Bytes();
    for (const std::vector<std::uint8_t>& file : { ByteWriter().U16(0).U16(1).U16(0).Bytes(), // no entries
                                                   outside, // an entry's offset past the end
                                                   ByteWriter().U16(0).U16(3).U16(1).Bytes() }) // not an icon
        EXPECT_FALSE(DecodeIco(file).Ok());
}

}
}
