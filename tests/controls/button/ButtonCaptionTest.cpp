// The caption and picture layer: where the layout puts text and picture (worked
// values), how both are drawn over a face without a window (goldens and exact
// pixels), and a live button's captions and pictures redrawn without leaving
// anything behind.

#include "controls/button/ButtonCaption.h"
#include "controls/button/ButtonPictures.h"
#include "controls/button/ButtonResources.h"
#include "host/gdi/GdiInternal.h"
#include "tests/controls/button/ButtonTestSupport.h"

#include <functional>

using namespace korvane;
using namespace korvane::button;
using korvane::testing::FaceCanvas;
using korvane::testing::Ink;
using korvane::testing::MatchesGolden;
using korvane::testing::PixelAt;

namespace {

constexpr OleColor kFace = 0xD8E9EC; // RGB(236, 233, 216)
constexpr COLORREF kMagenta = RGB(255, 0, 255);

// A face canvas with the button's font in its buffer, painting the background and
// then the caption layer as a face does.
class CaptionCanvas : public FaceCanvas {
public:
    CaptionCanvas(int width, int height)
        : FaceCanvas(width, height)
    {
        SetBkMode(buffer.BufferDC, 3); // as the control's buffer: text draws no background
        const LOGFONTA logFont = ButtonLogFont(forms::StdFont {}, 15);
        m_oldFont = SelectObject(buffer.BufferDC, CreateFontIndirectA(&logFont));
        look.Colors = ComputeFaceColors(gxStyleStandard, kFace, kFace);
        look.ForeColor = 0;
    }
    ~CaptionCanvas() { DeleteObject(SelectObject(buffer.BufferDC, m_oldFont)); }
    CaptionCanvas(const CaptionCanvas&) = delete;
    CaptionCanvas& operator=(const CaptionCanvas&) = delete;

    CaptionLayout Layout()
    {
        const CaptionLayout layout = LayoutCaption(look, buffer.BufferDC, false);
        look.CaptionRect = layout.CaptionRect;
        look.PictureRect = layout.PictureRect;
        return layout;
    }
    const raster::Surface& Draw()
    {
        Layout();
        OleColor face = look.Colors.FaceColor, gradient = -1, hover = -1;
        PaintBackground(face, gradient, hover);
        bool checkable = false;
        DrawCaption(look, buffer, face, -1, look.Value, checkable);
        return Pixels();
    }

private:
    HGDIOBJ m_oldFont = nullptr;
};

void UsePicture(ButtonLook& look, HANDLE picture, int width, int height, bool icon)
{
    look.Picture = picture;
    look.PictureWidth = width;
    look.PictureHeight = height;
    look.PictureIsIcon = icon ? 1 : 0;
}

// 16 x 16 on the magenta key, with one near-key pixel at (5, 5) and one 5 off at (10, 10).
HBITMAP KeyedBitmap()
{
    HDC display = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    HDC dc = CreateCompatibleDC(display);
    HBITMAP bitmap = CreateCompatibleBitmap(display, 16, 16);
    HGDIOBJ old = SelectObject(dc, bitmap);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            SetPixelV(dc, x, y, kMagenta);
    SetPixelV(dc, 5, 5, RGB(253, 2, 254));
    SetPixelV(dc, 10, 10, RGB(250, 0, 255));
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteDC(display);
    return bitmap;
}

forms::StdPicture& RepairIcon()
{
    static forms::StdPicture icon;
    if (!icon.Handle())
        icon.LoadFile(std::filesystem::path(KORVANE_APP_FOLDER) / "resources" / "repair.ico");
    return icon;
}

} // namespace

TEST(ButtonCaptionLayout, WorkedPlacements)
{
    struct Case {
        const char* name;
        int width, height;
        std::function<void(ButtonLook&)> setup;
        RECT picture;
        LONG captionTop, captionBottom; // -1: not checked
        bool imageChanged;
    };
    const auto picture = [](std::int32_t align, std::int16_t size, int side = 16) {
        return [=](ButtonLook& look) {
            UsePicture(look, nullptr, side, side, false);
            look.PictureAlign = align;
            look.ImageSize = size;
        };
    };
    const Case cases[] = {
        // t = (60 - (13 + 24)) \ 2 = 11: the cell spans 11 to 35, the text 37 to 50.
        { "a 24-pixel cell above the text", 80, 60,
          [&](ButtonLook& look) { picture(gxPicTop, 24)(look); look.Caption = "Go"; }, { 28, 11, 52, 35 }, 37, 50, false },
        { "left of an empty caption: at the band's edge", 75, 25, picture(gxPicLeftOfCaption, 16), { 4, 4, 20, 20 }, -1, -1, false },
        { "squeezed to 16 x 14 on a 23-pixel button", 75, 23, picture(gxPicLeftEdge, 16), { 4, 4, 20, 18 }, -1, -1, false },
        { "size 40 fills the face", 75, 25, picture(gxPicLeftEdge, 40), { 3, 3, 72, 22 }, -1, -1, true },
        { "size 40 on the black-ringed oval", 75, 25,
          [&](ButtonLook& look) { picture(gxPicLeftEdge, 40)(look); look.ButtonShape = 6; }, { 1, 1, 74, 24 }, -1, -1, true },
        // 64 x 64 into 88 x 28 is 28 x 28, centred.
        { "size 48 fits the face", 100, 40, picture(gxPicLeftEdge, 48, 64), { 36, 6, 64, 34 }, -1, -1, true },
        { "a long caption is clipped at ScaleHeight - 5", 60, 30,
          [](ButtonLook& look) { look.Caption = "A caption far too long for so small a button"; }, {}, 4, 25, false },
    };
    for (const Case& c : cases) {
        CaptionCanvas canvas(c.width, c.height);
        c.setup(canvas.look);
        const CaptionLayout layout = canvas.Layout();
        if (canvas.look.PictureWidth) {
            EXPECT_EQ(layout.PictureRect.left, c.picture.left) << c.name;
            EXPECT_EQ(layout.PictureRect.top, c.picture.top) << c.name;
            EXPECT_EQ(layout.PictureRect.right, c.picture.right) << c.name;
            EXPECT_EQ(layout.PictureRect.bottom, c.picture.bottom) << c.name;
        }
        if (c.captionTop >= 0) {
            EXPECT_EQ(layout.CaptionRect.top, c.captionTop) << c.name;
            EXPECT_EQ(layout.CaptionRect.bottom, c.captionBottom) << c.name;
        }
        EXPECT_EQ(layout.ImageChanged, c.imageChanged) << c.name;
    }
}

TEST(ButtonCaptionDrawing, CaptionsOverTheFace)
{
    struct Case {
        const char* golden;
        int width, height;
        std::function<void(ButtonLook&)> setup;
    };
    const Case cases[] = {
        { "two_centred_lines", 80, 40, [](ButtonLook& look) { look.Caption = "Repair||Now"; } },
        { "access_key", 75, 23, [](ButtonLook& look) { look.Caption = "&Apply"; } },
        // Darker at (-1, 0), lighter at (+1, +2), the text itself at (0, +1).
        { "embossed", 90, 25, [](ButtonLook& look) {
              look.Caption = "Embossed";
              look.CaptionStyle = gxEmbossed;
              look.Colors.FaceColor = RGB(212, 208, 200);
          } },
        { "wrapped_and_clipped", 60, 30, [](ButtonLook& look) { look.Caption = "A caption far too long for so small a button"; } },
        // Broken between characters, each whole.
        { "chinese_wrapped", 60, 52, [](ButtonLook& look) { look.Caption = "数据源修复完毕请运行"; } },
        { "hover_colour", 75, 23, [](ButtonLook& look) {
              look.Caption = "Hover";
              look.HoverTracking = true;
              look.HoverForeColor = RGB(0, 0, 255);
          } },
        // One pixel right and down, in ForeColor while pressed under the pointer.
        { "pressed", 75, 23, [](ButtonLook& look) {
              look.Caption = "Hover";
              look.HoverTracking = true;
              look.HoverForeColor = RGB(0, 0, 255);
              look.ButtonState = kPressedBits;
          } },
        { "disabled", 75, 23, [](ButtonLook& look) { look.Caption = "Disabled"; look.Enabled = false; } },
    };
    for (const Case& c : cases) {
        CaptionCanvas canvas(c.width, c.height);
        c.setup(canvas.look);
        EXPECT_TRUE(MatchesGolden(canvas.Draw(), std::string("button/captions/") + c.golden));
    }
}

TEST(ButtonCaptionDrawing, AnOvalThatIsOffDrawsNoCaption)
{
    CaptionCanvas canvas(60, 25);
    canvas.look.Caption = "Off";
    canvas.look.ButtonShape = 5;
    EXPECT_EQ(Ink(canvas.Draw(), RECT { 0, 0, 60, 25 }, static_cast<COLORREF>(kFace)), 0);
}

TEST(ButtonPictureDrawing, TheKeyAndThePixelsNearIt)
{
    // The picture sits at (4, 4). Disabled, the stencil keeps the face's bits where
    // the picture's are set: RGB(250, 0, 255) on the face becomes RGB(232, 128, 216).
    struct Case {
        bool enabled;
        COLORREF kept;
    };
    const COLORREF face = static_cast<COLORREF>(kFace);
    for (const Case& c : { Case { true, RGB(250, 0, 255) }, Case { false, RGB(232, 128, 216) } }) {
        HBITMAP source = KeyedBitmap();
        PreparedPicture prepared;
        CaptionCanvas canvas(75, 25);
        UsePicture(canvas.look, source, 16, 16, false);
        canvas.look.Prepared = &prepared;
        canvas.look.Enabled = c.enabled;
        const raster::Surface& pixels = canvas.Draw();
        EXPECT_EQ(PixelAt(*gdi::BitmapSurface(prepared.PictureWork), 5, 5), kMagenta);
        EXPECT_EQ(PixelAt(pixels, 9, 9), face) << c.enabled;
        EXPECT_EQ(PixelAt(pixels, 14, 14), c.kept) << c.enabled;
        EXPECT_EQ(Ink(pixels, RECT { 0, 0, 75, 25 }, face), 1) << c.enabled;
        ReleasePicture(prepared);
        DeleteObject(source);
    }
}

TEST(ButtonPictureDrawing, ADisabledIconIsAGreySilhouetteWhereThePictureBelongs)
{
    CaptionCanvas canvas(75, 25);
    UsePicture(canvas.look, RepairIcon().Handle(), RepairIcon().WidthPixels(), RepairIcon().HeightPixels(), true);
    canvas.look.PictureAlign = gxPicRightEdge;
    canvas.look.Enabled = false;
    const raster::Surface& pixels = canvas.Draw();
    EXPECT_TRUE(MatchesGolden(pixels, "button/captions/disabled_icon"));
    // Nothing outside the picture, the top-left corner above all.
    const RECT at = canvas.look.PictureRect;
    EXPECT_EQ(Ink(pixels, RECT { 0, 0, at.left, 25 }, static_cast<COLORREF>(kFace)), 0);
}

class ButtonCaptionLive : public korvane::testing::ButtonFormTest {};

TEST_F(ButtonCaptionLive, PicturesAndCaptionStylesRedrawWithoutLeaks)
{
    gxButtons_H& button = Load({ "Caption = \"Repair||Now\"" }, 100, 40);
    EXPECT_EQ(button.Caption(), "Repair||Now");
    const std::size_t loaded = gdi::LiveObjectCount();
    for (const char* file : { "banner.bmp", "repair.ico" }) {
        button.SetPicture(Picture(file));
        for (std::int32_t size = 0; size <= 4; ++size) {
            for (std::int32_t style = gxFlat; style <= gxEngraved; ++style) {
                for (bool enabled : { true, false }) {
                    button.LetPictureSize(size);
                    button.LetCaptionStyle(style);
                    button.LetEnabled(enabled);
                    for (int i = 0; i < 20; ++i)
                        button.Refresh();
                }
            }
        }
        button.LetPictureSize(0);
        const RECT was = button.Look().PictureRect;
        EXPECT_GT(Ink(Capture(button), was, GetSysColor(COLOR_BTNFACE)), 0) << file;
        button.SetPicture(nullptr);
        EXPECT_EQ(gdi::LiveObjectCount(), loaded) << file;
        EXPECT_EQ(Ink(Capture(button), was, GetSysColor(COLOR_BTNFACE)), 0) << file;
    }
}
