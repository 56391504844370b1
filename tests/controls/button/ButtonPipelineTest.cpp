// The drawing pipeline and resources: colour helpers with their worked values,
// the font and colour cache, the background layer painted without a window, and
// redraws of a live button (batching, and no GDI object left behind).

#include "controls/button/ButtonFaces.h"
#include "controls/button/ButtonResources.h"
#include "host/gdi/GdiInternal.h"
#include "tests/controls/button/ButtonTestSupport.h"

#include <cstring>

using namespace korvane;
using namespace korvane::button;
using korvane::testing::FaceCanvas;

namespace {

constexpr OleColor kFace = 0xD8E9EC; // the button face colour, RGB(236, 233, 216)
constexpr OleColor kBlue = 0xFF8000;

} // namespace

TEST(ButtonColours, ShiftColorWorkedValues)
{
    struct Case {
        OleColor colour;
        std::int16_t amount;
        ShiftOptions options;
        OleColor expected;
        std::int16_t amountAfter;
    };
    const Case cases[] = {
        { 0xFFFFFF, -32, kShiftPlain, 0xE0E0DF, -32 },        // RGB(223, 224, 224)
        { 0xFFFFFF, -32, kProportionalBlue, 0xD6E0DF, -32 },  // RGB(223, 224, 214)
        { 0x000000, 0, kAvoidExtremes, 0x404040, 64 },        // the caller's amount becomes 64
        { 0xFFFFFF, 0, kAvoidExtremes, 0xC0C0BF, -64 },       // 0, then 64, then -64
        { 0x000000, 300, kAvoidExtremes, 0xFFFFFF, 300 },     // extreme both ways: it stops
        { 0x000000, 0, kInvert, 0xFFFFFF, 0 },
        { 0x808080, 12, kShiftPlain, 0x8D8D8C, 12 },          // green and blue scaled by 256/255
    };
    for (const Case& c : cases) {
        std::int16_t amount = c.amount;
        EXPECT_EQ(ShiftColor(c.colour, amount, c.options), c.expected) << std::hex << c.colour << " " << std::dec << c.amount;
        EXPECT_EQ(amount, c.amountAfter);
    }
    EXPECT_EQ(TranslateColor(kButtonFace), kFace);
    EXPECT_EQ(TranslateColor(0x123456), 0x123456);
}

TEST(ButtonColours, TheColourCacheOfEachStyle)
{
    struct Case {
        std::int32_t style;
        FaceColors expected;
    };
    const Case cases[] = {
        { gxStyleStandard, { kFace, kFace, 0xFF, 0xE0E0DF } },
        { gxStyleFlatFrame, { kFace, 0x8D8D8C, 0xFF, 0xADADAB } }, // RGB(140, 141, 141), RGB(171, 173, 173)
        { gxStyleInverse, { ShiftColor(kFace, 31), 0x717170, ShiftColor(0xFF, 31), 0x8B9190 } }, // RGB(112, 113, 113), RGB(144, 145, 139)
        { gxStyleRounded, { ShiftColor(kFace, 48, kProportionalBlue), ShiftColor(ShiftColor(kFace, 48, kProportionalBlue), -32, kProportionalBlue),
                            ShiftColor(0xFF, 48, kProportionalBlue), 0xD6E0DF } },
    };
    for (const Case& c : cases) {
        const FaceColors colors = ComputeFaceColors(c.style, kFace, 0xFF);
        EXPECT_EQ(colors.FaceColor, c.expected.FaceColor) << c.style;
        EXPECT_EQ(colors.FaceColor2, c.expected.FaceColor2) << c.style;
        EXPECT_EQ(colors.HoverFaceColor, c.expected.HoverFaceColor) << c.style;
        EXPECT_EQ(colors.FaceColor3, c.expected.FaceColor3) << c.style;
    }
}

TEST(ButtonResources, TheBufferFontFromTheHostFont)
{
    forms::StdFont font;
    font.SetSize(8);
    EXPECT_EQ(ButtonLogFont(font, 15).lfHeight, -11);
    font.SetSize(12);
    font.SetItalic(true);
    LOGFONTA twelve = ButtonLogFont(font, 15);
    EXPECT_EQ(twelve.lfHeight, -16);
    EXPECT_EQ(twelve.lfItalic, 1);
    EXPECT_EQ(twelve.lfCharSet, DEFAULT_CHARSET);
    EXPECT_STREQ(twelve.lfFaceName, "宋体");

    const std::string longName = "An Extraordinarily Long Face Name Indeed";
    font.SetName(longName);
    LOGFONTA cut = ButtonLogFont(font, 15);
    EXPECT_EQ(std::string(cut.lfFaceName, sizeof cut.lfFaceName), longName.substr(0, 32)); // no NUL left
}

// --- the background layer, painted without a window ---

TEST(ButtonBackground, GradientModesRunFromTheFaceColour)
{
    // First and last band of each mode on 100 x 30, from the face colour to blue.
    // The end's green is read as CLng(128.5) = 128, half to even, and its blue as 256, clamped.
    constexpr OleColor kLastOfWidth = 0xFF8000;
    constexpr OleColor kLastOfHeight = 0xFF8000;
    struct Case {
        std::int32_t mode;
        POINT first, last;
        OleColor firstColour, lastColour;
    };
    const Case cases[] = {
        { gxGradientLeftToRight, { 0, 15 }, { 99, 15 }, kFace, kLastOfWidth },
        { gxGradientRightToLeft, { 0, 15 }, { 99, 15 }, kLastOfWidth, kFace },
        { gxGradientTopToBottom, { 50, 0 }, { 50, 29 }, kFace, kLastOfHeight },
        { gxGradientBottomToTop, { 50, 0 }, { 50, 29 }, kLastOfHeight, kFace },
    };
    for (const Case& c : cases) {
        FaceCanvas canvas(100, 30);
        canvas.look.GradientMode = c.mode;
        RedrawWork work;
        OleColor face = kFace, gradient = kBlue, hover = -1;
        PaintBackground(canvas.look, canvas.buffer, work, face, gradient, hover);
        EXPECT_EQ(canvas.At(c.first.x, c.first.y), static_cast<COLORREF>(c.firstColour)) << c.mode;
        EXPECT_EQ(canvas.At(c.last.x, c.last.y), static_cast<COLORREF>(c.lastColour)) << c.mode;
        EXPECT_EQ(hover, kFace); // a negative hover colour becomes the face colour
        EXPECT_TRUE(korvane::testing::MatchesGolden(canvas.Pixels(), "button/gradient_" + std::to_string(c.mode)));
    }
}

TEST(ButtonBackground, HoverKeepsTheGradientOnlyWhenItIsTheHoverColour)
{
    for (OleColor hoverBack : { kBlue, OleColor { 0x00FF00 } }) {
        FaceCanvas canvas(100, 30);
        canvas.look.GradientMode = gxGradientLeftToRight;
        canvas.look.GradientColor = kBlue;
        canvas.look.HoverBackColor = hoverBack; // the stored values are compared
        canvas.look.HoverTracking = true;
        canvas.look.ButtonState = bsHover;
        RedrawWork work;
        OleColor face = kFace, gradient = kBlue, hover = 0x0000FF;
        PaintBackground(canvas.look, canvas.buffer, work, face, gradient, hover);
        const bool kept = hoverBack == kBlue;
        EXPECT_TRUE(korvane::testing::MatchesGolden(canvas.Pixels(), kept ? "button/gradient_1" : "button/hover_fill"));
        EXPECT_EQ(canvas.At(0, 15), kept ? static_cast<COLORREF>(kFace) : 0x0000FFu);
        EXPECT_EQ(canvas.At(99, 15), kept ? 0xFF8000u : 0x0000FFu);
    }
}

TEST(ButtonBackground, ALatchedCheckBoxHasNoGradient)
{
    FaceCanvas canvas(75, 23);
    canvas.look.Mode = gxCheckBox;
    canvas.look.Value = true;
    canvas.look.GradientMode = gxGradientLeftToRight;
    canvas.look.Colors = ComputeFaceColors(gxStyleStandard, kFace, kFace);
    RedrawWork work;
    PaintFace(canvas.look, canvas.buffer, work);
    EXPECT_EQ(work.DrawCode, 1);
    EXPECT_EQ(canvas.At(10, 11), 0xE0E0DFu);
    EXPECT_TRUE(korvane::testing::MatchesGolden(canvas.Pixels(), "button/latched_check_box"));
}

TEST(ButtonBackground, NarrowWideAndEmptyGradients)
{
    struct Case {
        int canvasWidth;
        double scaleWidth;
        std::int32_t screenPixels;
        std::vector<std::pair<int, COLORREF>> columns; // x, colour on row 5
    };
    const Case cases[] = {
        { 1, 1, 1024, { { 0, static_cast<COLORREF>(kFace) } } },      // one band: the face colour
        { 10, 0, 1024, { { 0, 0 } } },                                 // no band: nothing painted
        { 101, 101, 300, { { 0, static_cast<COLORREF>(kFace) }, { 1, static_cast<COLORREF>(kFace) }, { 100, 0 } } }, // 2-pixel bands, the odd column left
    };
    for (const Case& c : cases) {
        FaceCanvas canvas(c.canvasWidth, 10);
        canvas.look.ScaleWidth = c.scaleWidth;
        canvas.look.ScreenWidth = c.screenPixels * 15;
        PaintGradient(canvas.look, canvas.buffer, gxGradientLeftToRight, kFace, kBlue);
        for (auto [x, colour] : c.columns)
            EXPECT_EQ(canvas.At(x, 5), colour) << c.canvasWidth << " wide, column " << x;
    }
}

TEST(ButtonBackground, StyleTwoShadesRowByRow)
{
    FaceCanvas canvas(20, 10);
    canvas.look.ButtonStyle = gxStyleRounded;
    RedrawWork work;
    OleColor face = kFace, gradient = -1, hover = -1;
    PaintBackground(canvas.look, canvas.buffer, work, face, gradient, hover);
    EXPECT_EQ(canvas.At(5, 0), static_cast<COLORREF>(ShiftColor(kFace, 0, kProportionalBlue)));
    // Row 1 is shifted by -2.5, rounded half to even.
    EXPECT_EQ(canvas.At(5, 1), static_cast<COLORREF>(ShiftColor(kFace, -2, kProportionalBlue)));
    EXPECT_EQ(canvas.At(5, 9), static_cast<COLORREF>(ShiftColor(kFace, -22, kProportionalBlue)));
    EXPECT_TRUE(korvane::testing::MatchesGolden(canvas.Pixels(), "button/style_2_rows"));

    FaceCanvas flat(20, 1);
    flat.look.ButtonStyle = gxStyleRounded;
    flat.look.ScaleHeight = 0;
    EXPECT_NO_THROW(PaintBackground(flat.look, flat.buffer, work, face, gradient, hover));
}

// --- a live button ---

class ButtonRedraw : public korvane::testing::ButtonFormTest {};

TEST_F(ButtonRedraw, DelayDrawingBatchesChangesIntoOneRedraw)
{
    gxButtons_H& button = Load("");
    const int presents = Headless().PresentCount(FormWindow());
    const COLORREF before = korvane::testing::PixelAt(Capture(button), 10, 10);
    button.DelayDrawing(true);
    button.LetBackColor(0x0000FF);
    button.LetGradientMode(gxGradientTopToBottom);
    button.LetCaption("Go");
    EXPECT_EQ(Headless().PresentCount(FormWindow()), presents);
    EXPECT_EQ(korvane::testing::PixelAt(Capture(button), 10, 10), before);
    button.DelayDrawing(false);
    EXPECT_EQ(Headless().PresentCount(FormWindow()), presents + 1);
    EXPECT_NE(korvane::testing::PixelAt(Capture(button), 10, 10), before);
}

TEST_F(ButtonRedraw, NothingIsLeftBehindInAnyState)
{
    const std::string settings = "        Caption = \"开始(&F)\"\n        BackStyle = 2\n        Gradient = 2\n"
                                 "        CapStyle = 2\n        Image = Picture(\"resources/repair.ico\")\n";
    gxButtons_H& button = Load(settings, 184, 25);
    const std::size_t loaded = gdi::LiveObjectCount();
    button.Move(0, 0, 120 * forms::kTwipsPerPixel, 30 * forms::kTwipsPerPixel);
    Move("cmdTest");
    const char* const states[] = { "normal", "hover", "pressed", "disabled", "latched" };
    for (const std::string state : states) {
        if (state == "hover")
            button.ShowHover(true);
        if (state == "pressed") {
            Press("cmdTest");
        }
        if (state == "disabled") {
            Release("cmdTest");
            button.LetEnabled(false);
        }
        if (state == "latched") {
            button.LetEnabled(true);
            button.LetMode(gxCheckBox);
            button.LetValue(true);
        }
        for (int i = 0; i < 10000; ++i)
            button.Refresh();
        EXPECT_EQ(gdi::LiveObjectCount(), loaded) << state;
    }
    for (int style = 0; style <= 7; ++style) {
        button.LetButtonStyle(style);
        button.LetGradientMode(style % 5);
        button.LetCaptionStyle(style % 3);
    }
    button.LetFontStyle(kFontBold | kFontUnderline);
    button.SetFont(std::make_shared<forms::StdFont>());
    button.LetForeColor(0xFF);
    button.LetGradientColor(0xFF00);
    button.LetHoverColorLocks(gxLockNone);
    button.LetHoverBackColor(0xFF);
    button.LetHoverForeColor(0xFF00);
    button.LetPictureSize(2);
    button.LetPictureAlign(gxPicRightEdge);
    button.LetCaptionAlign(gxAlignRight);
    button.LetShowFocusRect(false);
    button.LetCustomClick(3);
    button.LetButtonShape(1);
    EXPECT_EQ(gdi::LiveObjectCount(), loaded);
    button.SetPicture(nullptr); // its icon goes with it
    // The fixture checks that unloading leaves nothing.
}
