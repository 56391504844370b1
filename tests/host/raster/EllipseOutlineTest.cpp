// Ellipse and arc pixels themselves are proven by the GDI reference scenes; these check
// the outline's own promises: symmetry, no gaps, rows and partial sweeps.

#include "host/raster/EllipseOutline.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <utility>

namespace korvane::raster {
namespace {

std::set<std::pair<int, int>> AsSet(const std::vector<IntPoint>& points)
{
    std::set<std::pair<int, int>> set;
    for (const IntPoint& p : points)
        set.emplace(p.x, p.y);
    return set;
}

TEST(EllipseOutline, AnEmptyBoxHasNoOutlineAndAOnePixelWideBoxIsALine)
{
    EXPECT_TRUE(EllipseOutline({ 0, 0, 0, 5 }).IsEmpty());
    EXPECT_EQ(EllipseOutline({ 2, 0, 3, 4 }).Points().size(), 4u);
}

TEST(EllipseOutline, FillsItsRectangleSymmetricallyWithEachPixelOnce)
{
    // Reversed corners describe the same box.
    EllipseOutline outline({ 37, 14, 4, 2 });
    const std::vector<IntPoint>& points = outline.Points();
    EXPECT_EQ(AsSet(points).size(), points.size());
    std::set<std::pair<int, int>> set = AsSet(points);
    IntRect box { 1000, 1000, -1000, -1000 };
    for (const IntPoint& p : points) {
        box = { std::min(box.left, p.x), std::min(box.top, p.y), std::max(box.right, p.x), std::max(box.bottom, p.y) };
        EXPECT_TRUE(set.count({ 4 + 36 - p.x, p.y }) && set.count({ p.x, 2 + 13 - p.y })) << p.x << "," << p.y;
    }
    EXPECT_EQ(box, (IntRect { 4, 2, 36, 13 }));
    // Consecutive pixels touch, so the outline has no gaps, closing round from last to first.
    for (std::size_t i = 0; i < points.size(); ++i) {
        const IntPoint& a = points[i];
        const IntPoint& b = points[(i + 1) % points.size()];
        EXPECT_LE(std::max(std::abs(a.x - b.x), std::abs(a.y - b.y)), 1) << i;
    }
}

TEST(EllipseOutline, RowsSeparateInteriorFromOutline)
{
    EllipseOutline outline({ 0, 0, 20, 12 });
    std::set<std::pair<int, int>> set = AsSet(outline.Points());
    EllipseOutline::RowSpan span;
    EXPECT_EQ(std::pair(outline.Row(-1, span), outline.Row(12, span)), std::pair(false, false));
    for (int y = 0; y < 12; ++y) {
        ASSERT_TRUE(outline.Row(y, span));
        EXPECT_TRUE(set.count({ span.outerLeft, y }));
        EXPECT_TRUE(set.count({ span.outerRight - 1, y }));
        EXPECT_TRUE(set.count({ span.innerLeft - 1, y }));
        for (int x = span.innerLeft; x < span.innerRight; ++x)
            EXPECT_FALSE(set.count({ x, y })) << x << "," << y;
    }
}

TEST(EllipseOutline, PartialArcSweepsCounterClockwise)
{
    EllipseOutline outline({ 0, 0, 21, 21 });
    // From due east to due north: only the top-right quarter, walked from the right upwards.
    std::vector<IntPoint> quarter = outline.Arc({ 30, 10 }, { 10, -5 });
    ASSERT_FALSE(quarter.empty());
    EXPECT_EQ(quarter.front(), (IntPoint { 20, 10 }));
    for (const IntPoint& p : quarter)
        EXPECT_TRUE(p.x >= 10 && p.y <= 10) << p.x << "," << p.y;
    EXPECT_LT(quarter.back().x, 13);
    // The other three quarters, from north back round to east.
    std::vector<IntPoint> rest = outline.Arc({ 10, -5 }, { 30, 10 });
    EXPECT_EQ(quarter.size() + rest.size() + 2, outline.Points().size());
}

}
}
