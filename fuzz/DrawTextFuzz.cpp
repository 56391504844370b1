// DrawTextA with any text, count, format and rectangle, in any font the matcher
// may pick, onto a small 32-bit canvas; the font and canvas are freed each round.
#include "host/gdi/Gdi.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

namespace {

// Faces that match exactly, by substitution and not at all.
constexpr const char* kFaces[] = { "宋体", "DejaVu Sans", "DejaVu Serif", "Arial", "", "NoSuchFace" };
// Glyphs are drawn, so the size stays within what a window uses.
constexpr int kLargestHeight = 96;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const char* face = kFaces[input.ConsumeIntegralInRange<std::size_t>(0, std::size(kFaces) - 1)];
    int height = input.ConsumeIntegralInRange(-kLargestHeight, kLargestHeight);
    int weight = input.ConsumeIntegralInRange(0, 1000);
    auto italic = input.ConsumeIntegral<std::uint8_t>();
    auto underline = input.ConsumeIntegral<std::uint8_t>();
    auto strikeOut = input.ConsumeIntegral<std::uint8_t>();
    auto charSet = input.ConsumeIntegral<std::uint8_t>();
    auto format = input.ConsumeIntegral<UINT>();
    RECT rect;
    rect.left = input.ConsumeIntegral<LONG>();
    rect.top = input.ConsumeIntegral<LONG>();
    rect.right = input.ConsumeIntegral<LONG>();
    rect.bottom = input.ConsumeIntegral<LONG>();
    // Small rectangles near the canvas are the common case; keep them likely.
    if (input.ConsumeBool()) {
        rect.left %= 80;
        rect.top %= 80;
        rect.right %= 160;
        rect.bottom %= 160;
    }
    bool terminated = input.ConsumeBool();
    std::string text = input.ConsumeRemainingBytesAsString();
    int count = terminated ? -1 : static_cast<int>(text.size());

    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(64, 48, 1, 32, nullptr);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HFONT font = CreateFontA(height, 0, 0, 0, weight, italic, underline, strikeOut, charSet, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face);
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, (format & 1) ? OPAQUE : TRANSPARENT);

    DrawTextA(dc, text.c_str(), count, &rect, format);
    SIZE extent;
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);

    SelectObject(dc, oldFont);
    DeleteObject(font);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return 0;
}
