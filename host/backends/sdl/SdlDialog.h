#pragma once

// What makes an SDL window a dialog of another for the window manager.

#include <SDL.h>

namespace korvane::backends {

void MakeDialogOf(SDL_Window* dialog, SDL_Window* owner);

} // namespace korvane::backends
