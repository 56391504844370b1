#pragma once

#include "host/raster/Geometry.h"

#include <cstdint>

namespace korvane::raster {

// The pixels of a one-pixel line from `from` to `to`, end point excluded. Each step moves
// one pixel along the major axis; the minor coordinate is the exact line position rounded
// to the nearest pixel, and where the line passes exactly between two pixels the smaller
// coordinate wins, as GDI chooses.
class LineStepper {
public:
    LineStepper(IntPoint from, IntPoint to);

    int Length() const { return m_length; }
    IntPoint At(int step) const;
    // Steps [first, last) whose major coordinate lies inside `box`; the rest cannot be visible.
    void VisibleSteps(const IntRect& box, int& first, int& last) const;

private:
    IntPoint m_from;
    bool m_xMajor = true;
    int m_length = 0;
    int m_majorSign = 1;
    std::int64_t m_minorDelta = 0;
};

}
