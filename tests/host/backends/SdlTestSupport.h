#pragma once

// What the SDL backend tests share: a message recorder, painting through GDI,
// reading pixels back from an SDL window's surface and queueing SDL's events.

#include "host/backends/sdl/SdlBackend.h"
#include "host/gdi/Gdi.h"
#include "host/window/WindowSystem.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <vector>

namespace korvane::testing {

struct Received {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// Records every message and leaves each to default processing.
class Recorder : public window::WindowHandler {
public:
    std::optional<LRESULT> HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override
    {
        log.push_back({ hwnd, message, wParam, lParam });
        return std::nullopt;
    }
    std::vector<Received> Of(UINT message) const
    {
        std::vector<Received> found;
        for (const Received& received : log)
            if (received.message == message)
                found.push_back(received);
        return found;
    }
    std::vector<Received> log;
};

inline void FillWindow(HWND hwnd, RECT rect, COLORREF colour)
{
    HDC dc = window::GetWindowDC(hwnd);
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
    ReleaseDC(hwnd, dc);
}

// A pixel of an SDL surface as 0x00RRGGBB.
inline std::uint32_t SurfacePixel(SDL_Surface* surface, int x, int y)
{
    std::uint32_t raw = 0;
    std::memcpy(&raw, static_cast<const std::uint8_t*>(surface->pixels) + y * surface->pitch + x * 4, 4);
    Uint8 r = 0;
    Uint8 g = 0;
    Uint8 b = 0;
    SDL_GetRGB(raw, surface->format, &r, &g, &b);
    return (std::uint32_t(r) << 16) | (std::uint32_t(g) << 8) | b;
}

inline SDL_Window* SdlWindowOf(backends::SdlBackend& backend, HWND hwnd)
{
    return SDL_GetWindowFromID(backend.SdlWindowId(hwnd));
}

// Queues an event as SDL would, for the backend to find.
inline void Push(SDL_Event event) { ASSERT_EQ(SDL_PushEvent(&event), 1); }

inline void PushMouse(Uint32 type, Uint32 window, Uint8 button, int x, int y)
{
    SDL_Event event {};
    event.type = type;
    if (type == SDL_MOUSEMOTION) {
        event.motion.windowID = window;
        event.motion.x = x;
        event.motion.y = y;
    } else {
        event.button.windowID = window;
        event.button.button = button;
        event.button.x = x;
        event.button.y = y;
    }
    Push(event);
}

inline void PushKey(Uint32 type, Uint32 window, SDL_Scancode scancode, SDL_Keycode keycode, Uint16 modifiers)
{
    SDL_Event event {};
    event.type = type;
    event.key.windowID = window;
    event.key.keysym.scancode = scancode;
    event.key.keysym.sym = keycode;
    event.key.keysym.mod = modifiers;
    Push(event);
}

inline void PushWindowEvent(Uint32 window, Uint8 what)
{
    SDL_Event event {};
    event.type = SDL_WINDOWEVENT;
    event.window.windowID = window;
    event.window.event = what;
    Push(event);
}

} // namespace korvane::testing
