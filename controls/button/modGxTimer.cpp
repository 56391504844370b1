#include "controls/button/modGxTimer.h"

#include "controls/button/gxButtons_H.h"

namespace korvane::modGxTimer {

void HoverTimerProc(HWND hwnd, UINT /*uMsg*/, UINT_PTR /*idEvent*/, DWORD /*dwTime*/)
{
    // No reference is taken: the timer lives on the button's window, which the button
    // outlives, and its termination kills the timer first.
    auto* button = static_cast<gxButtons_H*>(GetPropA(hwnd, "gx_ClassID"));
    const auto timerId = reinterpret_cast<UINT_PTR>(GetPropA(hwnd, "gx_TimerID"));
    if (button)
        button->CheckHoverExit(static_cast<std::int32_t>(timerId));
}

} // namespace korvane::modGxTimer
