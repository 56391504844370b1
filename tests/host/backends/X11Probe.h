#pragma once

// Questions for the X server about a window, asked apart from the tests because
// Xlib's macros (None, CursorShape, Status, ...), which SDL_syswm.h brings in too,
// clash with everything else.

#include <vector>

struct SDL_Window;

namespace korvane::testing {

struct X11Window {
    void* display = nullptr; // SDL's connection to the server
    unsigned long window = 0;
};

// The X11 window behind an SDL window; a null window when the display is not X11.
X11Window X11Of(SDL_Window* window);

// The pixel the server holds for the window at (x, y), 0x00RRGGBB, or ~0 on failure.
unsigned long X11ServerPixel(const X11Window& x11, int x, int y);
// The window's _NET_WM_ICON words (width, height, then ARGB pixels); empty when it has none.
std::vector<unsigned long> X11WindowIcon(const X11Window& x11);

} // namespace korvane::testing
