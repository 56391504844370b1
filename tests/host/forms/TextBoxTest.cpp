#include "host/forms/controls/TextBox.h"
#include "host/gdi/Gdi.h"
#include "tests/support/FormFixture.h"

#include <tuple>

using namespace korvane;
using namespace korvane::forms;
using korvane::testing::MatchesGolden;
using korvane::testing::PixelAt;

namespace {

using korvane::testing::ControlBlock;

// The text box sits at (120, 10) and is 160 by 21 pixels.
const std::string kLayout = korvane::testing::FormLayout(ControlBlock("TextBox", "txtName", { 120, 10, 160, 21 }, { "TabIndex = 1" })
        + ControlBlock("TextBox", "txtOther", { 120, 50, 160, 21 }, { "Text = \"other\"", "TabIndex = 2" }),
    { "ClientLeft = 1500", "ClientTop = 1500" }, 320, 240);

class TextBoxes : public korvane::testing::FormFixture {
protected:
    // The form loaded, its first box with every event counted.
    TextBox& LoadBox()
    {
        Load(kLayout);
        TextBox& box = Get<TextBox>("txtName");
        box.Change = [this] { ++changes; };
        box.Click = [this] { ++clicks; };
        box.DblClick = [this] { ++doubleClicks; };
        box.GotFocus = [this] { ++gotFocus; };
        box.LostFocus = [this] { ++lostFocus; };
        return box;
    }

    // A point inside the box at `x` pixels from its left, on its text line.
    static POINT At(const TextBox& box, int x) { return FormFixture::At(box, x, 10); }

    int changes = 0, clicks = 0, doubleClicks = 0, gotFocus = 0, lostFocus = 0;
};

} // namespace

TEST_F(TextBoxes, TypingAsciiAndChineseSelectingCopyingPastingAndDeleting)
{
    TextBox& box = LoadBox();
    Get<TextBox>("txtOther").SetFocus();
    window::DoEvents();
    lostFocus = 0;
    EXPECT_FALSE(Headless().TextInputEnabled() && GetFocus() == box.hWnd());

    Move(At(box, 20));
    EXPECT_EQ(Headless().Cursor(), backends::CursorShape::IBeam);
    Click(At(box, 20));
    EXPECT_EQ(std::tuple(box.HasFocus(), Headless().TextInputEnabled(), gotFocus, clicks), std::tuple(true, true, 1, 1));

    Type("abc");
    Type("中文");
    EXPECT_EQ(box.Text(), "abc中文");
    EXPECT_EQ(changes, 5) << "one Change per character typed";

    // Each key in turn, and the text, selection and clipboard it leaves (no clipboard: not checked).
    struct Step {
        unsigned key;
        unsigned modifiers;
        const char* text;
        int selStart;
        int selLength;
        const char* clipboard;
        bool edits; // only edits raise Change
    };
    const Step steps[] = {
        { VK_HOME, backends::ModShift, "abc中文", 0, 5, nullptr, false },
        { 'C', backends::ModControl, "abc中文", 0, 5, "abc中文", false },
        { VK_END, 0, "abc中文", 5, 0, nullptr, false },
        { 'V', backends::ModControl, "abc中文abc中文", 10, 0, nullptr, true },
        { VK_BACK, 0, "abc中文abc中", 9, 0, nullptr, true },
        { VK_LEFT, backends::ModShift, "abc中文abc中", 8, 1, nullptr, false },
        { VK_LEFT, backends::ModShift, "abc中文abc中", 7, 2, nullptr, false },
        { 'X', backends::ModControl, "abc中文ab", 7, 0, "c中", true },
        { VK_HOME, 0, "abc中文ab", 0, 0, nullptr, false },
        { VK_DELETE, 0, "bc中文ab", 0, 0, nullptr, true },
        { VK_RIGHT, backends::ModControl, "bc中文ab", 6, 0, nullptr, false }, // letters and ideographs are one word
        { VK_LEFT, backends::ModControl, "bc中文ab", 0, 0, nullptr, false },
        { 'A', backends::ModControl, "bc中文ab", 0, 6, nullptr, false },
        { VK_RETURN, 0, "bc中文ab", 0, 6, nullptr, false }, // Enter is not text
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(::testing::Message() << "key " << step.key << " with modifiers " << step.modifiers);
        const int changesBefore = changes;
        Key(step.key, step.modifiers);
        EXPECT_EQ(std::tuple(box.Text(), box.SelStart(), box.SelLength()), std::tuple(step.text, step.selStart, step.selLength));
        if (step.clipboard) {
            EXPECT_EQ(GetClipboardText(), step.clipboard);
        }
        EXPECT_EQ(changes > changesBefore, step.edits);
    }

    // The focus leaving raises LostFocus.
    Key(VK_TAB);
    EXPECT_EQ(lostFocus, 1);
    EXPECT_NE(GetFocus(), box.hWnd());
}

TEST_F(TextBoxes, KeyPressCancelsOrReplacesCharactersAndMaxLengthLimitsTyping)
{
    TextBox& box = LoadBox();
    box.KeyPress = [](int& keyAscii) {
        if (keyAscii == 'x')
            keyAscii = 0;
        else if (keyAscii >= 'a' && keyAscii <= 'z')
            keyAscii -= 'a' - 'A';
    };
    std::vector<int> keysDown;
    box.KeyDown = [&](int& keyCode, int) {
        keysDown.push_back(keyCode);
        if (keyCode == VK_DELETE)
            keyCode = 0; // swallowed before the box acts on it
    };
    box.SetFocus();
    Type("axbx");
    EXPECT_EQ(std::tuple(box.Text(), changes), std::tuple("AB", 2));
    Key(VK_HOME);
    Key(VK_DELETE);
    EXPECT_EQ(box.Text(), "AB");
    EXPECT_EQ(keysDown, (std::vector<int> { VK_HOME, VK_DELETE }));

    box.KeyPress = nullptr;
    box.SetMaxLength(4);
    Key(VK_END);
    Type("中文字");
    EXPECT_EQ(box.Text(), "AB中文") << "MaxLength counts characters";
    SetClipboardText("123");
    box.SetSelStart(1);
    box.SetSelLength(1); // "B"
    Key('V', backends::ModControl);
    EXPECT_EQ(box.Text(), "A1中文") << "a paste takes only what fits";

    // Locked: no editing, but selecting and copying still work.
    box.SetLocked(true);
    int changesBefore = changes;
    Type("z");
    Key(VK_BACK);
    Key('A', backends::ModControl);
    Key('X', backends::ModControl);
    EXPECT_EQ(std::tuple(box.Text(), changes), std::tuple("A1中文", changesBefore));
    Key('C', backends::ModControl);
    EXPECT_EQ(GetClipboardText(), "A1中文");

    // Programmatic text is not limited; the selection properties count characters.
    box.SetText("数据库文件.mdb");
    EXPECT_EQ(box.SelStart(), 0);
    box.SetSelStart(3);
    box.SetSelLength(100);
    EXPECT_EQ(std::tuple(box.SelLength(), box.SelText()), std::tuple(6, "文件.mdb"));
    box.SetSelLength(2);
    box.SetSelText("目录");
    EXPECT_EQ(std::tuple(box.Text(), box.SelStart()), std::tuple("数据库目录.mdb", 5));
}

TEST_F(TextBoxes, MouseSelectsByDraggingAndWordsByDoubleClicking)
{
    TextBox& box = LoadBox();
    std::vector<std::pair<double, double>> downs;
    box.MouseDown = [&](int button, int, double x, double y) {
        EXPECT_EQ(button, vbLeftButton);
        downs.emplace_back(x, y);
    };
    box.SetText("hello big world");
    box.SetFocus();

    // From the far left to the far right: everything.
    Press(At(box, 3));
    Move(At(box, 100));
    EXPECT_GT(box.SelLength(), 0);
    Release(At(box, 158));
    EXPECT_EQ(std::tuple(box.SelStart(), box.SelText()), std::tuple(0, "hello big world"));
    EXPECT_EQ(downs, (std::vector<std::pair<double, double>> { { 3 * 15.0, 10 * 15.0 } }));

    // Shift+click extends from the anchor. Time passes first, so no click pairs into a double click.
    window::AdvanceClock(1000);
    Click(At(box, 3));
    EXPECT_EQ(box.SelLength(), 0);
    window::AdvanceClock(1000);
    Headless().PressKey(VK_SHIFT, backends::ModShift);
    Click(At(box, 158));
    Headless().ReleaseKey(VK_SHIFT, 0);
    EXPECT_EQ(box.SelText(), "hello big world");
    window::AdvanceClock(1000);
    Click(At(box, 3));
    POINT middle = FormFixture::At(box, box.CaretPos().x, 10);
    Key(VK_RIGHT, backends::ModControl);
    POINT bigStart = FormFixture::At(box, box.CaretPos().x + 1, 10);
    EXPECT_GT(bigStart.x, middle.x);
    window::AdvanceClock(1000);
    Click(bigStart);
    int clicksBefore = clicks;
    // The second press of a double click selects the word under it; the release ending it is no Click.
    Click(bigStart);
    EXPECT_EQ(std::tuple(doubleClicks, box.SelText(), clicks), std::tuple(1, "big", clicksBefore));
}

TEST_F(TextBoxes, LongTextScrollsToKeepTheCaretInside)
{
    TextBox& box = LoadBox();
    box.SetFocus();
    Type(std::string(60, 'w'));
    POINT caret = box.CaretPos();
    EXPECT_GT(caret.x, 100);
    EXPECT_LT(caret.x, 160 - 2);
    raster::Surface frame = Capture();
    // The caret line is drawn where CaretPos says, inside the box at (120, 10).
    EXPECT_EQ(PixelAt(frame, 120 + caret.x, 10 + caret.y + 3), GetSysColor(COLOR_WINDOWTEXT));

    Key(VK_HOME);
    EXPECT_LE(box.CaretPos().x, 4);
    Key(VK_END);
    EXPECT_LT(box.CaretPos().x, 160 - 2);

    // Short text follows the alignment: right-aligned text ends at the right.
    box.SetText("ab");
    box.SetAlignment(1);
    Key(VK_END);
    EXPECT_GT(box.CaretPos().x, 140);
    box.SetAlignment(0);
    EXPECT_LT(box.CaretPos().x, 30);
}

TEST_F(TextBoxes, PaintsBorderTextPasswordMaskAndDisabledLook)
{
    TextBox& box = LoadBox();
    box.SetText("abc");
    EXPECT_TRUE(MatchesGolden(Capture("txtName"), "forms/textbox_sunken"));
    box.SetPasswordChar("*");
    EXPECT_EQ(box.Text(), "abc");
    EXPECT_TRUE(MatchesGolden(Capture("txtName"), "forms/textbox_password"));
    box.SetAppearance(0);
    EXPECT_TRUE(MatchesGolden(Capture("txtName"), "forms/textbox_flat"));
    box.SetEnabled(false);
    EXPECT_TRUE(MatchesGolden(Capture("txtName"), "forms/textbox_disabled"));
    EXPECT_NE(GetFocus(), box.hWnd());

    box.SetEnabled(true);
    box.SetFocus();
    Key('A', backends::ModControl);
    SetClipboardText("before");
    Key('C', backends::ModControl);
    EXPECT_EQ(GetClipboardText(), "before") << "a masked text is not copied";
}

TEST_F(TextBoxes, DefaultsAndStoredSettings)
{
    Load(kLayout);
    TextBox& other = Get<TextBox>("txtOther");
    EXPECT_EQ(std::tuple(other.Text(), other.BackColor(), other.ForeColor(), other.Appearance(), other.BorderStyle()),
              std::tuple("other", 0x80000005u, 0x80000008u, 1, 1));
    other.SetMaxLength(8);
    other.SetToolTipText("tip");
    PropertyBag bag = other.SaveSettings();
    EXPECT_EQ(std::pair(bag.ReadInt("MaxLength", 0), bag.ReadString("ToolTipText", "")), std::pair(8, std::string("tip")));
    for (const char* key : { "Locked", "BackColor", "Font" })
        EXPECT_FALSE(bag.Contains(key)) << key;
}
