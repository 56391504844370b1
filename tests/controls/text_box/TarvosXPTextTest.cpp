// The XP text box on a headless form: border colours through focus changes made
// with scripted input, the inner box's layout, the numeric view of the text,
// settings round trips through a layout file, and events from typed input.

#include "controls/text_box/TarvosXPText.h"

#include "host/backends/headless/HeadlessBackend.h"
#include "host/forms/Form.h"
#include "host/forms/LayoutFile.h"
#include "host/gdi/Gdi.h"
#include "host/gdi/GdiInternal.h"

#include <gtest/gtest.h>

using namespace korvane;

namespace {

constexpr COLORREF kNormal = RGB(127, 157, 185);
constexpr COLORREF kFocus = RGB(231, 150, 0);
constexpr COLORREF kDisabled = RGB(191, 167, 128);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// Two boxes, so the focus has somewhere to go; txtFirst is first in tab order.
constexpr const char* kTwoBoxes = R"(Form frmTest
    ClientWidth = 4800
    ClientHeight = 3600
    Begin TarvosXPText txtFirst
        Left = 150
        Top = 150
        Width = 2000
        Height = 330
        TabIndex = 0
        Text = "12.5 MB"
    End
    Begin TarvosXPText txtSecond
        Left = 150
        Top = 900
        Width = 2000
        Height = 330
        TabIndex = 1
        Text = "second"
    End
End
)";

// Gives the host's new-instance handler to the tests.
class NewTarvosXPText : public TarvosXPText {
public:
    void InitProperties() { UserControl_InitProperties(); }
};

class TarvosXPTextTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto backend = std::make_unique<backends::HeadlessBackend>(1024, 768);
        headless = backend.get();
        window::UseBackend(std::move(backend));
        RegisterTarvosXPText();
        forms::ControlRegistry::Register("NewTarvosXPText", [] { return std::make_unique<NewTarvosXPText>(); });
        gdiBaseline = gdi::LiveObjectCount();
    }

    void TearDown() override
    {
        forms.clear();
        window::ResetWindowSystem();
        EXPECT_EQ(gdi::LiveObjectCount(), gdiBaseline) << "GDI objects left alive";
    }

    forms::Form& Load(std::string_view layout)
    {
        forms::LayoutParseResult parsed = forms::ParseLayout(layout);
        EXPECT_TRUE(parsed.form) << parsed.error;
        auto form = std::make_unique<forms::Form>();
        std::string error;
        EXPECT_TRUE(form->Load(*parsed.form, {}, error)) << error;
        form->Show();
        window::DoEvents();
        forms.push_back(std::move(form));
        return *forms.back();
    }

    TarvosXPText& Box(std::string_view name, std::size_t formIndex = 0)
    {
        auto* box = forms.at(formIndex)->Get<TarvosXPText>(name);
        EXPECT_NE(box, nullptr) << name;
        return *box;
    }

    void ClickOn(HWND hwnd, int x = 3, int y = 3)
    {
        POINT point { x, y };
        ClientToScreen(hwnd, &point);
        headless->MoveMouse(point.x, point.y);
        headless->PressMouse();
        headless->ReleaseMouse();
        window::DoEvents();
    }

    void Press(unsigned key)
    {
        headless->TypeKey(key);
        window::DoEvents();
    }

    void Type(const std::string& text)
    {
        headless->TypeText(text);
        window::DoEvents();
    }

    // The four border lines, each looked at away from the corners.
    static void ExpectBorder(TarvosXPText& box, COLORREF colour)
    {
        RECT rect;
        GetClientRect(box.hWnd(), &rect);
        HDC dc = box.hDC();
        int w = rect.right;
        int h = rect.bottom;
        EXPECT_EQ(GetPixel(dc, w / 2, 0), colour) << box.Name() << " top";
        EXPECT_EQ(GetPixel(dc, 0, h / 2), colour) << box.Name() << " left";
        EXPECT_EQ(GetPixel(dc, w - 1, h / 2), colour) << box.Name() << " right";
        EXPECT_EQ(GetPixel(dc, w / 2, h - 1), colour) << box.Name() << " bottom";
        // The margin inside the border is the surface's white.
        EXPECT_EQ(GetPixel(dc, 2, 2), kWhite) << box.Name() << " margin";
    }

    backends::HeadlessBackend* headless = nullptr;
    std::vector<std::unique_ptr<forms::Form>> forms;
    std::size_t gdiBaseline = 0;
};

TEST_F(TarvosXPTextTest, BorderFollowsTheFocusOfTheInnerBox)
{
    Load(kTwoBoxes);
    TarvosXPText& first = Box("txtFirst");
    TarvosXPText& second = Box("txtSecond");
    // Showing the form put the focus on the first tab stop, which is first's inner box.
    ASSERT_EQ(GetFocus(), first.MyTxt()->hWnd());
    ExpectBorder(first, kFocus);
    ExpectBorder(second, kNormal);

    Press(VK_TAB);
    ASSERT_EQ(GetFocus(), second.MyTxt()->hWnd());
    ExpectBorder(first, kNormal);
    ExpectBorder(second, kFocus);

    ClickOn(first.MyTxt()->hWnd());
    ASSERT_EQ(GetFocus(), first.MyTxt()->hWnd());
    ExpectBorder(first, kFocus);
    ExpectBorder(second, kNormal);

    // Focus set on the control itself goes on to the box inside it and stays inside.
    second.SetFocus();
    window::DoEvents();
    EXPECT_EQ(GetFocus(), second.MyTxt()->hWnd());
    ExpectBorder(second, kFocus);
    ExpectBorder(first, kNormal);

    // A resize of the focused control keeps the focus colour.
    second.Size(2400, 330);
    ExpectBorder(second, kFocus);
}

TEST_F(TarvosXPTextTest, BorderColourLets)
{
    Load(kTwoBoxes);
    TarvosXPText& first = Box("txtFirst");
    TarvosXPText& second = Box("txtSecond");

    // BorderColorFocus changes nothing on screen until the next focus.
    second.LetBorderColorFocus(0x0000FF);
    ExpectBorder(second, kNormal);
    EXPECT_TRUE(second.ChangedProperties().count("BorderColorOver"));
    Press(VK_TAB);
    ExpectBorder(second, RGB(255, 0, 0));

    // BorderColor shows at once.
    first.LetBorderColor(0x00FF00);
    ExpectBorder(first, RGB(0, 255, 0));
    Press(VK_TAB);
    ExpectBorder(first, kFocus);
    ExpectBorder(second, kNormal);

    // Enabled draws its fixed colours, whatever BorderColor is.
    first.LetEnabled(false);
    ExpectBorder(first, kDisabled);
    EXPECT_FALSE(first.Enabled());
    EXPECT_FALSE(first.MyTxt()->Enabled());
    first.LetEnabled(true);
    ExpectBorder(first, kNormal);
    EXPECT_TRUE(first.MyTxt()->Enabled());

    first.LetAlignment(5);
    EXPECT_EQ(first.Alignment(), 0);
    first.LetAlignment(2);
    EXPECT_EQ(first.Alignment(), 2);
}

TEST_F(TarvosXPTextTest, AutoSelectOnFocus)
{
    Load(kTwoBoxes);
    TarvosXPText& first = Box("txtFirst");
    TarvosXPText& second = Box("txtSecond");

    second.LetAutoSelect(true);
    second.LetSelStart(2);
    second.LetSelLength(0);
    Press(VK_TAB);
    EXPECT_EQ(second.SelStart(), 0);
    EXPECT_EQ(second.SelLength(), 6);
    EXPECT_EQ(second.SelText(), "second");
    second.LetText("数据库.mdb");
    Press(VK_TAB);
    Press(VK_TAB);
    ASSERT_EQ(GetFocus(), second.MyTxt()->hWnd());
    EXPECT_EQ(second.SelLength(), 7);
    EXPECT_EQ(second.SelText(), "数据库.mdb");

    // Without it the box keeps the selection it had.
    first.LetAutoSelect(false);
    first.LetSelStart(3);
    first.LetSelLength(1);
    Press(VK_TAB);
    ASSERT_EQ(GetFocus(), first.MyTxt()->hWnd());
    EXPECT_EQ(first.SelStart(), 3);
    EXPECT_EQ(first.SelLength(), 1);
}

TEST_F(TarvosXPTextTest, InnerBoxLayout)
{
    Load(kTwoBoxes);
    TarvosXPText& first = Box("txtFirst");
    forms::TextBox& inner = *first.MyTxt();
    EXPECT_EQ(inner.Left(), 60);
    EXPECT_EQ(inner.Top(), 60);
    EXPECT_EQ(inner.Width(), 1880);
    EXPECT_EQ(inner.Height(), 210);
    EXPECT_EQ(GetParent(inner.hWnd()), first.hWnd());

    // Smaller than both margins: the position is still set and the box has no room.
    first.Size(100, 90);
    EXPECT_EQ(inner.Left(), 60);
    EXPECT_EQ(inner.Top(), 60);
    EXPECT_EQ(inner.Width(), 0);
    EXPECT_EQ(inner.Height(), 0);
    first.Size(2000, 330);
    EXPECT_EQ(inner.Width(), 1880);
    EXPECT_EQ(inner.Height(), 210);
}

TEST_F(TarvosXPTextTest, ValueReadsTheLeadingNumber)
{
    Load(kTwoBoxes);
    TarvosXPText& box = Box("txtFirst");
    EXPECT_DOUBLE_EQ(box.Value(), 12.5);
    box.LetText("abc");
    EXPECT_DOUBLE_EQ(box.Value(), 0);
    box.LetValue(3);
    EXPECT_EQ(box.Text(), "3");
    box.LetValue(1e20);
    EXPECT_EQ(box.Text(), "1E+20");
    EXPECT_DOUBLE_EQ(box.Value(), 1e20);
}

TEST_F(TarvosXPTextTest, ResizeKeepsDisabledAndLockedBoxes)
{
    Load(R"(Form frmTest
    Begin TarvosXPText txtLocked
        Width = 2000
        Height = 330
        Locked = True
        BackColor = &H00C0C0C0&
    End
    Begin TarvosXPText txtDisabled
        Top = 600
        Width = 2000
        Height = 330
        Enabled = False
    End
End
)");
    TarvosXPText& locked = Box("txtLocked");
    TarvosXPText& disabled = Box("txtDisabled");
    // Loading ran Resize, which makes the inner box white but leaves it read-only.
    EXPECT_TRUE(locked.Locked());
    EXPECT_EQ(locked.BackColor(), 0xFFFFFFu);
    EXPECT_FALSE(disabled.Enabled());

    locked.Size(2500, 400);
    locked.LetBorderColor(0x00FF00);
    disabled.Size(2500, 400);
    disabled.LetBorderColor(0x00FF00);
    EXPECT_TRUE(locked.Locked());
    EXPECT_TRUE(locked.Enabled());
    EXPECT_FALSE(disabled.Enabled());
    EXPECT_FALSE(disabled.Locked());

    // Typing into the read-only box changes nothing; the disabled one cannot take the focus.
    ClickOn(locked.MyTxt()->hWnd());
    Type("x");
    EXPECT_EQ(locked.Text(), "Text1");
    ClickOn(disabled.MyTxt()->hWnd());
    EXPECT_NE(GetFocus(), disabled.MyTxt()->hWnd());
}

TEST_F(TarvosXPTextTest, SettingsRoundTripThroughTheLayoutFile)
{
    forms::Form& form = Load(kTwoBoxes);
    TarvosXPText& box = Box("txtFirst");
    box.LetText("Hello world");
    box.LetAutoSelect(true);
    box.LetMaxLength(40);
    box.LetPasswordChar("*");
    box.LetBorderColor(0x112233);
    box.LetBorderColorFocus(0x445566);
    box.SetFont(std::make_shared<forms::StdFont>(forms::FontSpec { "Verdana", 10, 700, 0, true, false, false }));
    box.LetSelStart(6);
    box.LetSelLength(5);
    box.LetLocked(true);

    Load(forms::WriteLayout(form.SaveLayout()));
    TarvosXPText& loaded = Box("txtFirst", 1);
    EXPECT_EQ(loaded.Text(), "Hello world");
    EXPECT_EQ(loaded.MaxLength(), 40);
    EXPECT_EQ(loaded.PasswordChar(), "*");
    EXPECT_EQ(loaded.BorderColor(), 0x112233u);
    EXPECT_EQ(loaded.BorderColorFocus(), 0x445566u);
    EXPECT_EQ(loaded.Font()->Name(), "Verdana");
    EXPECT_TRUE(loaded.Font()->Bold());
    EXPECT_TRUE(loaded.Locked());
    EXPECT_EQ(loaded.SelLength(), 11);
}

TEST_F(TarvosXPTextTest, StoredSelectionGoesInBeforeText)
{
    Load(R"(Form frmTest
    Begin TarvosXPText txtBox
        Width = 2000
        Height = 330
        TabIndex = 1
        AutoSelect = True
        SelStart = 1
        SelText = "XYZ"
        SelLength = 2
        Text = "Hello"
    End
    Begin TarvosXPText txtDefaults
        Top = 600
        Width = 2000
        Height = 330
    End
End
)");
    // Text replaced what the stored selection did; loading then selected it all,
    // though the focus went to the other box.
    TarvosXPText& box = Box("txtBox");
    EXPECT_EQ(box.Text(), "Hello");
    ASSERT_NE(GetFocus(), box.MyTxt()->hWnd());
    EXPECT_EQ(box.SelStart(), 0);
    EXPECT_EQ(box.SelLength(), 5);
    TarvosXPText& defaults = Box("txtDefaults");
    EXPECT_EQ(defaults.Text(), "Text1");

    // Saved untouched, a box stores no setting of its own beyond its Value.
    forms::PropertyBag bag = defaults.SaveSettings();
    for (const char* key : { "Text", "BorderColor", "BorderColorOver", "Font", "SelText", "Enabled", "Locked", "Value" })
        EXPECT_FALSE(bag.Contains(key)) << key;

    // Value is stored, from the text, but never read back.
    defaults.LetText("3.5 MB");
    EXPECT_EQ(forms::AsDouble(defaults.SaveSettings().ReadProperty("Value")), 3.5);
}

TEST_F(TarvosXPTextTest, KeyPressCanChangeOrCancelACharacter)
{
    Load(kTwoBoxes);
    TarvosXPText& box = Box("txtFirst");
    int changes = 0;
    box.Change = [&] { ++changes; };
    box.KeyPress = [](int& KeyAscii) {
        if (KeyAscii == 'x')
            KeyAscii = 0;
        else if (KeyAscii == 'a')
            KeyAscii = 'A';
    };
    box.LetText("");
    changes = 0;
    Type("xaxb");
    EXPECT_EQ(box.Text(), "Ab");
    EXPECT_EQ(changes, 2);
}

TEST_F(TarvosXPTextTest, NewInstanceDefaults)
{
    forms::Form& form = Load(R"(Form frmTest
    Begin NewTarvosXPText txtNew
        Width = 2000
        Height = 600
    End
End
)");
    auto* box = form.Get<NewTarvosXPText>("txtNew");
    ASSERT_NE(box, nullptr);
    std::string formFont = form.Font()->Name();
    box->InitProperties();
    EXPECT_EQ(box->Text(), "txtNew");
    EXPECT_EQ(box->Height(), 330);
    EXPECT_EQ(box->MyTxt()->Height(), 210);
    EXPECT_EQ(box->Font()->Name(), "Verdana");
    EXPECT_EQ(form.Font()->Name(), formFont);
    // Its inner box is the form's only tab stop, so it has the focus.
    ExpectBorder(*box, kFocus);
}

} // namespace
