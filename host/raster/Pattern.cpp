#include "host/raster/Pattern.h"

#include <cassert>

namespace korvane::raster {

Pattern Pattern::Tiled(int width, int height, std::vector<PixelValue> pixels, std::vector<std::uint8_t> mask, IntPoint origin)
{
    assert(width > 0 && height > 0 && pixels.size() == static_cast<std::size_t>(width * height)
           && "a tiled pattern needs width*height pixels");
    assert((mask.empty() || mask.size() == pixels.size()) && "a pattern mask covers every tile pixel or is empty");
    Pattern pattern;
    pattern.m_kind = Kind::Tiled;
    pattern.m_width = width;
    pattern.m_height = height;
    pattern.m_pixels = std::move(pixels);
    pattern.m_mask = std::move(mask);
    pattern.m_origin = origin;
    return pattern;
}

void Pattern::CopyRow(PixelValue* row, int y, int x0, int x1) const
{
    assert(m_kind == Kind::Tiled && "solid patterns are filled, not copied row by row");
    // One division per row instead of two per pixel.
    const std::size_t start = Index(x0, y);
    const std::size_t rowStart = start - start % static_cast<std::size_t>(m_width);
    const PixelValue* tile = m_pixels.data() + rowStart;
    const std::uint8_t* mask = m_mask.empty() ? nullptr : m_mask.data() + rowStart;
    int tx = static_cast<int>(start - rowStart);
    for (int x = x0; x < x1; ++x) {
        if (!mask || mask[tx])
            row[x] = tile[tx];
        if (++tx == m_width)
            tx = 0;
    }
}

}
