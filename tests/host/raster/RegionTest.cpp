// The shapes GDI lists rectangle by rectangle (ellipses, polygons in both fill modes, round
// corners, differences) are proven by the GDI reference scenes; these cover the rest.

#include "host/raster/Region.h"

#include <gtest/gtest.h>

#include <tuple>

namespace korvane::raster {
namespace {

std::vector<IntRect> RectsOf(const Region& region) { return { region.Rects().begin(), region.Rects().end() }; }

TEST(RegionCombine, UnionMergesTouchingSpansAndEqualBands)
{
    Region beside = Region::Combine(Region({ 0, 0, 5, 4 }), Region({ 5, 0, 9, 4 }), RegionOp::Or);
    Region merged = Region::Combine(beside, Region({ 0, 4, 9, 8 }), RegionOp::Or);
    EXPECT_EQ(RectsOf(merged), (std::vector<IntRect> { { 0, 0, 9, 8 } }));
    EXPECT_EQ(merged.Complexity(), RegionComplexity::Simple);
}

TEST(RegionCombine, AndXorAndEmptyResults)
{
    Region a({ 0, 0, 4, 4 });
    Region b({ 2, 2, 6, 6 });
    EXPECT_EQ(RectsOf(Region::Combine(a, b, RegionOp::And)), (std::vector<IntRect> { { 2, 2, 4, 4 } }));
    Region x = Region::Combine(a, b, RegionOp::Xor);
    EXPECT_EQ(std::tuple(x.Contains(0, 0), x.Contains(3, 3), x.Contains(5, 5)), std::tuple(true, false, true));
    Region none = Region::Combine(a, Region({ 10, 10, 12, 12 }), RegionOp::And);
    EXPECT_EQ(std::pair(none.IsEmpty(), none.Complexity()), std::pair(true, RegionComplexity::Empty));
    EXPECT_TRUE(Region(IntRect { 5, 5, 5, 9 }).IsEmpty());
    EXPECT_TRUE(Region::FromEllipse({ 3, 3, 3, 10 }).IsEmpty());
}

// Corners as wide as the whole rectangle leave no empty rows behind.
TEST(RegionRoundRect, CornersAsWideAsTheRectangleLeaveNoEmptyRows)
{
    Region tall = Region::FromRoundRect({ 0, 0, 5, 12 }, 5, 4);
    for (const IntRect& r : tall.Rects())
        EXPECT_FALSE(r.IsEmpty());
}

TEST(RegionQueries, OffsetAndIntersects)
{
    Region region({ 0, 0, 4, 4 });
    region.Offset(10, -2);
    EXPECT_EQ(region.Box(), (IntRect { 10, -2, 14, 2 }));
    EXPECT_TRUE(region.Intersects({ 13, 1, 20, 20 }));
    EXPECT_FALSE(region.Intersects({ 14, 1, 20, 20 }));
    EXPECT_TRUE(region.Intersects({ 20, 20, 13, 1 })); // reversed corners are normalised
}

}
}
