// The caption and picture layer: worked layouts, both drawn over a face without a window
// (goldens, exact pixels), and a live button's picture removed.

#include "controls/button/ButtonCaption.h"
#include "controls/button/ButtonResources.h"
#include "tests/controls/button/ButtonTestSupport.h"

#include <functional>

using namespace korvane;
using korvane::testing::kFace;
using namespace korvane::button;
using namespace korvane::testing;

namespace {

using LookSetup = std::function<void(ButtonLook&)>;

// A face laid out with the button's font and background mode, painted as a face paints.
class CaptionCanvas : public FaceCanvas {
public:
    CaptionCanvas(int width, int height, const LookSetup& setup)
        : FaceCanvas(width, height)
    {
        const LOGFONTA logFont = ButtonLogFont(forms::StdFont {}, 15);
        m_oldFont = SelectObject(buffer.BufferDC, CreateFontIndirectA(&logFont));
        look.Colors = ComputeFaceColors(gxStyleStandard, kFace, kFace);
        setup(look);
        layout = LayoutCaption(look, buffer.BufferDC, false);
        look.CaptionRect = layout.CaptionRect;
        look.PictureRect = layout.PictureRect;
    }
    ~CaptionCanvas() { DeleteObject(SelectObject(buffer.BufferDC, m_oldFont)); }

    const raster::Surface& Draw()
    {
        OleColor face = look.Colors.FaceColor, gradient = -1, hover = -1;
        PaintBackground(face, gradient, hover);
        bool checkable = false;
        DrawCaption(look, buffer, face, -1, look.Value, checkable);
        return Pixels();
    }

    CaptionLayout layout;
    HGDIOBJ m_oldFont = nullptr;
};

LookSetup WithPicture(HANDLE handle, int side, bool icon, std::int32_t align, bool enabled)
{
    return [=](ButtonLook& l) {
        l.Picture = handle, l.PictureWidth = l.PictureHeight = side, l.PictureIsIcon = icon, l.PictureAlign = align;
        l.Enabled = enabled;
    };
}

std::array<LONG, 4> Edges(const RECT& r) { return { r.left, r.top, r.right, r.bottom }; }

} // namespace

TEST(ButtonCaptionLayout, WorkedPlacements)
{
    struct Case { const char* caption; int width, height, shape, align, size, side; RECT picture, text; bool changed; };
    const Case cases[] = {
        // t = (60 - (13 + 24)) \ 2 = 11: the cell spans y 11 to 35, the text 37 to 50.
        { "Go", 80, 60, 0, gxPicTop, 24, 16, { 28, 11, 52, 35 }, { 34, 37, 46, 50 }, false },
        { "", 75, 25, 0, gxPicLeftOfCaption, 16, 16, { 4, 4, 20, 20 }, { 4, 12, 0, 12 }, false },
        { "", 75, 23, 0, gxPicLeftEdge, 16, 16, { 4, 4, 20, 18 }, { 4, 11, 0, 11 }, false }, // squeezed to 16 x 14
        { "", 75, 25, 0, gxPicLeftEdge, 40, 16, { 3, 3, 72, 22 }, { 4, 12, 0, 12 }, true },
        { "", 75, 25, 6, gxPicLeftEdge, 40, 16, { 1, 1, 74, 24 }, { 4, 12, 0, 12 }, true },
        // 64 x 64 into 88 x 28 is 28 x 28, centred.
        { "", 100, 40, 0, gxPicLeftEdge, 48, 64, { 36, 6, 64, 34 }, { 4, 20, 0, 20 }, true },
        // Wrapped to the measuring box, clipped at ScaleHeight - 5.
        { "A caption far too long for so small a button", 60, 30, 0, 0, 16, 0, { 4, 4, 0, 0 }, { 6, 4, 54, 25 }, false },
    };
    for (const Case& c : cases) {
        CaptionCanvas canvas(c.width, c.height, [&](ButtonLook& look) {
            WithPicture(nullptr, c.side, false, c.align, true)(look);
            look.Caption = c.caption, look.ButtonShape = c.shape, look.ImageSize = static_cast<std::int16_t>(c.size);
        });
        const CaptionLayout& got = canvas.layout;
        EXPECT_EQ(std::tuple(Edges(got.PictureRect), Edges(got.CaptionRect), got.ImageChanged),
                  std::tuple(Edges(c.picture), Edges(c.text), c.changed)) << c.caption << c.size;
    }
}

TEST(ButtonCaptionDrawing, CaptionsAndPicturesOverTheFace)
{
    forms::StdPicture icon;
    icon.LoadFile(std::filesystem::path(KORVANE_APP_FOLDER) / "resources" / "repair.ico");
    const std::pair<const char*, LookSetup> cases[] = {
        { "two_centred_lines", [](ButtonLook& l) { l.Caption = "Repair||Now"; } },
        { "access_key", [](ButtonLook& l) { l.Caption = "&Apply"; } },
        // Darker at (-1, 0), lighter at (+1, +2), the text itself at (0, +1).
        { "embossed", [](ButtonLook& l) { l.Caption = "Embossed", l.CaptionStyle = gxEmbossed, l.Colors.FaceColor = 0xC8D0D4; } },
        { "wrapped_and_clipped", [](ButtonLook& l) { l.Caption = "A caption far too long for so small a button, clipped"; } },
        { "chinese_wrapped", [](ButtonLook& l) { l.Caption = "数据源修复完毕请运行"; } }, // between characters
        { "disabled", [](ButtonLook& l) { l.Caption = "Disabled", l.Enabled = false; } },
        { "oval_off", [](ButtonLook& l) { l.Caption = "Off", l.ButtonShape = 5; } }, // no caption at all
        { "disabled_icon", WithPicture(icon.Handle(), icon.WidthPixels(), true, gxPicRightEdge, false) }, // not in the corner
    };
    for (const auto& [golden, setup] : cases) {
        CaptionCanvas canvas(80, 52, setup);
        EXPECT_TRUE(MatchesGolden(canvas.Draw(), std::string("button/captions/") + golden));
    }
}

TEST(ButtonPictureDrawing, TheKeyColourAndThePixelsNearIt)
{
    // 16 x 16 on magenta, RGB(253, 2, 254) at (5, 5), RGB(250, 0, 255) at (10, 10), drawn at (4, 4).
    std::vector<std::uint32_t> bits(256, 0xFF00FF);
    bits[5 * 16 + 5] = 0xFD02FE, bits[10 * 16 + 10] = 0xFA00FF;
    HBITMAP keyed = CreateBitmap(16, 16, 1, 32, bits.data());
    // Disabled, the stencil keeps the face's bits where the picture's are set.
    for (bool enabled : { true, false }) {
        CaptionCanvas canvas(75, 25, WithPicture(keyed, 16, false, gxPicLeftEdge, enabled));
        const raster::Surface& pixels = canvas.Draw();
        EXPECT_EQ(std::tuple(PixelAt(pixels, 9, 9), PixelAt(pixels, 14, 14), Ink(pixels, RECT { 0, 0, 75, 25 }, kFace)),
                  std::tuple(kFace, enabled ? RGB(250, 0, 255) : RGB(232, 128, 216), 1));
    }
    DeleteObject(keyed);
}

class ButtonCaptionLive : public ButtonFormTest {};

// Redrawing with pictures leaves nothing behind: ButtonRedraw's.
TEST_F(ButtonCaptionLive, ARemovedPictureLeavesNothingWhereItWas)
{
    gxButtons_H& button = Load({ "Caption = \"Repair||Now\"" }, 100, 40);
    SetFocus(FormWindow()); // no focus mark across the picture's place
    for (const char* file : { "banner.bmp", "repair.ico" }) {
        button.SetPicture(Picture(file));
        const RECT was = button.Look().PictureRect;
        EXPECT_GT(Ink(Capture(button), was, kFace), 0) << file;
        button.SetPicture(nullptr);
        EXPECT_EQ(Ink(Capture(button), was, kFace), 0) << file;
    }
}
