#pragma once

#include "host/raster/Geometry.h"

#include <vector>

namespace korvane::raster {

// Row spans of GDI's elliptic and rounded-rectangle regions. GDI fits these shapes one
// pixel inside the right and bottom of their bounding rectangle and traces them with a
// midpoint ellipse, flat part first; the spans below reproduce that tracing row by row.
class EllipseScan {
public:
    // One rectangle per row, top to bottom, for the ellipse inscribed in `bounds`.
    static std::vector<IntRect> EllipseRows(const IntRect& bounds);
    // Rounded corners from an ellipse of the given size; the straight middle is one rectangle.
    static std::vector<IntRect> RoundRectRows(const IntRect& bounds, int ellipseWidth, int ellipseHeight);
    // Half width, in pixels from the centre column, of each row of an ellipse whose pixel
    // box is `width` by `height` pixels.
    static std::vector<int> HalfWidths(int width, int height, int& centreOffset);
};

}
