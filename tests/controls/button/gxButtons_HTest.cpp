// The button's property rules, its stored settings and its clicks, on a headless form.

#include "tests/controls/button/ButtonTestSupport.h"

#include <algorithm>
#include <functional>
#include <tuple>

using namespace korvane;
using namespace korvane::button;
using Keys = std::vector<std::string>;
using korvane::testing::EventList;
using korvane::testing::MatchesGolden;

namespace {

class Button : public korvane::testing::ButtonFormTest {};

// A property change: what it reports, what holds afterwards, and the message a
// designer sees (none at run time, ever).
struct Rule {
    const char* name;
    std::function<void(Button&, gxButtons_H&)> arrange;
    std::function<void(gxButtons_H&)> act;
    Keys reported;
    std::function<bool(const gxButtons_H&)> holds;
    std::string designMessage;
    bool designTimeAlike = true; // false: the rule holds at run time only
};

const std::string kPictureFirst = "The Picture Property must be assigned first and must be a bitmap or JPEG.";

const Rule kRules[] = {
    { "styles 8 and -1 are ignored", nullptr, [](gxButtons_H& b) { b.LetButtonStyle(8); b.LetButtonStyle(-1); }, {},
      [](const gxButtons_H& b) { return b.ButtonStyle() == 0; }, "" },
    { "style 3 is taken", nullptr, [](gxButtons_H& b) { b.LetButtonStyle(3); }, { "BackStyle" },
      [](const gxButtons_H& b) { return b.ButtonStyle() == 3 && b.Colors().FaceColor2 == 0x8D8D8C; }, "" },
    { "shape 7 needs a picture", nullptr, [](gxButtons_H& b) { b.LetButtonShape(7); }, {},
      [](const gxButtons_H& b) { return b.ButtonShape() == 0; }, kPictureFirst },
    { "shape 8 refuses an icon", [](Button& t, gxButtons_H& b) { b.SetPicture(t.Picture("repair.ico")); },
      [](gxButtons_H& b) { b.LetButtonShape(8); }, {}, [](const gxButtons_H& b) { return b.ButtonShape() == 0; },
      kPictureFirst },
    { "any shape centres the caption", [](Button&, gxButtons_H& b) { b.LetCaptionAlign(gxAlignLeft); },
      [](gxButtons_H& b) { b.LetButtonShape(0); }, { "Shape" },
      [](const gxButtons_H& b) { return b.CaptionAlign() == gxAlignCenter; }, "" },
    { "Value True on a command button", nullptr, [](gxButtons_H& b) { b.LetValue(true); }, {},
      [](const gxButtons_H& b) { return !b.Value(); }, "This property is not applicable for command button modes." },
    { "Value False on a command button", nullptr, [](gxButtons_H& b) { b.LetValue(false); }, { "Value" },
      [](const gxButtons_H& b) { return !b.Value(); }, "" },
    { "left caption under a top picture",
      [](Button& t, gxButtons_H& b) {
          b.SetPicture(t.Picture("banner.bmp"));
          b.LetPictureAlign(gxPicTop);
      },
      [](gxButtons_H& b) { b.LetCaptionAlign(gxAlignLeft); }, {},
      [](const gxButtons_H& b) { return b.CaptionAlign() == gxAlignCenter; },
      "When button images are aligned top/bottom center, \r\nbutton captions can only be center aligned" },
    { "left caption without a picture", [](Button&, gxButtons_H& b) { b.LetPictureAlign(gxPicTop); },
      [](gxButtons_H& b) { b.LetCaptionAlign(gxAlignLeft); }, { "CapAlign" },
      [](const gxButtons_H& b) { return b.CaptionAlign() == gxAlignLeft; }, "" },
    { "picture size 5 is ignored", nullptr, [](gxButtons_H& b) { b.LetPictureSize(5); }, {},
      [](const gxButtons_H& b) { return b.ImageSize() == 16; }, "" },
    { "hover fore colour loosens lock 0 to 2", nullptr, [](gxButtons_H& b) { b.LetHoverForeColor(0xFF); },
      { "cFHover", "cFHover" }, [](const gxButtons_H& b) { return b.HoverColorLocks() == gxLockBack; }, "" },
    { "then hover back colour loosens 2 to 3", [](Button&, gxButtons_H& b) { b.LetHoverForeColor(0xFF); },
      [](gxButtons_H& b) { b.LetHoverBackColor(0xFF00); }, { "cBHover" },
      [](const gxButtons_H& b) { return b.HoverColorLocks() == gxLockNone; }, "" },
    { "locks back to 0 re-apply both", [](Button&, gxButtons_H& b) { b.LetHoverForeColor(0xFF); },
      [](gxButtons_H& b) { b.LetHoverColorLocks(gxLockBoth); }, { "cBHover", "cFHover", "LockHover" },
      [](const gxButtons_H& b) { return b.HoverForeColor() == b.ForeColor() && b.HoverBackColor() == b.BackColor(); },
      "" },
    { "ResetDefaultColors is inert at run time",
      [](Button&, gxButtons_H& b) {
          b.LetForeColor(0xFF);
          b.LetGradientMode(1);
      },
      [](gxButtons_H& b) { b.LetResetDefaultColors(true); }, {},
      [](const gxButtons_H& b) { return b.ForeColor() == 0xFF && b.GradientMode() == 1; }, "", false },
    { "a doubled ampersand keeps the previous key", [](Button&, gxButtons_H& b) { b.LetCaption("&Go"); },
      [](gxButtons_H& b) { b.LetCaption("Fish && Chips"); }, { "Caption" },
      [](const gxButtons_H& b) { return b.AccessKeys() == "G"; }, "" },
    { "a final ampersand gives an empty key", [](Button&, gxButtons_H& b) { b.LetCaption("&Go"); },
      [](gxButtons_H& b) { b.LetCaption("Go&"); }, { "Caption" },
      [](const gxButtons_H& b) { return b.AccessKeys().empty(); }, "" },
};

} // namespace

TEST_F(Button, PropertyRulesAtRunAndDesignTime)
{
    for (bool design : { false, true }) {
        for (const Rule& rule : kRules) {
            if (design && !rule.designTimeAlike)
                continue;
            SCOPED_TRACE(std::string(rule.name) + (design ? " (design time)" : " (run time)"));
            gxButtons_H& button = Load();
            TheForm().SetUserMode(!design);
            if (rule.arrange)
                rule.arrange(*this, button);
            button.ForgetReportedChanges();
            TakeMessages();
            rule.act(button);
            EXPECT_EQ(button.ReportedChanges(), rule.reported);
            EXPECT_TRUE(rule.holds(button));
            EXPECT_EQ(TakeMessages(), design && !rule.designMessage.empty() ? Keys { rule.designMessage } : Keys {});
        }
    }
}

TEST_F(Button, ResetDefaultColorsAtDesignTime)
{
    gxButtons_H& button = Load({ "cFore = &H000000FF&", "Gradient = 1", "cBack = &H00FF0000&" });
    TheForm().SetUserMode(false);
    button.ForgetReportedChanges();
    button.LetResetDefaultColors(true);
    EXPECT_EQ(std::tuple(button.ForeColor(), button.BackColor(), button.GradientMode(), button.HoverBackColor(), button.ResetDefaultColors()),
              std::tuple(kButtonText, kButtonFace, 0, kButtonFace, false));
    EXPECT_EQ(button.ReportedChanges(), (Keys { "cFore", "cGradient", "Gradient", "cBHover", "cFHover", "LockHover", "cGradient", "cBack" }));
}

// --- stored settings ---

namespace {

const korvane::testing::Settings kEverySetting { "Caption = \"&Go||on\"", "CapAlign = 0", "BackStyle = 2", "Shape = 2",
    "Gradient = 3", "cGradient = &H00FF8000&", "cFore = &H000000FF&",
    "Font = Font(\"宋体\", 12, 700, 134, True, False, False)", "Focus = False", "Mode = 1", "Value = True",
    "CustomClick = 4", "Image = Picture(\"resources/banner.bmp\")", "ImgSize = 32", "ImgAlign = 2",
    "cFHover = &H0000FF00&", "Enabled = False", "cBack = &H00C0C0C0&", "cBhover = &H00808080&", "LockHover = 3",
    "CapStyle = 1", "mIcon = Picture(\"resources/repair.ico\")", "mPointer = 11" };

} // namespace

TEST_F(Button, StoredSettingsRoundTripThroughTheLayout)
{
    for (const korvane::testing::Settings& settings : { korvane::testing::Settings {}, kEverySetting }) {
        SCOPED_TRACE(settings.size());
        Load(settings);
        const std::string text = forms::WriteLayout(TheForm().SaveLayout());
        FormFixture::Load(text);
        EXPECT_EQ(forms::WriteLayout(TheForm().SaveLayout()), text);
    }
    // Written in the button's own order; "Enabled" keeps the place the extender gave it.
    const Keys order { "Caption", "CapAlign", "BackStyle", "Shape", "Font", "cFore", "cFHover", "cBhover", "Focus",
        "LockHover", "cGradient", "Gradient", "CapStyle", "Mode", "Value", "CustomClick", "ImgAlign", "Image",
        "ImgSize", "cBack", "mPointer", "mIcon" };
    Keys written;
    const forms::LayoutNode saved = TheForm().SaveLayout();
    for (const forms::PropertyBag::Entry& entry : saved.children.front().settings.Entries())
        if (std::find(order.begin(), order.end(), entry.key) != order.end())
            written.push_back(entry.key);
    EXPECT_EQ(written, order);
    gxButtons_H& button = Get<gxButtons_H>("cmdTest");
    EXPECT_EQ(std::tuple(button.Caption(), button.HoverColorLocks(), button.MousePointer(), button.FontStyle()),
              std::tuple("&Go||on", gxLockNone, 11, kFontBold | kFontItalic));
}

TEST_F(Button, ReadDefaultsComeFromTheFormAndTheBackColourJustRead)
{
    gxButtons_H& button = Load({}, 75, 23, { "BackColor = &H00FF0000&" });
    EXPECT_EQ(std::tuple(button.CaptionAlign(), button.BackColor(), button.HoverBackColor()), std::tuple(gxAlignCenter, 0xFF0000, 0xFF0000));
    EXPECT_EQ(button.UserControlTag(), std::to_string(reinterpret_cast<std::uintptr_t>(FormWindow())));
    EXPECT_FALSE(button.DrawingDelayed());

    gxButtons_H& other = Load({ "cBack = &H0000FF00&", "ImgSize = 0" }, 75, 23, { "BackColor = &H00FF0000&" });
    EXPECT_EQ(std::tuple(other.HoverBackColor(), other.ImageSize()), std::tuple(0x00FF00, 0));
    EXPECT_EQ(other.PictureSize(), 0); // a stored 0 reads as 16
    EXPECT_EQ(other.ImageSize(), 16);
}

TEST_F(Button, AStoredPointerOverridesTheIconsCustomPointer)
{
    gxButtons_H& button = Load({ "mIcon = Picture(\"resources/repair.ico\")", "mPointer = 0" });
    EXPECT_EQ(std::pair(bool(button.MouseIcon()), button.MousePointer()), std::pair(true, 0));
    button.SetMouseIcon(Picture("select.ico"));
    EXPECT_EQ(button.MousePointer(), kCustomPointer);
}

TEST_F(Button, RemovingThePictureZeroesItsSize)
{
    gxButtons_H& button = Load({ "Image = Picture(\"resources/repair.ico\")" });
    EXPECT_EQ(button.PictureIsIcon(), 1);
    EXPECT_GT(button.PictureWidth(), 0);
    button.SetPicture(Picture("banner.bmp"));
    EXPECT_EQ(button.PictureIsIcon(), 0); // a bitmap after an icon is a bitmap
    button.SetPicture(nullptr);
    EXPECT_EQ(std::pair(button.PictureWidth(), button.PictureHeight()), std::pair(0, 0));
}

// --- clicks ---

namespace {

using korvane::testing::ButtonBlock;

// cmdGo is 100 x 25 pixels at (10, 10), cmdOther the same at (10, 50). cmdGo shows no
// default look while it has the focus, so its faces show the press states alone.
const std::string kLayout = korvane::testing::FormLayout(
    ButtonBlock("cmdGo", { 10, 10, 100, 25 }, { "TabIndex = 0", "Caption = \"开始修复(&F)\"", "cFore = &H000000FF&",
                                          "Focus = False" })
    + ButtonBlock("cmdOther", { 10, 50, 100, 25 }, { "TabIndex = 1", "Caption = \"Other\"" }));

class ButtonOnForm : public korvane::testing::FormFixture {
protected:
    ButtonOnForm() { RegisterGxButtons_H(); }

    gxButtons_H& Go() { return Get<gxButtons_H>("cmdGo"); }

    // A fresh form with both buttons' clicks recorded; cmdGo has the focus.
    void Reload()
    {
        Load(kLayout);
        Record(Go().Click, "cmdGo.Click");
        Record(Get<gxButtons_H>("cmdOther").Click, "cmdOther.Click");
        ASSERT_EQ(Focused(), "cmdGo");
    }
};

} // namespace

// Each state reached by scripted input: the face while the input is held, then the
// clicks once Space and the mouse are let go (the mouse outside both buttons). Plain
// clicks and drags are ButtonBehaviour's; these cross the focus or the enabled state.
TEST_F(ButtonOnForm, FacesAndClicksForEveryState)
{
    // What is done, the golden while it is held, the input, and the clicks.
    const std::tuple<const char*, const char*, std::function<void()>, EventList> cases[] = {
        { "the other button focused", "button/normal", [&] { Get("cmdOther").SetFocus(); }, {} },
        { "at rest", "button/normal", [] {}, {} },
        { "pressed and released outside", "button/pressed", [&] { Press("cmdGo"); }, {} },
        { "Space held", "button/pressed", [&] { KeyDown(VK_SPACE); }, { "cmdGo.Click" } },
        { "dragged off", "button/normal", [&] { Press("cmdGo"); Move("cmdOther"); Advance(50); }, {} },
        { "dragged off and back", "button/pressed", [&] { Press("cmdGo"); Move("cmdOther"); Advance(50); Move("cmdGo"); }, {} },
        { "Space held while Tab moves the focus", "button/normal", [&] { KeyDown(VK_SPACE); Key(VK_TAB); }, {} },
        { "Space held while a click moves the focus", "button/normal", [&] { KeyDown(VK_SPACE); Click("cmdOther"); },
            { "cmdOther.Click" } },
        { "the access key from the other button", "button/normal",
            [&] { Get("cmdOther").SetFocus(); Key('F', backends::ModAlt); }, { "cmdGo.Click" } },
        { "click, Space and access key while disabled", "button/disabled",
            [&] { Go().LetEnabled(false); Click("cmdGo"); Key(VK_SPACE); Key('F', backends::ModAlt); }, {} },
    };
    for (const auto& [what, golden, reach, events] : cases) {
        SCOPED_TRACE(what);
        Reload();
        reach();
        EXPECT_TRUE(MatchesGolden(Capture("cmdGo"), golden));
        KeyUp(VK_SPACE);
        Release(OnForm(190, 90));
        EXPECT_EQ(TakeEvents(), events);
        EXPECT_FALSE(Go().ShowPressed());
    }
}

TEST_F(Button, ACheckBoxTogglesOnEachClick)
{
    gxButtons_H& button = Load({ "Mode = 1" });
    button.SetFocus();
    for (bool expected : { true, false }) {
        Key(VK_SPACE);
        EXPECT_EQ(button.Value(), expected);
    }
}

TEST(ButtonAccessKey, IsTheCharacterAfterTheLastSingleAmpersand)
{
    const std::pair<const char*, std::optional<std::string>> cases[] = {
        { "取消退出(&E)", "E" }, { "Fish && &Chips", "C" }, { "A&&B", std::nullopt }, { "&a&b", "b" }, { "end&", "" },
        { "&开始", "开" },
    };
    for (const auto& [caption, key] : cases)
        EXPECT_EQ(gxButtons_H::AccessKeyOf(caption), key) << caption;
}

namespace {

// A button a designer has just placed: the host runs InitProperties on it.
class PlacedButton : public gxButtons_H {
public:
    using gxButtons_H::UserControl_InitProperties;
};

} // namespace

TEST_F(Button, ANewlyPlacedButtonTakesItsNameAndTheFormsFont)
{
    forms::ControlRegistry::Register("gxButtons_H", [] { return std::make_unique<PlacedButton>(); });
    auto& button = static_cast<PlacedButton&>(Load({}, 75, 23, { "BackColor = &H00FF0000&" }));
    button.ForgetReportedChanges();
    button.UserControl_InitProperties();
    EXPECT_EQ(std::tuple(button.Caption(), button.BackColor(), button.HoverBackColor(), button.HoverForeColor()),
              std::tuple("cmdTest", kButtonFace, kButtonFace, kButtonText));
    EXPECT_EQ(button.ReportedChanges(), (Keys { "Caption", "CapAlign", "Focus", "cFHover", "cBHover", "Font" }));
    // A copy of the form's font: the button's font styles stay its own.
    button.LetFontStyle(kFontBold);
    EXPECT_FALSE(TheForm().Font()->Bold());
    RegisterGxButtons_H();
}
