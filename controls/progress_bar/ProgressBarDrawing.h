#pragma once

// The drawing primitives every progress-bar style is built from: colour
// arithmetic, solid frames and fills, one-pixel lines and line-built gradients.
// Colours are OLE colours (0x00BBGGRR, or a system colour with bit 31 set).
// Nothing here keeps state; each call creates and deletes its own GDI objects.

#include "host/gdi/Gdi.h"
#include "host/gdi/OleColor.h"

#include <cstdint>

namespace korvane::progress_bar {

using gdi::OleColor;
using gdi::TranslateColor;

// Each channel moved toward white: c * (255 - amount) \ 255 + amount, at most 255.
// The colour is taken as it is, untranslated.
OleColor LightenColor(OleColor colour, std::int32_t amount);

// A mix of both colours, translated first: amount 255 gives `a`, 0 gives `b`.
OleColor BlendColors(OleColor a, OleColor b, std::int32_t amount);

// FrameRect with a brush of the colour as given (untranslated).
void FrameRectColor(const RECT& rect, OleColor colour, HDC dc);
// FillRect with a brush of the translated colour.
void FillRectColor(const RECT& rect, OleColor colour, HDC dc);

// A one-pixel line from (X, Y) up to, not including, (Width, Height).
void DrawLine(std::int32_t X, std::int32_t Y, std::int32_t Width, std::int32_t Height, HDC cHdc, OleColor Color);

// X2 + 1 vertical lines advancing right from X (bH true, each from Y to Y2), or
// Y2 + 1 horizontal lines advancing down from Y (bH false, each from X to X2),
// shading from lEndColor to lStartcolor. Both colours are translated in place.
// Lines that cannot touch the DC's visible area are skipped, which changes no pixel
// but keeps huge counts from stalling a repaint.
void DrawGradient(OleColor& lEndColor, OleColor& lStartcolor, std::int32_t X, std::int32_t Y, std::int32_t X2,
                  std::int32_t Y2, HDC hdc, bool bH);

} // namespace korvane::progress_bar
