#pragma once

#include "host/raster/Geometry.h"

#include <span>
#include <vector>

namespace korvane::raster {

enum class RegionOp { And, Or, Xor, Diff, Copy };
enum class FillMode { Alternate, Winding };
enum class RegionComplexity { Empty, Simple, Complex };

// A set of pixels kept as GDI keeps it: y-x banded rectangles. Rectangles are sorted by
// top, then left; rectangles of one band share top and bottom and neither overlap nor
// touch. Combining regions merges vertically adjacent bands with identical spans, but
// shapes built row by row (ellipses, rounded corners) keep their rows, as GDI reports them.
class Region {
public:
    Region() = default;
    explicit Region(const IntRect& rect);

    // Takes rectangles that already satisfy the banding rules, without merging rows.
    static Region FromBandedRects(std::vector<IntRect> rects);
    static Region FromPolygon(std::span<const IntPoint> points, FillMode mode);
    // A pixel is inside when the polygon covers its top-left corner, so left and top
    // edges are included and right and bottom edges are not.
    static Region FromPolygons(std::span<const IntPoint> points, std::span<const int> counts, FillMode mode);
    static Region FromEllipse(const IntRect& bounds);
    static Region FromRoundRect(const IntRect& bounds, int ellipseWidth, int ellipseHeight);

    static Region Combine(const Region& a, const Region& b, RegionOp op);

    std::span<const IntRect> Rects() const { return m_rects; }
    const IntRect& Box() const { return m_box; }
    bool IsEmpty() const { return m_rects.empty(); }
    RegionComplexity Complexity() const;

    bool Contains(int x, int y) const;
    bool Intersects(const IntRect& rect) const;
    void Offset(int dx, int dy);

    friend bool operator==(const Region& a, const Region& b) { return a.m_rects == b.m_rects; }

private:
    void UpdateBox();

    std::vector<IntRect> m_rects;
    IntRect m_box;
};

}
