#include "controls/button/gxButtons_H.h"

#include "tests/support/FormFixture.h"

using namespace korvane;
using korvane::testing::EventList;
using korvane::testing::MatchesGolden;

namespace {

// cmdGo is 100 x 25 pixels at (10, 10), cmdOther the same at (10, 50).
const char* const kLayout = R"LAYOUT(Form frmTest
    ClientWidth = 3000
    ClientHeight = 1500
    Begin gxButtons_H cmdGo
        Left = 150
        Top = 150
        Width = 1500
        Height = 375
        TabIndex = 0
        Caption = "开始修复(&F)"
        cFore = &H000000FF&
    End
    Begin gxButtons_H cmdOther
        Left = 150
        Top = 750
        Width = 1500
        Height = 375
        TabIndex = 1
        Caption = "Other"
    End
End
)LAYOUT";

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

TEST_F(ButtonOnForm, ScriptedInputRaisesClickOnlyForACompletedPress)
{
    struct Case {
        const char* what;
        std::function<void()> script;
        EventList events;
    };
    const Case cases[] = {
        { "a click", [&] { Click("cmdGo"); }, { "cmdGo.Click" } },
        { "pressed on one button, released over the other", [&] { Press("cmdGo"); Release("cmdOther"); }, {} },
        { "pressed, dragged off and back, released", [&] { Press("cmdGo"); Move("cmdOther"); Release("cmdGo"); },
            { "cmdGo.Click" } },
        { "the right button", [&] { Press(Centre("cmdGo"), backends::MouseButton::Right);
                                    Release(Centre("cmdGo"), backends::MouseButton::Right); }, {} },
        { "Space", [&] { Key(VK_SPACE); }, { "cmdGo.Click" } },
        { "Space held while Tab moves the focus", [&] { KeyDown(VK_SPACE); Key(VK_TAB); KeyUp(VK_SPACE); }, {} },
        { "Space held while a click moves the focus",
            [&] { KeyDown(VK_SPACE); Click("cmdOther"); KeyUp(VK_SPACE); }, { "cmdOther.Click" } },
        { "the access key from the other button", [&] { Get("cmdOther").SetFocus(); Key('F', backends::ModAlt); },
            { "cmdGo.Click" } },
        { "click, Space and access key while disabled",
            [&] { Go().LetEnabled(false); Click("cmdGo"); Key(VK_SPACE); Key('F', backends::ModAlt); }, {} },
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        Reload();
        test.script();
        EXPECT_EQ(TakeEvents(), test.events);
        EXPECT_FALSE(Go().ShowPressed());
    }
}

TEST_F(ButtonOnForm, FacesForEveryState)
{
    struct Case {
        const char* golden;
        std::function<void()> reach;
    };
    const Case cases[] = {
        { "button/normal", [&] { Get("cmdOther").SetFocus(); } },
        { "button/focused", [] {} },
        { "button/pressed", [&] { Press("cmdGo"); } },
        { "button/pressed", [&] { KeyDown(VK_SPACE); } },
        { "button/focused", [&] { Press("cmdGo"); Move("cmdOther"); } },
        { "button/normal", [&] { KeyDown(VK_SPACE); Key(VK_TAB); } },
        { "button/normal", [&] { KeyDown(VK_SPACE); Click("cmdOther"); } },
        { "button/disabled", [&] { Go().LetEnabled(false); } },
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.golden);
        Reload();
        test.reach();
        EXPECT_TRUE(MatchesGolden(Capture("cmdGo"), test.golden));
        KeyUp(VK_SPACE);
        Release(OnForm(190, 90));
    }
}

TEST(ButtonAccessKey, IsTheCharacterAfterTheLastSingleAmpersand)
{
    const std::pair<const char*, char> cases[] = {
        { "取消退出(&E)", 'E' }, { "Fish && &Chips", 'C' }, { "A&&B", 0 }, { "&a&b", 'b' }, { "end&", 0 },
    };
    for (const auto& [caption, key] : cases)
        EXPECT_EQ(gxButtons_H::AccessKeyOf(caption), key) << caption;
}
