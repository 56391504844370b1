#pragma once

// What the SDL backend tests share: reading pixels back from an SDL window's surface
// and queueing SDL's events.

#include "host/backends/sdl/SdlBackend.h"
#include "tests/support/MessageRecorder.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>

namespace korvane::testing {

// A pixel of an SDL surface as 0x00RRGGBB.
inline std::uint32_t SurfacePixel(SDL_Surface* surface, int x, int y)
{
    std::uint32_t raw = 0;
    std::memcpy(&raw, static_cast<const std::uint8_t*>(surface->pixels) + y * surface->pitch + x * 4, 4);
    Uint8 r = 0, g = 0, b = 0;
    SDL_GetRGB(raw, surface->format, &r, &g, &b);
    return (std::uint32_t(r) << 16) | (std::uint32_t(g) << 8) | b;
}

inline SDL_Window* SdlWindowOf(backends::SdlBackend& backend, HWND hwnd)
{
    return SDL_GetWindowFromID(backend.SdlWindowId(hwnd));
}

// Queues an event as SDL would, for the backend to find. `fill` sets the event's fields.
template <typename Fill>
void Push(Uint32 type, Fill fill)
{
    SDL_Event event {};
    event.type = type;
    fill(event);
    ASSERT_EQ(SDL_PushEvent(&event), 1);
}

inline void PushMouse(Uint32 type, Uint32 window, Uint8 button, int x, int y)
{
    Push(type, [&](SDL_Event& event) {
        if (type == SDL_MOUSEMOTION)
            event.motion = { type, 0, window, 0, 0, x, y, 0, 0 };
        else
            event.button = { type, 0, window, 0, button, 0, 0, 0, x, y };
    });
}

inline void PushKey(Uint32 type, Uint32 window, SDL_Scancode scancode, SDL_Keycode keycode, Uint16 modifiers)
{
    Push(type, [&](SDL_Event& event) {
        event.key.windowID = window;
        event.key.keysym = { scancode, keycode, modifiers, 0 };
    });
}

inline void PushWindowEvent(Uint32 window, Uint8 what)
{
    Push(SDL_WINDOWEVENT, [&](SDL_Event& event) {
        event.window.windowID = window;
        event.window.event = what;
    });
}

} // namespace korvane::testing
