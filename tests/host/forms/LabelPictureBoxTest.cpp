#include "FormsTestSupport.h"

#include "host/forms/controls/Label.h"
#include "host/forms/controls/PictureBox.h"

#include <fstream>

using namespace korvane;
using namespace korvane::forms;

namespace {

class LabelPictureBox : public forms::testing::FormsTest {};

// A 24-bit bottom-up BMP filled with one colour.
void WriteBmp(const std::filesystem::path& path, int width, int height, COLORREF colour)
{
    int stride = (width * 3 + 3) / 4 * 4;
    std::vector<unsigned char> file(54 + static_cast<std::size_t>(stride * height), 0);
    auto put32 = [&](std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i)
            file[at + static_cast<std::size_t>(i)] = static_cast<unsigned char>(value >> (8 * i));
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, static_cast<std::uint32_t>(file.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(width));
    put32(22, static_cast<std::uint32_t>(height));
    file[26] = 1;
    file[28] = 24;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::size_t at = 54 + static_cast<std::size_t>(y * stride + x * 3);
            file[at] = GetBValue(colour);
            file[at + 1] = GetGValue(colour);
            file[at + 2] = GetRValue(colour);
        }
    }
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
}

// Positions in twips: 15 to a pixel.
const char* const kLayout = R"(Form frmTest
    Caption = "Test"
    ClientLeft = 1500
    ClientTop = 1500
    ClientWidth = 4800
    ClientHeight = 3600
    Begin Label lblName
        Caption = "&Name"
        Left = 150
        Top = 150
        Width = 1500
        Height = 300
    End
    Begin Label lblRight
        Caption = "ab"
        Alignment = 1
        BackColor = &H00FFFFFF&
        Left = 1800
        Top = 150
        Width = 1500
        Height = 300
    End
    Begin PictureBox picLogo
        Picture = Picture("logo.bmp")
        BackColor = &H00FF0000&
        Left = 150
        Top = 1500
        Width = 3000
        Height = 1500
        TabIndex = 2
        Begin Label lblInside
            Caption = "Inside"
            BackStyle = 0
            ForeColor = &H00FFFFFF&
            Left = 300
            Top = 450
            Width = 1500
            Height = 300
        End
    End
End
)";

} // namespace

TEST_F(LabelPictureBox, LabelsDrawTheirCaptionsOpaqueOrOverTheirContainer)
{
    WriteBmp(ResourceFolder() / "logo.bmp", 8, 6, RGB(255, 0, 0));
    Form& loaded = Load(kLayout);
    auto* name = loaded.Get<Label>("lblName");
    auto* right = loaded.Get<Label>("lblRight");
    auto* inside = loaded.Get<Label>("lblInside");
    auto* picture = loaded.Get<PictureBox>("picLogo");
    ASSERT_TRUE(name && right && inside && picture);
    EXPECT_EQ(name->Font(), loaded.Font()) << "a label without a font of its own uses the form's";

    raster::Surface frame = window::ComposeTopLevel(loaded.hWnd());
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    // lblName sits at (10, 10) and is 100 by 20 pixels on the button face.
    EXPECT_GT(Ink(frame, RECT { 10, 10, 110, 30 }, face), 20);
    EXPECT_EQ(PixelAt(frame, 105, 27), face);
    // A right-aligned caption leaves the left of its white label blank.
    EXPECT_EQ(Ink(frame, RECT { 120, 10, 180, 30 }, RGB(255, 255, 255)), 0);
    EXPECT_GT(Ink(frame, RECT { 180, 10, 220, 30 }, RGB(255, 255, 255)), 5);

    // The picture box at (10, 100): sunken edge, the bitmap inside the edge, blue elsewhere.
    EXPECT_EQ(PixelAt(frame, 10, 100), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(PixelAt(frame, 10 + 199, 100 + 99), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(PixelAt(frame, 12, 102), RGB(255, 0, 0));
    EXPECT_EQ(PixelAt(frame, 12 + 7, 102 + 5), RGB(255, 0, 0));
    EXPECT_EQ(PixelAt(frame, 12 + 8, 102), RGB(0, 0, 255));
    // The transparent label, 20 by 30 pixels into the box measured from inside its
    // 2-pixel edge, shows the box's blue around white text.
    RECT insideRect { 32, 132, 132, 152 };
    EXPECT_EQ(CountColour(frame, insideRect, RGB(0, 0, 255)) + CountColour(frame, insideRect, RGB(255, 255, 255)), 100 * 20);
    EXPECT_GT(CountColour(frame, insideRect, RGB(255, 255, 255)), 20);

    // A new background colour shows through the transparent label at once.
    picture->SetBackColor(0x0000FF00);
    frame = window::ComposeTopLevel(loaded.hWnd());
    EXPECT_EQ(PixelAt(frame, 131, 151), RGB(0, 255, 0));
    EXPECT_EQ(CountColour(frame, insideRect, RGB(0, 0, 255)), 0);

    // Without the border the label is measured from the box's outer corner.
    auto offsetInBox = [&] {
        RECT box {}, label {};
        GetWindowRect(picture->hWnd(), &box);
        GetWindowRect(inside->hWnd(), &label);
        return POINT { label.left - box.left, label.top - box.top };
    };
    EXPECT_EQ(offsetInBox().x, 22);
    picture->SetBorderStyle(vbBSNone);
    EXPECT_EQ(offsetInBox().x, 20);
    EXPECT_EQ(offsetInBox().y, 30);
    picture->SetBorderStyle(vbFixedSingle);
    picture->SetAppearance(vbFlat);
    EXPECT_EQ(offsetInBox().y, 31);

    // Without the mnemonic the ampersand is drawn, which takes more ink.
    int withPrefix = Ink(frame, RECT { 10, 10, 110, 30 }, face);
    name->SetUseMnemonic(false);
    frame = window::ComposeTopLevel(loaded.hWnd());
    EXPECT_GT(Ink(frame, RECT { 10, 10, 110, 30 }, face), withPrefix);
}

TEST_F(LabelPictureBox, ClicksNeedPressAndReleaseOverTheControlAndLabelsTakeNoFocus)
{
    Form& loaded = Load(kLayout);
    auto* name = loaded.Get<Label>("lblName");
    auto* picture = loaded.Get<PictureBox>("picLogo");
    int labelClicks = 0;
    int pictureClicks = 0;
    name->Click = [&] { ++labelClicks; };
    picture->Click = [&] { ++pictureClicks; };

    Click(OnScreen(name->hWnd(), 20, 10));
    EXPECT_EQ(labelClicks, 1);
    EXPECT_NE(GetFocus(), name->hWnd());

    // Pressed on the label, released away from it: no click.
    Press(OnScreen(name->hWnd(), 20, 10));
    Release(OnScreen(loaded.hWnd(), 300, 200));
    EXPECT_EQ(labelClicks, 1);

    // A click on the transparent label inside the box is the label's, not the box's.
    auto* inside = loaded.Get<Label>("lblInside");
    int insideClicks = 0;
    inside->Click = [&] { ++insideClicks; };
    Click(OnScreen(inside->hWnd(), 5, 5));
    EXPECT_EQ(insideClicks, 1);
    EXPECT_EQ(pictureClicks, 0);
    Click(OnScreen(picture->hWnd(), 150, 80));
    EXPECT_EQ(pictureClicks, 1);
    EXPECT_EQ(GetFocus(), picture->hWnd());
}

TEST_F(LabelPictureBox, AccessKeyOfALabelFocusesTheNextControlInTabOrder)
{
    Form& loaded = Load(kLayout);
    auto* name = loaded.Get<Label>("lblName");
    EXPECT_EQ(name->AccessKey(), 'N');
    SetFocus(loaded.hWnd());
    Key('N', backends::ModAlt);
    EXPECT_EQ(GetFocus(), loaded.Get<PictureBox>("picLogo")->hWnd());

    name->SetCaption("Tom && Jerry");
    EXPECT_EQ(name->AccessKey(), 0) << "a doubled ampersand is no access key";
}

TEST_F(LabelPictureBox, AutoSizeFitsTheLabelToItsCaption)
{
    Form& loaded = Load(kLayout);
    auto* name = loaded.Get<Label>("lblName");
    name->SetAutoSize(true);
    int shortWidth = name->Width();
    EXPECT_GT(shortWidth, 0);
    EXPECT_LT(shortWidth, 1500);
    name->SetCaption("&Name and a much longer caption");
    EXPECT_GT(name->Width(), shortWidth);
    EXPECT_GT(name->Height(), 0);
}
