#include "host/raster/Brush.h"

namespace korvane::raster {

namespace {

// Hatch brushes are 8 by 8 tiles, as in GDI.
constexpr int kHatchSize = 8;

}

Brush Brush::Solid(PixelValue colour)
{
    Brush brush;
    brush.m_style = BrushStyle::Solid;
    brush.m_colour = colour & 0xFFFFFFu;
    return brush;
}

Brush Brush::Null()
{
    return Brush();
}

Brush Brush::Hatched(HatchStyle style, PixelValue colour)
{
    Brush brush;
    brush.m_style = BrushStyle::Hatched;
    brush.m_hatch = style;
    brush.m_colour = colour & 0xFFFFFFu;
    return brush;
}

Brush Brush::FromSurface(const Surface& pattern)
{
    Brush brush;
    brush.m_style = BrushStyle::Pattern;
    brush.m_pattern = std::make_shared<const Surface>(pattern);
    return brush;
}

bool Brush::HatchBit(HatchStyle style, int x, int y)
{
    int px = x & (kHatchSize - 1);
    int py = y & (kHatchSize - 1);
    switch (style) {
    case HatchStyle::Horizontal: return py == 3;
    case HatchStyle::Vertical: return px == 4;
    case HatchStyle::ForwardDiagonal: return px == py;
    case HatchStyle::BackwardDiagonal: return px + py == kHatchSize - 1;
    case HatchStyle::Cross: return py == 3 || px == 4;
    case HatchStyle::DiagonalCross: return px == py || px + py == kHatchSize - 1;
    }
    return false;
}

Pattern Brush::Resolve(const BrushContext& context, const Surface& destination) const
{
    switch (m_style) {
    case BrushStyle::Null:
        return Pattern::Empty();
    case BrushStyle::Solid:
        return Pattern::Solid(destination.Quantize(m_colour));
    case BrushStyle::Hatched: {
        constexpr std::size_t kTilePixels = kHatchSize * kHatchSize;
        std::vector<PixelValue> pixels(kTilePixels);
        std::vector<std::uint8_t> mask;
        if (!context.opaqueBackground)
            mask.assign(kTilePixels, 0);
        PixelValue line = destination.Quantize(m_colour);
        PixelValue background = destination.Quantize(context.backgroundColour);
        for (int y = 0; y < kHatchSize; ++y) {
            for (int x = 0; x < kHatchSize; ++x) {
                bool on = HatchBit(m_hatch, x, y);
                std::size_t index = static_cast<std::size_t>(y * kHatchSize + x);
                pixels[index] = on ? line : background;
                if (!mask.empty())
                    mask[index] = on ? 1 : 0;
            }
        }
        return Pattern::Tiled(kHatchSize, kHatchSize, std::move(pixels), std::move(mask), context.origin);
    }
    case BrushStyle::Pattern: {
        const Surface& tile = *m_pattern;
        if (tile.Width() <= 0 || tile.Height() <= 0)
            return Pattern::Empty();
        std::vector<PixelValue> pixels(tile.Pixels().begin(), tile.Pixels().end());
        if (tile.IsMonochrome()) {
            PixelValue zero = destination.Quantize(context.textColour);
            PixelValue one = destination.Quantize(context.backgroundColour);
            for (PixelValue& p : pixels)
                p = p ? one : zero;
        } else {
            for (PixelValue& p : pixels)
                p = destination.Quantize(p);
        }
        return Pattern::Tiled(tile.Width(), tile.Height(), std::move(pixels), {}, context.origin);
    }
    }
    return Pattern::Empty();
}

}
