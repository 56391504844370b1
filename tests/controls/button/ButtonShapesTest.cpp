// The button's outlines: window regions, picture outlines, face clips, the main window's bar.

#include "tests/controls/button/ButtonTestSupport.h"

#include "controls/button/ButtonShapes.h"
#include "host/forms/LayoutFile.h"
#include "host/window/WinUser.h"

#include <algorithm>

using namespace korvane;
using namespace korvane::button;

namespace {

class ButtonShapes : public korvane::testing::ButtonFormTest {};

// Every pixel of the width x height rectangle is in `region` exactly where expected.
template <typename Inside>
void ExpectRegion(HRGN region, int width, int height, Inside expected, const std::string& what)
{
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            ASSERT_EQ(PtInRegion(region, x, y) != FALSE, expected(x, y)) << what << " at " << x << ", " << y;
}

using OwnedRegion = std::unique_ptr<std::remove_pointer_t<HRGN>, decltype([](HRGN region) { DeleteObject(region); })>;

// A copy of the control's window region, moved right by dx.
OwnedRegion WindowRegion(const forms::Control& control, int dx = 0)
{
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_NE(GetWindowRgn(control.hWnd(), region), ERROR) << control.DisplayName();
    OffsetRgn(region, dx, 0);
    return OwnedRegion(region);
}

// Slanted edges run at 45 degrees over height + 1 rows, the top further left.
struct ShapeCase {
    korvane::testing::Settings settings;
    int width, height, finalWidth;
    bool slantedLeft, slantedRight;
    std::vector<POINT> trimmed;
};

// Widening a narrow shape 3 is the reference pictures' case.
const ShapeCase kShapes[] = {
    { { "Shape = 3" }, 30, 24, 30, true, true, {} },
    { { "BackStyle = 3" }, 75, 23, 75, false, false, { { 0, 22 }, { 74, 0 } } },
    { { "BackStyle = 3", "Enabled = False" }, 75, 23, 75, false, false, {} },
    { { "Shape = 3", "BackStyle = 1" }, 60, 24, 60, true, true, {} },
    { { "Shape = 3", "BackStyle = 2" }, 60, 24, 60, true, true, {} },
    { { "Shape = 2", "BackStyle = 2" }, 60, 24, 60, false, true, { { 0, 0 }, { 1, 0 }, { 0, 1 }, { 0, 22 }, { 0, 23 }, { 1, 23 } } },
};

TEST_F(ButtonShapes, EachShapeGivesItsWindowItsOutline)
{
    for (const ShapeCase& shape : kShapes) {
        const std::string name = shape.settings.back() + " at " + std::to_string(shape.width);
        EXPECT_EQ(Load(shape.settings, shape.width, shape.height).ScaleWidth(), shape.finalWidth) << name;
        ExpectRegion(WindowRegion(Get("cmdTest")).get(), shape.finalWidth, shape.height, [&](int x, int y) {
            const bool trimmed = std::ranges::any_of(shape.trimmed, [&](POINT p) { return p.x == x && p.y == y; });
            return !trimmed && (!shape.slantedLeft || x >= y) && (!shape.slantedRight || x <= shape.finalWidth - shape.height - 1 + y);
        }, name);
    }
}

TEST_F(ButtonShapes, OvalsFourAndFiveAreOneShape)
{
    using korvane::testing::ButtonBlock;
    FormFixture::Load(korvane::testing::FormLayout(ButtonBlock("cmd4", { 0, 0, 60, 25 }, { "Shape = 4" })
                                                   + ButtonBlock("cmd5", { 0, 30, 60, 25 }, { "Shape = 5" })));
    EXPECT_TRUE(EqualRgn(WindowRegion(Get("cmd4")).get(), WindowRegion(Get("cmd5")).get()));
    EXPECT_TRUE(korvane::testing::SamePixels(Capture("cmd4"), Capture("cmd5")));
}

// A border in the picture's top-left colour RGB(200, 100, 50) round a block whose
// top-left pixel is 3 off it in red (cut), bottom-right 4 off (kept); the border
// regions leave out all within 1 and 2 pixels of a cut pixel, diagonally too.
TEST_F(ButtonShapes, APictureOutlineLeavesOutTheKeyColourAndColoursWithin3OfIt)
{
    std::filesystem::copy(KORVANE_BUTTON_TEST_FOLDER "/outline_key.png", ResourceFolder());
    const ButtonLook look = Load({ "Shape = 7", "Image = Picture(\"outline_key.png\")" }, 10, 8).Look();
    const auto block = [](int inset) {
        return [=](int x, int y) { return std::min({ x - 1, 8 - x, y - 1, 6 - y }) >= inset && x + y > 2 + 2 * inset; };
    };
    ExpectRegion(WindowRegion(Get("cmdTest")).get(), 10, 8, block(0), "the outline");
    ExpectRegion(look.FrameRegion, 10, 8, block(1), "FrameRegion");
    ExpectRegion(look.InnerFrameRegion, 10, 8, block(2), "InnerFrameRegion");
}

// An oval-sized face: style, shape, state (hover tracking with bsHover) and Value,
// then DrawCode and the clip (0 none, 1 FrameRegion, 2 InnerFrameRegion).
const std::tuple<std::int32_t, std::int32_t, std::int16_t, bool, std::int16_t, int> kClips[] = {
    { gxStyleHover, 4, 0, false, 1, 0 }, // style 5 at rest: no ring, no clip
    { gxStyleHover, 4, bsHover, false, 4, 2 },
    { gxStyleHover, 4, bsDown | bsHover, false, 4, 2 },
    { gxStyleHover, 6, bsHover, false, 3, 1 }, // the first that applies: the frame, no ring
    { gxStyleStandard, 5, 0, true, 4, 2 }, // latched: the reversed ring
};

TEST(ButtonFaceClip, TheFirstRingOrFrameThatAppliesSetsTheClip)
{
    for (const auto& [style, shape, state, value, drawCode, clip] : kClips) {
        SCOPED_TRACE(std::to_string(style) + ", " + std::to_string(shape));
        korvane::testing::FaceCanvas canvas(60, 25);
        const OwnedRegion frame(CreateEllipticRgn(1, 1, 59, 24)), inner(CreateEllipticRgn(2, 2, 58, 23));
        ButtonLook& look = canvas.look;
        std::tie(look.ButtonStyle, look.ButtonShape, look.ButtonState, look.Value) = std::tie(style, shape, state, value);
        std::tie(look.HoverTracking, look.FrameRegion, look.InnerFrameRegion)
            = std::tuple((state & bsHover) != 0, frame.get(), inner.get());
        RedrawWork work;
        PrepareFaceClip(look, canvas.buffer, work);
        const OwnedRegion selected(CreateRectRgn(0, 0, 0, 0));
        EXPECT_EQ(GetClipRgn(canvas.buffer.BufferDC, selected.get()), clip ? 1 : 0);
        EXPECT_TRUE(work.DrawCode == drawCode && (!clip || EqualRgn(selected.get(), (clip == 1 ? frame : inner).get())));
    }
}

// The main window's bar at its stored sizes, in form columns 100 to 399: button 0
// ends at 166 + y, 1 spans 176 + y to 304 + y, 2 starts at 312 + y; parallel edges
// 9 and 7 apart, each spanning the height and one row, 26 pixels.
TEST_F(ButtonShapes, TheMainWindowsButtonsInterlock)
{
    forms::LayoutParseResult layout = forms::LoadLayoutFile(std::filesystem::path(KORVANE_APP_FOLDER) / "frmKorvane.layout");
    ASSERT_TRUE(layout.form) << layout.error;
    std::erase_if(layout.form->children, [](const forms::LayoutNode& node) { return node.name != "cmdgxButtons"; });
    FormFixture::Load(forms::WriteLayout(*layout.form));
    const OwnedRegion bar(CreateRectRgn(0, 0, 0, 0));
    for (const forms::LayoutNode& stored : layout.form->children) {
        const auto& button = Get<gxButtons_H>("cmdgxButtons", stored.index);
        EXPECT_EQ(button.Width(), stored.settings.ReadInt("Width", 0));
        EXPECT_EQ(button.FaceRight() - button.FaceLeft(), button.ScaleWidth() - (stored.index == 1 ? 52 : 26));
        CombineRgn(bar.get(), bar.get(), WindowRegion(button, button.Left() / forms::kTwipsPerPixel - 100).get(), RGN_OR);
    }
    ExpectRegion(bar.get(), 300, 25, [](int x, int y) {
        const int slanted = 100 + x - y;
        return slanted <= 166 || (slanted >= 176 && slanted <= 304) || slanted >= 312;
    }, "the bar");
}

} // namespace
