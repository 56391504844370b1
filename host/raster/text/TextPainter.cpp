#include "TextPainter.h"

namespace korvane::raster::text {
namespace {

void EmitRect(const IntRect& rect, const IntRect& clip, InkKind kind, const std::function<void(const InkSpan&)>& sink)
{
    const IntRect visible = rect.Intersected(clip);
    for (int y = visible.top; y < visible.bottom; ++y)
        sink({ visible.left, y, visible.Width(), kind });
}

void EmitGlyph(const PlacedGlyph& placed, const IntRect& clip, const std::function<void(const InkSpan&)>& sink)
{
    const Glyph& glyph = *placed.glyph;
    const IntRect box { placed.origin.x, placed.origin.y, placed.origin.x + glyph.width, placed.origin.y + glyph.height };
    const IntRect visible = box.Intersected(clip);
    for (int y = visible.top; y < visible.bottom; ++y) {
        // Every pixel of a caption is tested here, so the row is found once.
        const std::uint8_t* ink = glyph.mask.data() + static_cast<std::ptrdiff_t>(y - placed.origin.y) * glyph.width;
        const int left = placed.origin.x;
        int x = visible.left;
        while (x < visible.right) {
            while (x < visible.right && ink[x - left] == 0)
                ++x;
            const int start = x;
            while (x < visible.right && ink[x - left] != 0)
                ++x;
            if (x > start)
                sink({ start, y, x - start, InkKind::Text });
        }
    }
}

}

void PaintLayout(const TextLayout& layout, IntRect clip, BackgroundMode mode,
                 const std::function<void(const InkSpan&)>& sink)
{
    if (layout.clip)
        clip = clip.Intersected(*layout.clip);
    if (clip.IsEmpty())
        return;
    if (mode == BackgroundMode::Opaque) {
        for (const IntRect& background : layout.backgrounds)
            EmitRect(background, clip, InkKind::Background, sink);
    }
    for (const PlacedGlyph& placed : layout.glyphs)
        EmitGlyph(placed, clip, sink);
    for (const IntRect& rule : layout.rules)
        EmitRect(rule, clip, InkKind::Text, sink);
}

}
