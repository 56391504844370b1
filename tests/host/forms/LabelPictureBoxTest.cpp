#include "host/forms/controls/Label.h"
#include "host/forms/controls/PictureBox.h"
#include "host/raster/image/Codecs.h"
#include "tests/support/FormFixture.h"

#include <tuple>

using namespace korvane;
using namespace korvane::forms;
using korvane::testing::EventList;
using korvane::testing::MatchesGolden;

namespace {

using korvane::testing::ControlBlock;

// The picture box is at (10, 100), 200 x 100.
const std::string kLayout = korvane::testing::FormLayout(
    ControlBlock("Label", "lblName", { 10, 10, 100, 20 }, { "Caption = \"&Name\"" })
        + ControlBlock("Label", "lblRight", { 120, 10, 100, 20 }, { "Caption = \"ab\"", "Alignment = 1", "BackColor = &H00FFFFFF&" })
        + ControlBlock("PictureBox", "picLogo", { 10, 100, 200, 100 },
            { "Picture = Picture(\"logo.png\")", "BackColor = &H00FF0000&", "TabIndex = 2" },
            ControlBlock("Label", "lblInside", { 20, 30, 100, 20 },
                { "Caption = \"Inside\"", "BackStyle = 0", "ForeColor = &H00FFFFFF&" })),
    { "Caption = \"Test\"", "ClientLeft = 1500", "ClientTop = 1500" }, 320, 240);

class LabelPictureBox : public korvane::testing::FormFixture {
protected:
    // The form with an 8 x 6 red picture in its box.
    void LoadWithPicture()
    {
        raster::image::Image red(8, 6, 0xFFFF0000);
        ASSERT_TRUE(raster::image::SavePng(red, ResourceFolder() / "logo.png"));
        Load(kLayout);
    }
};

} // namespace

TEST_F(LabelPictureBox, LabelsDrawTheirCaptionsOpaqueOrOverTheirContainer)
{
    LoadWithPicture();
    EXPECT_EQ(Get<Label>("lblName").Font(), TheForm().Font()) << "a label without a font of its own uses the form's";
    // A sunken box with the picture inside its edge, the transparent label over the box's blue.
    EXPECT_TRUE(MatchesGolden(Capture(), "forms/labels"));
    // A new background shows through the transparent label at once; without the
    // mnemonic the ampersand is drawn.
    Get<PictureBox>("picLogo").SetBackColor(0x0000FF00);
    Get<Label>("lblName").SetUseMnemonic(false);
    EXPECT_TRUE(MatchesGolden(Capture(), "forms/labels_changed"));
}

TEST_F(LabelPictureBox, ControlsInsideTheBoxAreMeasuredFromInsideItsBorder)
{
    LoadWithPicture();
    auto& box = Get<PictureBox>("picLogo");
    // lblInside is 20 x 30 pixels into the box; the 3-D border is 2 pixels, the flat one 1.
    for (auto [borderStyle, appearance, x, y] : { std::tuple<int, int, LONG, LONG> { vbFixedSingle, vb3D, 22, 32 },
             { vbBSNone, vb3D, 20, 30 }, { vbFixedSingle, vbFlat, 21, 31 } }) {
        box.SetBorderStyle(borderStyle);
        box.SetAppearance(appearance);
        RECT outer {}, label {};
        GetWindowRect(box.hWnd(), &outer);
        GetWindowRect(Get("lblInside").hWnd(), &label);
        EXPECT_EQ(std::pair(label.left - outer.left, label.top - outer.top), std::pair(x, y)) << borderStyle << " " << appearance;
    }
}

TEST_F(LabelPictureBox, ClicksNeedPressAndReleaseOverTheControlAndLabelsTakeNoFocus)
{
    LoadWithPicture();
    for (const char* name : { "lblName", "lblRight", "lblInside" })
        Record(Get<Label>(name).Click, std::string(name) + ".Click");
    Record(Get<PictureBox>("picLogo").Click, "picLogo.Click");

    Click("lblName");
    EXPECT_NE(Focused(), "lblName");
    Press("lblName");
    Release("lblRight");
    Press("lblName");
    Release(OnForm(300, 200));
    // A click on the transparent label inside the box is the label's, not the box's.
    Click("lblInside");
    Click(At("picLogo", 150, 80));
    EXPECT_EQ(TakeEvents(), (EventList { "lblName.Click", "lblInside.Click", "picLogo.Click" }));
    EXPECT_EQ(Focused(), "picLogo");
}

TEST_F(LabelPictureBox, AccessKeyOfALabelFocusesTheNextControlInTabOrder)
{
    LoadWithPicture();
    auto& name = Get<Label>("lblName");
    EXPECT_EQ(name.AccessKey(), 'N');
    SetFocus(FormWindow());
    Key('N', backends::ModAlt);
    EXPECT_EQ(Focused(), "picLogo");

    name.SetCaption("Tom && Jerry");
    EXPECT_EQ(name.AccessKey(), 0) << "a doubled ampersand is no access key";
}

TEST_F(LabelPictureBox, AutoSizeFitsTheLabelToItsCaption)
{
    LoadWithPicture();
    auto& name = Get<Label>("lblName");
    name.SetAutoSize(true);
    int shortWidth = name.Width();
    EXPECT_GT(shortWidth, 0);
    EXPECT_LT(shortWidth, 1500);
    name.SetCaption("&Name and a much longer caption");
    EXPECT_GT(name.Width(), shortWidth);
    EXPECT_GT(name.Height(), 0);
}
