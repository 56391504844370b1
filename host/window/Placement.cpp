// Where windows are: rectangles, z-order, window regions, coordinate conversion and
// finding the window under a point.

#include "host/window/WindowSystemInternal.h"

#include "host/gdi/Gdi.h"
#include "host/gdi/GdiRaster.h"

#include <algorithm>

namespace korvane::window {

using raster::IntRect;

namespace {

bool Holds(const Window& window, int x, int y) // x, y in the window's coordinates
{
    if (x < 0 || y < 0 || x >= window.rect.Width() || y >= window.rect.Height())
        return false;
    return !window.region || window.region->Contains(x, y);
}

// The deepest window under (x, y), given in `window`'s coordinates. A disabled child
// is never found: the descent stops at its parent, which then gets the click.
HWND DeepestAt(const Window& window, int x, int y)
{
    for (HWND hwnd : window.children) {
        Window* child = Find(hwnd);
        if (!child || !child->visible || !Holds(*child, x - child->rect.left, y - child->rect.top))
            continue;
        if (!child->enabled)
            return window.handle;
        return DeepestAt(*child, x - child->rect.left, y - child->rect.top);
    }
    return window.handle;
}

// Adds (direction 1) or takes away (-1) the window's client origin on the screen.
BOOL MoveByClientOrigin(HWND hwnd, LPPOINT point, int direction)
{
    Window* window = Find(hwnd);
    if (!window || !point)
        return FALSE;
    POINT origin = ClientOriginOnScreen(*window);
    point->x += direction * origin.x;
    point->y += direction * origin.y;
    return TRUE;
}

} // namespace

POINT ClientOriginOnScreen(const Window& window)
{
    POINT origin { window.rect.left, window.rect.top };
    for (Window* parent = Find(window.parent); parent; parent = Find(parent->parent)) {
        origin.x += parent->rect.left;
        origin.y += parent->rect.top;
    }
    return origin;
}

HWND HitTestScreen(POINT point)
{
    for (HWND hwnd : State().topLevels) {
        Window* window = Find(hwnd);
        if (!window || !window->visible)
            continue;
        int x = point.x - window->rect.left;
        int y = point.y - window->rect.top;
        if (Holds(*window, x, y))
            return window->enabled ? DeepestAt(*window, x, y) : hwnd;
    }
    return nullptr;
}

void ResizeSurface(Window& window)
{
    int width = std::max(0, window.rect.Width());
    int height = std::max(0, window.rect.Height());
    if (window.surface && window.surface->Width() == width && window.surface->Height() == height)
        return;
    auto resized = std::make_shared<raster::Surface>(width, height, raster::SurfaceFormat::Colour32, 0xFFFFFF);
    if (!window.surface) {
        window.surface = std::move(resized);
        return;
    }
    const raster::Surface& old = *window.surface;
    int keptWidth = std::min(width, old.Width());
    int keptHeight = std::min(height, old.Height());
    for (int y = 0; y < keptHeight; ++y)
        std::copy_n(old.Row(y), keptWidth, resized->Row(y));
    // Assigned in place, not replaced: DCs on the surface keep drawing on it.
    *window.surface = std::move(*resized);
}

} // namespace korvane::window

using namespace korvane;
using namespace korvane::window;

int SetWindowRgn(HWND hwnd, HRGN region, BOOL redraw)
{
    Window* window = Find(hwnd);
    if (!window)
        return 0;
    if (region) {
        std::optional<raster::Region> shape = gdi::RegionShape(region);
        if (!shape)
            return 0;
        window->region = std::move(shape);
        // The window owns the region from here on.
        DeleteObject(region);
    } else {
        window->region.reset();
    }
    if (redraw)
        PresentWindow(window->parent ? window->parent : hwnd);
    return 1;
}

int GetWindowRgn(HWND hwnd, HRGN region)
{
    Window* window = Find(hwnd);
    if (!window || !window->region || !gdi::SetRegionShape(region, *window->region))
        return ERROR;
    RECT box;
    return GetRgnBox(region, &box);
}

BOOL GetWindowRect(HWND hwnd, LPRECT rect)
{
    Window* window = Find(hwnd);
    if (!window || !rect)
        return FALSE;
    POINT origin = ClientOriginOnScreen(*window);
    *rect = RECT { origin.x, origin.y, origin.x + window->rect.Width(), origin.y + window->rect.Height() };
    return TRUE;
}

BOOL GetClientRect(HWND hwnd, LPRECT rect)
{
    Window* window = Find(hwnd);
    if (!window || !rect)
        return FALSE;
    *rect = RECT { 0, 0, window->rect.Width(), window->rect.Height() };
    return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint)
{
    Window* window = Find(hwnd);
    if (!window)
        return FALSE;
    bool resized = width != window->rect.Width() || height != window->rect.Height();
    window->rect = IntRect { x, y, x + std::max(0, width), y + std::max(0, height) };
    ResizeSurface(*window);
    if (!window->parent)
        CurrentBackend().MoveTopLevel(hwnd, window->rect);
    if (resized)
        Deliver(hwnd, WM_SIZE, 0, MAKELPARAM(window->rect.Width(), window->rect.Height()));
    if (repaint)
        PresentWindow(window->parent ? TopLevelOf(hwnd) : hwnd);
    return TRUE;
}

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags)
{
    Window* window = Find(hwnd);
    if (!window)
        return FALSE;
    if (!(flags & SWP_NOZORDER)) {
        std::vector<HWND>& siblings = window->parent ? Find(window->parent)->children : State().topLevels;
        std::erase(siblings, hwnd);
        if (insertAfter == HWND_BOTTOM) {
            siblings.push_back(hwnd);
        } else if (insertAfter == HWND_TOP || !Find(insertAfter)) {
            siblings.insert(siblings.begin(), hwnd);
        } else {
            auto at = std::find(siblings.begin(), siblings.end(), insertAfter);
            siblings.insert(at == siblings.end() ? siblings.end() : at + 1, hwnd);
        }
    }
    if (!(flags & SWP_NOMOVE) || !(flags & SWP_NOSIZE)) {
        int newX = (flags & SWP_NOMOVE) ? window->rect.left : x;
        int newY = (flags & SWP_NOMOVE) ? window->rect.top : y;
        int newWidth = (flags & SWP_NOSIZE) ? window->rect.Width() : cx;
        int newHeight = (flags & SWP_NOSIZE) ? window->rect.Height() : cy;
        MoveWindow(hwnd, newX, newY, newWidth, newHeight, FALSE);
    }
    if (flags & SWP_SHOWWINDOW)
        ShowWindow(hwnd, SW_SHOWNA);
    if (flags & SWP_HIDEWINDOW)
        ShowWindow(hwnd, SW_HIDE);
    return TRUE;
}

BOOL ScreenToClient(HWND hwnd, LPPOINT point) { return MoveByClientOrigin(hwnd, point, -1); }

BOOL ClientToScreen(HWND hwnd, LPPOINT point) { return MoveByClientOrigin(hwnd, point, 1); }

HWND WindowFromPoint(POINT point)
{
    // The pointer's own position once it has left the program belongs to another program.
    POINT cursor = CurrentBackend().CursorPosition();
    if (!CurrentBackend().CursorInsideProgram() && cursor.x == point.x && cursor.y == point.y)
        return nullptr;
    return HitTestScreen(point);
}

int GetSystemMetrics(int index)
{
    switch (index) {
    case SM_CXSCREEN: return CurrentBackend().ScreenBounds().Width();
    case SM_CYSCREEN: return CurrentBackend().ScreenBounds().Height();
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK: return kDoubleClickBox;
    default: return 0;
    }
}
