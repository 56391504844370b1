// The keyboard focus and the tab order that moves it.

#include "host/window/WindowSystemInternal.h"

#include <algorithm>

namespace korvane::window {

namespace {

// Depth first, each level by tab index; windows of equal index keep their creation order.
void CollectTabStops(const Window& window, std::vector<HWND>& stops)
{
    std::vector<Window*> children;
    for (HWND child : window.children)
        if (Window* found = Find(child))
            children.push_back(found);
    std::sort(children.begin(), children.end(), [](const Window* a, const Window* b) {
        return a->tabIndex != b->tabIndex ? a->tabIndex < b->tabIndex : a->creationOrder < b->creationOrder;
    });
    for (Window* child : children) {
        if (child->tabStop)
            stops.push_back(child->handle);
        CollectTabStops(*child, stops);
    }
}

// An input method composes text only for a window that takes it.
void UpdateTextInput()
{
    Window* focused = Find(State().focus);
    CurrentBackend().SetTextInput(focused && focused->wantsTextInput);
}

} // namespace

void MoveFocusAwayFrom(HWND hwnd)
{
    // Only when the focus is on the window or inside it; it then rests on the top-level
    // window, so the keyboard still reaches the form.
    for (HWND at = State().focus; at; at = GetParent(at)) {
        if (at != hwnd)
            continue;
        HWND old = State().focus;
        HWND top = TopLevelOf(hwnd);
        State().focus = (top == hwnd) ? nullptr : top;
        Deliver(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(State().focus), 0);
        if (State().focus)
            Deliver(State().focus, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
        UpdateTextInput();
        return;
    }
}

void MoveFocusByTab(HWND from, bool forward)
{
    if (HWND next = NextTabStop(from, forward))
        SetFocus(next);
}

void SetTabOrder(HWND hwnd, int tabIndex, bool tabStop)
{
    if (Window* window = Find(hwnd)) {
        window->tabIndex = tabIndex;
        window->tabStop = tabStop;
    }
}

HWND NextTabStop(HWND from, bool forward)
{
    Window* topWindow = Find(TopLevelOf(from));
    if (!topWindow)
        return nullptr;
    std::vector<HWND> stops;
    CollectTabStops(*topWindow, stops);
    // `from` stays in the list even when it cannot take input, to count from its place.
    std::erase_if(stops, [&](HWND hwnd) { return hwnd != from && !CanTakeInput(hwnd); });
    if (stops.empty())
        return nullptr;
    auto at = std::find(stops.begin(), stops.end(), from);
    std::ptrdiff_t count = static_cast<std::ptrdiff_t>(stops.size());
    std::ptrdiff_t index = at == stops.end() ? (forward ? -1 : count) : at - stops.begin();
    for (std::ptrdiff_t step = 1; step <= count; ++step) {
        HWND next = stops[static_cast<std::size_t>(((index + (forward ? step : -step)) % count + count) % count)];
        if (next != from || count == 1)
            return CanTakeInput(next) ? next : nullptr;
    }
    return nullptr;
}

} // namespace korvane::window

using namespace korvane;
using namespace korvane::window;

HWND SetFocus(HWND hwnd)
{
    HWND previous = State().focus;
    if (hwnd && !CanTakeInput(hwnd))
        return nullptr;
    if (hwnd == previous)
        return previous;
    State().focus = hwnd;
    if (previous)
        Deliver(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    // The losing window may have moved the focus elsewhere on WM_KILLFOCUS.
    if (hwnd && State().focus == hwnd)
        Deliver(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    UpdateTextInput();
    return previous;
}

HWND GetFocus() { return State().focus; }

HWND GetActiveWindow()
{
    if (State().focus)
        return TopLevelOf(State().focus);
    for (HWND top : State().topLevels)
        if (CanTakeInput(top))
            return top;
    return nullptr;
}
