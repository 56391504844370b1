#include "host/raster/LineStepper.h"
#include "host/raster/Painter.h"
#include "host/raster/Rop.h"

#include <gtest/gtest.h>

#include <optional>
#include <tuple>

namespace korvane::raster {
namespace {

constexpr PixelValue White = 0xFFFFFF;
constexpr PixelValue Black = 0x000000;
constexpr PixelValue Red = 0xFF0000;

std::string Row(const Surface& s, int y)
{
    std::string text;
    for (int x = 0; x < s.Width(); ++x)
        text += s.At(x, y) == White ? '.' : (s.At(x, y) == Black ? '#' : 'o');
    return text;
}

TEST(PainterLines, VerticalLinesCrossAHoledClipInEitherDirection)
{
    // A clip with a hole in the middle rows: the column shows above and below it only.
    Region clip = Region::Combine(Region(IntRect { 0, 0, 4, 10 }), Region(IntRect { 0, 4, 2, 6 }), RegionOp::Diff);
    Surface surface(4, 10, SurfaceFormat::Colour32, White);
    LinePen pen;
    int dash = 0;
    Painter painter(surface, &clip);
    painter.DrawLine({ 1, 1 }, { 1, 9 }, pen, dash); // down: rows 1..8
    painter.DrawLine({ 3, 9 }, { 3, 1 }, pen, dash); // up: rows 2..9
    pen.rop2 = 7;                                    // R2_XORPEN
    pen.colour = White;
    painter.DrawLine({ 3, 0 }, { 3, 3 }, pen, dash); // rows 0..2: white ^ white is black, black ^ white white
    std::string column1, column3;
    for (int y = 0; y < 10; ++y) {
        column1 += surface.At(1, y) == Black ? '#' : '.';
        column3 += surface.At(3, y) == Black ? '#' : '.';
    }
    EXPECT_EQ(column1, ".###..###.");
    EXPECT_EQ(column3, "##.#######");
    EXPECT_EQ(dash, 8 + 8 + 3);
}

TEST(PainterLines, DotPatternContinuesAcrossSegmentsAndOpaqueFillsGaps)
{
    Surface s(12, 1, SurfaceFormat::Colour32, White);
    LinePen pen;
    pen.dashes = DashPattern::FromRuns({ 3, 3 });
    pen.opaqueBackground = false;
    int dash = 0;
    Painter painter(s, nullptr);
    painter.DrawLine({ 0, 0 }, { 4, 0 }, pen, dash);
    painter.DrawLine({ 4, 0 }, { 12, 0 }, pen, dash);
    EXPECT_EQ(Row(s, 0), "###...###...");
    pen.opaqueBackground = true;
    pen.background = Red;
    dash = 0;
    painter.DrawLine({ 0, 0 }, { 12, 0 }, pen, dash);
    EXPECT_EQ(Row(s, 0), "###ooo###ooo");
}

// Lines walk their pixels without dividing per step; every octant, slope and starting
// step must give the pixels the stepper computes one by one.
TEST(PainterLines, WalkingALineGivesThePixelsOfEachStep)
{
    const IntPoint from { 3, -2 };
    for (int dx = -13; dx <= 13; ++dx) {
        for (int dy = -13; dy <= 13; ++dy) {
            const LineStepper line(from, { from.x + dx, from.y + dy });
            for (int start : { 0, 1, line.Length() / 2 }) {
                LineStepper::Walker walker(line, start);
                for (int step = start; step < line.Length(); ++step, walker.Next())
                    ASSERT_EQ(walker.Point(), line.At(step)) << dx << "," << dy << " step " << step;
            }
        }
    }
}

TEST(PainterFill, ClipRegionLimitsFillAndOffSurfaceIsIgnored)
{
    Surface s(6, 3, SurfaceFormat::Colour32, White);
    Region clip = Region::Combine(Region({ 0, 0, 6, 3 }), Region({ 2, 0, 4, 3 }), RegionOp::Diff);
    Painter painter(s, &clip);
    painter.FillRect({ -5, 1, 50, 2 }, Pattern::Solid(Black), Rop::PatternCopy);
    EXPECT_EQ(Row(s, 0), "......");
    EXPECT_EQ(Row(s, 1), "##..##");
    painter.FillRect({ 4, 0, 2, 3 }, Pattern::Solid(Black), Rop::PatternCopy); // reversed: nothing
    EXPECT_EQ(Row(s, 0), "......");
}

TEST(PainterFill, SolidFillsOfEverySizeStayInsideTheirRectangle)
{
    // Whole-row blocks, odd and even pixel counts, and runs short and long take
    // different store paths; none may write a pixel outside the rectangle.
    for (int width : { 1, 2, 7, 33, 65 }) {
        Surface s(width + 4, 5, SurfaceFormat::Colour32, White);
        Painter painter(s, nullptr);
        painter.FillRect({ 2, 1, width + 2, 4 }, Pattern::Solid(Red), Rop::PatternCopy);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < s.Width(); ++x)
                EXPECT_EQ(s.At(x, y), (x >= 2 && x < width + 2 && y >= 1 && y < 4) ? Red : White) << width << ": " << x << "," << y;
        Surface rows(width, 4, SurfaceFormat::Colour32, White);
        Painter(rows, nullptr).FillRect({ 0, 1, width, 3 }, Pattern::Solid(Red), Rop::PatternCopy);
        EXPECT_EQ(std::tuple(rows.At(width - 1, 0), rows.At(width - 1, 2), rows.At(0, 3)), std::tuple(White, Red, White));
    }
}

TEST(PainterBlit, FormatsConvertThroughTheDestinationColoursAndTheSourceBackground)
{
    // Monochrome 0 bits take the text colour and 1 bits the background colour.
    Surface mono(3, 1, SurfaceFormat::Monochrome, 0);
    mono.Set(1, 0, White);
    Surface colour(3, 1, SurfaceFormat::Colour32, 0x123456);
    SourceMap toColour = SourceMap::For(mono, colour, Red, 0x00FF00, White);
    Painter(colour, nullptr).Blit({ 0, 0, 2, 1 }, mono, { 0, 0 }, toColour, Pattern::Empty(), Rop::SourceCopy);
    EXPECT_EQ(std::tuple(colour.At(0, 0), colour.At(1, 0), colour.At(2, 0)), std::tuple(Red, 0x00FF00u, 0x123456u));

    // Colour becomes 1 exactly where it equals the source background.
    colour.Set(0, 0, 0x808080);
    colour.Set(1, 0, 0x808081);
    colour.Set(2, 0, White);
    SourceMap toMono = SourceMap::For(colour, mono, 0, 0, 0x808080);
    Painter(mono, nullptr).Blit({ 0, 0, 3, 1 }, colour, { 0, 0 }, toMono, Pattern::Empty(), Rop::SourceCopy);
    EXPECT_EQ(Row(mono, 0), ".##");
}

TEST(PainterBlit, OverlappingBlitWithinOneSurfaceReadsOriginalPixels)
{
    Surface s(6, 1, SurfaceFormat::Colour32, White);
    for (int x = 0; x < 3; ++x)
        s.Set(x, 0, static_cast<PixelValue>(x + 1));
    Painter(s, nullptr).Blit({ 1, 0, 4, 1 }, s, { 0, 0 }, {}, Pattern::Empty(), Rop::SourceCopy);
    EXPECT_EQ(std::tuple(s.At(1, 0), s.At(2, 0), s.At(3, 0)), std::tuple(1u, 2u, 3u));
}

TEST(PainterBlit, AWholeSurfaceCopySharesItsPixelsUntilEitherSideIsWritten)
{
    // Each write after the copy changes only the surface it was made on.
    struct Case {
        const char* name;
        bool onCopy;
        void (*write)(Surface&);
    };
    const Case cases[] = {
        { "a pixel of the copy", true, [](Surface& s) { s.Set(0, 0, Red); } },
        { "a pixel of the original", false, [](Surface& s) { s.Set(0, 0, Red); } },
        { "all of the original", false,
          [](Surface& s) { Painter(s, nullptr).FillRect(s.Bounds(), Pattern::Solid(Red), Rop::PatternCopy); } },
        { "all of the copy", true, [](Surface& s) { s.Fill(Red); } },
        { "a line across the original", false,
          [](Surface& s) { FillStraightLine(s, { 0, 1 }, { 3, 1 }, Red); } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Surface original(3, 2, SurfaceFormat::Colour32, White);
        Surface copy(3, 2, SurfaceFormat::Colour32, Black);
        Painter(copy, nullptr).Blit(copy.Bounds(), original, { 0, 0 }, {}, Pattern::Empty(), Rop::SourceCopy);
        ASSERT_TRUE(copy.SharesPixelsWith(original));
        c.write(c.onCopy ? copy : original);
        const Surface& written = c.onCopy ? copy : original;
        const Surface& other = c.onCopy ? original : copy;
        EXPECT_FALSE(copy.SharesPixelsWith(original));
        EXPECT_TRUE(written.At(0, 0) == Red || written.At(0, 1) == Red);
        EXPECT_EQ(std::tuple(Row(other, 0), Row(other, 1)), std::tuple("...", "..."));
    }

    // A clipped copy, or one of part of the source, copies pixels as before.
    Surface source(3, 1, SurfaceFormat::Colour32, Red);
    Surface clipped(3, 1, SurfaceFormat::Colour32, White);
    const Region clip(IntRect { 1, 0, 3, 1 });
    Painter(clipped, &clip).Blit(clipped.Bounds(), source, { 0, 0 }, {}, Pattern::Empty(), Rop::SourceCopy);
    EXPECT_FALSE(clipped.SharesPixelsWith(source));
    EXPECT_EQ(Row(clipped, 0), ".oo");

    // A moved-from surface is empty rather than a second view of the pixels.
    Surface moved = std::move(source);
    EXPECT_EQ(std::tuple(source.Width(), source.Height(), source.Pixels().size()), std::tuple(0, 0, 0u));
    EXPECT_EQ(moved.At(2, 0), Red);

    // A back buffer refilled whole and copied onto its window each repaint: the pixels
    // the two trade are reused, and neither ever shows the other's next picture.
    Surface buffer(3, 2, SurfaceFormat::Colour32, White);
    Surface window(3, 2, SurfaceFormat::Colour32, White);
    for (const PixelValue colour : { Red, Black, White, Red }) {
        const PixelValue shown = window.At(2, 1);
        Painter(buffer, nullptr).FillRect(buffer.Bounds(), Pattern::Solid(colour), Rop::PatternCopy);
        ASSERT_EQ(std::tuple(window.At(0, 0), window.At(2, 1)), std::tuple(shown, shown));
        Painter(window, nullptr).Blit(window.Bounds(), buffer, { 0, 0 }, {}, Pattern::Empty(), Rop::SourceCopy);
        buffer.Set(0, 0, ~colour & 0xFFFFFF);
        ASSERT_EQ(std::tuple(window.At(0, 0), window.At(2, 1)), std::tuple(colour, colour));
    }
    // Pixels still shared are not reused when one of their holders goes.
    std::optional<Surface> view(std::in_place, window);
    view.reset();
    Surface next(3, 2, SurfaceFormat::Colour32, Black);
    EXPECT_EQ(std::tuple(window.At(0, 0), next.At(0, 0)), std::tuple(Red, Black));
}

TEST(SurfaceMono, BitsRoundTripWithWordPadding)
{
    const std::uint8_t bits[] = { 0xA0, 0x00, 0x40, 0x00 };
    Surface s = Surface::FromMonoBits(3, 2, bits, 2);
    EXPECT_EQ(std::tuple(s.At(0, 0), s.At(1, 0), s.At(1, 1)), std::tuple(White, Black, White));
    EXPECT_EQ(s.ToMonoBits(2), std::vector<std::uint8_t>(std::begin(bits), std::end(bits)));
    EXPECT_EQ(std::pair(s.Quantize(0x808080), s.Quantize(0x7F7F7F)), std::pair(White, Black));
}

}
}
