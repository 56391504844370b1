// The window table: creating and destroying windows, the backend they are shown on,
// and what a window keeps (text, properties, visibility, enabled state).

#include "host/window/WindowSystemInternal.h"

#include "host/gdi/GdiRaster.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace korvane::window {

SystemState& State()
{
    static SystemState state;
    return state;
}

Window* Find(HWND hwnd)
{
    auto it = State().windows.find(hwnd);
    return it == State().windows.end() ? nullptr : it->second.get();
}

std::optional<LRESULT> Deliver(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window* window = Find(hwnd);
    if (!window || !window->handler)
        return std::nullopt;
    return window->handler->HandleMessage(hwnd, message, wParam, lParam);
}

void UseBackend(std::unique_ptr<backends::Backend> backend) { State().backend = std::move(backend); }

backends::Backend& CurrentBackend()
{
    // Checked in every build: without it the first window would be a null dereference.
    if (!State().backend) {
        std::fputs("no backend: call window::UseBackend() first\n", stderr);
        std::abort();
    }
    return *State().backend;
}

void ResetWindowSystem()
{
    for (HWND top : std::vector<HWND>(State().topLevels))
        DestroyWindow(top);
    SystemState fresh;
    // Handles are never issued twice, so one kept from before the reset finds nothing.
    fresh.nextHandle = State().nextHandle;
    fresh.creations = State().creations;
    State() = std::move(fresh);
}

HWND CreateHostWindow(const WindowCreateInfo& info)
{
    Window* parent = Find(info.parent);
    if (info.parent && !parent)
        return nullptr;
    auto window = std::make_unique<Window>();
    HWND hwnd = reinterpret_cast<HWND>(State().nextHandle);
    State().nextHandle += 4;
    window->handle = hwnd;
    window->parent = info.parent;
    window->rect = info.rect;
    window->title = info.title;
    window->visible = info.visible;
    window->enabled = info.enabled;
    window->tabStop = info.tabStop;
    window->handler = info.handler;
    window->cursor = info.cursor;
    window->wantsTextInput = info.wantsTextInput;
    window->creationOrder = ++State().creations;
    ResizeSurface(*window);
    State().windows.emplace(hwnd, std::move(window));
    if (parent) {
        parent->children.insert(parent->children.begin(), hwnd);
    } else {
        State().topLevels.insert(State().topLevels.begin(), hwnd);
        CurrentBackend().CreateTopLevel(hwnd, backends::TopLevelInfo { info.title, info.rect, info.visible, info.owner });
    }
    Deliver(hwnd, WM_CREATE, 0, 0);
    return hwnd;
}

void SetWindowHandler(HWND hwnd, WindowHandler* handler)
{
    if (Window* window = Find(hwnd))
        window->handler = handler;
}

std::size_t LiveWindowCount() { return State().windows.size(); }

std::vector<HWND> TopLevelWindows() { return State().topLevels; }

HWND TopLevelOf(HWND hwnd)
{
    Window* window = Find(hwnd);
    while (window && window->parent)
        window = Find(window->parent);
    return window ? window->handle : nullptr;
}

bool CanTakeInput(HWND hwnd)
{
    Window* window = Find(hwnd);
    if (!window)
        return false;
    for (; window; window = Find(window->parent))
        if (!window->visible || !window->enabled)
            return false;
    return true;
}

std::shared_ptr<raster::Surface> WindowSurface(HWND hwnd)
{
    Window* window = Find(hwnd);
    return window ? window->surface : nullptr;
}

HDC GetWindowDC(HWND hwnd)
{
    Window* window = Find(hwnd);
    return window ? gdi::CreateSurfaceDC(window->surface) : nullptr;
}

void SetWindowIcon(HWND hwnd, const raster::Surface& icon)
{
    if (Find(hwnd) && !GetParent(hwnd))
        CurrentBackend().SetIcon(hwnd, icon);
}

} // namespace korvane::window

using namespace korvane;
using namespace korvane::window;

BOOL IsWindow(HWND hwnd) { return Find(hwnd) != nullptr; }

HWND GetParent(HWND hwnd)
{
    Window* window = Find(hwnd);
    return window ? window->parent : nullptr;
}

BOOL DestroyWindow(HWND hwnd)
{
    Window* window = Find(hwnd);
    if (!window)
        return FALSE;
    for (HWND child : std::vector<HWND>(window->children))
        DestroyWindow(child);
    MoveFocusAwayFrom(hwnd);
    if (State().capture == hwnd)
        ReleaseCapture();
    if (State().hovered == hwnd)
        State().hovered = nullptr;
    Deliver(hwnd, WM_DESTROY, 0, 0);
    std::erase_if(State().timers, [&](const Timer& timer) { return timer.window == hwnd; });
    std::erase_if(State().queue, [&](const MSG& msg) { return msg.hwnd == hwnd; });
    HWND parent = window->parent;
    if (parent) {
        if (Window* parentWindow = Find(parent))
            std::erase(parentWindow->children, hwnd);
    } else {
        std::erase(State().topLevels, hwnd);
        // The backend may hold the frame, so it lets go of the window first.
        CurrentBackend().DestroyTopLevel(hwnd);
        State().frames.erase(hwnd);
    }
    State().windows.erase(hwnd);
    if (parent)
        PresentWindow(TopLevelOf(parent));
    return TRUE;
}

BOOL IsWindowVisible(HWND hwnd)
{
    Window* window = Find(hwnd);
    if (!window)
        return FALSE;
    for (; window; window = Find(window->parent))
        if (!window->visible)
            return FALSE;
    return TRUE;
}

BOOL ShowWindow(HWND hwnd, int command)
{
    Window* window = Find(hwnd);
    if (!window)
        return FALSE;
    BOOL wasVisible = window->visible;
    bool visible = command != SW_HIDE;
    if (visible == window->visible)
        return wasVisible;
    window->visible = visible;
    if (!visible)
        MoveFocusAwayFrom(hwnd);
    if (!window->parent) {
        CurrentBackend().ShowTopLevel(hwnd, visible);
        // A top-level window that appears comes to the front.
        if (visible) {
            std::erase(State().topLevels, hwnd);
            State().topLevels.insert(State().topLevels.begin(), hwnd);
        }
    }
    Deliver(hwnd, WM_SHOWWINDOW, visible, 0);
    PresentWindow(window->parent ? TopLevelOf(hwnd) : hwnd);
    return wasVisible;
}

BOOL IsWindowEnabled(HWND hwnd)
{
    Window* window = Find(hwnd);
    return window && window->enabled;
}

BOOL EnableWindow(HWND hwnd, BOOL enable)
{
    Window* window = Find(hwnd);
    if (!window)
        return FALSE;
    BOOL wasDisabled = !window->enabled;
    if (window->enabled == static_cast<bool>(enable))
        return wasDisabled;
    window->enabled = enable;
    if (!enable) {
        MoveFocusAwayFrom(hwnd);
        if (State().capture == hwnd)
            ReleaseCapture();
    }
    Deliver(hwnd, WM_ENABLE, enable, 0);
    return wasDisabled;
}

BOOL SetWindowTextA(HWND hwnd, LPCSTR text)
{
    Window* window = Find(hwnd);
    if (!window)
        return FALSE;
    window->title = text ? text : "";
    if (!window->parent)
        CurrentBackend().SetTitle(hwnd, window->title);
    return TRUE;
}

int GetWindowTextA(HWND hwnd, LPSTR text, int maxCount)
{
    Window* window = Find(hwnd);
    if (!window || !text || maxCount <= 0)
        return 0;
    std::size_t length = std::min(window->title.size(), static_cast<std::size_t>(maxCount - 1));
    std::memcpy(text, window->title.data(), length);
    text[length] = '\0';
    return static_cast<int>(length);
}

BOOL SetPropA(HWND hwnd, LPCSTR name, HANDLE data)
{
    Window* window = Find(hwnd);
    if (!window || !name)
        return FALSE;
    window->properties[name] = data;
    return TRUE;
}

HANDLE GetPropA(HWND hwnd, LPCSTR name)
{
    Window* window = Find(hwnd);
    if (!window || !name)
        return nullptr;
    auto it = window->properties.find(name);
    return it == window->properties.end() ? nullptr : it->second;
}

HANDLE RemovePropA(HWND hwnd, LPCSTR name)
{
    Window* window = Find(hwnd);
    if (!window || !name)
        return nullptr;
    auto it = window->properties.find(name);
    if (it == window->properties.end())
        return nullptr;
    HANDLE data = it->second;
    window->properties.erase(it);
    return data;
}
