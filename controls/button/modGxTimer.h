#pragma once

// The hover timer's callback. A button that starts tracking the pointer leaves its
// own object in the "gx_ClassID" property of its window and its timer's identifier
// in "gx_TimerID"; the callback finds the button through them on every tick and
// lets it check whether the pointer has gone.

#include "host/window/WinUser.h"

namespace korvane::modGxTimer {

// The hover timer's identifier on the button's window, and its interval.
inline constexpr UINT_PTR kHoverTimerId = 237;
inline constexpr UINT kHoverInterval = 50; // ms

// A standard timer callback, set by the button on its own window.
void HoverTimerProc(HWND hwnd, UINT uMsg, UINT_PTR idEvent, DWORD dwTime);

} // namespace korvane::modGxTimer
