#pragma once

#include "host/raster/Geometry.h"
#include "TextLayout.h"

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

// Emits the layout's pixels as spans, backgrounds first (Opaque mode only), then
// glyphs and rules. Spans are clipped to `clip` and to the layout's own clip.
void PaintLayout(const TextLayout& layout, IntRect clip, BackgroundMode mode,
                 const std::function<void(const InkSpan&)>& sink);

}
