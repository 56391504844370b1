// The mouse cursor: each window's own, the program's (the hourglass) over all of them,
// and the Win32 cursor calls.

#include "host/window/WindowSystemInternal.h"

namespace korvane::window {

using backends::CursorShape;

void ApplyCursor(HWND over)
{
    if (State().programCursor) {
        CurrentBackend().SetCursor(*State().programCursor, nullptr, {});
        return;
    }
    Window* window = Find(over);
    if (!window) {
        CurrentBackend().SetCursor(CursorShape::Arrow, nullptr, {});
        return;
    }
    CurrentBackend().SetCursor(window->cursor, window->customCursor.get(), window->cursorHotspot);
}

void SetWindowCursor(HWND hwnd, CursorShape cursor, std::shared_ptr<raster::Surface> custom, POINT hotspot)
{
    Window* window = Find(hwnd);
    if (!window)
        return;
    window->cursor = cursor;
    window->customCursor = std::move(custom);
    window->cursorHotspot = hotspot;
    if (State().hovered == hwnd)
        ApplyCursor(hwnd);
}

void SetProgramCursor(std::optional<CursorShape> cursor)
{
    State().programCursor = cursor;
    ApplyCursor(State().hovered);
}

} // namespace korvane::window

using namespace korvane;
using namespace korvane::window;

BOOL GetCursorPos(LPPOINT point)
{
    if (!point)
        return FALSE;
    *point = CurrentBackend().CursorPosition();
    return TRUE;
}

HCURSOR LoadCursorA(void*, LPCSTR name)
{
    // Stock cursors are identified by their resource number; the backend draws them.
    return reinterpret_cast<HCURSOR>(const_cast<char*>(name));
}

HCURSOR SetCursor(HCURSOR cursor)
{
    CursorShape shape = CursorShape::Arrow;
    if (cursor == LoadCursorA(nullptr, IDC_WAIT))
        shape = CursorShape::Wait;
    else if (cursor == LoadCursorA(nullptr, IDC_IBEAM))
        shape = CursorShape::IBeam;
    else if (cursor == LoadCursorA(nullptr, IDC_HAND))
        shape = CursorShape::Hand;
    CurrentBackend().SetCursor(shape, nullptr, {});
    return nullptr;
}
