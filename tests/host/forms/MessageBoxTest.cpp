#include "FormsTestSupport.h"

#include "host/forms/MessageBox.h"
#include "host/forms/controls/PictureBox.h"

#include <functional>
#include <vector>

using namespace korvane;
using namespace korvane::forms;

namespace {

const char* const kOwnerLayout = R"(Form frmOwner
    ClientLeft = 3000
    ClientTop = 3000
    ClientWidth = 6000
    ClientHeight = 4500
    Begin PictureBox picOne
        Left = 150
        Top = 150
        Width = 1500
        Height = 1500
    End
End
)";

// Scripts the user's side of a modal box: each step runs when the box's loop would
// wait for input, and queues the input that answers it.
class MessageBoxes : public forms::testing::FormsTest {
protected:
    void Script(std::vector<std::function<void(const MessageBoxInfo&)>> steps)
    {
        m_steps = std::move(steps);
        headless->SetIdleHook([this] {
            std::optional<MessageBoxInfo> box = ActiveMessageBox();
            if (!box || m_steps.empty())
                return false;
            auto step = std::move(m_steps.front());
            m_steps.erase(m_steps.begin());
            step(*box);
            return true;
        });
    }

    std::size_t StepsLeft() const { return m_steps.size(); }

private:
    std::vector<std::function<void(const MessageBoxInfo&)>> m_steps;
};

} // namespace

TEST_F(MessageBoxes, EnterDismissesAModalBoxThatDisablesItsOwnerMeanwhile)
{
    Form& owner = Load(kOwnerLayout);
    HWND picture = owner.Get<PictureBox>("picOne")->hWnd();
    ASSERT_EQ(GetFocus(), picture);
    std::size_t windowsBefore = window::LiveWindowCount();

    bool ownerEnabledMeanwhile = true;
    bool boxHasFocus = false;
    int textInk = 0;
    int buttonFrame = 0;
    int iconBlue = 0;
    RECT boxRect {};
    Script({ [&](const MessageBoxInfo& box) {
        ownerEnabledMeanwhile = IsWindowEnabled(owner.hWnd()) != 0;
        boxHasFocus = GetFocus() == box.hwnd;
        boxRect = ScreenRect(box.hwnd);
        EXPECT_EQ(headless->Title(box.hwnd), "Korvane");
        EXPECT_EQ(box.owner, owner.hWnd());
        ASSERT_EQ(box.buttons.size(), 1u);
        const raster::Surface* frame = headless->Frame(box.hwnd);
        ASSERT_NE(frame, nullptr);
        const COLORREF face = GetSysColor(COLOR_BTNFACE);
        int buttonTop = box.buttons[0].rect.top;
        textInk = Ink(*frame, RECT { 50, 0, frame->Width(), buttonTop - 4 }, face);
        buttonFrame = CountColour(*frame, box.buttons[0].rect, RGB(0, 60, 116));
        iconBlue = CountColour(*frame, RECT { 0, 0, 50, buttonTop }, RGB(40, 100, 220));
        headless->TypeKey(VK_RETURN);
    } });

    EXPECT_EQ(MsgBox("The file was saved.", vbInformation, "", nullptr), vbOK);
    EXPECT_EQ(StepsLeft(), 0u);
    EXPECT_FALSE(ownerEnabledMeanwhile);
    EXPECT_TRUE(boxHasFocus);
    EXPECT_GT(textInk, 50) << "the prompt is drawn";
    EXPECT_GT(buttonFrame, 100) << "the button's frame is drawn";
    EXPECT_GT(iconBlue, 200) << "the information icon is drawn";

    // Centred on its owner, which is enabled again and has its focus back.
    RECT ownerRect = ScreenRect(owner.hWnd());
    EXPECT_NEAR((boxRect.left + boxRect.right) / 2, (ownerRect.left + ownerRect.right) / 2, 1);
    EXPECT_NEAR((boxRect.top + boxRect.bottom) / 2, (ownerRect.top + ownerRect.bottom) / 2, 1);
    EXPECT_GE(boxRect.right - boxRect.left, 120);
    EXPECT_TRUE(IsWindowEnabled(owner.hWnd()));
    EXPECT_EQ(GetFocus(), picture);
    EXPECT_EQ(window::LiveWindowCount(), windowsBefore);
    EXPECT_FALSE(ActiveMessageBox());

    std::optional<MessageBoxInfo> last = LastMessageBox();
    ASSERT_TRUE(last);
    EXPECT_EQ(last->prompt, "The file was saved.");
    EXPECT_EQ(last->style, vbInformation);
    EXPECT_EQ(last->title, "Korvane");
    EXPECT_EQ(last->result, vbOK);
}

TEST_F(MessageBoxes, CancelComesFromEscClosingOrAClickOnItsButton)
{
    Load(kOwnerLayout);
    Script({ [&](const MessageBoxInfo&) { headless->TypeKey(VK_ESCAPE); } });
    EXPECT_EQ(MsgBox("Go on?", vbOKCancel | vbQuestion, "Title"), vbCancel);
    EXPECT_EQ(LastMessageBox()->title, "Title");

    Script({ [&](const MessageBoxInfo& box) { headless->RequestClose(box.hwnd); } });
    EXPECT_EQ(MsgBox("Go on?", vbOKCancel), vbCancel);

    // Esc on a box with only OK answers OK.
    Script({ [&](const MessageBoxInfo&) { headless->TypeKey(VK_ESCAPE); } });
    EXPECT_EQ(MsgBox("Done", vbExclamation), vbOK);

    // Pressed on OK, released outside: nothing; then a full click on Cancel.
    Script({
        [&](const MessageBoxInfo& box) {
            POINT ok = MessageBoxButtonCentre(box, 0);
            headless->MoveMouse(ok.x, ok.y);
            headless->PressMouse();
            headless->MoveMouse(ok.x, ok.y + 40);
            headless->ReleaseMouse();
        },
        [&](const MessageBoxInfo& box) {
            EXPECT_FALSE(box.result);
            POINT cancel = MessageBoxButtonCentre(box, 1);
            headless->MoveMouse(cancel.x, cancel.y);
            headless->PressMouse();
            headless->ReleaseMouse();
        },
    });
    EXPECT_EQ(MsgBox("Really?", vbOKCancel | vbCritical), vbCancel);
    EXPECT_EQ(StepsLeft(), 0u);

    // Tab moves to Cancel, Space presses it; Enter presses OK.
    Script({ [&](const MessageBoxInfo&) {
        headless->TypeKey(VK_TAB);
        headless->TypeKey(VK_SPACE);
    } });
    EXPECT_EQ(MsgBox("Again?", vbOKCancel), vbCancel);
    Script({ [&](const MessageBoxInfo&) { headless->TypeKey(VK_RETURN); } });
    EXPECT_EQ(MsgBox("Again?", vbOKCancel), vbOK);
}

TEST_F(MessageBoxes, ALoopThatCanGetNoInputAnswersOkAndCleansUp)
{
    Form& owner = Load(kOwnerLayout);
    std::size_t windowsBefore = window::LiveWindowCount();
    EXPECT_EQ(MsgBox(std::string(400, 'x') + " a long prompt that has to wrap over several lines", vbOKCancel), vbOK);
    EXPECT_EQ(window::LiveWindowCount(), windowsBefore);
    EXPECT_TRUE(IsWindowEnabled(owner.hWnd()));
    // Not wider than most of the screen, however long the prompt.
    std::optional<MessageBoxInfo> last = LastMessageBox();
    ASSERT_TRUE(last);
    EXPECT_LE(last->buttons.back().rect.right, 1024 * 6 / 10 + 60);

    // Without any window the box sits in the middle of the screen.
    owner.Unload();
    Script({ [&](const MessageBoxInfo& box) {
        RECT rect = ScreenRect(box.hwnd);
        EXPECT_NEAR((rect.left + rect.right) / 2, 512, 1);
        EXPECT_NEAR((rect.top + rect.bottom) / 2, 384, 1);
        headless->TypeKey(VK_RETURN);
    } });
    EXPECT_EQ(MsgBox("Alone"), vbOK);
    EXPECT_EQ(window::LiveWindowCount(), 0u);
}
