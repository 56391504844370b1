#pragma once

// A window handler that records every message and answers none, so default processing
// still happens; and a window's client area filled through GDI.

#include "host/gdi/Gdi.h"
#include "host/window/WindowSystem.h"

#include <optional>
#include <vector>

namespace korvane::testing {

class Recorder : public window::WindowHandler {
public:
    std::optional<LRESULT> HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override
    {
        log.push_back(MSG { hwnd, message, wParam, lParam, 0, {} });
        return std::nullopt;
    }
    std::vector<MSG> Of(UINT message) const
    {
        std::vector<MSG> found;
        for (const MSG& received : log)
            if (received.message == message)
                found.push_back(received);
        return found;
    }
    std::vector<WPARAM> Characters() const
    {
        std::vector<WPARAM> characters;
        for (const MSG& received : Of(WM_CHAR))
            characters.push_back(received.wParam);
        return characters;
    }
    std::vector<MSG> log;
};

// `rect` in window coordinates.
inline void FillWindow(HWND hwnd, RECT rect, COLORREF colour)
{
    HDC dc = window::GetWindowDC(hwnd);
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
    ReleaseDC(hwnd, dc);
}

inline void FillWindow(HWND hwnd, COLORREF colour)
{
    RECT client {};
    GetClientRect(hwnd, &client);
    FillWindow(hwnd, client, colour);
}

} // namespace korvane::testing
