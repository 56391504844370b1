#include "host/window/WindowSystem.h"

#include "host/backends/headless/HeadlessBackend.h"
#include "host/gdi/Gdi.h"
#include "host/gdi/GdiInternal.h"
#include "tests/support/GoldenImage.h"
#include "tests/support/MessageRecorder.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>
#include <vector>

using namespace korvane;
using korvane::testing::MatchesGolden;
using korvane::testing::FillWindow;
using korvane::testing::Recorder;

namespace {

class WindowSystem : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto backend = std::make_unique<backends::HeadlessBackend>(800, 600);
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
        return window::CreateHostWindow({ .parent = parent, .rect = rect, .title = {}, .tabStop = tabStop, .handler = &recorder });
    }

    void ClickAt(int x, int y)
    {
        headless->MoveMouse(x, y);
        headless->PressMouse();
        headless->ReleaseMouse();
        window::DoEvents();
    }

    backends::HeadlessBackend* headless = nullptr;
    Recorder recorder;
    std::size_t gdiObjects = 0;
};

std::vector<DWORD> g_fired;
void CountingTimer(HWND, UINT, UINT_PTR, DWORD time) { g_fired.push_back(time); }
void KillingTimer(HWND hwnd, UINT, UINT_PTR id, DWORD time)
{
    g_fired.push_back(time);
    KillTimer(hwnd, id);
}

} // namespace

TEST(WindowSystemDeathTest, WithoutABackendItStopsAndNamesTheFix)
{
    EXPECT_DEATH(window::CreateHostWindow({}), "call window::UseBackend\\(\\) first");
}

TEST_F(WindowSystem, HitTestingFollowsZOrderRegionsAndVisibility)
{
    HWND form = Make(nullptr, { 100, 100, 400, 300 });
    HWND back = Make(form, { 10, 10, 110, 60 });
    HWND front = Make(form, { 50, 10, 150, 60 }); // created later, so on top
    auto expectAt = [](std::initializer_list<std::pair<POINT, HWND>> probes) {
        for (auto [point, hwnd] : probes)
            EXPECT_EQ(WindowFromPoint(point), hwnd) << point.x << "," << point.y;
    };
    expectAt({ { { 160, 120 }, front }, { { 120, 120 }, back }, { { 350, 250 }, form }, { { 50, 50 }, nullptr } });

    // A region cuts the front window down to its left part: the back window shows through.
    ASSERT_EQ(SetWindowRgn(front, CreateRectRgn(0, 0, 30, 50), FALSE), 1);
    expectAt({ { { 200, 120 }, back }, { { 160, 120 }, front } });
    HRGN copy = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(front, copy), SIMPLEREGION);
    RECT box;
    GetRgnBox(copy, &box);
    EXPECT_EQ(box.right, 30);
    DeleteObject(copy);

    SetWindowPos(back, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    expectAt({ { { 160, 120 }, back } });
    ShowWindow(back, SW_HIDE);
    expectAt({ { { 160, 120 }, front } });
    EnableWindow(front, FALSE);
    expectAt({ { { 160, 120 }, form } });

    // The pointer's own position finds the window under it until the pointer leaves the program.
    for (HWND under : { form, HWND {} }) {
        under ? headless->MoveMouse(350, 250) : headless->LeaveWindows();
        window::DoEvents();
        POINT cursor;
        GetCursorPos(&cursor);
        EXPECT_EQ(WindowFromPoint(cursor), under);
    }
}

TEST_F(WindowSystem, MouseGoesToTheWindowUnderThePointerOrToTheCapture)
{
    HWND form = Make(nullptr, { 100, 100, 400, 300 });
    HWND button = Make(form, { 20, 30, 120, 60 });
    headless->MoveMouse(125, 135);
    headless->PressMouse();
    window::DoEvents();
    ASSERT_EQ(recorder.Of(WM_LBUTTONDOWN).size(), 1u);
    MSG down = recorder.Of(WM_LBUTTONDOWN)[0];
    EXPECT_EQ(std::tuple(down.hwnd, down.lParam, down.wParam & MK_LBUTTON), std::tuple(button, MAKELPARAM(5, 5), WPARAM { MK_LBUTTON }));

    SetCapture(button);
    headless->MoveMouse(300, 250); // over the form, but captured
    headless->ReleaseMouse();
    window::DoEvents();
    ASSERT_EQ(recorder.Of(WM_LBUTTONUP).size(), 1u);
    EXPECT_EQ(std::pair(recorder.Of(WM_LBUTTONUP)[0].hwnd, recorder.Of(WM_LBUTTONUP)[0].lParam), std::pair(button, MAKELPARAM(180, 120)));
    ReleaseCapture();
    EXPECT_EQ(recorder.Of(WM_CAPTURECHANGED).size(), 1u);

    // A disabled control's press goes to its parent.
    recorder.log.clear();
    EnableWindow(button, FALSE);
    ClickAt(125, 135);
    ASSERT_EQ(recorder.Of(WM_LBUTTONDOWN).size(), 1u);
    EXPECT_EQ(recorder.Of(WM_LBUTTONDOWN)[0].hwnd, form);
}

TEST_F(WindowSystem, ASecondPressMakesADoubleClickOnlySoonAndNearEnough)
{
    const unsigned slowest = GetDoubleClickTime();
    const int farthest = GetSystemMetrics(SM_CXDOUBLECLK) / 2;
    struct Case {
        const char* name;
        unsigned pause; // ms between the presses
        int moved;      // pixels the pointer moves between them
        std::size_t presses, doubleClicks;
    } const cases[] = {
        { "quick and still", 100, 0, 2, 1 },
        { "at the limits of time and box", slowest, farthest, 2, 1 },
        { "too slow", slowest + 1, 0, 2, 0 },
        { "too far", 100, farthest + 1, 2, 0 },
        { "a third press starts a new pair", 100, 0, 3, 1 },
    };
    Make(nullptr, { 0, 0, 200, 200 });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        recorder.log.clear();
        window::AdvanceClock(1000); // forgets the previous case's presses
        ClickAt(50, 50);
        for (std::size_t press = 1; press < c.presses; ++press) {
            window::AdvanceClock(c.pause);
            ClickAt(50 + c.moved, 50);
        }
        EXPECT_EQ(recorder.Of(WM_LBUTTONDBLCLK).size(), c.doubleClicks);
        EXPECT_EQ(recorder.Of(WM_LBUTTONDOWN).size(), c.presses - c.doubleClicks);
    }
}

TEST_F(WindowSystem, KeysAndTextBecomeMessagesForTheFocus)
{
    HWND box = Make(Make(nullptr, { 0, 0, 100, 100 }), { 0, 0, 50, 20 }, true);
    SetFocus(box);
    struct Case {
        unsigned key, modifiers;
        UINT message;
        std::vector<WPARAM> characters;
    } const cases[] = {
        { 'A', 0, WM_KEYDOWN, {} }, // letters arrive as text
        { 'A', backends::ModControl, WM_KEYDOWN, { 1 } },
        { VK_RETURN, 0, WM_KEYDOWN, { '\r' } },
        { 'F', backends::ModAlt, WM_SYSKEYDOWN, {} },
    };
    for (const Case& c : cases) {
        recorder.log.clear();
        headless->TypeKey(c.key, c.modifiers);
        window::DoEvents();
        ASSERT_EQ(recorder.Of(c.message).size(), 1u) << c.key;
        EXPECT_EQ(recorder.Of(c.message)[0].hwnd, box);
        EXPECT_EQ(recorder.Characters(), c.characters) << c.key;
    }
    recorder.log.clear();
    headless->TypeText("a\xE4\xBD\xA0\xF0\x9F\x98\x80"); // a, U+4F60, U+1F600
    window::DoEvents();
    EXPECT_EQ(recorder.Characters(), (std::vector<WPARAM> { 'a', 0x4F60, 0x1F600 }));
}

TEST_F(WindowSystem, TimersFireOncePerIntervalOnTheVirtualClock)
{
    g_fired.clear();
    HWND form = Make(nullptr, { 0, 0, 100, 100 });
    SetTimer(form, 237, 50, CountingTimer);
    window::AdvanceClock(49);
    EXPECT_TRUE(g_fired.empty());
    window::AdvanceClock(201);
    EXPECT_EQ(g_fired, std::vector<DWORD>({ 50, 100, 150, 200, 250 }));
    EXPECT_TRUE(KillTimer(form, 237));
    window::AdvanceClock(500);
    EXPECT_EQ(g_fired.size(), 5u);
    EXPECT_FALSE(KillTimer(form, 237));

    // A callback may kill its own timer; a timer without one sends WM_TIMER.
    SetTimer(form, 1, 10, KillingTimer);
    SetTimer(form, 2, 30, nullptr);
    window::AdvanceClock(100);
    EXPECT_EQ(g_fired.size(), 6u);
    EXPECT_EQ(recorder.Of(WM_TIMER).size(), 3u);
    DestroyWindow(form); // its timers die with it
    window::AdvanceClock(100);
    EXPECT_EQ(recorder.Of(WM_TIMER).size(), 3u);

    // A loop kept busy past several intervals: the timer fires once, not once per
    // interval missed, and its next round is a whole interval later, not at once.
    g_fired.clear();
    SetTimer(Make(nullptr, { 0, 0, 100, 100 }), 1, 50, CountingTimer);
    DWORD late = static_cast<DWORD>(headless->Now() + 520);
    headless->SetNow(late);
    window::DoEvents();
    window::AdvanceClock(120);
    EXPECT_EQ(g_fired, std::vector<DWORD>({ late, late + 50, late + 100 }));
}

TEST_F(WindowSystem, PropertiesLiveAndDieWithTheirWindow)
{
    HWND form = Make(nullptr, { 0, 0, 100, 100 });
    HWND child = Make(form, { 0, 0, 10, 10 });
    int object = 0;
    EXPECT_TRUE(SetPropA(form, "gx_OptCount", reinterpret_cast<HANDLE>(2)) && SetPropA(child, "gx_ClassID", &object));
    EXPECT_EQ(RemovePropA(form, "gx_OptCount"), reinterpret_cast<HANDLE>(2));
    EXPECT_EQ(std::pair(GetPropA(form, "gx_OptCount"), GetPropA(child, "gx_ClassID")), std::pair(HANDLE {}, HANDLE { &object }));
    DestroyWindow(form);
    EXPECT_EQ(GetPropA(child, "gx_ClassID"), nullptr);
}

TEST_F(WindowSystem, FocusFollowsTabOrderAndArrowsPostedToTheForm)
{
    HWND form = Make(nullptr, { 0, 0, 300, 300 });
    HWND first = Make(form, { 0, 0, 10, 10 }, true);
    HWND third = Make(form, { 0, 20, 10, 30 }, true);
    HWND second = Make(form, { 0, 40, 10, 50 }, true);
    HWND label = Make(form, { 0, 60, 10, 70 });
    int tabIndex = 0;
    for (HWND hwnd : { first, second, third, label })
        window::SetTabOrder(hwnd, tabIndex++, hwnd != label);
    SetFocus(first);
    const std::pair<WPARAM, HWND> arrows[] = { { VK_DOWN, second }, { VK_RIGHT, third }, { VK_DOWN, first }, { VK_UP, third } };
    for (auto [key, expected] : arrows) {
        PostMessageA(form, WM_KEYDOWN, key, 0);
        window::DoEvents();
        EXPECT_EQ(GetFocus(), expected) << key;
    }

    // Disabled stops are skipped; Tab and Shift+Tab from the keyboard move too.
    EnableWindow(first, FALSE);
    for (auto [modifiers, expected] : { std::pair { 0u, second }, { unsigned { backends::ModShift }, third } }) {
        headless->TypeKey(VK_TAB, modifiers);
        window::DoEvents();
        EXPECT_EQ(GetFocus(), expected);
    }
    EXPECT_EQ(recorder.Of(WM_SETFOCUS).back().hwnd, third);
    EXPECT_EQ(recorder.Of(WM_KILLFOCUS).back().hwnd, second);

    // Hiding the focused window leaves the focus on the form.
    ShowWindow(third, SW_HIDE);
    EXPECT_EQ(GetFocus(), form);
}

TEST_F(WindowSystem, FramesShowChildrenClippedToTheirRegions)
{
    HWND form = Make(nullptr, { 0, 0, 40, 20 });
    HWND child = Make(form, { 10, 5, 30, 15 });
    FillWindow(form, RGB(0, 0, 255));
    FillWindow(child, RGB(255, 0, 0));
    SetWindowRgn(child, CreateEllipticRgn(0, 0, 20, 10), FALSE);
    window::DoEvents();
    ASSERT_NE(headless->Frame(form), nullptr);
    EXPECT_TRUE(MatchesGolden(*headless->Frame(form), "window/elliptic_child"));
    raster::Surface screen = window::ComposeScreen();
    EXPECT_EQ(screen.At(20, 10), 0xFF0000u);
    EXPECT_EQ(screen.At(100, 100), 0x3A6EA5u) << "the desktop";
}

// A repaint presents only the changed window's rectangle; what it covers and what
// lies in front of it must come out as a whole composition would draw them.
TEST_F(WindowSystem, PresentingOneChildKeepsTheRestOfTheFrameAndTheZOrder)
{
    HWND form = Make(nullptr, { 0, 0, 60, 30 });
    HWND behind = Make(form, { 5, 0, 35, 30 });
    HWND cover = Make(form, { 10, 5, 30, 25 });
    HWND front = Make(form, { 12, 8, 18, 12 });
    for (auto [hwnd, colour] : { std::pair { form, RGB(0, 0, 255) }, { behind, RGB(0, 255, 0) }, { cover, RGB(255, 0, 0) },
             { front, RGB(255, 255, 255) } })
        FillWindow(hwnd, colour);
    window::DoEvents();

    FillWindow(cover, RGB(128, 0, 0));
    FillWindow(behind, RGB(0, 128, 0)); // changed but not presented: stays as shown
    UpdateWindow(cover);
    ASSERT_NE(headless->Frame(form), nullptr);
    EXPECT_TRUE(MatchesGolden(*headless->Frame(form), "window/one_child_presented"));

    UpdateWindow(form);
    EXPECT_TRUE(korvane::testing::SamePixels(*headless->Frame(form), window::ComposeTopLevel(form)));
    EXPECT_EQ(headless->Frame(form)->At(7, 2), 0x008000u);
}

// A shaped child presented alone shows its parent, as it is now, where its shape
// leaves open: through one or two spans a row, and with a sibling behind reaching in.
TEST_F(WindowSystem, PresentingAShapedChildShowsWhatItsShapeLeavesOpen)
{
    for (auto [name, twoSpans, siblingBehind] :
        { std::tuple { "ellipse", false, false }, { "two spans", true, false }, { "sibling behind", false, true } }) {
        HWND form = Make(nullptr, { 0, 0, 40, 20 });
        HWND behind = siblingBehind ? Make(form, { 0, 0, 15, 20 }) : nullptr;
        HWND child = Make(form, { 10, 5, 30, 15 });
        HRGN shape = CreateEllipticRgn(0, 0, 20, 10);
        if (twoSpans) {
            HRGN left = CreateRectRgn(0, 2, 6, 8);
            HRGN right = CreateRectRgn(12, 0, 20, 7);
            CombineRgn(shape, left, right, RGN_OR);
            DeleteObject(left);
            DeleteObject(right);
        }
        SetWindowRgn(child, shape, FALSE);
        FillWindow(form, RGB(0, 0, 255));
        if (behind)
            FillWindow(behind, RGB(0, 255, 0));
        window::DoEvents();

        FillWindow(form, RGB(255, 255, 0)); // changed but not presented on its own
        if (behind)
            FillWindow(behind, RGB(0, 128, 0));
        FillWindow(child, RGB(255, 0, 0));
        UpdateWindow(child);
        const raster::Surface whole = window::ComposeTopLevel(form);
        for (int y = 5; y < 15; ++y)
            for (int x = 10; x < 30; ++x)
                ASSERT_EQ(headless->Frame(form)->At(x, y), whole.At(x, y)) << name << " at " << x << ", " << y;
        DestroyWindow(form);
    }
}

TEST_F(WindowSystem, ModalLoopsNest)
{
    HWND form = Make(nullptr, { 0, 0, 100, 100 });
    bool inner = false;
    bool innerEnding = false;
    bool outerDone = false;
    // The script: end the inner loop first, then the outer one.
    headless->SetIdleHook([&] {
        if (!std::exchange(innerEnding, true))
            return PostMessageA(form, WM_USER, 0, 0) == TRUE;
        return !std::exchange(outerDone, true);
    });
    EXPECT_TRUE(window::RunModalLoop([&] {
        if (!std::exchange(inner, true)) {
            EXPECT_TRUE(window::RunModalLoop([&] { return !recorder.Of(WM_USER).empty(); }));
        }
        return outerDone;
    }));
    headless->SetIdleHook(nullptr);
}

TEST_F(WindowSystem, TheLoopEndsWhenTheLastWindowGoes)
{
    HWND form = Make(nullptr, { 0, 0, 100, 100 });
    headless->RequestClose(form);
    EXPECT_EQ(window::RunMessageLoop(), 0);
    EXPECT_FALSE(IsWindow(form));
    EXPECT_EQ(recorder.Of(WM_DESTROY).size(), 1u);
}
