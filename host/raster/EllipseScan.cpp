#include "host/raster/EllipseScan.h"

#include <algorithm>
#include <cmath>

namespace korvane::raster {

namespace {

// Tracing with the exact axes keeps one extra pixel on a few rows where a midpoint lands
// on the curve; shortening the horizontal axis by a twentieth of a pixel drops it, as
// GDI's integer tracing does.
constexpr double AxisTrim = 0.05;

struct RowSpan {
    int first; // offset of the leftmost pixel from the box's left edge
    int last;  // offset of the rightmost pixel
};

// Spans for an ellipse filling a box of `width` x `height` pixels, one per row.
std::vector<RowSpan> TraceRows(int width, int height)
{
    std::vector<RowSpan> rows;
    if (width <= 0 || height <= 0)
        return rows;
    double cx = (width - 1) / 2.0;
    double cy = (height - 1) / 2.0;
    double a = std::max((width - 1) / 2.0 - AxisTrim, 0.01);
    double b = std::max((height - 1) / 2.0, 0.01);
    double fraction = cx - std::floor(cx);
    for (int y = 0; y < height; ++y) {
        double dy = std::abs(y - cy);
        double edge = a * std::sqrt(std::max(0.0, 1.0 - (dy / b) * (dy / b)));
        bool flat = b * b * edge < a * a * dy;
        double half = fraction;
        for (double dx = fraction + 1; dx <= cx + 1; dx += 1) {
            double inside = flat ? dx * dx / (a * a) + (dy - 0.5) * (dy - 0.5) / (b * b)
                                 : (dx - 0.5) * (dx - 0.5) / (a * a) + dy * dy / (b * b);
            if (inside > 1.0)
                break;
            half = dx;
        }
        int first = static_cast<int>(std::lround(cx - half));
        int last = static_cast<int>(std::lround(cx + half));
        rows.push_back({ std::max(first, 0), std::min(last, width - 1) });
    }
    return rows;
}

}

std::vector<int> EllipseScan::HalfWidths(int width, int height, int& centreOffset)
{
    std::vector<int> result;
    centreOffset = (width - 1) / 2;
    for (const RowSpan& row : TraceRows(width, height))
        result.push_back(centreOffset - row.first);
    return result;
}

std::vector<IntRect> EllipseScan::EllipseRows(const IntRect& bounds)
{
    IntRect box = bounds.Normalized();
    // The ellipse covers one pixel less than its rectangle at the right and bottom.
    int width = box.Width() - 1;
    int height = box.Height() - 1;
    std::vector<IntRect> rects;
    std::vector<RowSpan> rows = TraceRows(width, height);
    for (int y = 0; y < static_cast<int>(rows.size()); ++y) {
        const RowSpan& row = rows[static_cast<std::size_t>(y)];
        rects.push_back({ box.left + row.first, box.top + y, box.left + row.last + 1, box.top + y + 1 });
    }
    return rects;
}

std::vector<IntRect> EllipseScan::RoundRectRows(const IntRect& bounds, int ellipseWidth, int ellipseHeight)
{
    IntRect box = bounds.Normalized();
    int width = box.Width() - 1;
    int height = box.Height() - 1;
    if (width <= 0 || height <= 0)
        return {};
    int cornerWidth = std::min(std::abs(ellipseWidth), box.Width());
    int cornerHeight = std::min(std::abs(ellipseHeight), box.Height());
    if (cornerWidth >= box.Width() && cornerHeight >= box.Height())
        return EllipseRows(box);
    if (cornerWidth < 2 || cornerHeight < 2)
        return { { box.left, box.top, box.left + width, box.top + height } };

    // The corners are traced at the full ellipse size: a 3x3 corner still cuts one pixel
    // from the first and last rows, which a one-pixel-smaller ellipse would not. GDI bands
    // one row fewer into the bottom corners than the top ones; the rest join the middle.
    std::vector<RowSpan> corner = TraceRows(cornerWidth, cornerHeight);
    int cornerRows = static_cast<int>(corner.size());
    int topRows = cornerRows / 2;
    int bottomRows = (cornerRows - 1) / 2;
    int cornerCentre = (cornerWidth - 1) / 2;
    int cornerRight = cornerWidth - 1;
    std::vector<IntRect> rects;
    auto addRow = [&](int y, const RowSpan& span) {
        int insetLeft = std::min(span.first, cornerCentre);
        int insetRight = std::min(cornerRight - span.last, cornerCentre);
        if (insetLeft + insetRight < width)
            rects.push_back({ box.left + insetLeft, y, box.left + width - insetRight, y + 1 });
    };
    for (int i = 0; i < topRows; ++i)
        addRow(box.top + i, corner[static_cast<std::size_t>(i)]);
    int middleTop = box.top + topRows;
    int middleBottom = box.top + height - bottomRows;
    if (middleBottom > middleTop)
        rects.push_back({ box.left, middleTop, box.left + width, middleBottom });
    for (int i = 0; i < bottomRows; ++i)
        addRow(middleBottom + i, corner[static_cast<std::size_t>(cornerRows - bottomRows + i)]);
    return rects;
}

}
