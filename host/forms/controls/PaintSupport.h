#pragma once

// Small drawing helpers the plain controls share.

#include "host/forms/Control.h"
#include "host/gdi/Gdi.h"
#include "host/window/WindowSystem.h"

namespace korvane::forms {

// A DC on a window's own surface for one paint, released when it goes.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd) : m_hwnd(hwnd), m_dc(window::GetWindowDC(hwnd)) {}
    ~WindowDc()
    {
        if (m_dc)
            ReleaseDC(m_hwnd, m_dc);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    operator HDC() const { return m_dc; }
    explicit operator bool() const { return m_dc != nullptr; }

private:
    HWND m_hwnd;
    HDC m_dc;
};

inline void FillColour(HDC dc, const RECT& rect, COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

// A transparent control shows its container through it: each window keeps its
// own surface and children are composed over their parent, so copying the
// parent's pixels under the control is what the user would have seen there.
// Sibling controls underneath do not show through.
inline void CopyParentBackground(HWND hwnd, HDC dc)
{
    HWND parent = GetParent(hwnd);
    RECT mine;
    RECT theirs;
    if (!parent || !GetWindowRect(hwnd, &mine) || !GetWindowRect(parent, &theirs))
        return;
    HDC parentDc = window::GetWindowDC(parent);
    BitBlt(dc, 0, 0, mine.right - mine.left, mine.bottom - mine.top, parentDc, mine.left - theirs.left,
        mine.top - theirs.top, SRCCOPY);
    ReleaseDC(parent, parentDc);
}

// A left press on a window and its release over the same window make a click;
// the window holds the capture in between so the release comes back to it.
class ClickTracker {
public:
    void Press(HWND hwnd, int button)
    {
        if (button != vbLeftButton)
            return;
        m_pressed = true;
        SetCapture(hwnd);
    }
    // True when this release completes a click.
    bool Release(HWND hwnd, int button, int x, int y)
    {
        if (button != vbLeftButton || !m_pressed)
            return false;
        m_pressed = false;
        if (GetCapture() == hwnd)
            ReleaseCapture();
        RECT client;
        GetClientRect(hwnd, &client);
        return PtInRect(&client, POINT { x, y }) != 0;
    }

private:
    bool m_pressed = false;
};

} // namespace korvane::forms
