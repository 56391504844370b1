// The face painters without a window: each style's edges, corner pixels and focus
// mark in the states that set them apart, and the bevel engine's pen rules.

#include "controls/button/ButtonFaces.h"
#include "controls/button/ButtonResources.h"
#include "tests/controls/button/ButtonTestSupport.h"

#include <functional>
#include <vector>

using namespace korvane;
using namespace korvane::button;
using korvane::testing::CountColour;
using korvane::testing::FaceCanvas;
using korvane::testing::MatchesGolden;

namespace {

constexpr OleColor kFace = 0xD8E9EC; // the button face colour, RGB(236, 233, 216)
constexpr COLORREF kBlack = 0;
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kGrey = 0x808080;
constexpr COLORREF kFrameBlue = 0x733C00;
constexpr COLORREF kRed = 0x0000FF;
constexpr COLORREF kBlue = 0xFF0000;

// Every pixel of `rect` (right and bottom exclusive) is `colour`.
struct PixelRun {
    RECT rect;
    COLORREF colour;
};

::testing::AssertionResult HoldsRuns(const raster::Surface& surface, const std::vector<PixelRun>& runs)
{
    for (const PixelRun& run : runs) {
        const auto [l, t, r, b] = run.rect;
        if (CountColour(surface, run.rect, run.colour) != (r - l) * (b - t))
            return ::testing::AssertionFailure() << "run " << l << "," << t << " to " << r << "," << b << " is not "
                                                 << std::hex << run.colour;
    }
    return ::testing::AssertionSuccess();
}

struct FaceCase {
    const char* golden; // under button/faces/
    std::int32_t style;
    std::function<void(ButtonLook&)> arrange;
    std::vector<PixelRun> runs;
};

// 75 x 23 rectangles in the button face colour; the corner trims of the window
// region are not part of the face.
const FaceCase kFaces[] = {
    // The edge case of the framed style: where a white column and a grey row share
    // a pixel the later segment wins, so each white column stops one short.
    { "style1_normal", gxStyleFramed, nullptr,
      { { { 0, 0, 75, 1 }, kBlack }, { { 0, 22, 75, 23 }, kBlack }, { { 0, 1, 1, 22 }, kBlack },
        { { 74, 1, 75, 22 }, kBlack }, { { 1, 1, 73, 2 }, kWhite }, { { 1, 2, 2, 21 }, kWhite },
        { { 2, 2, 72, 3 }, kWhite }, { { 2, 3, 3, 20 }, kWhite }, { { 73, 1, 74, 22 }, kGrey },
        { { 1, 21, 73, 22 }, kGrey }, { { 72, 2, 73, 21 }, kGrey }, { { 2, 20, 72, 21 }, kGrey },
        { { 3, 3, 72, 20 }, kFace } } },
    // The default look: a black outer ring, white and black inside it, then light and grey.
    { "style0_default", gxStyleStandard, [](ButtonLook& l) { l.ButtonState = bsDefault; },
      { { { 0, 0, 75, 1 }, kBlack }, { { 0, 0, 1, 23 }, kBlack }, { { 74, 0, 75, 23 }, kBlack },
        { { 0, 22, 75, 23 }, kBlack }, { { 1, 1, 73, 2 }, kWhite }, { { 73, 1, 74, 22 }, kBlack },
        { { 2, 2, 72, 3 }, 0xE9E9E9 }, { { 72, 2, 73, 21 }, kGrey } } },
    // Latched in check mode: sunken, and the focus mark is solid, not dotted.
    { "style4_latched_check", gxStyleThin,
      [](ButtonLook& l) {
          l.Mode = gxCheckBox;
          l.Value = true;
          l.ButtonState = bsDefault;
      },
      { { { 0, 0, 74, 1 }, kGrey }, { { 0, 0, 1, 22 }, kGrey }, { { 74, 0, 75, 23 }, kWhite },
        { { 0, 22, 75, 23 }, kWhite }, { { 4, 4, 72, 5 }, kBlack }, { { 4, 4, 5, 20 }, kBlack } } },
    // Hot: orange rings in a frame-blue outer ring with its four corner pixels.
    { "style2_hover", gxStyleRounded,
      [](ButtonLook& l) {
          l.ButtonState = bsHover;
          l.HoverTracking = true;
      },
      { { { 0, 1, 1, 22 }, kFrameBlue }, { { 1, 1, 2, 2 }, kFrameBlue }, { { 1, 21, 2, 22 }, kFrameBlue },
        { { 73, 1, 74, 2 }, kFrameBlue }, { { 73, 21, 74, 22 }, kFrameBlue }, { { 1, 2, 2, 21 }, 0x31B2FF },
        { { 2, 3, 3, 20 }, 0x6BCBFF }, { { 2, 1, 73, 2 }, 0xA6E9FF }, { { 2, 21, 73, 22 }, 0x0096E7 } } },
    // Without ShowFocusRect the default look keeps the normal tones.
    { "style2_normal", gxStyleRounded, nullptr, {} },
    { "style2_normal", gxStyleRounded,
      [](ButtonLook& l) {
          l.ShowFocusRect = false;
          l.ButtonState = bsDefault;
      },
      {} },
    // Disabled: no inner or middle ring; the outer ring and corners are the base
    // shifted by -84 with proportional blue.
    { "style2_disabled", gxStyleRounded, [](ButtonLook& l) { l.Enabled = false; },
      { { { 0, 1, 1, 22 }, 0x90ACAB }, { { 1, 1, 2, 2 }, 0x90ACAB }, { { 73, 21, 74, 22 }, 0x90ACAB } } },
    // At run time an idle hover button has no edges at all.
    { "style5_run_time", gxStyleHover, nullptr, { { { 0, 0, 75, 23 }, kFace } } },
    // At design time: a dotted rectangle in the container colour darkened by 64.
    { "style5_design_time", gxStyleHover,
      [](ButtonLook& l) {
          l.UserMode = false;
          l.AmbientBackColor = kFace;
      },
      { { { 0, 0, 1, 1 }, 0x99AAAC } } },
    // Pressed: the dark face RGB(112, 113, 113), a black ring and the corner pixels.
    { "style7_pressed", gxStyleInverse,
      [](ButtonLook& l) {
          l.ButtonState = bsDown | bsHover;
          l.HoverTracking = true;
      },
      { { { 3, 4, 10, 19 }, 0x717170 }, { { 0, 1, 1, 22 }, kBlack }, { { 1, 1, 2, 2 }, kBlack },
        { { 1, 21, 2, 22 }, kBlack }, { { 73, 1, 74, 2 }, kBlack }, { { 73, 21, 74, 22 }, kBlack },
        { { 3, 3, 4, 4 }, 0x616160 }, { { 2, 2, 3, 3 }, 0x414140 }, { { 1, 20, 2, 21 }, kGrey },
        { { 71, 19, 72, 20 }, kGrey }, { { 72, 1, 73, 2 }, kGrey }, { { 72, 20, 73, 21 }, 0x717170 } } },
    // A check button with Value False: state 3, a white and dark middle ring.
    { "style3_check_off", gxStyleFlatFrame, [](ButtonLook& l) { l.Mode = gxCheckBox; },
      { { { 1, 1, 73, 2 }, kWhite }, { { 1, 2, 2, 21 }, kWhite }, { { 73, 1, 74, 21 }, 0x676766 },
        { { 0, 0, 1, 22 }, 0x676766 }, { { 74, 0, 75, 23 }, kWhite } } },
    // The default look: a solid blue-grey rectangle two pixels round a caption with
    // room on both sides (a blank one, so only the mark shows).
    { "style3_default", gxStyleFlatFrame,
      [](ButtonLook& l) {
          l.ButtonState = bsDefault;
          l.Caption = " ";
          l.CaptionRect = { 30, 8, 45, 15 };
      },
      { { { 28, 6, 47, 7 }, 0xCC9999 }, { { 28, 16, 47, 17 }, 0xCC9999 }, { { 28, 6, 29, 17 }, 0xCC9999 },
        { { 46, 6, 47, 17 }, 0xCC9999 }, { { 29, 7, 46, 16 }, kFace } } },
};

} // namespace

TEST(ButtonFaces, EachStyleInTheStatesThatSetItApart)
{
    for (const FaceCase& c : kFaces) {
        SCOPED_TRACE(c.golden);
        FaceCanvas canvas(75, 23);
        canvas.look.ButtonStyle = c.style;
        canvas.look.Colors = ComputeFaceColors(c.style, kFace, kFace);
        if (c.arrange)
            c.arrange(canvas.look);
        RedrawWork work;
        PaintFace(canvas.look, canvas.buffer, work);
        EXPECT_TRUE(HoldsRuns(canvas.Pixels(), c.runs));
        EXPECT_TRUE(MatchesGolden(canvas.Pixels(), std::string("button/faces/") + c.golden));
    }
}

TEST(ButtonFaces, StyleSevenPressedHasALightCaption)
{
    FaceCanvas canvas(75, 23);
    canvas.look.ButtonStyle = gxStyleInverse;
    canvas.look.Colors = ComputeFaceColors(gxStyleInverse, kFace, kFace);
    canvas.look.ButtonState = bsDown | bsHover;
    canvas.look.HoverTracking = true;
    canvas.look.Caption = "H";
    canvas.look.CaptionRect = { 30, 4, 45, 19 };
    RedrawWork work;
    PaintFace(canvas.look, canvas.buffer, work);
    EXPECT_GT(CountColour(canvas.Pixels(), canvas.look.CaptionRect, canvas.look.Colors.FaceColor), 0);
}

TEST(ButtonFaces, TheBevelChangesPensOnlyWithTheColour)
{
    struct Case {
        const char* golden; // under button/faces/
        std::int32_t shape;
        std::array<OleColor, 13> colours;
        std::int32_t outerPenStyle;
        std::vector<PixelRun> runs;
    };
    const OleColor n = -1;
    const Case cases[] = {
        // A slanted left edge moves the left points.
        { "bevel_shape1", 1, { 0, kRed, kRed, kRed, kRed, kGrey, kGrey, kGrey, kGrey, kBlue, kBlue, kBlue, kBlue },
          -1, {} },
        // A gap keeps the pen: the outer ring, of the middle ring's colour, stays solid
        // although its style is dotted.
        { "bevel_gap_keeps_pen", 0, { 0, n, n, n, n, kRed, kRed, kRed, n, kRed, kRed, kRed, kRed }, PS_DOT,
          { { { 0, 0, 29, 1 }, kRed }, { { 0, 1, 1, 12 }, kRed } } },
        // A new colour makes a new pen, dotted from the outer ring on.
        { "bevel_dotted_outer", 0, { 0, n, n, n, n, kRed, kRed, kRed, kRed, kBlue, kBlue, kBlue, kBlue }, PS_DOT, {} },
        // No outer ring: the closing bottom segment is still drawn, with the last pen.
        { "bevel_closing_with_last_pen", 0, { 0, n, n, n, n, kBlue, kBlue, kBlue, kBlue, n, n, n, n }, -1,
          { { { 0, 11, 29, 12 }, kBlue }, { { 29, 11, 30, 12 }, kWhite } } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.golden);
        FaceCanvas canvas(30, 12);
        canvas.look.ButtonShape = c.shape;
        canvas.look.FaceLeft = c.shape == 1 ? 8 : 0;
        DrawRectangle(canvas.buffer, canvas.buffer.BufferDC, 0, 0, 30, 12, kWhite, -1, 0, 0);
        RedrawWork work;
        work.EdgeColors = c.colours;
        DrawBevel(canvas.look, canvas.buffer, work, c.outerPenStyle);
        if (c.shape == 1) {
            EXPECT_EQ(work.EdgePoints[1].x, 4);
            EXPECT_EQ(work.EdgePoints[0].x, canvas.look.FaceLeft - 2);
        }
        EXPECT_TRUE(HoldsRuns(canvas.Pixels(), c.runs));
        EXPECT_TRUE(MatchesGolden(canvas.Pixels(), std::string("button/faces/") + c.golden));
    }
}
