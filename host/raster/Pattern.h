#pragma once

#include "host/raster/Geometry.h"

#include <cstdint>
#include <vector>

namespace korvane::raster {

// A brush made concrete for one destination: colours already in the destination's
// format and the tile already aligned to the brush origin. Pixels the mask leaves out
// (the gaps of a hatch in TRANSPARENT mode) are not touched by pattern operations.
class Pattern {
public:
    static Pattern Empty() { return Pattern(); }
    static Pattern Solid(PixelValue value)
    {
        Pattern pattern;
        pattern.m_kind = Kind::Solid;
        pattern.m_solid = value;
        return pattern;
    }
    static Pattern Tiled(int width, int height, std::vector<PixelValue> pixels, std::vector<std::uint8_t> mask, IntPoint origin);

    bool IsEmpty() const { return m_kind == Kind::Empty; }
    bool IsSolid() const { return m_kind == Kind::Solid; }
    bool HasMask() const { return !m_mask.empty(); }
    PixelValue SolidValue() const { return m_solid; }

    PixelValue At(int x, int y) const
    {
        if (m_kind != Kind::Tiled)
            return m_solid;
        return m_pixels[Index(x, y)];
    }
    bool Covers(int x, int y) const { return m_mask.empty() || m_mask[Index(x, y)] != 0; }

    // Copies a tiled pattern over pixels [x0, x1) of row y, skipping what the mask leaves out.
    void CopyRow(PixelValue* row, int y, int x0, int x1) const;

private:
    enum class Kind { Empty, Solid, Tiled };

    std::size_t Index(int x, int y) const
    {
        int tx = (x - m_origin.x) % m_width;
        int ty = (y - m_origin.y) % m_height;
        if (tx < 0)
            tx += m_width;
        if (ty < 0)
            ty += m_height;
        return static_cast<std::size_t>(ty) * static_cast<std::size_t>(m_width) + static_cast<std::size_t>(tx);
    }

    Kind m_kind = Kind::Empty;
    PixelValue m_solid = 0;
    int m_width = 1;
    int m_height = 1;
    IntPoint m_origin;
    std::vector<PixelValue> m_pixels;
    std::vector<std::uint8_t> m_mask;
};

}
