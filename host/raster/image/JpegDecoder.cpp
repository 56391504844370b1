#include "Dib.h"

#include <cstdio>
#include <csetjmp>

#include <jpeglib.h>
#include <jerror.h>

namespace korvane::raster::image {
namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void OnError(j_common_ptr info)
{
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    info->err->format_message(info, errors->message);
    std::longjmp(errors->jump, 1);
}

void OnMessage(j_common_ptr info, int level)
{
    // A truncated file would otherwise decode to grey rows with only a warning.
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF)
        OnError(info);
}

// Everything this function touches after setjmp lives in the caller's frame, so
// the long jump from libjpeg skips no destructor and loses no allocation.
bool Decompress(jpeg_decompress_struct* info, ErrorManager* errors, Bytes data, Image* image,
                std::vector<JSAMPLE>* row)
{
    if (setjmp(errors->jump))
        return false;
    jpeg_create_decompress(info);
    jpeg_mem_src(info, data.data(), static_cast<unsigned long>(data.size()));
    jpeg_read_header(info, TRUE);
    if (info->image_width == 0 || info->image_height == 0 || info->image_width > kMaxDimension
        || info->image_height > kMaxDimension
        || std::size_t { info->image_width } * info->image_height > kMaxPixels) {
        std::snprintf(errors->message, sizeof errors->message, "image size is out of range");
        return false;
    }
    const bool cmyk = info->jpeg_color_space == JCS_CMYK || info->jpeg_color_space == JCS_YCCK;
    info->out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(info);

    *image = Image(static_cast<int>(info->output_width), static_cast<int>(info->output_height));
    row->resize(static_cast<std::size_t>(info->output_width) * static_cast<std::size_t>(info->output_components));
    // Adobe writes CMYK inverted, which is what every CMYK JPEG in practice is.
    const bool inverted = info->saw_Adobe_marker;
    while (info->output_scanline < info->output_height) {
        JSAMPROW rows[] = { row->data() };
        const auto y = static_cast<int>(info->output_scanline);
        jpeg_read_scanlines(info, rows, 1);
        Pixel* target = image->Row(y);
        const JSAMPLE* source = row->data();
        for (int x = 0; x < image->Width(); ++x) {
            if (cmyk) {
                auto lightness = [&](int i) { return inverted ? source[i] : 255 - source[i]; };
                const int black = lightness(3);
                auto channel = [&](int i) { return static_cast<std::uint8_t>(lightness(i) * black / 255); };
                target[x] = MakePixel(0xFF, channel(0), channel(1), channel(2));
                source += 4;
            } else {
                target[x] = MakePixel(0xFF, source[0], source[1], source[2]);
                source += 3;
            }
        }
    }
    jpeg_finish_decompress(info);
    return true;
}

}

Result<Image> DecodeJpeg(Bytes data)
{
    if (data.size() < 3 || data[0] != 0xFF || data[1] != 0xD8)
        return Failure { "JPEG: not a JPEG stream" };
    jpeg_decompress_struct info {};
    ErrorManager errors {};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = OnError;
    errors.base.emit_message = OnMessage;
    Image image;
    std::vector<JSAMPLE> row;
    const bool ok = Decompress(&info, &errors, data, &image, &row);
    jpeg_destroy_decompress(&info);
    if (!ok)
        return Failure { std::string("JPEG: ") + errors.message };
    return image;
}

}
