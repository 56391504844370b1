#include "host/forms/HostServices.h"
#include "tests/support/FormFixture.h"

#include <tuple>

using namespace korvane;
using namespace korvane::forms;
using korvane::testing::MatchesGolden;

namespace {

const std::string kOwnerLayout = korvane::testing::FormLayout(
    korvane::testing::ControlBlock("PictureBox", "picOne", { 10, 10, 100, 100 }), { "ClientLeft = 3000", "ClientTop = 3000" }, 400, 300);

class MessageBoxes : public korvane::testing::FormFixture {};

} // namespace

TEST_F(MessageBoxes, EnterDismissesAModalBoxThatDisablesItsOwnerMeanwhile)
{
    Load(kOwnerLayout);
    ASSERT_EQ(Focused(), "picOne");
    bool ownerEnabledMeanwhile = true;
    bool boxHasFocus = false;
    POINT boxCentre {};
    ScriptMessageBoxes({ [&](const MessageBoxInfo& box) {
        ownerEnabledMeanwhile = IsWindowEnabled(FormWindow()) != 0;
        boxHasFocus = GetFocus() == box.hwnd;
        boxCentre = Centre(box.hwnd);
        EXPECT_EQ(Headless().Title(box.hwnd), "Korvane");
        EXPECT_EQ(box.owner, FormWindow());
        EXPECT_TRUE(MatchesGolden(window::ComposeTopLevel(box.hwnd), "forms/message_box_information"));
        Headless().TypeKey(VK_RETURN);
    } });

    EXPECT_EQ(MsgBox("The file was saved.", vbInformation, "", nullptr), vbOK);
    EXPECT_EQ(std::tuple(MessageBoxStepsLeft(), ownerEnabledMeanwhile, boxHasFocus), std::tuple(0u, false, true));
    // Centred on its owner, which is enabled again and has its focus back.
    POINT ownerCentre = Centre(FormWindow());
    EXPECT_NEAR(boxCentre.x, ownerCentre.x, 1);
    EXPECT_NEAR(boxCentre.y, ownerCentre.y, 1);
    EXPECT_EQ(std::tuple(bool(IsWindowEnabled(FormWindow())), Focused(), ActiveMessageBox().has_value()),
              std::tuple(true, "picOne", false));

    std::optional<MessageBoxInfo> last = LastMessageBox();
    ASSERT_TRUE(last);
    EXPECT_EQ((std::tuple { last->prompt, last->style, last->title, last->result }),
        (std::tuple { std::string("The file was saved."), int(vbInformation), std::string("Korvane"), std::optional(int(vbOK)) }));
}

TEST_F(MessageBoxes, AnswersComeFromKeysClosingAndClicks)
{
    Load(kOwnerLayout);
    auto clickButton = [this](std::size_t button) {
        return [this, button](const MessageBoxInfo& box) {
            POINT at = MessageBoxButtonCentre(box, button);
            Headless().MoveMouse(at.x, at.y);
            Headless().PressMouse();
            Headless().ReleaseMouse();
        };
    };
    struct Case {
        const char* what;
        int style;
        std::vector<korvane::testing::BoxStep> steps;
        int answer;
    };
    const Case cases[] = {
        { "Esc", vbOKCancel | vbQuestion, { Answer(VK_ESCAPE) }, vbCancel },
        { "closing the box", vbOKCancel, { [this](const MessageBoxInfo& box) { Headless().RequestClose(box.hwnd); } },
            vbCancel },
        { "Esc on a box with only OK", vbExclamation, { Answer(VK_ESCAPE) }, vbOK },
        { "pressed on OK, released outside, then a click on Cancel", vbOKCancel | vbCritical,
            { [this](const MessageBoxInfo& box) {
                 POINT ok = MessageBoxButtonCentre(box, 0);
                 Headless().MoveMouse(ok.x, ok.y);
                 Headless().PressMouse();
                 Headless().MoveMouse(ok.x, ok.y + 40);
                 Headless().ReleaseMouse();
             },
                clickButton(1) },
            vbCancel },
        { "a click on OK", vbOKCancel, { clickButton(0) }, vbOK },
        { "Tab to Cancel, Space", vbOKCancel,
            { [this](const MessageBoxInfo&) {
                Headless().TypeKey(VK_TAB);
                Headless().TypeKey(VK_SPACE);
            } },
            vbCancel },
        { "Enter", vbOKCancel, { Answer(VK_RETURN) }, vbOK },
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        ScriptMessageBoxes(test.steps);
        EXPECT_EQ(MsgBox("Go on?", test.style, "Title"), test.answer);
        EXPECT_EQ(std::tuple(MessageBoxStepsLeft(), LastMessageBox()->title), std::tuple(0u, "Title"));
    }
}

TEST_F(MessageBoxes, ALoopThatCanGetNoInputAnswersOkAndCleansUp)
{
    Load(kOwnerLayout);
    std::size_t windowsBefore = window::LiveWindowCount();
    EXPECT_EQ(MsgBox(std::string(400, 'x') + " a long prompt that has to wrap over several lines", vbOKCancel), vbOK);
    EXPECT_EQ(window::LiveWindowCount(), windowsBefore);
    EXPECT_TRUE(IsWindowEnabled(FormWindow()));
    // Not wider than most of the screen, however long the prompt.
    EXPECT_LE(LastMessageBox()->buttons.back().rect.right, 1024 * 6 / 10 + 60);

    // Without any window the box sits in the middle of the screen.
    TheForm().Unload();
    POINT centre {};
    ScriptMessageBoxes({ [&](const MessageBoxInfo& box) {
        centre = Centre(box.hwnd);
        Headless().TypeKey(VK_RETURN);
    } });
    EXPECT_EQ(MsgBox("Alone"), vbOK);
    EXPECT_NEAR(centre.x, 512, 1);
    EXPECT_NEAR(centre.y, 384, 1);
}
