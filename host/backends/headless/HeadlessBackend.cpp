#include "host/backends/headless/HeadlessBackend.h"

#include "host/raster/image/Codecs.h"

#include <algorithm>

namespace korvane::backends {

HeadlessBackend::HeadlessBackend(int screenWidth, int screenHeight) : m_screen { 0, 0, screenWidth, screenHeight } {}

HWND HeadlessBackend::TopLevelAt(POINT point) const
{
    for (HWND window : m_order) {
        const TopLevel& top = m_windows.at(window);
        const raster::IntRect& rect = top.info.rect;
        if (top.info.visible && point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom)
            return window;
    }
    return nullptr;
}

void HeadlessBackend::QueueMouse(InputEvent::Kind kind, MouseButton button)
{
    // While a button is held the window that took the press keeps the pointer, as a
    // display's implicit grab does.
    HWND window = m_pointerWindow;
    if (!window)
        return;
    const raster::IntRect& rect = m_windows.at(window).info.rect;
    InputEvent event;
    event.kind = kind;
    event.window = window;
    event.x = m_cursorPosition.x - rect.left;
    event.y = m_cursorPosition.y - rect.top;
    event.button = button;
    event.modifiers = m_modifiers;
    m_events.push_back(event);
}

void HeadlessBackend::MoveMouse(int x, int y)
{
    m_cursorPosition = POINT { x, y };
    HWND under = TopLevelAt(m_cursorPosition);
    m_inside = under != nullptr;
    if (m_buttonsHeld > 0 && m_pointerWindow) {
        // The window that took the press keeps the pointer until the release.
        QueueMouse(InputEvent::Kind::MouseMove, MouseButton::Left);
        return;
    }
    if (m_pointerWindow && under != m_pointerWindow) {
        InputEvent leave;
        leave.kind = InputEvent::Kind::MouseLeave;
        leave.window = m_pointerWindow;
        m_events.push_back(leave);
    }
    m_pointerWindow = under;
    QueueMouse(InputEvent::Kind::MouseMove, MouseButton::Left);
}

void HeadlessBackend::PressMouse(MouseButton button)
{
    if (m_pointerWindow)
        ++m_buttonsHeld;
    QueueMouse(InputEvent::Kind::MouseDown, button);
}

void HeadlessBackend::ReleaseMouse(MouseButton button)
{
    QueueMouse(InputEvent::Kind::MouseUp, button);
    if (m_buttonsHeld > 0 && --m_buttonsHeld == 0) {
        HWND under = TopLevelAt(m_cursorPosition);
        if (under != m_pointerWindow && m_pointerWindow) {
            InputEvent leave;
            leave.kind = InputEvent::Kind::MouseLeave;
            leave.window = m_pointerWindow;
            m_events.push_back(leave);
        }
        m_pointerWindow = under;
    }
}

void HeadlessBackend::LeaveWindows()
{
    if (m_pointerWindow) {
        InputEvent leave;
        leave.kind = InputEvent::Kind::MouseLeave;
        leave.window = m_pointerWindow;
        m_events.push_back(leave);
    }
    m_pointerWindow = nullptr;
    m_inside = false;
    m_cursorPosition = POINT { m_screen.right + 100, m_screen.bottom + 100 };
}

void HeadlessBackend::PressKey(unsigned virtualKey, unsigned modifiers)
{
    QueueKey(InputEvent::Kind::KeyDown, virtualKey, modifiers);
}

void HeadlessBackend::ReleaseKey(unsigned virtualKey, unsigned modifiers)
{
    QueueKey(InputEvent::Kind::KeyUp, virtualKey, modifiers);
}

// Keys go to the front window, as the keyboard focus of a desktop follows activation.
void HeadlessBackend::QueueKey(InputEvent::Kind kind, unsigned virtualKey, unsigned modifiers)
{
    m_modifiers = modifiers;
    InputEvent event;
    event.kind = kind;
    event.window = m_order.empty() ? nullptr : m_order.front();
    event.virtualKey = virtualKey;
    event.modifiers = modifiers;
    m_events.push_back(event);
}

void HeadlessBackend::TypeKey(unsigned virtualKey, unsigned modifiers)
{
    PressKey(virtualKey, modifiers);
    ReleaseKey(virtualKey, modifiers);
}

void HeadlessBackend::TypeText(const std::string& utf8)
{
    InputEvent event;
    event.kind = InputEvent::Kind::Text;
    event.window = m_order.empty() ? nullptr : m_order.front();
    event.text = utf8;
    m_events.push_back(event);
}

void HeadlessBackend::RequestClose(HWND window)
{
    InputEvent event;
    event.kind = InputEvent::Kind::Close;
    event.window = window;
    m_events.push_back(event);
}

const raster::Surface* HeadlessBackend::Frame(HWND window) const
{
    auto it = m_windows.find(window);
    return it == m_windows.end() ? nullptr : it->second.frame;
}

int HeadlessBackend::PresentCount(HWND window) const
{
    auto it = m_windows.find(window);
    return it == m_windows.end() ? 0 : it->second.presents;
}

bool HeadlessBackend::IsShown(HWND window) const
{
    auto it = m_windows.find(window);
    return it != m_windows.end() && it->second.info.visible;
}

const std::string& HeadlessBackend::Title(HWND window) const
{
    static const std::string none;
    auto it = m_windows.find(window);
    return it == m_windows.end() ? none : it->second.info.title;
}

std::vector<HWND> HeadlessBackend::TopLevelWindows() const { return m_order; }

void HeadlessBackend::CreateTopLevel(HWND window, const TopLevelInfo& info)
{
    m_windows[window] = TopLevel { info, nullptr, 0 };
    m_order.insert(m_order.begin(), window);
}

void HeadlessBackend::DestroyTopLevel(HWND window)
{
    m_windows.erase(window);
    std::erase(m_order, window);
    std::erase_if(m_events, [&](const InputEvent& event) { return event.window == window; });
    if (m_pointerWindow == window) {
        m_pointerWindow = TopLevelAt(m_cursorPosition);
        m_inside = m_pointerWindow != nullptr;
    }
}

void HeadlessBackend::ShowTopLevel(HWND window, bool visible)
{
    auto it = m_windows.find(window);
    if (it == m_windows.end())
        return;
    it->second.info.visible = visible;
    if (visible) {
        std::erase(m_order, window);
        m_order.insert(m_order.begin(), window);
    }
}

void HeadlessBackend::MoveTopLevel(HWND window, const raster::IntRect& rect)
{
    if (auto it = m_windows.find(window); it != m_windows.end())
        it->second.info.rect = rect;
}

void HeadlessBackend::SetTitle(HWND window, const std::string& title)
{
    if (auto it = m_windows.find(window); it != m_windows.end())
        it->second.info.title = title;
}

void HeadlessBackend::SetIcon(HWND, const raster::Surface&) {}

void HeadlessBackend::Present(HWND window, const raster::Surface& frame, const raster::IntRect&)
{
    // There is no screen to copy to: what is shown is the window system's frame itself.
    auto it = m_windows.find(window);
    if (it == m_windows.end())
        return;
    it->second.frame = &frame;
    ++it->second.presents;
}

void HeadlessBackend::SetCursor(CursorShape shape, const raster::Surface*, POINT)
{
    if (shape != m_cursor)
        m_cursorHistory.push_back(shape);
    m_cursor = shape;
}

std::optional<InputEvent> HeadlessBackend::PollEvent()
{
    if (m_events.empty())
        return std::nullopt;
    InputEvent event = m_events.front();
    m_events.pop_front();
    return event;
}

bool HeadlessBackend::WaitForEvent(std::optional<std::uint64_t> deadline)
{
    if (!m_events.empty())
        return true;
    if (m_idleHook && m_idleHook())
        return true;
    if (deadline && m_autoAdvance) {
        // Nobody waits for real here: time jumps to the next timer.
        m_now = std::max(m_now, *deadline);
        return true;
    }
    return false;
}

bool SaveSurfacePng(const raster::Surface& surface, const std::filesystem::path& path)
{
    raster::image::Image image(surface.Width(), surface.Height());
    for (int y = 0; y < surface.Height(); ++y)
        for (int x = 0; x < surface.Width(); ++x)
            image.Set(x, y, 0xFF000000u | (surface.At(x, y) & 0xFFFFFFu));
    return static_cast<bool>(raster::image::SavePng(image, path));
}

} // namespace korvane::backends
