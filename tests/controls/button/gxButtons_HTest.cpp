#include "controls/button/gxButtons_H.h"

#include "host/backends/headless/HeadlessBackend.h"
#include "host/forms/Form.h"
#include "host/gdi/Gdi.h"
#include "host/gdi/GdiInternal.h"

#include <gtest/gtest.h>

using namespace korvane;

namespace {

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

class ButtonOnForm : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto backend = std::make_unique<backends::HeadlessBackend>();
        headless = backend.get();
        window::UseBackend(std::move(backend));
        gdiObjects = gdi::LiveObjectCount();
        RegisterGxButtons_H();
        forms::LayoutParseResult layout = forms::ParseLayout(kLayout);
        ASSERT_TRUE(layout.form) << layout.error;
        std::string error;
        ASSERT_TRUE(form->Load(*layout.form, {}, error)) << error;
        form->Show();
        go = form->Get<gxButtons_H>("cmdGo");
        go->Click = [this] { ++clicks; };
        window::DoEvents();
    }
    void TearDown() override
    {
        form.reset();
        window::ResetWindowSystem();
        EXPECT_EQ(gdi::LiveObjectCount(), gdiObjects);
    }

    POINT Centre(HWND hwnd)
    {
        RECT rect;
        GetWindowRect(hwnd, &rect);
        return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }

    backends::HeadlessBackend* headless = nullptr;
    std::unique_ptr<forms::Form> form = std::make_unique<forms::Form>();
    gxButtons_H* go = nullptr;
    int clicks = 0;
    std::size_t gdiObjects = 0;
};

} // namespace

TEST_F(ButtonOnForm, ClickNeedsThePressAndTheReleaseOverTheButton)
{
    POINT centre = Centre(go->hWnd());
    headless->MoveMouse(centre.x, centre.y);
    headless->PressMouse();
    window::DoEvents();
    EXPECT_TRUE(go->ShowPressed());
    headless->ReleaseMouse();
    window::DoEvents();
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(go->ShowPressed());

    // Pressed here, released elsewhere: no click, and the face comes back up.
    headless->PressMouse();
    headless->MoveMouse(centre.x, centre.y + 100);
    window::DoEvents();
    EXPECT_FALSE(go->ShowPressed());
    headless->ReleaseMouse();
    window::DoEvents();
    EXPECT_EQ(clicks, 1);
}

TEST_F(ButtonOnForm, TheAccessKeyAndSpaceClickButDisabledButtonsDoNot)
{
    headless->TypeKey('F', backends::ModAlt);
    window::DoEvents();
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(go->HasFocus());
    headless->TypeKey(VK_SPACE);
    window::DoEvents();
    EXPECT_EQ(clicks, 2);

    go->LetEnabled(false);
    headless->TypeKey('F', backends::ModAlt);
    POINT centre = Centre(go->hWnd());
    headless->MoveMouse(centre.x, centre.y);
    headless->PressMouse();
    headless->ReleaseMouse();
    window::DoEvents();
    EXPECT_EQ(clicks, 2);
}

TEST_F(ButtonOnForm, ADisabledButtonLooksDisabled)
{
    // The caption is red when enabled and grey text when disabled.
    auto redPixels = [&] {
        const raster::Surface& surface = *window::WindowSurface(go->hWnd());
        int red = 0;
        for (int y = 0; y < surface.Height(); ++y)
            for (int x = 0; x < surface.Width(); ++x)
                red += surface.At(x, y) == 0xFF0000u;
        return red;
    };
    EXPECT_GT(redPixels(), 10);
    go->LetEnabled(false);
    EXPECT_EQ(redPixels(), 0);
    EXPECT_EQ(gxButtons_H::AccessKeyOf("取消退出(&E)"), 'E');
    EXPECT_EQ(gxButtons_H::AccessKeyOf("Fish && &Chips"), 'C');
    EXPECT_EQ(gxButtons_H::AccessKeyOf("A&&B"), 0);
}
