// Timers on the backend's clock, and moving a virtual clock for tests and scripts.

#include "host/window/WindowSystemInternal.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace korvane::window {

namespace {

// USER_TIMER_MINIMUM: a shorter interval would keep the loop from ever waiting.
constexpr UINT kShortestInterval = 10;

void MoveVirtualClock(std::uint64_t now)
{
    if (!CurrentBackend().SetNow(now)) {
        std::fputs("AdvanceClock needs a backend with a virtual clock (the headless one)\n", stderr);
        std::abort();
    }
}

std::vector<Timer>::iterator FindTimer(HWND hwnd, UINT_PTR id)
{
    return std::find_if(State().timers.begin(), State().timers.end(),
        [&](const Timer& timer) { return timer.window == hwnd && timer.id == id; });
}

} // namespace

std::optional<std::uint64_t> NextTimerDue()
{
    std::optional<std::uint64_t> due;
    for (const Timer& timer : State().timers)
        if (!due || timer.due < *due)
            due = timer.due;
    return due;
}

bool FireDueTimers()
{
    std::uint64_t now = CurrentBackend().Now();
    std::vector<std::pair<HWND, UINT_PTR>> due;
    for (Timer& timer : State().timers) {
        if (timer.due <= now) {
            due.emplace_back(timer.window, timer.id);
            // A round that comes a little late keeps the timer's cadence. One later than
            // a whole interval fires it once, not once per interval missed, and starts a
            // new cadence from now, so it is not fired again at once.
            timer.due = timer.due + timer.interval > now ? timer.due + timer.interval : now + timer.interval;
        }
    }
    for (auto [hwnd, id] : due) {
        auto it = FindTimer(hwnd, id);
        if (it == State().timers.end())
            continue; // killed by an earlier callback
        Dispatch(MSG { hwnd, WM_TIMER, id, reinterpret_cast<LPARAM>(it->callback), static_cast<DWORD>(now), {} });
    }
    return !due.empty();
}

void AdvanceClock(unsigned ms)
{
    std::uint64_t target = CurrentBackend().Now() + ms;
    DoEvents();
    // Each moment a timer falls due is a round of its own, as for a loop that waits.
    while (std::optional<std::uint64_t> due = NextTimerDue()) {
        if (*due > target)
            break;
        MoveVirtualClock(std::max(*due, CurrentBackend().Now()));
        DoEvents();
    }
    MoveVirtualClock(target);
    DoEvents();
}

} // namespace korvane::window

using namespace korvane;
using namespace korvane::window;

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC callback)
{
    if (!Find(hwnd))
        return 0; // timers here always belong to a window
    UINT interval = std::max(elapse, kShortestInterval);
    Timer timer { hwnd, id, interval, callback, CurrentBackend().Now() + interval };
    // Setting a timer that exists restarts it with the new interval and callback.
    auto existing = FindTimer(hwnd, id);
    if (existing != State().timers.end())
        *existing = timer;
    else
        State().timers.push_back(timer);
    return id ? id : 1;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id)
{
    // Timer messages never wait in the queue (they are made when due), so only the table holds them.
    auto it = FindTimer(hwnd, id);
    if (it == State().timers.end())
        return FALSE;
    State().timers.erase(it);
    return TRUE;
}

DWORD GetTickCount() { return static_cast<DWORD>(CurrentBackend().Now()); }
