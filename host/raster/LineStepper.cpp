#include "host/raster/LineStepper.h"

#include <algorithm>
#include <cstdlib>

namespace korvane::raster {

namespace {

// ceil(num / den) for den > 0.
std::int64_t CeilDiv(std::int64_t num, std::int64_t den)
{
    std::int64_t q = num / den;
    if (num % den != 0 && num > 0)
        ++q;
    return q;
}

}

LineStepper::LineStepper(IntPoint from, IntPoint to)
    : m_from(from)
{
    std::int64_t dx = static_cast<std::int64_t>(to.x) - from.x;
    std::int64_t dy = static_cast<std::int64_t>(to.y) - from.y;
    m_xMajor = std::llabs(dx) >= std::llabs(dy);
    std::int64_t major = m_xMajor ? dx : dy;
    m_length = static_cast<int>(std::llabs(major));
    m_majorSign = major < 0 ? -1 : 1;
    m_minorDelta = m_xMajor ? dy : dx;
}

IntPoint LineStepper::At(int step) const
{
    int major = (m_xMajor ? m_from.x : m_from.y) + m_majorSign * step;
    int minorStart = m_xMajor ? m_from.y : m_from.x;
    int minor = minorStart;
    if (m_length > 0 && m_minorDelta != 0) {
        // Nearest pixel to minorStart + step*delta/length, halves rounded down:
        // ceil((2*step*delta - length) / (2*length)).
        std::int64_t length = m_length;
        minor = minorStart + static_cast<int>(CeilDiv(2 * step * m_minorDelta - length, 2 * length));
    }
    return m_xMajor ? IntPoint { major, minor } : IntPoint { minor, major };
}

LineStepper::Walker::Walker(const LineStepper& line, int step)
    : m_line(line)
    , m_major((line.m_xMajor ? line.m_from.x : line.m_from.y) + line.m_majorSign * step)
    , m_minorStart(line.m_xMajor ? line.m_from.y : line.m_from.x)
{
    if (line.m_length <= 0 || line.m_minorDelta == 0)
        return; // the offset stays 0, as At keeps it
    const std::int64_t length = line.m_length;
    const std::int64_t numerator = 2 * step * line.m_minorDelta - length;
    m_divisor = 2 * length;
    m_increase = 2 * line.m_minorDelta;
    const std::int64_t offset = CeilDiv(numerator, m_divisor);
    m_offset = static_cast<int>(offset);
    m_remainder = offset * m_divisor - numerator;
}

void LineStepper::VisibleSteps(const IntRect& box, int& first, int& last) const
{
    int start = m_xMajor ? m_from.x : m_from.y;
    int low = m_xMajor ? box.left : box.top;
    int high = m_xMajor ? box.right : box.bottom; // exclusive
    std::int64_t a;
    std::int64_t b;
    if (m_majorSign > 0) {
        a = static_cast<std::int64_t>(low) - start;
        b = static_cast<std::int64_t>(high) - start;
    } else {
        a = static_cast<std::int64_t>(start) - (high - 1);
        b = static_cast<std::int64_t>(start) - low + 1;
    }
    first = static_cast<int>(std::clamp<std::int64_t>(a, 0, m_length));
    last = static_cast<int>(std::clamp<std::int64_t>(b, 0, m_length));
    if (last < first)
        last = first;
}

}
