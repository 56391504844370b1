// The drawing pipeline and resources: colour helpers with their worked values,
// the font and colour cache, the background layer painted without a window, and
// redraws of a live button (batching, and no GDI object left behind).

#include "controls/button/ButtonFaces.h"
#include "controls/button/ButtonResources.h"
#include "host/gdi/GdiInternal.h"
#include "tests/controls/button/ButtonTestSupport.h"

#include <array>
#include <functional>
#include <tuple>

using namespace korvane;
using namespace korvane::button;
using korvane::testing::FaceCanvas;
using korvane::testing::kFace;
using korvane::testing::MatchesGolden;
using korvane::testing::PixelAt;

constexpr OleColor kBlue = 0xFF8000;

TEST(ButtonColours, ShiftColorWorkedValues)
{
    // The colour, the amount and the options given; the colour made, and the amount after.
    const std::tuple<OleColor, std::int16_t, ShiftOptions, OleColor, std::int16_t> cases[] = {
        { 0xFFFFFF, -32, kShiftPlain, 0xE0E0DF, -32 },        // RGB(223, 224, 224)
        { 0xFFFFFF, -32, kProportionalBlue, 0xD6E0DF, -32 },  // RGB(223, 224, 214)
        { 0x000000, 0, kAvoidExtremes, 0x404040, 64 },        // the caller's amount becomes 64
        { 0xFFFFFF, 0, kAvoidExtremes, 0xC0C0BF, -64 },       // 0, then 64, then -64
        { 0x000000, 300, kAvoidExtremes, 0xFFFFFF, 300 },     // extreme both ways: it stops
        { 0x000000, 0, kInvert, 0xFFFFFF, 0 },
        { 0x808080, 12, kShiftPlain, 0x8D8D8C, 12 },          // green and blue scaled by 256/255
    };
    for (const auto& [colour, amount, options, expected, amountAfter] : cases) {
        std::int16_t shifted = amount;
        EXPECT_EQ(std::pair(ShiftColor(colour, shifted, options), shifted), std::pair(expected, amountAfter))
            << std::hex << colour << " " << std::dec << amount;
    }
    EXPECT_EQ(TranslateColor(kButtonFace), kFace);
    EXPECT_EQ(TranslateColor(0x123456), 0x123456);
}

TEST(ButtonColours, TheColourCacheOfEachStyle)
{
    const std::pair<std::int32_t, FaceColors> cases[] = {
        { gxStyleStandard, { kFace, kFace, 0xFF, 0xE0E0DF } },
        { gxStyleFlatFrame, { kFace, 0x8D8D8C, 0xFF, 0xADADAB } }, // RGB(140, 141, 141), RGB(171, 173, 173)
        { gxStyleInverse, { ShiftColor(kFace, 31), 0x717170, ShiftColor(0xFF, 31), 0x8B9190 } }, // RGB(112, 113, 113), RGB(144, 145, 139)
        { gxStyleRounded, { ShiftColor(kFace, 48, kProportionalBlue), ShiftColor(ShiftColor(kFace, 48, kProportionalBlue), -32, kProportionalBlue),
                            ShiftColor(0xFF, 48, kProportionalBlue), 0xD6E0DF } },
    };
    const auto fields = [](const FaceColors& c) {
        return std::array { c.FaceColor, c.FaceColor2, c.HoverFaceColor, c.FaceColor3 };
    };
    for (const auto& [style, expected] : cases)
        EXPECT_EQ(fields(ComputeFaceColors(style, kFace, 0xFF)), fields(expected)) << style;
}

TEST(ButtonResources, TheBufferFontFromTheHostFont)
{
    forms::StdFont font;
    font.SetSize(8);
    EXPECT_EQ(ButtonLogFont(font, 15).lfHeight, -11);
    font.SetSize(12);
    font.SetItalic(true);
    LOGFONTA twelve = ButtonLogFont(font, 15);
    EXPECT_EQ(std::tuple(twelve.lfHeight, twelve.lfItalic, twelve.lfCharSet, std::string(twelve.lfFaceName)),
              std::tuple(-16, BYTE { 1 }, BYTE { DEFAULT_CHARSET }, "宋体"));

    const std::string longName = "An Extraordinarily Long Face Name Indeed";
    font.SetName(longName);
    LOGFONTA cut = ButtonLogFont(font, 15);
    EXPECT_EQ(std::string(cut.lfFaceName, sizeof cut.lfFaceName), longName.substr(0, 32)); // no NUL left
}

// --- the background layer, painted without a window ---

TEST(ButtonBackground, GradientModesRunFromTheFaceColour)
{
    // From the face colour to blue on 100 x 30. The far end's green is read as
    // CLng(128.5) = 128, half to even, and its blue as 256, clamped: 0xFF8000.
    for (std::int32_t mode : { gxGradientLeftToRight, gxGradientRightToLeft, gxGradientTopToBottom, gxGradientBottomToTop }) {
        FaceCanvas canvas(100, 30);
        canvas.look.GradientMode = mode;
        OleColor face = kFace, gradient = kBlue, hover = -1;
        canvas.PaintBackground(face, gradient, hover);
        EXPECT_EQ(hover, kFace); // a negative hover colour becomes the face colour
        EXPECT_TRUE(MatchesGolden(canvas.Pixels(), "button/gradient_" + std::to_string(mode)));
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
        OleColor face = kFace, gradient = kBlue, hover = 0x0000FF;
        canvas.PaintBackground(face, gradient, hover);
        EXPECT_TRUE(MatchesGolden(canvas.Pixels(), hoverBack == kBlue ? "button/gradient_1" : "button/hover_fill"));
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
    EXPECT_TRUE(MatchesGolden(canvas.Pixels(), "button/latched_check_box"));
}

TEST(ButtonBackground, NarrowWideAndEmptyGradients)
{
    // The golden, the canvas's width, the ScaleWidth and the screen's width in pixels.
    const std::tuple<const char*, int, double, std::int32_t> cases[] = {
        { "button/gradient_one_band", 1, 1, 1024 },  // the face colour
        { "button/gradient_no_band", 10, 0, 1024 },  // nothing painted
        { "button/gradient_two_pixel_bands", 101, 101, 300 }, // the odd last column left unpainted
    };
    for (const auto& [golden, canvasWidth, scaleWidth, screenPixels] : cases) {
        FaceCanvas canvas(canvasWidth, 10);
        canvas.look.ScaleWidth = scaleWidth;
        canvas.look.ScreenWidth = screenPixels * 15;
        PaintGradient(canvas.look, canvas.buffer, gxGradientLeftToRight, kFace, kBlue);
        EXPECT_TRUE(MatchesGolden(canvas.Pixels(), golden));
    }
}

TEST(ButtonBackground, StyleTwoShadesRowByRow)
{
    // Row n is shifted by -2.5 n, rounded half to even.
    FaceCanvas canvas(20, 10);
    canvas.look.ButtonStyle = gxStyleRounded;
    OleColor face = kFace, gradient = -1, hover = -1;
    canvas.PaintBackground(face, gradient, hover);
    EXPECT_TRUE(MatchesGolden(canvas.Pixels(), "button/style_2_rows"));

    FaceCanvas flat(20, 1);
    flat.look.ButtonStyle = gxStyleRounded;
    flat.look.ScaleHeight = 0;
    EXPECT_NO_THROW(flat.PaintBackground(face, gradient, hover));
}

// --- a live button ---

class ButtonRedraw : public korvane::testing::ButtonFormTest {};

TEST_F(ButtonRedraw, DelayDrawingBatchesChangesIntoOneRedraw)
{
    gxButtons_H& button = Load();
    const int presents = Headless().PresentCount(FormWindow());
    const COLORREF before = PixelAt(Capture(button), 10, 10);
    button.DelayDrawing(true);
    button.LetBackColor(0x0000FF);
    button.LetGradientMode(gxGradientTopToBottom);
    button.LetCaption("Go");
    EXPECT_EQ(std::pair(Headless().PresentCount(FormWindow()), PixelAt(Capture(button), 10, 10)), std::pair(presents, before));
    button.DelayDrawing(false);
    EXPECT_EQ(Headless().PresentCount(FormWindow()), presents + 1);
    EXPECT_NE(PixelAt(Capture(button), 10, 10), before);
}

TEST_F(ButtonRedraw, NothingIsLeftBehindInAnyState)
{
    gxButtons_H& button = Load({ "Caption = \"开始(&F)\"", "BackStyle = 2", "Gradient = 2", "CapStyle = 2",
                                 "Image = Picture(\"resources/repair.ico\")" }, 184, 25);
    const std::size_t loaded = gdi::LiveObjectCount();
    button.Move(0, 0, 120 * forms::kTwipsPerPixel, 30 * forms::kTwipsPerPixel);
    Move("cmdTest");
    const std::pair<const char*, std::function<void()>> states[] = {
        { "normal", [&] { button.LetValue(false); button.LetMode(gxCommand); } },
        { "hover", [&] { button.ShowHover(true); } },
        { "pressed", [&] { Press("cmdTest"); } },
        { "disabled", [&] { Release("cmdTest"); button.LetEnabled(false); } },
        { "latched", [&] { button.LetEnabled(true); button.LetMode(gxCheckBox); button.LetValue(true); } },
    };
    // 10 000 redraws over every picture kind and size, style, state and caption style.
    for (const char* file : { "banner.bmp", "repair.ico" }) {
        button.SetPicture(Picture(file));
        const std::size_t withPicture = gdi::LiveObjectCount();
        for (int style = 0; style <= 7; ++style) {
            button.LetButtonStyle(style);
            for (const auto& [state, reach] : states) {
                reach();
                for (int i = 0; i < 125; ++i)
                    button.LetCaptionStyle(i % 3), button.LetPictureSize(i % 5);
                EXPECT_EQ(gdi::LiveObjectCount(), withPicture) << file << " style " << style << ' ' << state;
            }
        }
    }
    button.LetValue(false);
    button.LetMode(gxCommand);
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
