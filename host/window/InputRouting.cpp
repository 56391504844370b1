// Input routing: the backend's events become window messages for the window under the
// pointer, the capture or the focus. Events are routed one round at a time (see the
// message loop), so a press that takes the capture decides where the next move goes.

#include "host/window/WindowSystemInternal.h"

#include "host/runtime/Utf8.h"

#include <cstdlib>

namespace korvane::window {

using backends::InputEvent;
using backends::MouseButton;

namespace {

WPARAM MouseKeyState()
{
    WPARAM state = State().buttonsDown;
    if (State().modifiers & backends::ModShift)
        state |= MK_SHIFT;
    if (State().modifiers & backends::ModControl)
        state |= MK_CONTROL;
    return state;
}

unsigned ButtonFlag(MouseButton button)
{
    switch (button) {
    case MouseButton::Left: return MK_LBUTTON;
    case MouseButton::Right: return MK_RBUTTON;
    case MouseButton::Middle: return MK_MBUTTON;
    }
    return 0;
}

enum class Press { Down, Up, DoubleClick }; // in the order of the WM_ messages of each button

UINT ButtonMessage(MouseButton button, Press press)
{
    UINT down = button == MouseButton::Left ? WM_LBUTTONDOWN : button == MouseButton::Right ? WM_RBUTTONDOWN : WM_MBUTTONDOWN;
    return down + static_cast<UINT>(press);
}

// A second press of the same button on the same window, soon enough and near enough to
// the first. The pair is then used up, so a third quick press starts a new pair.
bool CompletesDoubleClick(HWND target, MouseButton button, POINT screen)
{
    ClickMemory& last = State().lastClick;
    std::uint64_t now = CurrentBackend().Now();
    bool doubleClick = last.armed && last.window == target && last.button == button
        && now - last.time <= CurrentBackend().DoubleClickTime() && std::abs(last.at.x - screen.x) <= kDoubleClickBox / 2
        && std::abs(last.at.y - screen.y) <= kDoubleClickBox / 2;
    last = ClickMemory { target, button, now, screen, !doubleClick };
    return doubleClick;
}

void RouteMouse(const InputEvent& event)
{
    Window* top = Find(event.window);
    if (!top)
        return;
    State().modifiers = event.modifiers;
    POINT screen { top->rect.left + event.x, top->rect.top + event.y };
    HWND target = State().capture ? State().capture : HitTestScreen(screen);
    if (event.kind == InputEvent::Kind::MouseMove && target != State().hovered) {
        State().hovered = target;
        ApplyCursor(target);
    }
    // The window holding the capture asked for every event until it lets go, so it gets
    // them even where it could not take input by itself.
    if (!target || (!State().capture && !CanTakeInput(target)))
        return;
    POINT origin = ClientOriginOnScreen(*Find(target));
    LPARAM position = MAKELPARAM(screen.x - origin.x, screen.y - origin.y);
    switch (event.kind) {
    case InputEvent::Kind::MouseMove:
        PostToWindow(target, WM_MOUSEMOVE, MouseKeyState(), position);
        break;
    case InputEvent::Kind::MouseDown: {
        State().buttonsDown |= ButtonFlag(event.button);
        Press press = CompletesDoubleClick(target, event.button, screen) ? Press::DoubleClick : Press::Down;
        PostToWindow(target, ButtonMessage(event.button, press), MouseKeyState(), position);
        break;
    }
    case InputEvent::Kind::MouseUp:
        State().buttonsDown &= ~ButtonFlag(event.button);
        PostToWindow(target, ButtonMessage(event.button, Press::Up), MouseKeyState(), position);
        break;
    default: break;
    }
}

// The characters of keys that send no text event, as TranslateMessage makes them.
unsigned CharacterOfKey(unsigned virtualKey, unsigned modifiers)
{
    switch (virtualKey) {
    case VK_RETURN: return '\r';
    case VK_BACK: return '\b';
    case VK_ESCAPE: return 0x1B;
    case VK_TAB: return '\t';
    default:
        // Ctrl+A .. Ctrl+Z are the control characters 1 .. 26.
        if ((modifiers & backends::ModControl) && virtualKey >= 'A' && virtualKey <= 'Z')
            return virtualKey - 'A' + 1;
        return 0;
    }
}

void RouteKey(const InputEvent& event)
{
    State().modifiers = event.modifiers;
    // Keys go to the window the event came from when nothing has the focus, so a form
    // without a focusable control still hears them.
    HWND target = State().focus ? State().focus : event.window;
    if (!target || !CanTakeInput(target))
        return;
    bool down = event.kind == InputEvent::Kind::KeyDown;
    // With Alt held keys are system keys (menus, mnemonics) and make no characters.
    bool alt = event.modifiers & backends::ModAlt;
    UINT message = down ? (alt ? WM_SYSKEYDOWN : WM_KEYDOWN) : (alt ? WM_SYSKEYUP : WM_KEYUP);
    PostToWindow(target, message, event.virtualKey, 1);
    if (!down || alt)
        return;
    if (unsigned character = CharacterOfKey(event.virtualKey, event.modifiers))
        PostToWindow(target, WM_CHAR, character, 1);
}

void RouteText(const InputEvent& event)
{
    HWND target = State().focus;
    if (!target || !CanTakeInput(target))
        return;
    // One WM_CHAR per code point; wParam carries the code point.
    for (std::size_t offset = 0; offset < event.text.size();)
        PostToWindow(target, WM_CHAR, host::DecodeUtf8(event.text, offset), 1);
}

} // namespace

void Route(const InputEvent& event)
{
    switch (event.kind) {
    case InputEvent::Kind::MouseMove:
    case InputEvent::Kind::MouseDown:
    case InputEvent::Kind::MouseUp: RouteMouse(event); break;
    case InputEvent::Kind::MouseLeave: State().hovered = nullptr; break;
    case InputEvent::Kind::KeyDown:
    case InputEvent::Kind::KeyUp: RouteKey(event); break;
    case InputEvent::Kind::Text: RouteText(event); break;
    case InputEvent::Kind::Close:
        if (CanTakeInput(event.window))
            PostToWindow(event.window, WM_CLOSE, 0, 0);
        break;
    }
}

unsigned CurrentModifiers() { return State().modifiers; }

} // namespace korvane::window

using namespace korvane;
using namespace korvane::window;

HWND SetCapture(HWND hwnd)
{
    HWND previous = State().capture;
    if (!Find(hwnd))
        return previous;
    State().capture = hwnd;
    if (previous && previous != hwnd)
        Deliver(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
    return previous;
}

BOOL ReleaseCapture()
{
    HWND previous = State().capture;
    State().capture = nullptr;
    if (previous)
        Deliver(previous, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND GetCapture() { return State().capture; }

UINT GetDoubleClickTime() { return CurrentBackend().DoubleClickTime(); }
