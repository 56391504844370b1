#pragma once

#include "host/raster/Geometry.h"

#include <vector>

namespace korvane::raster {

// The one-pixel outline GDI draws for Ellipse and Arc with a cosmetic pen. The outline
// fills its rectangle (right and bottom exclusive), unlike the elliptic region, which is
// one pixel smaller.
class EllipseOutline {
public:
    explicit EllipseOutline(const IntRect& box);

    bool IsEmpty() const { return m_points.empty(); }
    // Every outline pixel once, counter-clockwise on screen, starting due east.
    const std::vector<IntPoint>& Points() const { return m_points; }

    // The outline pixels swept counter-clockwise from the radial through `start` to the
    // radial through `end`, in drawing order. Equal radials sweep the whole outline,
    // beginning at the first pixel past the start radial.
    std::vector<IntPoint> Arc(IntPoint start, IntPoint end) const;

    // Pixels of row `y` inside the outline: [innerLeft, innerRight) leaves the outline out,
    // [outerLeft, outerRight) takes it in. False for rows the ellipse does not reach.
    struct RowSpan {
        int innerLeft = 0;
        int innerRight = 0;
        int outerLeft = 0;
        int outerRight = 0;
    };
    bool Row(int y, RowSpan& span) const;

private:
    double AngleOf(int doubledX, int doubledY) const;

    IntRect m_box;
    // Centre and offsets are kept doubled so even sizes, centred between pixels, stay integral.
    int m_centreX2 = 0;
    int m_centreY2 = 0;
    std::vector<IntPoint> m_points;
    std::vector<double> m_angles;
    // Per row offset from the top: smallest and largest doubled |x offset| of outline pixels.
    std::vector<int> m_innermost;
    std::vector<int> m_outermost;
};

}
