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

    // The pixels of consecutive steps, as At gives them, without a division per step:
    // the rounded minor offset is carried as a quotient and remainder.
    class Walker {
    public:
        Walker(const LineStepper& line, int step);
        IntPoint Point() const
        {
            return m_line.m_xMajor ? IntPoint { m_major, m_minorStart + m_offset } : IntPoint { m_minorStart + m_offset, m_major };
        }
        void Next()
        {
            m_major += m_line.m_majorSign;
            // offset = ceil(n / d) with n growing by `m_increase`, at most d, each step;
            // remainder = offset * d - n stays in [0, d).
            m_remainder -= m_increase;
            if (m_remainder < 0) {
                m_remainder += m_divisor;
                ++m_offset;
            } else if (m_remainder >= m_divisor) {
                m_remainder -= m_divisor;
                --m_offset;
            }
        }

    private:
        const LineStepper& m_line;
        int m_major;
        int m_minorStart;
        int m_offset = 0;
        std::int64_t m_remainder = 0;
        std::int64_t m_increase = 0;
        std::int64_t m_divisor = 1;
    };

private:
    IntPoint m_from;
    bool m_xMajor = true;
    int m_length = 0;
    int m_majorSign = 1;
    std::int64_t m_minorDelta = 0;
};

}
