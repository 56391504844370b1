#include "controls/progress_bar/ProgressBarDrawing.h"

#include "host/runtime/Conversions.h"
#include "host/runtime/RuntimeError.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace korvane::progress_bar {

namespace {

// Channels as the control's arithmetic takes them: integer division truncating
// toward zero on the signed value, then the low byte.
std::int32_t Red(OleColor colour) { return static_cast<std::int32_t>(colour) & 0xFF; }
std::int32_t Green(OleColor colour) { return (static_cast<std::int32_t>(colour) / 256) & 0xFF; }
std::int32_t Blue(OleColor colour) { return (static_cast<std::int32_t>(colour) / 65536) & 0xFF; }

OleColor Rgb(std::int32_t red, std::int32_t green, std::int32_t blue)
{
    auto clamp = [](std::int32_t c) { return static_cast<OleColor>(std::clamp(c, 0, 255)); };
    return clamp(red) | (clamp(green) << 8) | (clamp(blue) << 16);
}

// A channel the fast conversion cannot take: a failed conversion keeps the previous
// value, as the gradient ignores its arithmetic errors statement by statement.
[[gnu::noinline]] std::int32_t CheckedChannel(double value, std::int32_t previous)
{
    try {
        return host::CInt(value);
    } catch (const host::RuntimeError&) {
        return previous;
    }
}

// A channel's value on line i, as the gradient works it out: in double, from the
// single-precision end and step.
double ChannelValue(float end, float step, std::int64_t i)
{
    return static_cast<double>(end) + static_cast<double>(step) * static_cast<double>(i);
}

bool IsByte(double value) { return value >= 0 && value < 256; }

// One channel of a gradient line. Channels are bytes, so the usual value converts
// inline; anything else takes the checked path.
std::int32_t GradientChannel(float end, float step, std::int64_t i, std::int32_t previous)
{
    const double value = ChannelValue(end, step, i);
    if (IsByte(value))
        return host::CInt(value);
    return CheckedChannel(value, previous);
}

// A channel known to lie in [0, 256): rounded halves to even, as CInt rounds, and
// 255.5 and above kept to 255, as Rgb keeps it.
OleColor ByteChannel(float end, float step, std::int64_t i)
{
    const double value = ChannelValue(end, step, i);
#if defined(__SSE2__)
    // One conversion in the default rounding mode, which rounds halves to even.
    const auto rounded = static_cast<OleColor>(_mm_cvtsd_si32(_mm_set_sd(value)));
#else
    const auto rounded = static_cast<OleColor>((value + 0x1p52) - 0x1p52);
#endif
    return std::min(rounded, OleColor { 255 });
}

bool FitsLong(std::int64_t value) { return value >= INT32_MIN && value <= INT32_MAX; }

} // namespace

OleColor LightenColor(OleColor colour, std::int32_t amount)
{
    auto lighten = [amount](std::int32_t c) { return std::min(c * (255 - amount) / 255 + amount, 255); };
    std::int32_t red = lighten(Red(colour));
    std::int32_t green = lighten(Green(colour));
    std::int32_t blue = lighten(Blue(colour));
    return static_cast<OleColor>(red + green * 256 + blue * 65536);
}

OleColor BlendColors(OleColor a, OleColor b, std::int32_t amount)
{
    a = TranslateColor(a);
    b = TranslateColor(b);
    auto mix = [amount](std::int32_t ca, std::int32_t cb) {
        return host::CInt((255 - amount) * cb / 255.0 + ca * amount / 255.0);
    };
    return Rgb(mix(Red(a), Red(b)), mix(Green(a), Green(b)), mix(Blue(a), Blue(b)));
}

void FrameRectColor(const RECT& rect, OleColor colour, HDC dc)
{
    HBRUSH brush = CreateSolidBrush(colour);
    FrameRect(dc, &rect, brush);
    DeleteObject(brush);
}

void FillRectColor(const RECT& rect, OleColor colour, HDC dc)
{
    HBRUSH brush = CreateSolidBrush(TranslateColor(colour));
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

void DrawLine(std::int32_t X, std::int32_t Y, std::int32_t Width, std::int32_t Height, HDC cHdc, OleColor Color)
{
    HPEN pen = CreatePen(PS_SOLID, 1, TranslateColor(Color));
    HGDIOBJ previous = SelectObject(cHdc, pen);
    MoveToEx(cHdc, X, Y, nullptr);
    LineTo(cHdc, Width, Height);
    SelectObject(cHdc, previous);
    DeleteObject(pen);
}

void DrawGradient(OleColor& lEndColor, OleColor& lStartcolor, std::int32_t X, std::int32_t Y, std::int32_t X2,
                  std::int32_t Y2, HDC hdc, bool bH)
{
    lEndColor = TranslateColor(lEndColor);
    lStartcolor = TranslateColor(lStartcolor);
    const float endRed = static_cast<float>(lEndColor & 0xFF);
    const float endGreen = static_cast<float>((lEndColor / 256) & 0xFF);
    const float endBlue = static_cast<float>(lEndColor & 0xFF0000) / 65536.0f;
    const float startRed = static_cast<float>(lStartcolor & 0xFF);
    const float startGreen = static_cast<float>((lStartcolor / 256) & 0xFF);
    const float startBlue = static_cast<float>(lStartcolor & 0xFF0000) / 65536.0f;

    const std::int32_t n = bH ? X2 : Y2;
    // With no extra lines the step stays 0, so the single line has lEndColor.
    float stepRed = 0, stepGreen = 0, stepBlue = 0;
    if (n != 0) {
        stepRed = static_cast<float>(static_cast<double>(startRed - endRed) / n);
        stepGreen = static_cast<float>(static_cast<double>(startGreen - endGreen) / n);
        stepBlue = static_cast<float>(static_cast<double>(startBlue - endBlue) / n);
    }
    if (n < 0)
        return;

    RECT visible {};
    int clip = GetClipBox(hdc, &visible);
    if (clip == ERROR || clip == NULLREGION)
        return;
    const std::int64_t origin = bH ? X : Y;
    const std::int64_t low = bH ? visible.left : visible.top;
    const std::int64_t high = bH ? visible.right : visible.bottom;
    const std::int64_t first = std::max<std::int64_t>(0, low - origin);
    const std::int64_t last = std::min<std::int64_t>(n, high - 1 - origin);

    auto draw = [&](std::int32_t line, OleColor colour) {
        if (bH)
            DrawLine(line, Y, line, Y2, hdc, colour);
        else
            DrawLine(X, line, X2, line, hdc, colour);
    };
    if (first > last)
        return;

    // A channel's value is monotonic in the line number, so when every channel is a
    // byte at both ends it is one on every line between, as is the line's position:
    // the lines then convert without checks.
    auto byteAtBothEnds = [&](float end, float step) {
        return IsByte(ChannelValue(end, step, first)) && IsByte(ChannelValue(end, step, last));
    };
    if (byteAtBothEnds(endRed, stepRed) && byteAtBothEnds(endGreen, stepGreen) && byteAtBothEnds(endBlue, stepBlue) &&
        FitsLong(origin + first) && FitsLong(origin + last)) {
        for (std::int64_t i = first; i <= last; ++i) {
            const OleColor colour = ByteChannel(endRed, stepRed, i) | ByteChannel(endGreen, stepGreen, i) << 8 |
                                    ByteChannel(endBlue, stepBlue, i) << 16;
            draw(static_cast<std::int32_t>(origin + i), colour);
        }
        return;
    }

    std::int32_t red = 0, green = 0, blue = 0;
    for (std::int64_t i = first; i <= last; ++i) {
        red = GradientChannel(endRed, stepRed, i, red);
        green = GradientChannel(endGreen, stepGreen, i, green);
        blue = GradientChannel(endBlue, stepBlue, i, blue);
        const std::int64_t at = origin + i;
        if (FitsLong(at))
            draw(static_cast<std::int32_t>(at), Rgb(red, green, blue));
    }
}

} // namespace korvane::progress_bar
