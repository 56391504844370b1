// The XP text box on a headless form: border colours through focus changes made
// with scripted input, the inner box's layout, the numeric view of the text, the
// stored settings, and events from typed input.

#include "controls/text_box/TarvosXPText.h"

#include "host/forms/LayoutFile.h"
#include "host/gdi/Gdi.h"
#include "tests/support/FormFixture.h"

#include <algorithm>
#include <array>
#include <tuple>

using namespace korvane;
using forms::PropertyValue;

namespace {

constexpr COLORREF kNormal = RGB(127, 157, 185);
constexpr COLORREF kFocus = RGB(231, 150, 0);
constexpr COLORREF kDisabled = RGB(191, 167, 128);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// A form of boxes 2000 x 330 twips, 600 twips apart, in tab order, each with the
// settings given (one a line).
std::string Boxes(std::initializer_list<std::pair<const char*, const char*>> boxes)
{
    std::string layout = "Form frmTest\nClientWidth = 4800\nClientHeight = 3600\n";
    int index = 0;
    for (const auto& [name, settings] : boxes) {
        layout += "Begin TarvosXPText " + std::string(name) + "\nLeft = 150\nTop = " + std::to_string(150 + 600 * index)
            + "\nWidth = 2000\nHeight = 330\nTabIndex = " + std::to_string(index) + "\n" + settings + "\nEnd\n";
        ++index;
    }
    return layout + "End\n";
}
const std::string kTwoBoxes = Boxes({ { "txtFirst", "Text = \"12.5 MB\"" }, { "txtSecond", "Text = \"second\"" } });

// Gives the host's new-instance handler to the tests.
class NewTarvosXPText : public TarvosXPText {
public:
    void InitProperties() { UserControl_InitProperties(); }
};

class TarvosXPTextTest : public korvane::testing::FormFixture {
protected:
    TarvosXPTextTest()
    {
        RegisterTarvosXPText();
        forms::ControlRegistry::Register("NewTarvosXPText", [] { return std::make_unique<NewTarvosXPText>(); });
    }

    TarvosXPText& Box(std::string_view name) { return Get<TarvosXPText>(name); }
    void ClickOn(TarvosXPText& box) { Click(At(*box.MyTxt(), 3, 3)); }

    // The four border lines, each looked at away from the corners, and the white margin.
    static void ExpectBorder(TarvosXPText& box, COLORREF colour, const std::string& when = {})
    {
        RECT rect;
        GetClientRect(box.hWnd(), &rect);
        const int w = rect.right, h = rect.bottom;
        const POINT points[] = { { w / 2, 0 }, { 0, h / 2 }, { w - 1, h / 2 }, { w / 2, h - 1 } };
        for (const POINT& p : points)
            EXPECT_EQ(GetPixel(box.hDC(), p.x, p.y), colour) << box.Name() << " " << when << " at " << p.x << ", " << p.y;
        EXPECT_EQ(GetPixel(box.hDC(), 2, 2), kWhite) << box.Name() << " " << when << " margin";
    }
};

TEST_F(TarvosXPTextTest, BorderFollowsTheFocusAndTheBorderColours)
{
    Load(kTwoBoxes);
    TarvosXPText& first = Box("txtFirst");
    TarvosXPText& second = Box("txtSecond");
    // What is done, then the two borders' colours.
    const std::tuple<const char*, std::function<void()>, COLORREF, COLORREF> steps[] = {
        { "shown: the first tab stop", [] {}, kFocus, kNormal },
        { "Tab", [&] { Key(VK_TAB); }, kNormal, kFocus },
        { "a click", [&] { ClickOn(first); }, kFocus, kNormal },
        // Focus set on the control itself goes on to the box inside it.
        { "SetFocus on the control", [&] { second.SetFocus(); window::DoEvents(); }, kNormal, kFocus },
        { "a resize of the focused control", [&] { second.Size(2400, 330); }, kNormal, kFocus },
        // BorderColorFocus shows from the next focus, BorderColor at once.
        { "BorderColorFocus", [&] { first.LetBorderColorFocus(0x0000FF); }, kNormal, kFocus },
        { "Tab to the new focus colour", [&] { Key(VK_TAB); }, RGB(255, 0, 0), kNormal },
        { "BorderColor", [&] { second.LetBorderColor(0x00FF00); }, RGB(255, 0, 0), RGB(0, 255, 0) },
        { "Tab back", [&] { Key(VK_TAB); }, kNormal, kFocus },
        // Enabled draws its fixed colours, whatever BorderColor is.
        { "disabled", [&] { second.LetEnabled(false); }, kNormal, kDisabled },
        { "enabled", [&] { second.LetEnabled(true); }, kNormal, kNormal },
    };
    for (const auto& [what, act, firstColour, secondColour] : steps) {
        act();
        ExpectBorder(first, firstColour, what);
        ExpectBorder(second, secondColour, what);
        if (firstColour == kFocus || secondColour == kFocus) {
            EXPECT_EQ(GetFocus(), (firstColour == kFocus ? first : second).MyTxt()->hWnd()) << what;
        }
    }

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
    second.LetText("数据库.mdb");
    second.LetSelStart(2);
    Key(VK_TAB);
    EXPECT_EQ(std::tuple(GetFocus(), second.SelStart(), second.SelLength()), std::tuple(second.MyTxt()->hWnd(), 0, 7))
        << "counted in characters";

    // Without it the box keeps the selection it had.
    first.LetSelStart(3);
    first.LetSelLength(1);
    Key(VK_TAB);
    EXPECT_EQ(std::tuple(GetFocus(), first.SelStart(), first.SelLength()), std::tuple(first.MyTxt()->hWnd(), 3, 1));
}

TEST_F(TarvosXPTextTest, InnerBoxLayoutAndValue)
{
    Load(kTwoBoxes);
    TarvosXPText& box = Box("txtFirst");
    forms::TextBox& inner = *box.MyTxt();
    EXPECT_EQ(GetParent(inner.hWnd()), box.hWnd());
    // Smaller than both margins, the position is still set and the box has no room.
    const int sizes[][4] = { { 2000, 330, 1880, 210 }, { 100, 90, 0, 0 }, { 2000, 330, 1880, 210 } };
    for (const auto& size : sizes) {
        box.Size(size[0], size[1]);
        const std::array<int, 4> bounds { inner.Left(), inner.Top(), inner.Width(), inner.Height() };
        EXPECT_EQ(bounds, (std::array<int, 4> { 60, 60, size[2], size[3] })) << size[0] << " x " << size[1];
    }

    EXPECT_DOUBLE_EQ(box.Value(), 12.5);
    box.LetText("abc");
    EXPECT_DOUBLE_EQ(box.Value(), 0);
    box.LetValue(3);
    EXPECT_EQ(box.Text(), "3");
    box.LetValue(1e20);
    EXPECT_EQ(box.Text(), "1E+20");
}

TEST_F(TarvosXPTextTest, ResizeKeepsDisabledAndLockedBoxes)
{
    Load(Boxes({ { "txtLocked", "Locked = True\nBackColor = &H00C0C0C0&" }, { "txtDisabled", "Enabled = False" } }));
    TarvosXPText& locked = Box("txtLocked");
    TarvosXPText& disabled = Box("txtDisabled");
    // Loading ran Resize, which makes the inner box white but leaves it read-only.
    EXPECT_EQ(locked.BackColor(), 0xFFFFFFu);
    for (TarvosXPText* box : { &locked, &disabled }) {
        box->Size(2500, 400);
        box->LetBorderColor(0x00FF00);
    }
    EXPECT_EQ(std::tuple(locked.Locked(), locked.Enabled(), disabled.Enabled(), disabled.Locked()), std::tuple(true, true, false, false));

    // Typing into the read-only box changes nothing; the disabled one cannot take the focus.
    ClickOn(locked);
    Type("x");
    EXPECT_EQ(locked.Text(), "Text1");
    ClickOn(disabled);
    EXPECT_NE(GetFocus(), disabled.MyTxt()->hWnd());
}

TEST_F(TarvosXPTextTest, EachStoredSettingRoundTrips)
{
    // Every key: its value read comes back written without a change reported, and
    // read from nothing it is not written. Set by key, it goes through the
    // property's Let, which reports it.
    struct Case {
        std::string_view key;
        PropertyValue value;
        PropertyValue written = value;
    };
    const Case cases[] = {
        { "Alignment", std::int64_t { 2 } }, { "AutoSelect", true }, { "BackColor", std::int64_t { 0xC0C0C0 } },
        { "Enabled", false }, { "Font", forms::FontSpec { "Verdana", 10, 700, 0, true, false, false } },
        { "ForeColor", std::int64_t { 0x80000012 } }, { "Locked", true }, { "MaxLength", std::int64_t { 40 } },
        { "PasswordChar", std::string("*") }, { "SelStart", std::int64_t { 3 } },
        { "SelText", std::string("XYZ"), {} }, // inserted at the caret, which then selects nothing
        { "SelLength", std::int64_t { 2 } }, { "Text", std::string("Hello world") },
        { "ToolTipText", std::string("path") }, { "Value", 3.5 }, { "BorderColor", std::int64_t { 0x112233 } },
        { "BorderColorOver", std::int64_t { 0x445566 } },
    };
    const auto& table = TarvosXPText::Settings();
    const auto& reads = TarvosXPText::kReadOrder;
    ASSERT_EQ(std::size(cases), table.Entries().size());
    for (const Case& c : cases) {
        if (!std::count(reads.begin(), reads.end(), c.key))
            continue;
        for (const PropertyValue* stored : { &c.value, static_cast<const PropertyValue*>(nullptr) }) {
            Load(kTwoBoxes);
            const PropertyValue written = korvane::testing::ReadAndWrite(Box("txtSecond"), c.key, stored);
            EXPECT_EQ(written, stored ? c.written : PropertyValue {}) << c.key;
            EXPECT_TRUE(Box("txtSecond").ChangedProperties().empty()) << c.key;
        }
    }
    Load(kTwoBoxes);
    TarvosXPText& let = Box("txtFirst");
    for (const Case& c : cases) {
        const std::string_view order[] = { c.key };
        ASSERT_TRUE(let.LetStoredSetting(c.key, c.value)) << c.key;
        forms::PropertyBag out;
        table.Write(let, out, order);
        EXPECT_EQ(out.ReadProperty(c.key), c.written) << c.key;
    }
    EXPECT_EQ(let.ChangedProperties().size(), std::size(cases));
    EXPECT_TRUE(let.ChangedProperties().count("BorderColorOver")) << "reported under its stored key";
    EXPECT_FALSE(let.LetStoredSetting("BorderColorFocus", true)) << "the property's name is no key";

    // Both orders name keys of the table; every key is written, Value is never read.
    ASSERT_EQ(TarvosXPText::kWriteOrder.size(), table.Entries().size());
    for (const auto& entry : table.Entries())
        EXPECT_EQ(std::count(TarvosXPText::kWriteOrder.begin(), TarvosXPText::kWriteOrder.end(), entry.key), 1);
    for (std::string_view key : reads)
        EXPECT_TRUE(table.Find(key) && key != "Value") << key;
}

TEST_F(TarvosXPTextTest, StoredSelectionGoesInBeforeText)
{
    Load(Boxes({ { "txtDefaults", "" },
                 { "txtBox", "AutoSelect = True\nSelStart = 1\nSelText = \"XYZ\"\nSelLength = 2\nText = \"Hello\"\nValue = 7" } }));
    // Text replaced what the stored selection did; loading then selected it all,
    // though the focus went to the other box. The stored Value is not read.
    TarvosXPText& box = Box("txtBox");
    EXPECT_EQ(box.Text(), "Hello");
    ASSERT_NE(GetFocus(), box.MyTxt()->hWnd());
    EXPECT_EQ(std::pair(box.SelStart(), box.SelLength()), std::pair(0, 5));

    // A loaded box keeps its inner box white, so it stores that colour; its Value
    // is stored from the text.
    TarvosXPText& defaults = Box("txtDefaults");
    EXPECT_EQ(defaults.Text(), "Text1");
    defaults.LetText("3.5 MB");
    forms::PropertyBag bag = defaults.SaveSettings();
    EXPECT_EQ(bag.ReadProperty("BackColor"), PropertyValue(std::int64_t { 0xFFFFFF }));
    EXPECT_EQ(forms::AsDouble(bag.ReadProperty("Value")), 3.5);
}

TEST_F(TarvosXPTextTest, KeyPressCanChangeOrCancelACharacter)
{
    Load(kTwoBoxes);
    TarvosXPText& box = Box("txtFirst");
    box.LetText("");
    int changes = 0;
    box.Change = [&] { ++changes; };
    box.KeyPress = [](int& KeyAscii) {
        if (KeyAscii == 'x')
            KeyAscii = 0;
        else if (KeyAscii == 'a')
            KeyAscii = 'A';
    };
    Type("xaxb");
    EXPECT_EQ(box.Text(), "Ab");
    EXPECT_EQ(changes, 2);
}

TEST_F(TarvosXPTextTest, NewInstanceDefaults)
{
    forms::Form& form = Load("Form frmTest\n    Begin NewTarvosXPText txtNew\n        Width = 2000\n        Height = 600\n    End\nEnd\n");
    auto* box = form.Get<NewTarvosXPText>("txtNew");
    const std::string formFont = form.Font()->Name();
    box->InitProperties();
    EXPECT_EQ(std::tuple(box->Text(), box->Height(), box->MyTxt()->Height(), box->Font()->Name()), std::tuple("txtNew", 330, 210, "Verdana"));
    EXPECT_EQ(form.Font()->Name(), formFont);
    // Its inner box is the form's only tab stop, so it has the focus.
    ExpectBorder(*box, kFocus);
}

} // namespace
