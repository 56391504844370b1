#pragma once

// What the desktop around an SDL window needs that SDL2 does not do by itself on
// X11: dialogs tied to their owner, and the desktop's scale factor.

#include <SDL.h>

namespace korvane::backends {

void MakeDialogOf(SDL_Window* dialog, SDL_Window* owner);

// The desktop's Xft.dpi setting, or 0 when the display does not say.
double DesktopXftDpi();

} // namespace korvane::backends
