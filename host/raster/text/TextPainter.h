#pragma once

#include "host/raster/Geometry.h"
#include "TextLayout.h"

#include <cstddef>
#include <cstdint>

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

namespace detail {

template <typename Sink>
void EmitRect(const IntRect& rect, const IntRect& clip, InkKind kind, Sink& sink)
{
    const IntRect visible = rect.Intersected(clip);
    for (int y = visible.top; y < visible.bottom; ++y)
        sink(InkSpan { visible.left, y, visible.Width(), kind });
}

template <typename Sink>
void EmitGlyph(const PlacedGlyph& placed, const IntRect& clip, Sink& sink)
{
    const Glyph& glyph = *placed.glyph;
    const IntRect box { placed.origin.x, placed.origin.y, placed.origin.x + glyph.width, placed.origin.y + glyph.height };
    const IntRect visible = box.Intersected(clip);
    for (int y = visible.top; y < visible.bottom; ++y) {
        // Every pixel of a caption is tested here, so the row is found once.
        const std::uint8_t* ink = glyph.mask.data() + static_cast<std::ptrdiff_t>(y - placed.origin.y) * glyph.width;
        const int left = placed.origin.x;
        if constexpr (requires { sink.InkRow(y, visible.left, visible.right, ink); }) {
            // Ink that alternates every pixel or two makes span boundaries a guess for the
            // processor; a sink that takes a row of ink decides pixel by pixel instead.
            sink.InkRow(y, visible.left, visible.right, ink + (visible.left - left));
            continue;
        }
        int x = visible.left;
        while (x < visible.right) {
            while (x < visible.right && ink[x - left] == 0)
                ++x;
            const int start = x;
            while (x < visible.right && ink[x - left] != 0)
                ++x;
            if (x > start)
                sink(InkSpan { start, y, x - start, InkKind::Text });
        }
    }
}

} // namespace detail

// Emits the layout's pixels as spans, backgrounds first (Opaque mode only), then
// glyphs and rules. Spans are clipped to `clip` and to the layout's own clip. A
// caption is hundreds of short spans, so the sink is called directly, not through
// a function object. A sink with InkRow(y, left, right, ink) is given each glyph row
// whole instead: ink[x - left] is non-zero for the pixels x in [left, right) to paint.
template <typename Sink>
void PaintLayout(const TextLayout& layout, IntRect clip, BackgroundMode mode, Sink&& sink)
{
    if (layout.clip)
        clip = clip.Intersected(*layout.clip);
    if (clip.IsEmpty())
        return;
    if (mode == BackgroundMode::Opaque) {
        for (const IntRect& background : layout.backgrounds)
            detail::EmitRect(background, clip, InkKind::Background, sink);
    }
    for (const PlacedGlyph& placed : layout.glyphs)
        detail::EmitGlyph(placed, clip, sink);
    for (const IntRect& rule : layout.rules)
        detail::EmitRect(rule, clip, InkKind::Text, sink);
}

}
