#include "host/window/WindowSystem.h"

#include "host/backends/headless/HeadlessBackend.h"
#include "host/gdi/Gdi.h"
#include "host/gdi/GdiInternal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace korvane;
using korvane::backends::HeadlessBackend;
using korvane::window::WindowCreateInfo;

namespace {

struct Received {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// Records every message; answers none, so default processing still happens.
class Recorder : public window::WindowHandler {
public:
    std::optional<LRESULT> HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override
    {
        log.push_back({hwnd, message, wParam, lParam});
        return std::nullopt;
    }
    std::vector<Received> Of(UINT message) const
    {
        std::vector<Received> found;
        for (const Received& r : log)
            if (r.message == message)
                found.push_back(r);
        return found;
    }
    std::vector<Received> log;
};

class WindowSystem : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto backend = std::make_unique<HeadlessBackend>(800, 600);
        headless = backend.get();
        window::UseBackend(std::move(backend));
        gdiObjects = gdi::LiveObjectCount();
    }
    void TearDown() override
    {
        window::ResetWindowSystem();
        EXPECT_EQ(window::LiveWindowCount(), 0u);
        EXPECT_EQ(gdi::LiveObjectCount(), gdiObjects);
    }

    HWND Make(HWND parent, raster::IntRect rect, bool tabStop = false)
    {
        WindowCreateInfo info;
        info.parent = parent;
        info.rect = rect;
        info.handler = &recorder;
        info.tabStop = tabStop;
        return window::CreateHostWindow(info);
    }

    void Fill(HWND hwnd, COLORREF colour)
    {
        HDC dc = window::GetWindowDC(hwnd);
        RECT rect;
        GetClientRect(hwnd, &rect);
        HBRUSH brush = CreateSolidBrush(colour);
        FillRect(dc, &rect, brush);
        DeleteObject(brush);
        ReleaseDC(hwnd, dc);
    }

    HeadlessBackend* headless = nullptr;
    Recorder recorder;
    std::size_t gdiObjects = 0;
};

} // namespace

TEST_F(WindowSystem, HitTestingFollowsZOrderRegionsAndVisibility)
{
    HWND form = Make(nullptr, {100, 100, 400, 300});
    HWND back = Make(form, {10, 10, 110, 60});
    HWND front = Make(form, {50, 10, 150, 60}); // created later, so on top
    EXPECT_EQ(WindowFromPoint({100 + 60, 100 + 20}), front);
    EXPECT_EQ(WindowFromPoint({100 + 20, 100 + 20}), back);
    EXPECT_EQ(WindowFromPoint({100 + 250, 100 + 150}), form);
    EXPECT_EQ(WindowFromPoint({50, 50}), nullptr);

    // A region cuts the front window down to its left half: the back window shows through.
    ASSERT_EQ(SetWindowRgn(front, CreateRectRgn(0, 0, 30, 50), FALSE), 1);
    EXPECT_EQ(WindowFromPoint({100 + 100, 100 + 20}), back);
    EXPECT_EQ(WindowFromPoint({100 + 60, 100 + 20}), front);

    HRGN copy = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(front, copy), SIMPLEREGION);
    RECT box;
    GetRgnBox(copy, &box);
    EXPECT_EQ(box.right, 30);
    DeleteObject(copy);

    SetWindowPos(back, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(WindowFromPoint({100 + 60, 100 + 20}), back);
    ShowWindow(back, SW_HIDE);
    EXPECT_EQ(WindowFromPoint({100 + 60, 100 + 20}), front);
    EnableWindow(front, FALSE);
    EXPECT_EQ(WindowFromPoint({100 + 60, 100 + 20}), form);
}

TEST_F(WindowSystem, PointerLeavingTheProgramFindsNoWindow)
{
    HWND form = Make(nullptr, {0, 0, 200, 200});
    headless->MoveMouse(20, 20);
    window::DoEvents();
    POINT cursor;
    GetCursorPos(&cursor);
    EXPECT_EQ(WindowFromPoint(cursor), form);
    headless->LeaveWindows();
    window::DoEvents();
    GetCursorPos(&cursor);
    EXPECT_EQ(WindowFromPoint(cursor), nullptr);
}

TEST_F(WindowSystem, MouseGoesToTheWindowUnderThePointerOrToTheCapture)
{
    HWND form = Make(nullptr, {100, 100, 400, 300});
    HWND button = Make(form, {20, 30, 120, 60});
    headless->MoveMouse(100 + 25, 100 + 35);
    headless->PressMouse();
    window::DoEvents();
    auto downs = recorder.Of(WM_LBUTTONDOWN);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].hwnd, button);
    EXPECT_EQ(GET_X_LPARAM(downs[0].lParam), 5);
    EXPECT_EQ(GET_Y_LPARAM(downs[0].lParam), 5);
    EXPECT_TRUE(downs[0].wParam & MK_LBUTTON);

    SetCapture(button);
    headless->MoveMouse(100 + 200, 100 + 150); // over the form, but captured
    headless->ReleaseMouse();
    window::DoEvents();
    auto ups = recorder.Of(WM_LBUTTONUP);
    ASSERT_EQ(ups.size(), 1u);
    EXPECT_EQ(ups[0].hwnd, button);
    EXPECT_EQ(GET_X_LPARAM(ups[0].lParam), 180);
    ReleaseCapture();
    EXPECT_EQ(recorder.Of(WM_CAPTURECHANGED).size(), 1u);

    // A second press soon after at the same place is a double-click.
    headless->MoveMouse(100 + 25, 100 + 35);
    headless->PressMouse();
    headless->ReleaseMouse();
    headless->PressMouse();
    headless->ReleaseMouse();
    window::DoEvents();
    EXPECT_EQ(recorder.Of(WM_LBUTTONDBLCLK).size(), 1u);
    EXPECT_EQ(recorder.Of(WM_LBUTTONDOWN).size(), 2u);

    // Disabled windows get no input.
    recorder.log.clear();
    EnableWindow(button, FALSE);
    headless->PressMouse();
    window::DoEvents();
    EXPECT_TRUE(recorder.Of(WM_LBUTTONDOWN).empty() || recorder.Of(WM_LBUTTONDOWN)[0].hwnd != button);
}

namespace {
std::vector<DWORD> g_fired;
void CountingTimer(HWND, UINT, UINT_PTR, DWORD time) { g_fired.push_back(time); }
void KillingTimer(HWND hwnd, UINT, UINT_PTR id, DWORD time)
{
    g_fired.push_back(time);
    KillTimer(hwnd, id);
}
} // namespace

TEST_F(WindowSystem, TimersFireOncePerIntervalOnTheVirtualClock)
{
    g_fired.clear();
    HWND form = Make(nullptr, {0, 0, 100, 100});
    SetTimer(form, 237, 50, CountingTimer);
    window::AdvanceClock(49);
    EXPECT_TRUE(g_fired.empty());
    window::AdvanceClock(1);
    EXPECT_EQ(g_fired, std::vector<DWORD>({50}));
    window::AdvanceClock(200);
    EXPECT_EQ(g_fired, std::vector<DWORD>({50, 100, 150, 200, 250}));
    EXPECT_TRUE(KillTimer(form, 237));
    window::AdvanceClock(500);
    EXPECT_EQ(g_fired.size(), 5u);
    EXPECT_FALSE(KillTimer(form, 237));

    // A callback may kill its own timer; a timer without one posts WM_TIMER.
    SetTimer(form, 1, 10, KillingTimer);
    SetTimer(form, 2, 30, nullptr);
    window::AdvanceClock(100);
    EXPECT_EQ(g_fired.size(), 6u);
    EXPECT_EQ(recorder.Of(WM_TIMER).size(), 3u);
    DestroyWindow(form); // its timers die with it
    window::AdvanceClock(100);
    EXPECT_EQ(recorder.Of(WM_TIMER).size(), 3u);
}

TEST_F(WindowSystem, PropertiesLiveAndDieWithTheirWindow)
{
    HWND form = Make(nullptr, {0, 0, 100, 100});
    HWND child = Make(form, {0, 0, 10, 10});
    int object = 0;
    EXPECT_TRUE(SetPropA(form, "gx_OptCount", reinterpret_cast<HANDLE>(2)));
    EXPECT_TRUE(SetPropA(child, "gx_ClassID", &object));
    EXPECT_EQ(GetPropA(form, "gx_OptCount"), reinterpret_cast<HANDLE>(2));
    EXPECT_EQ(GetPropA(child, "gx_ClassID"), &object);
    EXPECT_EQ(GetPropA(form, "gx_ClassID"), nullptr);
    EXPECT_EQ(RemovePropA(form, "gx_OptCount"), reinterpret_cast<HANDLE>(2));
    EXPECT_EQ(GetPropA(form, "gx_OptCount"), nullptr);
    DestroyWindow(form);
    EXPECT_FALSE(IsWindow(child));
    EXPECT_EQ(GetPropA(child, "gx_ClassID"), nullptr);
    EXPECT_FALSE(SetPropA(child, "x", nullptr));
}

TEST_F(WindowSystem, FocusFollowsTabOrderAndArrowsPostedToTheForm)
{
    HWND form = Make(nullptr, {0, 0, 300, 300});
    HWND first = Make(form, {0, 0, 10, 10}, true);
    HWND third = Make(form, {0, 20, 10, 30}, true);
    HWND second = Make(form, {0, 40, 10, 50}, true);
    HWND label = Make(form, {0, 60, 10, 70}, false);
    window::SetTabOrder(first, 0, true);
    window::SetTabOrder(second, 1, true);
    window::SetTabOrder(third, 2, true);
    window::SetTabOrder(label, 3, false);

    SetFocus(first);
    PostMessageA(form, WM_KEYDOWN, VK_DOWN, 0);
    window::DoEvents();
    EXPECT_EQ(GetFocus(), second);
    PostMessageA(form, WM_KEYDOWN, VK_RIGHT, 0);
    window::DoEvents();
    EXPECT_EQ(GetFocus(), third);
    PostMessageA(form, WM_KEYDOWN, VK_DOWN, 0); // wraps round
    window::DoEvents();
    EXPECT_EQ(GetFocus(), first);
    PostMessageA(form, WM_KEYDOWN, VK_UP, 0);
    window::DoEvents();
    EXPECT_EQ(GetFocus(), third);

    // Disabled stops are skipped; Tab and Shift+Tab from the keyboard move too.
    EnableWindow(first, FALSE);
    headless->TypeKey(VK_TAB);
    window::DoEvents();
    EXPECT_EQ(GetFocus(), second);
    headless->TypeKey(VK_TAB, backends::ModShift);
    window::DoEvents();
    EXPECT_EQ(GetFocus(), third);

    auto kills = recorder.Of(WM_KILLFOCUS);
    auto sets = recorder.Of(WM_SETFOCUS);
    EXPECT_EQ(sets.back().hwnd, third);
    EXPECT_EQ(kills.back().hwnd, second);

    // Hiding the focused window leaves the focus on the form.
    ShowWindow(third, SW_HIDE);
    EXPECT_EQ(GetFocus(), form);
}

TEST_F(WindowSystem, FramesShowChildrenClippedToTheirRegions)
{
    HWND form = Make(nullptr, {0, 0, 40, 20});
    HWND child = Make(form, {10, 5, 30, 15});
    Fill(form, RGB(0, 0, 255));
    Fill(child, RGB(255, 0, 0));
    SetWindowRgn(child, CreateEllipticRgn(0, 0, 20, 10), FALSE);
    window::DoEvents();
    const raster::Surface* frame = headless->Frame(form);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->At(20, 10), 0xFF0000u);  // inside the child's ellipse
    EXPECT_EQ(frame->At(10, 5), 0x0000FFu);   // its corner shows the form
    EXPECT_EQ(frame->At(5, 10), 0x0000FFu);
    raster::Surface screen = window::ComposeScreen();
    EXPECT_EQ(screen.At(20, 10), 0xFF0000u);
    EXPECT_EQ(screen.At(100, 100), 0x3A6EA5u); // the desktop
}

// A repaint presents only the changed window's rectangle; what it covers and what
// lies in front of it must come out as a whole composition would draw them.
TEST_F(WindowSystem, PresentingOneChildKeepsTheRestOfTheFrameAndTheZOrder)
{
    HWND form = Make(nullptr, {0, 0, 60, 30});
    HWND behind = Make(form, {5, 0, 35, 30});
    HWND cover = Make(form, {10, 5, 30, 25});
    HWND front = Make(form, {12, 8, 18, 12});
    Fill(form, RGB(0, 0, 255));
    Fill(behind, RGB(0, 255, 0));
    Fill(cover, RGB(255, 0, 0));
    Fill(front, RGB(255, 255, 255));
    window::DoEvents();

    Fill(cover, RGB(128, 0, 0));
    Fill(behind, RGB(0, 128, 0)); // changed but not presented: stays as shown
    UpdateWindow(cover);
    const raster::Surface* frame = headless->Frame(form);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->At(15, 10), 0xFFFFFFu); // the child in front still shows
    EXPECT_EQ(frame->At(20, 20), 0x800000u);
    EXPECT_EQ(frame->At(7, 2), 0x00FF00u);
    EXPECT_EQ(frame->At(2, 2), 0x0000FFu);

    UpdateWindow(form);
    raster::Surface whole = window::ComposeTopLevel(form);
    frame = headless->Frame(form);
    ASSERT_EQ(frame->Width(), whole.Width());
    EXPECT_TRUE(std::equal(whole.Pixels().begin(), whole.Pixels().end(), frame->Pixels().begin()));
    EXPECT_EQ(frame->At(7, 2), 0x008000u);
}

TEST_F(WindowSystem, ModalLoopsNestAndGiveUpWithoutInput)
{
    HWND form = Make(nullptr, {0, 0, 100, 100});
    int depth = 0;
    bool innerDone = false;
    bool outerDone = false;
    headless->SetIdleHook([&] {
        // The script: end the inner loop first, then the outer one.
        if (!innerDone && depth == 2) {
            innerDone = true;
            PostMessageA(form, WM_USER, 0, 0);
            return true;
        }
        if (innerDone && !outerDone) {
            outerDone = true;
            return true;
        }
        return false;
    });
    bool outer = window::RunModalLoop([&] {
        if (depth == 0) {
            depth = 1;
            depth = 2;
            EXPECT_TRUE(window::RunModalLoop([&] { return innerDone && !recorder.Of(WM_USER).empty(); }));
            depth = 1;
        }
        return outerDone;
    });
    EXPECT_TRUE(outer);
    headless->SetIdleHook(nullptr);
    EXPECT_FALSE(window::RunModalLoop([] { return false; }));
}

TEST_F(WindowSystem, TheLoopEndsWhenTheLastWindowGoes)
{
    HWND form = Make(nullptr, {0, 0, 100, 100});
    headless->RequestClose(form);
    EXPECT_EQ(window::RunMessageLoop(), 0);
    EXPECT_FALSE(IsWindow(form));
    EXPECT_EQ(recorder.Of(WM_DESTROY).size(), 1u);
}
