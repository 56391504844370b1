#include "host/raster/Region.h"

#include <gtest/gtest.h>

#include <tuple>

namespace korvane::raster {
namespace {

std::vector<IntRect> RectsOf(const Region& region) { return { region.Rects().begin(), region.Rects().end() }; }

TEST(RegionCombine, DiffCutsHoleIntoBands)
{
    Region result = Region::Combine(Region({ 0, 0, 10, 10 }), Region({ 3, 3, 6, 6 }), RegionOp::Diff);
    std::vector<IntRect> expected = { { 0, 0, 10, 3 }, { 0, 3, 3, 6 }, { 6, 3, 10, 6 }, { 0, 6, 10, 10 } };
    EXPECT_EQ(RectsOf(result), expected);
    EXPECT_EQ(result.Complexity(), RegionComplexity::Complex);
    EXPECT_FALSE(result.Contains(4, 4));
    EXPECT_TRUE(result.Contains(2, 4));
    EXPECT_EQ(result.Box(), (IntRect { 0, 0, 10, 10 }));
}

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
    EXPECT_TRUE(none.IsEmpty());
    EXPECT_EQ(none.Complexity(), RegionComplexity::Empty);
    EXPECT_TRUE(Region(IntRect { 5, 5, 5, 9 }).IsEmpty());
}

TEST(RegionPolygon, IncludesLeftTopExcludesRightBottom)
{
    // A 4x3 axis-aligned polygon covers exactly the pixels of the rectangle.
    IntPoint square[] = { { 1, 1 }, { 5, 1 }, { 5, 4 }, { 1, 4 } };
    Region region = Region::FromPolygon(square, FillMode::Alternate);
    EXPECT_EQ(RectsOf(region), (std::vector<IntRect> { { 1, 1, 5, 4 } }));
}

TEST(RegionPolygon, AlternateLeavesStarCentreWindingFillsIt)
{
    IntPoint star[] = { { 18, 1 }, { 29, 34 }, { 1, 13 }, { 35, 13 }, { 7, 34 } };
    Region alternate = Region::FromPolygon(star, FillMode::Alternate);
    Region winding = Region::FromPolygon(star, FillMode::Winding);
    EXPECT_FALSE(alternate.Contains(18, 18));
    EXPECT_TRUE(winding.Contains(18, 18));
    EXPECT_TRUE(alternate.Contains(2, 13));
}

TEST(RegionEllipse, IsOnePixelSmallerThanItsRectangle)
{
    Region circle = Region::FromEllipse({ 0, 0, 20, 20 });
    EXPECT_EQ(circle.Box(), (IntRect { 0, 0, 19, 19 }));
    EXPECT_EQ(circle.Rects().size(), 19u); // one row each, not merged
    EXPECT_EQ(circle.Rects().front(), (IntRect { 7, 0, 12, 1 }));
    EXPECT_TRUE(Region::FromEllipse({ 3, 3, 3, 10 }).IsEmpty());
}

TEST(RegionRoundRect, SmallCornersStillCutTheCornerPixels)
{
    Region round = Region::FromRoundRect({ 0, 0, 10, 8 }, 3, 3);
    EXPECT_EQ(round.Box(), (IntRect { 0, 0, 9, 7 }));
    for (auto [x, y, inside] : { std::tuple { 0, 0, false }, { 8, 6, false }, { 1, 0, true }, { 0, 1, true } })
        EXPECT_EQ(round.Contains(x, y), inside) << x << "," << y;
    EXPECT_EQ(round.Rects().size(), 3u);
    // Corners as wide as the whole rectangle leave no empty rows behind.
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
