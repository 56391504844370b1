// How independent buttons cooperate without a shared object: option buttons of
// one container find each other through numbered properties of the container's
// window ("gx_OptCount", "gx_Obj1", "gx_Obj2", ...), and a hovered button finds
// itself again on each tick of its timer through properties of its own window
// ("gx_ClassID", "gx_TimerID", read by modGxTimer).
//
// The slots hold raw pointers. A button leaves its group when it leaves option mode
// and also when it is destroyed (see ~gxButtons_H), so no slot ever holds a button
// that is gone.

#include "controls/button/gxButtons_H.h"

#include "controls/button/modGxTimer.h"

#include <charconv>
#include <cstdint>
#include <string>

namespace korvane {

using namespace button;

namespace {

constexpr const char* kCountProperty = "gx_OptCount";

std::string SlotName(std::intptr_t slot) { return "gx_Obj" + std::to_string(slot); }

std::intptr_t SlotCount(HWND container) { return reinterpret_cast<std::intptr_t>(GetPropA(container, kCountProperty)); }

gxButtons_H* SlotButton(HWND container, std::intptr_t slot)
{
    return static_cast<gxButtons_H*>(GetPropA(container, SlotName(slot).c_str()));
}

} // namespace

HWND gxButtons_H::ContainerWindow() const
{
    std::uintptr_t handle = 0;
    const std::string& tag = m_userControlTag;
    std::from_chars(tag.data(), tag.data() + tag.size(), handle);
    return reinterpret_cast<HWND>(handle);
}

void gxButtons_H::OptionToggle(std::int16_t action, bool* anyOn)
{
    if (anyOn)
        *anyOn = false;
    const HWND container = ContainerWindow();
    if (!IsWindow(container))
        return;
    const std::intptr_t count = SlotCount(container);
    if (m_value && (action == 1 || count > 0)) {
        for (std::intptr_t slot = 1; slot <= count; ++slot) {
            gxButtons_H* other = SlotButton(container, slot);
            if (other && other != this)
                other->LetValue(false);
        }
    }
    switch (action) {
    case 1:
        SetPropA(container, kCountProperty, reinterpret_cast<HANDLE>(count + 1));
        SetPropA(container, SlotName(count + 1).c_str(), this);
        break;
    case -1: LeaveOptionGroup(); break;
    case 2:
        for (std::intptr_t slot = 1; slot <= count; ++slot) {
            if (const gxButtons_H* other = SlotButton(container, slot); other && other->m_value) {
                if (anyOn)
                    *anyOn = true;
                break;
            }
        }
        break;
    default: break;
    }
}

void gxButtons_H::LeaveOptionGroup()
{
    const HWND container = ContainerWindow();
    if (!IsWindow(container))
        return;
    const std::intptr_t count = SlotCount(container);
    std::intptr_t found = 0;
    for (std::intptr_t slot = 1; slot <= count && !found; ++slot)
        if (SlotButton(container, slot) == this)
            found = slot;
    // A button that is not in the group takes nobody else's slot away.
    if (!found)
        return;
    for (std::intptr_t slot = found + 1; slot <= count; ++slot)
        SetPropA(container, SlotName(slot - 1).c_str(), SlotButton(container, slot));
    RemovePropA(container, SlotName(count).c_str());
    if (count == 1)
        RemovePropA(container, kCountProperty);
    else
        SetPropA(container, kCountProperty, reinterpret_cast<HANDLE>(count - 1));
}

void gxButtons_H::StartHoverTracking()
{
    SetPropA(hWnd(), "gx_ClassID", this);
    SetPropA(hWnd(), "gx_TimerID", reinterpret_cast<HANDLE>(modGxTimer::kHoverTimerId));
    SetTimer(hWnd(), modGxTimer::kHoverTimerId, modGxTimer::kHoverInterval, modGxTimer::HoverTimerProc);
    m_hoverTracking = true;
}

void gxButtons_H::CheckHoverExit(std::int32_t timerId)
{
    POINT cursor {};
    GetCursorPos(&cursor);
    if (WindowFromPoint(cursor) == hWnd())
        return;
    EndHover(static_cast<UINT_PTR>(timerId));
}

void gxButtons_H::EndHover(UINT_PTR timerId)
{
    KillTimer(hWnd(), timerId);
    m_buttonState = static_cast<std::int16_t>(m_buttonState & ~bsHover);
    m_hoverTracking = false;
    m_drawingDelayed = false;
    bool onButton = false;
    RaiseEvent(MouseOnButton, onButton);
    m_showPressed = false;
    RedrawButton();
}

} // namespace korvane
