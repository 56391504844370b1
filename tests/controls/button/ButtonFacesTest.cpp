// The face painters without a window: each style's edges, corner pixels and focus
// mark in the states that set them apart, and the bevel engine's pen rules.

#include "controls/button/ButtonFaces.h"
#include "controls/button/ButtonResources.h"
#include "tests/controls/button/ButtonTestSupport.h"

#include <tuple>
#include <utility>
#include <vector>

using namespace korvane;
using namespace korvane::button;
using korvane::testing::CountColour;
using korvane::testing::FaceCanvas;
using korvane::testing::kFace;
using korvane::testing::MatchesGolden;

namespace {

constexpr COLORREF kRed = 0xFF, kBlue = 0xFF0000;

// Every pixel of the rectangle (right and bottom exclusive) is the colour.
using PixelRun = std::pair<RECT, COLORREF>;

::testing::AssertionResult HoldsRuns(const raster::Surface& surface, const std::vector<PixelRun>& runs)
{
    for (const auto& [rect, colour] : runs)
        if (CountColour(surface, rect, colour) != (rect.right - rect.left) * (rect.bottom - rect.top))
            return ::testing::AssertionFailure() << "run " << rect.left << "," << rect.top << " is not " << std::hex << colour;
    return ::testing::AssertionSuccess();
}

struct FaceCase {
    const char* golden; // under button/faces/
    std::int32_t style;
    std::int16_t state = 0; // bsHover also means hover tracking
    std::int32_t mode = gxCommand;
    bool value = false, enabled = true, userMode = true, showFocusRect = true;
    const char* caption = ""; // laid out in (30, 5, 45, 18)
    std::vector<PixelRun> runs = {};
};

// 75 x 23 rectangles in the button face colour; the corners the window region
// trims are not the face's. The plain normal, hover and disabled faces are the reference
// pictures' cases.
const FaceCase kFaces[] = {
    { .golden = "style0_default", .style = gxStyleStandard, .state = bsDefault,
      .runs = { { { 0, 0, 75, 1 }, kBlack }, { { 0, 0, 1, 23 }, kBlack }, { { 1, 1, 73, 2 }, kWhite } } },
    // Latched in check mode: sunken, with a solid focus mark.
    { .golden = "style4_latched_check", .style = gxStyleThin, .state = bsDefault, .mode = gxCheckBox, .value = true,
      .runs = { { { 0, 0, 74, 1 }, kGrey }, { { 0, 22, 75, 23 }, kWhite }, { { 4, 4, 72, 5 }, kBlack } } },
    // Without ShowFocusRect the default look keeps the normal tones.
    { .golden = "style2_normal", .style = gxStyleRounded, .state = bsDefault, .showFocusRect = false },
    { .golden = "style5_design_time", .style = gxStyleHover, .userMode = false, .runs = { { { 0, 0, 1, 1 }, 0x99AAAC } } },
    // Dark face, black ring, corner pixels, and the caption in the light FaceColor.
    { .golden = "style7_pressed", .style = gxStyleInverse, .state = bsDown | bsHover, .caption = "H",
      .runs = { { { 3, 4, 10, 19 }, 0x717170 }, { { 0, 1, 1, 22 }, kBlack }, { { 1, 1, 2, 2 }, kBlack },
                { { 73, 21, 74, 22 }, kBlack }, { { 3, 3, 4, 4 }, 0x616160 }, { { 72, 20, 73, 21 }, 0x717170 } } },
    { .golden = "style3_check_off", .style = gxStyleFlatFrame, .mode = gxCheckBox,
      .runs = { { { 1, 1, 73, 2 }, kWhite }, { { 73, 1, 74, 21 }, 0x676766 }, { { 74, 0, 75, 23 }, kWhite } } },
    // Two pixels round a caption with room on both sides (a blank one: only the mark shows).
    { .golden = "style3_default", .style = gxStyleFlatFrame, .state = bsDefault, .caption = " ",
      .runs = { { { 28, 3, 47, 4 }, 0xCC9999 }, { { 46, 3, 47, 20 }, 0xCC9999 }, { { 29, 4, 46, 19 }, kFace } } },
};

} // namespace

TEST(ButtonFaces, EachStyleInTheStatesThatSetItApart)
{
    for (const FaceCase& c : kFaces) {
        SCOPED_TRACE(c.golden);
        FaceCanvas canvas(75, 23);
        ButtonLook& look = canvas.look;
        look.Colors = ComputeFaceColors(c.style, kFace, kFace);
        std::tie(look.ButtonStyle, look.ButtonState, look.Mode, look.Value, look.Enabled, look.UserMode, look.ShowFocusRect, look.Caption)
            = std::tuple(c.style, c.state, c.mode, c.value, c.enabled, c.userMode, c.showFocusRect, c.caption);
        look.HoverTracking = (c.state & bsHover) != 0;
        look.AmbientBackColor = kFace;
        look.CaptionRect = { 30, 5, 45, 18 };
        RedrawWork work;
        PaintFace(look, canvas.buffer, work);
        EXPECT_TRUE(HoldsRuns(canvas.Pixels(), c.runs));
        EXPECT_TRUE(MatchesGolden(canvas.Pixels(), std::string("button/faces/") + c.golden));
    }
}

TEST(ButtonFaces, TheBevelChangesPensOnlyWithTheColour)
{
    // The golden under button/faces/, the shape, the edge colours, the outer pen style, and runs.
    const OleColor n = -1;
    const std::tuple<const char*, std::int32_t, std::array<OleColor, 13>, std::int32_t, std::vector<PixelRun>> cases[] = {
        { "bevel_shape1", 1, { 0, kRed, kRed, kRed, kRed, kGrey, kGrey, kGrey, kGrey, kBlue, kBlue, kBlue, kBlue }, -1, {} },
        // A gap keeps the pen, so the outer ring of the same colour stays solid.
        { "bevel_gap_keeps_pen", 0, { 0, n, n, n, n, kRed, kRed, kRed, n, kRed, kRed, kRed, kRed }, PS_DOT,
          { { { 0, 0, 29, 1 }, kRed }, { { 0, 1, 1, 12 }, kRed } } },
        // No outer ring: the closing bottom segment is still drawn, with the last pen.
        { "bevel_closing_with_last_pen", 0, { 0, n, n, n, n, kBlue, kBlue, kBlue, kBlue, n, n, n, n }, -1,
          { { { 0, 11, 29, 12 }, kBlue }, { { 29, 11, 30, 12 }, kWhite } } },
    };
    for (const auto& [golden, shape, colours, outerPenStyle, runs] : cases) {
        SCOPED_TRACE(golden);
        FaceCanvas canvas(30, 12);
        canvas.look.ButtonShape = shape;
        canvas.look.FaceLeft = shape == 1 ? 8 : 0;
        DrawRectangle(canvas.buffer, canvas.buffer.BufferDC, 0, 0, 30, 12, kWhite, -1, 0, 0);
        RedrawWork work;
        work.EdgeColors = colours;
        DrawBevel(canvas.look, canvas.buffer, work, outerPenStyle);
        // A slanted left edge moves the left points.
        EXPECT_TRUE(shape != 1 || (work.EdgePoints[1].x == 4 && work.EdgePoints[0].x == canvas.look.FaceLeft - 2));
        EXPECT_TRUE(HoldsRuns(canvas.Pixels(), runs));
        EXPECT_TRUE(MatchesGolden(canvas.Pixels(), std::string("button/faces/") + golden));
    }
}
