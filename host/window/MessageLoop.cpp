// The message queue, dispatching with default processing, and the loops that run it.

#include "host/window/WindowSystemInternal.h"

namespace korvane::window {

namespace {

// One round of work without waiting; false when there was nothing to do. Input is
// routed only once the messages before it are handled, so that a press that takes
// the capture decides where the next move goes, as it does on a display.
bool ProcessPending()
{
    bool worked = false;
    for (;;) {
        if (!State().queue.empty()) {
            MSG msg = State().queue.front();
            State().queue.pop_front();
            if (msg.message == WM_QUIT) {
                State().quit = true;
                State().exitCode = static_cast<int>(msg.wParam);
                return true;
            }
            Dispatch(msg);
            worked = true;
            continue;
        }
        if (std::optional<backends::InputEvent> event = CurrentBackend().PollEvent()) {
            Route(*event);
            worked = true;
            continue;
        }
        break;
    }
    // Timers and paints come after input, as WM_TIMER and WM_PAINT do on Windows.
    worked |= FireDueTimers();
    worked |= DeliverPaints();
    return worked;
}

} // namespace

void PostToWindow(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    State().queue.push_back(MSG { hwnd, message, wParam, lParam, static_cast<DWORD>(CurrentBackend().Now()), {} });
}

void DefaultProcessing(const MSG& msg)
{
    switch (msg.message) {
    case WM_CLOSE: DestroyWindow(msg.hwnd); break;
    case WM_KEYDOWN:
        if (msg.wParam == VK_TAB) {
            MoveFocusByTab(State().focus ? State().focus : msg.hwnd, !(State().modifiers & backends::ModShift));
        } else if (Find(msg.hwnd) && !GetParent(msg.hwnd)) {
            // Arrows that reach a form (no control took them) move the focus along the tab order.
            HWND from = State().focus ? State().focus : msg.hwnd;
            if (msg.wParam == VK_DOWN || msg.wParam == VK_RIGHT)
                MoveFocusByTab(from, true);
            else if (msg.wParam == VK_UP || msg.wParam == VK_LEFT)
                MoveFocusByTab(from, false);
        }
        break;
    case WM_TIMER:
        if (msg.lParam)
            reinterpret_cast<TIMERPROC>(msg.lParam)(msg.hwnd, WM_TIMER, msg.wParam, msg.time);
        break;
    default: break;
    }
}

void Dispatch(const MSG& msg)
{
    if (!Find(msg.hwnd))
        return;
    // A timer with a callback calls it instead of the window's handler, as DispatchMessage does.
    if (msg.message == WM_TIMER && msg.lParam) {
        DefaultProcessing(msg);
        return;
    }
    if (!Deliver(msg.hwnd, msg.message, msg.wParam, msg.lParam))
        DefaultProcessing(msg);
}

void DoEvents()
{
    while (!State().quit && ProcessPending()) {
    }
    PresentAll();
}

int RunMessageLoop()
{
    while (!State().quit && !State().topLevels.empty()) {
        if (ProcessPending())
            continue;
        PresentAll();
        if (!CurrentBackend().WaitForEvent(NextTimerDue()))
            break;
    }
    PresentAll();
    return State().exitCode;
}

bool RunModalLoop(const std::function<bool()>& finished)
{
    while (!finished()) {
        if (State().quit)
            break;
        if (ProcessPending())
            continue;
        PresentAll();
        if (finished())
            break;
        if (!CurrentBackend().WaitForEvent(NextTimerDue()))
            return false;
    }
    return true;
}

} // namespace korvane::window

using namespace korvane;
using namespace korvane::window;

BOOL PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!Find(hwnd))
        return FALSE;
    PostToWindow(hwnd, message, wParam, lParam);
    return TRUE;
}

LRESULT SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!Find(hwnd))
        return 0;
    if (std::optional<LRESULT> result = Deliver(hwnd, message, wParam, lParam))
        return *result;
    DefaultProcessing(MSG { hwnd, message, wParam, lParam, static_cast<DWORD>(CurrentBackend().Now()), {} });
    return 0;
}

void PostQuitMessage(int exitCode)
{
    State().queue.push_back(MSG { nullptr, WM_QUIT, static_cast<WPARAM>(exitCode), 0, 0, {} });
}
