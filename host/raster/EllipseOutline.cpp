#include "host/raster/EllipseOutline.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace korvane::raster {

namespace {

// GDI's integer tracing lands a little inside the exact curve: rounding the exact curve
// keeps a pixel too far out where the curve passes just beyond a half, and shrinking the
// axes by a hundredth of a pixel reproduces GDI's choice there without moving any other.
constexpr double AxisTrimX = 0.01;
constexpr double AxisTrimY = 0.005;

// Distance along the other axis from the centre to the curve at offset `t` along this one.
double CurveAt(double t, double axis, double otherAxis)
{
    if (axis <= 0)
        return t == 0 ? otherAxis : 0;
    return otherAxis * std::sqrt(std::max(0.0, 1.0 - (t * t) / (axis * axis)));
}

// The doubled offset nearest to `value` among offsets of parity `parity`, within [parity, limit].
int NearestOffset(double value, int parity, int limit)
{
    int steps = static_cast<int>(std::floor(value - parity / 2.0 + 0.5));
    return std::clamp(parity + 2 * steps, parity, std::max(limit, parity));
}

}

EllipseOutline::EllipseOutline(const IntRect& box)
    : m_box(box.Normalized())
{
    int width = m_box.Width();
    int height = m_box.Height();
    if (width <= 0 || height <= 0)
        return;
    m_centreX2 = 2 * m_box.left + width - 1;
    m_centreY2 = 2 * m_box.top + height - 1;
    int axisX2 = width - 1;
    int axisY2 = height - 1;
    int parityX = axisX2 % 2;
    int parityY = axisY2 % 2;
    double a = std::max(axisX2 / 2.0 - AxisTrimX, 0.0);
    double b = std::max(axisY2 / 2.0 - AxisTrimY, 0.0);

    // One quadrant, as doubled offsets: each column takes the row nearest the curve and
    // each row the column nearest it, which keeps the outline connected on both slopes.
    std::vector<std::pair<int, int>> quadrant;
    for (int x2 = parityX; x2 <= axisX2; x2 += 2)
        quadrant.emplace_back(x2, NearestOffset(CurveAt(x2 / 2.0, a, b), parityY, axisY2));
    for (int y2 = parityY; y2 <= axisY2; y2 += 2)
        quadrant.emplace_back(NearestOffset(CurveAt(y2 / 2.0, b, a), parityX, axisX2), y2);

    std::vector<std::pair<int, int>> offsets;
    for (const auto& [x2, y2] : quadrant) {
        for (int sx : { 1, -1 }) {
            for (int sy : { 1, -1 })
                offsets.emplace_back(sx * x2, sy * y2);
        }
    }
    std::sort(offsets.begin(), offsets.end());
    offsets.erase(std::unique(offsets.begin(), offsets.end()), offsets.end());

    std::vector<std::pair<double, IntPoint>> ordered;
    ordered.reserve(offsets.size());
    m_innermost.assign(static_cast<std::size_t>(height), axisX2 + 2);
    m_outermost.assign(static_cast<std::size_t>(height), -1);
    for (const auto& [x2, y2] : offsets) {
        IntPoint p { (m_centreX2 + x2) / 2, (m_centreY2 + y2) / 2 };
        ordered.emplace_back(AngleOf(x2, y2), p);
        auto row = static_cast<std::size_t>(p.y - m_box.top);
        m_innermost[row] = std::min(m_innermost[row], std::abs(x2));
        m_outermost[row] = std::max(m_outermost[row], std::abs(x2));
    }
    std::sort(ordered.begin(), ordered.end(), [](const auto& l, const auto& r) { return l.first < r.first; });
    for (const auto& [angle, p] : ordered) {
        m_angles.push_back(angle);
        m_points.push_back(p);
    }
}

double EllipseOutline::AngleOf(int doubledX, int doubledY) const
{
    // Screen y grows downwards, so counter-clockwise on screen is towards negative y.
    double angle = std::atan2(-static_cast<double>(doubledY), static_cast<double>(doubledX));
    return angle < 0 ? angle + 2 * std::numbers::pi : angle;
}

std::vector<IntPoint> EllipseOutline::Arc(IntPoint start, IntPoint end) const
{
    std::vector<IntPoint> arc;
    if (m_points.empty())
        return arc;
    constexpr double Turn = 2 * std::numbers::pi;
    double from = AngleOf(2 * start.x - m_centreX2, 2 * start.y - m_centreY2);
    double to = AngleOf(2 * end.x - m_centreX2, 2 * end.y - m_centreY2);
    double sweep = to - from;
    if (sweep < 0)
        sweep += Turn;
    if (sweep == 0)
        sweep = Turn;
    std::vector<std::pair<double, IntPoint>> swept;
    for (std::size_t i = 0; i < m_points.size(); ++i) {
        double along = m_angles[i] - from;
        if (along < 0)
            along += Turn;
        if (along < sweep)
            swept.emplace_back(along, m_points[i]);
    }
    std::stable_sort(swept.begin(), swept.end(), [](const auto& l, const auto& r) { return l.first < r.first; });
    // GDI draws the swept pixels as a polyline, which leaves out its last point.
    if (!swept.empty())
        swept.pop_back();
    arc.reserve(swept.size());
    for (const auto& entry : swept)
        arc.push_back(entry.second);
    return arc;
}

bool EllipseOutline::Row(int y, RowSpan& span) const
{
    if (m_points.empty() || y < m_box.top || y >= m_box.bottom)
        return false;
    auto row = static_cast<std::size_t>(y - m_box.top);
    if (m_outermost[row] < 0)
        return false;
    int inner = m_innermost[row];
    int outer = m_outermost[row];
    span.innerLeft = (m_centreX2 - inner) / 2 + 1;
    span.innerRight = (m_centreX2 + inner) / 2;
    span.outerLeft = (m_centreX2 - outer) / 2;
    span.outerRight = (m_centreX2 + outer) / 2 + 1;
    return true;
}

}
