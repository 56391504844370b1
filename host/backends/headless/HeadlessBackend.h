#pragma once

// A backend without a display: a virtual screen, input that tests script, a
// virtual clock that only moves when told to, and the frames kept in memory.
//
// Implemented features:
//  [x] top-level windows on a virtual screen, frames kept per window
//  [x] scripted mouse (screen coordinates), keys and text
//  [x] virtual clock; waiting with a deadline moves the clock to it
//  [x] an idle hook, asked for more input when a loop would otherwise wait
//  [ ] real time: nothing here ever sleeps

#include "host/backends/Backend.h"

#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <vector>

namespace korvane::backends {

class HeadlessBackend : public Backend {
public:
    explicit HeadlessBackend(int screenWidth = 1024, int screenHeight = 768);

    // Scripted input, in screen coordinates; each event goes to the top-level window
    // under the pointer, as a real display would send it.
    void MoveMouse(int x, int y);
    void PressMouse(MouseButton button = MouseButton::Left);
    void ReleaseMouse(MouseButton button = MouseButton::Left);
    // The pointer leaves the program's windows.
    void LeaveWindows();
    void PressKey(unsigned virtualKey, unsigned modifiers = 0);
    void ReleaseKey(unsigned virtualKey, unsigned modifiers = 0);
    void TypeKey(unsigned virtualKey, unsigned modifiers = 0); // press and release
    void TypeText(const std::string& utf8);
    void RequestClose(HWND window);

    // Moves the virtual clock without running anything; window::AdvanceClock runs
    // the timers that fall due on the way.
    bool SetNow(std::uint64_t now) override
    {
        m_now = now;
        return true;
    }
    // Lets a loop that waits for a timer jump the clock to it instead of giving up.
    void SetAutoAdvance(bool enabled) { m_autoAdvance = enabled; }

    // Asked for more input when a loop is about to wait; it returns false when it has
    // nothing more to give, and the waiting loop then gives up.
    void SetIdleHook(std::function<bool()> hook) { m_idleHook = std::move(hook); }

    // The last frame each top-level window presented, and how often it presented.
    const raster::Surface* Frame(HWND window) const;
    int PresentCount(HWND window) const;
    bool IsShown(HWND window) const;
    const std::string& Title(HWND window) const;
    CursorShape Cursor() const { return m_cursor; }
    // Every cursor change since the backend was made, in order.
    const std::vector<CursorShape>& CursorHistory() const { return m_cursorHistory; }
    bool TextInputEnabled() const { return m_textInput; }
    std::vector<HWND> TopLevelWindows() const; // front first

    void CreateTopLevel(HWND window, const TopLevelInfo& info) override;
    void DestroyTopLevel(HWND window) override;
    void ShowTopLevel(HWND window, bool visible) override;
    void MoveTopLevel(HWND window, const raster::IntRect& rect) override;
    void SetTitle(HWND window, const std::string& title) override;
    void SetIcon(HWND window, const raster::Surface& icon) override;
    void Present(HWND window, const raster::Surface& frame, const raster::IntRect& changed) override;
    void SetCursor(CursorShape shape, const raster::Surface* custom, POINT hotspot) override;
    void SetTextInput(bool enabled) override { m_textInput = enabled; }
    std::uint64_t Now() override { return m_now; }
    std::optional<InputEvent> PollEvent() override;
    bool WaitForEvent(std::optional<std::uint64_t> deadline) override;
    POINT CursorPosition() override { return m_cursorPosition; }
    bool CursorInsideProgram() override { return m_inside; }
    raster::IntRect ScreenBounds() override { return m_screen; }
    unsigned DoubleClickTime() override { return 500; }

private:
    void QueueKey(InputEvent::Kind kind, unsigned virtualKey, unsigned modifiers);
    struct TopLevel {
        TopLevelInfo info;
        const raster::Surface* frame = nullptr; // the window system's, valid until the window goes
        int presents = 0;
    };

    void QueueMouse(InputEvent::Kind kind, MouseButton button);
    HWND TopLevelAt(POINT point) const;

    raster::IntRect m_screen;
    std::uint64_t m_now = 0;
    std::deque<InputEvent> m_events;
    std::map<HWND, TopLevel> m_windows;
    std::vector<HWND> m_order; // front first
    POINT m_cursorPosition { -1, -1 };
    bool m_inside = false;
    HWND m_pointerWindow = nullptr;
    int m_buttonsHeld = 0;
    unsigned m_modifiers = 0;
    CursorShape m_cursor = CursorShape::Arrow;
    std::vector<CursorShape> m_cursorHistory;
    bool m_textInput = false;
    std::function<bool()> m_idleHook;
    bool m_autoAdvance = false;
};

// Writes a surface as an 8-bit RGB(A) PNG; false with nothing written on failure.
bool SaveSurfacePng(const raster::Surface& surface, const std::filesystem::path& path);

} // namespace korvane::backends
