#pragma once

#include "host/raster/Geometry.h"
#include "TextLayout.h"

#include <cstddef>
#include <cstdint>
#include <functional>

namespace korvane::raster::text {

enum class BackgroundMode {
    Transparent,
    Opaque,
};

enum class InkKind {
    Background,
    Text,
};

// A run of `length` pixels starting at (x, y), all painted the same way.
struct InkSpan {
    int x = 0;
    int y = 0;
    int length = 0;
    InkKind kind = InkKind::Text;
};

// A caller's 8-bit surface; `stride` is the byte distance between rows.
struct ByteSurface {
    std::uint8_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;
};

// Emits the layout's pixels as spans, backgrounds first (Opaque mode only), then
// glyphs and rules. Spans are clipped to `clip` and to the layout's own clip.
void PaintLayout(const TextLayout& layout, IntRect clip, BackgroundMode mode,
                 const std::function<void(const InkSpan&)>& sink);

// Writes `textValue` where text goes and, in Opaque mode, `backgroundValue` under it.
void PaintLayout(const TextLayout& layout, ByteSurface surface, IntRect clip, std::uint8_t textValue,
                 BackgroundMode mode = BackgroundMode::Transparent, std::uint8_t backgroundValue = 0);

}
