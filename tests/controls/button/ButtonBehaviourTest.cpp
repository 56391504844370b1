// The button driven by mouse, keys, focus and the clock on a headless form: the
// events it raises in order, option groups, hover tracking, the CustomClick move,
// the default look following the focus, and a long randomized run.

#include "tests/controls/button/ButtonTestSupport.h"

#include <algorithm>
#include <random>
#include <tuple>

using namespace korvane;
using namespace korvane::button;
using korvane::testing::ButtonBlock;
using korvane::testing::ControlBlock;
using korvane::testing::FormLayout;
using korvane::testing::EventList;

namespace {

// Buttons 100 x 25; optF in a picture box of its own; picOver lies on cmdA's right end.
const std::string kLayout = FormLayout(
    ButtonBlock("cmdA", { 10, 10, 100, 25 }, { "TabIndex = 0", "Caption = \"&Alpha\"" })
    + ButtonBlock("chkB", { 10, 40, 100, 25 }, { "TabIndex = 1", "Mode = 1", "Default = -1", "Caption = \"&Bravo\"" })
    + ButtonBlock("optC", { 10, 70, 100, 25 }, { "TabIndex = 2", "Mode = 2" })
    + ButtonBlock("optD", { 10, 100, 100, 25 }, { "TabIndex = 3", "Mode = 2" })
    + ButtonBlock("optE", { 10, 130, 100, 25 }, { "TabIndex = 4", "Mode = 2" })
    + ButtonBlock("cmdS", { 10, 160, 100, 25 }, { "TabIndex = 5", "CustomClick = 4" })
    + ControlBlock("PictureBox", "picGroup", { 150, 10, 100, 40 }, { "TabIndex = 6" },
        ButtonBlock("optF", { 5, 5, 80, 25 }, { "Mode = 2" }))
    + ControlBlock("PictureBox", "picOver", { 90, 10, 30, 25 }, { "TabIndex = 7" }),
    {}, 300, 200);

const POINT kOutside { 290, 190 }; // form pixels clear of every control

class ButtonBehaviour : public korvane::testing::ButtonFormTest {
protected:
    gxButtons_H& B(std::string_view name) { return Get<gxButtons_H>(name); }
    POINT Outside() const { return OnForm(kOutside.x, kOutside.y); }

    // A fresh form with every event but MouseMove recorded from the buttons named.
    void Reload(std::initializer_list<const char*> recorded, const std::string& layout = kLayout)
    {
        FormFixture::Load(layout);
        for (const std::string name : recorded) {
            gxButtons_H& b = B(name);
            Record(b.MouseDown, name + ".MouseDown"), Record(b.MouseUp, name + ".MouseUp");
            Record(b.KeyDown, name + ".KeyDown"), Record(b.KeyPress, name + ".KeyPress"), Record(b.KeyUp, name + ".KeyUp");
            Record(b.MouseOnButton, name + ".MouseOnButton"), Record(b.Click, name + ".Click");
            Record(b.DoubleClick, name + ".DoubleClick");
        }
    }
    HANDLE Property(HWND hwnd, const std::string& name) { return GetPropA(hwnd, name.c_str()); }
};

HANDLE Handle(std::intptr_t value) { return reinterpret_cast<HANDLE>(value); }

} // namespace

TEST_F(ButtonBehaviour, ScriptedInputRaisesItsEventsInOrder)
{
    using backends::MouseButton;
    const auto rightClick = [&](const char* name) {
        Press(Centre(name), MouseButton::Right);
        Release(Centre(name), MouseButton::Right);
    };
    const std::string down = ".MouseDown(1, 0, 50, 12)", up = ".MouseUp(1, 0, 50, 12)";
    // What is done; the button with the focus, where the pointer also rests (the focus on
    // optC selects it); the input; the events raised.
    const std::tuple<const char*, const char*, std::function<void()>, EventList> cases[] = {
        { "a press released outside", "cmdA", [&] { Press("cmdA"); Move(Outside()); Advance(50); Release(Outside()); },
          { "cmdA" + down, "cmdA.MouseOnButton(0)", "cmdA.MouseUp(1, 0, 280, 180)" } },
        { "a right click on a check box", "chkB", [&] { rightClick("chkB"); }, { "chkB.MouseDown(2, 0, 50, 12)", "chkB.MouseUp(2, 0, 50, 12)" } },
        { "Space on a command button", "cmdA", [&] { Key(VK_SPACE); }, { "cmdA.KeyDown(32, 0)", "cmdA.Click", "cmdA.KeyUp(32, 0)" } },
        { "Space held on a check box", "chkB", [&] { KeyDown(VK_SPACE); KeyDown(VK_SPACE); KeyUp(VK_SPACE); },
          { "chkB.KeyDown(32, 0)", "chkB.KeyDown(32, 0)", "chkB.KeyUp(32, 0)", "chkB.Click" } },
        { "Space on an option button that is on", "optC", [&] { Key(VK_SPACE); }, { "optC.KeyDown(32, 0)", "optC.KeyUp(32, 0)" } },
        { "Space on an option button that is off", "optC", [&] { B("optD").SetFocus(); Key(VK_SPACE); },
          { "optD.KeyDown(32, 0)", "optD.KeyUp(32, 0)", "optD.Click" } },
        { "Enter with a check box as the default button", "cmdA", [&] { Key(VK_RETURN); },
          { "cmdA.KeyPress(13)", "cmdA.KeyUp(13, 0)" } },
        { "clicking an option button that is on", "optC", [&] { Click("optC"); }, { "optC" + down, "optC" + up } },
        { "arrows", "cmdA", [&] { Key(VK_DOWN); Key(VK_UP); Key(VK_RIGHT); Key(VK_LEFT); }, {} },
        { "a double click", "cmdA", [&] { Click("cmdA"); Click("cmdA"); },
          { "cmdA" + down, "cmdA" + up, "cmdA.Click", "cmdA.DoubleClick(1)", "cmdA" + down, "cmdA" + up } },
        { "a right double click", "cmdA", [&] { rightClick("cmdA"); rightClick("cmdA"); },
          { "cmdA.MouseDown(2, 0, 50, 12)", "cmdA.MouseUp(2, 0, 50, 12)", "cmdA.DoubleClick(2)", "cmdA" + down,
            "cmdA.MouseUp(2, 0, 50, 12)" } },
    };
    for (const auto& [what, focus, script, events] : cases) {
        SCOPED_TRACE(what);
        Reload({ "cmdA", "chkB", "optC", "optD" });
        B(focus).SetFocus();
        Move(focus);
        TakeEvents();
        script();
        EXPECT_EQ(TakeEvents(), events);
        EXPECT_FALSE(B(focus).ShowPressed());
    }
    // The arrows went to the form, which moves the focus along the tab order.
    Reload({});
    EXPECT_EQ(Focused(), "cmdA");
    Key(VK_DOWN);
    EXPECT_EQ(Focused(), "chkB");
}

TEST_F(ButtonBehaviour, OptionButtonsOfOneContainerExcludeEachOther)
{
    Reload({ "optC", "optD", "optE", "optF" });
    Get("picOver").SetFocus();
    Click("optD");
    Click("optF");
    TakeEvents();
    Click("optE");
    EXPECT_EQ(TakeEvents(), (EventList { "optE.MouseOnButton(1)", "optE.MouseDown(1, 0, 50, 12)", "optE.MouseUp(1, 0, 50, 12)", "optE.Click" }));
    EXPECT_EQ(std::vector<bool>({ B("optC").Value(), B("optD").Value(), B("optE").Value(), B("optF").Value() }),
              std::vector<bool>({ false, false, true, true }));

    // Registered in load order; leaving closes the gap, and so does a button destroyed.
    const HWND form = FormWindow(), group = Get("picGroup").hWnd();
    forms::LayoutNode node;
    node.name = "optLater";
    node.settings.Set("Mode", std::int64_t { 2 });
    std::unique_ptr<forms::Control> later = forms::ControlRegistry::Make("gxButtons_H");
    later->Create(TheForm(), nullptr, node);
    EXPECT_EQ(Property(form, "gx_OptCount"), Handle(4));
    B("optC").LetMode(gxCommand);
    later.reset();
    EXPECT_EQ(std::vector<HANDLE>({ Property(form, "gx_OptCount"), Property(form, "gx_Obj1"), Property(form, "gx_Obj2"),
                                    Property(form, "gx_Obj3") }),
              std::vector<HANDLE>({ Handle(2), &B("optD"), &B("optE"), nullptr }));
    Click("optD"); // walks the group
    B("optF").LetMode(gxCheckBox);
    EXPECT_EQ(std::pair(Property(group, "gx_OptCount"), Property(group, "gx_Obj1")), std::pair(HANDLE {}, HANDLE {}));

    // Of two loaded on, the later stays on.
    Reload({}, FormLayout(ButtonBlock("optX", { 0, 0, 50, 20 }, { "Mode = 2", "Value = -1" })
                          + ButtonBlock("optY", { 0, 30, 50, 20 }, { "Mode = 2", "Value = -1" }), {}, 100, 60));
    EXPECT_EQ(std::pair(B("optX").Value(), B("optY").Value()), std::pair(false, true));
}

TEST_F(ButtonBehaviour, HoverEndsWithinOneTickOfThePointerLeaving)
{
    const std::pair<const char*, std::function<void()>> leaves[] = {
        { "onto an overlapping window", [&] { Move("picOver"); } },
        { "off the form", [&] { Leave(); } },
        { "onto the form", [&] { Move(Outside()); } },
    };
    for (const auto& [what, leave] : leaves) {
        SCOPED_TRACE(what);
        Reload({ "cmdA" });
        Move(At("cmdA", 20, 12));
        Advance(30);
        Move(At("cmdA", 40, 12)); // no second start, so the timer keeps its time
        leave();
        EXPECT_EQ(TakeEvents(), EventList { "cmdA.MouseOnButton(1)" });
        Advance(20);
        EXPECT_EQ(TakeEvents(), EventList { "cmdA.MouseOnButton(0)" });
        EXPECT_EQ(B("cmdA").ButtonState() & bsHover, 0);
        EXPECT_EQ(Property(B("cmdA").hWnd(), "gx_ClassID"), &B("cmdA"));
        EXPECT_EQ(Property(B("cmdA").hWnd(), "gx_TimerID"), Handle(237));
    }
}

TEST_F(ButtonBehaviour, CustomClickMovesThePressedWindowByItsOffset)
{
    Reload({});
    RECT before {}, pressed {}, after {};
    GetWindowRect(B("cmdS").hWnd(), &before);
    Press("cmdS");
    GetWindowRect(B("cmdS").hWnd(), &pressed);
    Release(At("cmdS", 50, 12));
    GetWindowRect(B("cmdS").hWnd(), &after);
    EXPECT_EQ(std::vector<LONG>({ pressed.left, pressed.top, pressed.right, pressed.bottom, after.left, after.top }),
              std::vector<LONG>({ before.left + 1, before.top + 1, before.right + 1, before.bottom + 1, before.left, before.top }));
}

TEST_F(ButtonBehaviour, TheFocusedButtonOrElseTheDefaultDisplaysAsTheDefault)
{
    Reload({});
    const auto defaults = [&] {
        std::string shown;
        for (const char* name : { "cmdA", "chkB", "optC", "cmdS" })
            shown += B(name).ButtonState() & bsDefault ? name : "";
        return shown;
    };
    const std::pair<std::function<void()>, const char*> steps[] = {
        { [] {}, "cmdA" }, { [&] { B("cmdS").SetFocus(); }, "cmdS" }, { [&] { Get("picOver").SetFocus(); }, "chkB" },
        { [&] { B("chkB").LetShowFocusRect(false); B("cmdA").SetFocus(); }, "cmdA" },
    };
    for (const auto& [step, shown] : steps) {
        step();
        EXPECT_EQ(defaults(), shown);
    }
}

TEST_F(ButtonBehaviour, RandomInputClicksOncePerCompletedPress)
{
    constexpr int kButtons = 18;
    std::string blocks, grouped;
    for (int i = 0; i < kButtons; ++i) {
        // The last four sit in a picture box below the others.
        const RECT at = i < 14 ? RECT { 10 + (i % 6) * 35, 10 + (i / 6) * 22, 30, 18 } : RECT { 5 + (i - 14) * 35, 4, 30, 18 };
        const char key = static_cast<char>('A' + i);
        korvane::testing::Settings settings { "TabIndex = " + std::to_string(i), "Caption = \"&" + std::string(1, key) + "\"",
                            "BackStyle = " + std::to_string(i % 8), "Mode = " + std::to_string(i % 3),
                            "Shape = " + std::to_string(i % 9), "CustomClick = " + std::to_string(i % 5) };
        if (i % 9 >= kFirstPictureShape)
            settings.push_back("Image = Picture(\"resources/banner.bmp\")");
        if (i == 3)
            settings.push_back("Default = -1");
        (i < 14 ? blocks : grouped) += ButtonBlock("btn" + std::to_string(i), at, settings);
    }
    blocks += ControlBlock("PictureBox", "picGroup", { 10, 80, 200, 26 }, { "TabIndex = 20" }, grouped);
    // Small, as every event composes the whole form again.
    FormFixture::Load(FormLayout(blocks, {}, 220, 110));

    std::vector<gxButtons_H*> buttons;
    int clicks = 0;
    for (int i = 0; i < kButtons; ++i) {
        buttons.push_back(&B("btn" + std::to_string(i)));
        buttons.back()->Click = [&] { ++clicks; };
    }
    const auto indexOf = [&](HWND hwnd) {
        const auto found = std::ranges::find(buttons, hwnd, &gxButtons_H::hWnd);
        return found == buttons.end() ? -1 : static_cast<int>(found - buttons.begin());
    };
    const auto anyOn = [&](int i) {
        return std::ranges::any_of(buttons, [&](gxButtons_H* other) {
            return other->Mode() == gxOption && other->Container() == buttons[i]->Container() && other->Value();
        });
    };

    std::mt19937 random(20240611);
    const auto pick = [&](int count) { return static_cast<int>(random() % static_cast<unsigned>(count)); };
    int expected = 0;
    int leftOn = -2; // the button under a held left press; -2 while none is held
    int spaceOn = -2; // the button a held Space went down on; -2 while Space is up
    POINT lastPress { -100, -100 };
    for (int event = 0; event < 100000; ++event) {
        std::vector<bool> valueBefore, groupOnBefore;
        for (int i = 0; i < kButtons; ++i) {
            valueBefore.push_back(buttons[i]->Value());
            groupOnBefore.push_back(anyOn(i));
        }
        const int focusBefore = indexOf(GetFocus());
        int completed = -1;
        POINT cursor {};
        GetCursorPos(&cursor);
        const int under = indexOf(WindowFromPoint(cursor));
        // Presses never land near the last one, so none completes a double click.
        const bool mayPress = std::abs(cursor.x - lastPress.x) > 2 || std::abs(cursor.y - lastPress.y) > 2;
        const int choice = pick(100);
        if (choice < 30) {
            Move(OnForm(pick(230), pick(120)));
        } else if (choice < 32 && leftOn == -2) {
            Leave(); // a release off the program would never arrive
        } else if (choice < 42 && leftOn == -2 && spaceOn == -2 && mayPress) {
            leftOn = under;
            lastPress = cursor;
            Headless().PressMouse();
            window::DoEvents();
        } else if (choice < 50 && leftOn != -2) {
            if (leftOn >= 0 && under == leftOn)
                completed = leftOn;
            leftOn = -2;
            Headless().ReleaseMouse();
            window::DoEvents();
        } else if (choice < 53 && leftOn == -2 && mayPress) {
            lastPress = cursor;
            Headless().PressMouse(backends::MouseButton::Right);
            Headless().ReleaseMouse(backends::MouseButton::Right);
            window::DoEvents();
        } else if (choice < 58 && spaceOn == -2 && leftOn == -2) {
            spaceOn = focusBefore;
            KeyDown(VK_SPACE);
        } else if (choice < 62 && spaceOn != -2) {
            completed = spaceOn >= 0 && spaceOn == focusBefore ? spaceOn : -1;
            spaceOn = -2;
            KeyUp(VK_SPACE);
        } else if (choice < 66) {
            Key(VK_TAB, pick(2) ? unsigned { backends::ModShift } : 0u);
        } else if (choice < 72) {
            Key(VK_LEFT + static_cast<unsigned>(pick(4)));
            const int focus = indexOf(GetFocus());
            if (focus >= 0 && buttons[focus]->Mode() == gxOption)
                completed = focus;
        } else if (choice < 75) {
            completed = pick(kButtons);
            Key('A' + static_cast<unsigned>(completed), backends::ModAlt);
        } else if (choice < 77) {
            Key(VK_RETURN);
            completed = 3;
        } else if (choice < 82) {
            buttons[pick(kButtons)]->SetFocus();
        } else {
            Advance(static_cast<unsigned>(1 + pick(60)));
        }
        const int focusAfter = indexOf(GetFocus());
        if (spaceOn >= 0 && focusAfter != spaceOn)
            spaceOn = -1; // the focus left: the Space is let go without a click
        const bool arrived = focusAfter >= 0 && focusAfter != focusBefore && buttons[focusAfter]->Mode() == gxOption
            && !groupOnBefore[focusAfter];
        if (arrived)
            expected += valueBefore[focusAfter] ? 0 : 1;
        if (completed >= 0 && !(arrived && completed == focusAfter))
            expected += buttons[completed]->Mode() != gxOption || !valueBefore[completed] ? 1 : 0;
        ASSERT_EQ(clicks, expected) << "after event " << event << ", choice " << choice;
    }
    if (leftOn != -2)
        Headless().ReleaseMouse();
    KeyUp(VK_SPACE);
}
