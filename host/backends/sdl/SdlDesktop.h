#pragma once

// What the desktop around an SDL window needs that SDL2 does not do by itself on
// X11: dialogs tied to their owner, and the desktop's scale factor.

#include <SDL.h>

namespace korvane::backends {

void MakeDialogOf(SDL_Window* dialog, SDL_Window* owner);

// On X11, a request that names a window which has just gone (a closed message box
// the server or the window manager still had in flight) is let pass rather than
// ending the program, as Xlib's default handler would; other errors go on as before.
void ToleratePassingWindows();

// The desktop's Xft.dpi setting, or 0 when the display does not say.
double DesktopXftDpi();

} // namespace korvane::backends
