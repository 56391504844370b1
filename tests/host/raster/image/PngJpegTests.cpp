#include "ImageTestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include <jpeglib.h>

namespace korvane::raster::image {
namespace {

using testing::ExpectEveryPrefixRefused;

Image Gradient(int width, int height)
{
    Image image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.Set(x, y, MakePixel(static_cast<std::uint8_t>(x * 255 / width), static_cast<std::uint8_t>(x * 16),
                                      static_cast<std::uint8_t>(y * 16), static_cast<std::uint8_t>(x ^ y)));
    return image;
}

// Compresses `image` with libjpeg; quality 100 keeps flat areas within a few levels.
// A grey stream holds libjpeg's luminance of each pixel.
std::vector<std::uint8_t> EncodeJpeg(const Image& image, bool grey)
{
    jpeg_compress_struct info {};
    jpeg_error_mgr errors {};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(image.Width());
    info.image_height = static_cast<JDIMENSION>(image.Height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    if (grey)
        jpeg_set_colorspace(&info, JCS_GRAYSCALE);
    jpeg_set_quality(&info, 100, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(image.Width()) * 3);
    while (info.next_scanline < info.image_height) {
        const Pixel* source = image.Row(static_cast<int>(info.next_scanline));
        // Red, green and blue of each pixel in turn.
        for (std::size_t i = 0; i < row.size(); ++i)
            row[i] = static_cast<JSAMPLE>(source[i / 3] >> (16 - 8 * (i % 3)));
        JSAMPROW rows[] = { row.data() };
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<std::uint8_t> bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

bool Near(Pixel a, Pixel b, int tolerance)
{
    for (int shift = 0; shift < 32; shift += 8)
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > tolerance)
            return false;
    return true;
}

TEST(Png, DamagedStreamsAreRefused)
{
    const std::vector<std::uint8_t> file = EncodePng(Gradient(5, 4)).Value();
    // Only the 12-byte IEND chunk may go missing: the picture is whole without it.
    const std::vector<std::uint8_t> withoutEnd(file.begin(), file.end() - 12);
    EXPECT_TRUE(DecodePng(withoutEnd).Ok());
    ExpectEveryPrefixRefused(withoutEnd, DecodePng);

    // A flipped byte in the image data fails the chunk checksum.
    std::vector<std::uint8_t> corrupt = file;
    corrupt[corrupt.size() - 20] ^= 0x55;
    EXPECT_FALSE(DecodePng(corrupt).Ok());
}

TEST(Jpeg, DecodesColourAndGreyscaleAndRefusesEveryTruncation)
{
    Image flat(16, 16, 0xFF2060A0);
    for (int y = 8; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            flat.Set(x, y, 0xFFE0C020);
    auto colour = DecodeJpeg(EncodeJpeg(flat, false));
    ASSERT_TRUE(colour.Ok()) << colour.Error();
    ASSERT_EQ(colour.Value().Width(), 16);
    EXPECT_TRUE(Near(colour.Value().At(3, 2), 0xFF2060A0, 6)) << std::hex << colour.Value().At(3, 2);
    EXPECT_TRUE(Near(colour.Value().At(12, 13), 0xFFE0C020, 6)) << std::hex << colour.Value().At(12, 13);

    auto grey = DecodeJpeg(EncodeJpeg(flat, true));
    ASSERT_TRUE(grey.Ok()) << grey.Error();
    EXPECT_TRUE(Near(grey.Value().At(3, 2), 0xFF545454, 3)) << std::hex << grey.Value().At(3, 2);

    ExpectEveryPrefixRefused(EncodeJpeg(Gradient(16, 16), false), DecodeJpeg);
}

TEST(ImageFiles, SaveLoadAndDispatch)
{
    const auto folder = std::filesystem::temp_directory_path() / ("korvane-image-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    // Every pixel and its alpha come back from the file.
    const Image original = Gradient(17, 9);
    ASSERT_TRUE(SavePng(original, folder / "gradient.png").Ok());
    auto loaded = LoadImageFile(folder / "gradient.png");
    ASSERT_TRUE(loaded.Ok()) << loaded.Error();
    EXPECT_EQ(loaded.Value(), original);

    auto missing = LoadImageFile(folder / "missing.png");
    EXPECT_TRUE(!missing.Ok() && missing.Error().find("missing.png") != std::string::npos) << "the error names the file";
    std::filesystem::remove_all(folder);

    EXPECT_FALSE(EncodePng(Image()).Ok());
    EXPECT_FALSE(DecodeImage(std::vector<std::uint8_t> { 'G', 'I', 'F', '8' }).Ok());
    EXPECT_EQ(DetectFormat(EncodeJpeg(Gradient(8, 8), false)), ImageFormat::Jpeg);
}

}
}
