#pragma once

// What the window system needs of a platform: top-level windows that show
// composed frames, input events, a clock and a way to wait. Only the SDL backend
// includes SDL; the headless backend keeps frames in memory on a virtual clock.

#include "host/gdi/WinTypes.h"
#include "host/raster/Geometry.h"
#include "host/raster/Surface.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace korvane::backends {

enum class MouseButton { Left, Right, Middle };

// Modifier keys held during an event.
enum Modifier : unsigned { ModShift = 1, ModControl = 2, ModAlt = 4 };

enum class CursorShape { Arrow, Wait, IBeam, Hand, Cross, Custom };

struct InputEvent {
    enum class Kind {
        MouseMove,  // x, y
        MouseDown,  // x, y, button
        MouseUp,    // x, y, button
        MouseLeave, // the pointer left the window
        KeyDown,    // virtualKey, modifiers
        KeyUp,      // virtualKey, modifiers
        Text,       // text: characters typed, UTF-8, already composed by any input method
        Close,      // the user asked to close the window
    };
    Kind kind = Kind::MouseMove;
    HWND window = nullptr; // the top-level window the event belongs to
    int x = 0;             // client coordinates of that window
    int y = 0;
    MouseButton button = MouseButton::Left;
    unsigned virtualKey = 0;
    unsigned modifiers = 0;
    std::string text;
};

struct TopLevelInfo {
    std::string title; // UTF-8
    raster::IntRect rect; // screen coordinates of the client area
    bool visible = true;
    // A dialog of this top-level window: the window manager keeps it above its owner
    // and offers neither minimize nor maximize. None for an ordinary window.
    HWND owner = nullptr;
};

class Backend {
public:
    virtual ~Backend() = default;

    // Makes the platform window for a top-level window; it shows nothing until the
    // first Present.
    virtual void CreateTopLevel(HWND window, const TopLevelInfo& info) = 0;
    // Called before the window's handle dies; the platform window goes at once.
    virtual void DestroyTopLevel(HWND window) = 0;
    virtual void ShowTopLevel(HWND window, bool visible) = 0;
    virtual void MoveTopLevel(HWND window, const raster::IntRect& rect) = 0;
    virtual void SetTitle(HWND window, const std::string& title) = 0;
    // The window icon, or none when the surface is empty.
    virtual void SetIcon(HWND window, const raster::Surface& icon) = 0;

    // Shows the window's composed frame. `changed` bounds what differs from the
    // frame shown before; the backend must make it visible before returning. The
    // frame is the window system's own and changes only with the next Present, so a
    // backend may keep a reference to it until then or until the window is destroyed.
    virtual void Present(HWND window, const raster::Surface& frame, const raster::IntRect& changed) = 0;

    virtual void SetCursor(CursorShape shape, const raster::Surface* custom, POINT hotspot) = 0;
    // Text boxes receive composed text only while text input is on.
    virtual void SetTextInput(bool enabled) = 0;

    // Milliseconds on the backend's clock (virtual for the headless backend).
    virtual std::uint64_t Now() = 0;
    // Moves a virtual clock to `now`; a real clock cannot be moved and answers false.
    virtual bool SetNow(std::uint64_t now)
    {
        (void)now;
        return false;
    }
    // The next input event, without waiting.
    virtual std::optional<InputEvent> PollEvent() = 0;
    // Blocks until an event is available or the clock reaches `deadline` (no deadline:
    // wait for an event). Returns false when no event can ever arrive, so that a loop
    // waiting for one would hang; the caller then gives up.
    virtual bool WaitForEvent(std::optional<std::uint64_t> deadline) = 0;

    // The pointer in screen coordinates, and whether it is over one of the program's windows.
    virtual POINT CursorPosition() = 0;
    virtual bool CursorInsideProgram() = 0;

    virtual raster::IntRect ScreenBounds() = 0;
    virtual unsigned DoubleClickTime() = 0;
};

} // namespace korvane::backends
