#pragma once

// The window system's shared state and the calls its parts make of each other.
// Not part of the public interface: only host/window includes it.

#include "host/window/WindowSystem.h"

#include <cstdint>
#include <deque>
#include <map>
#include <unordered_map>

namespace korvane::window {

struct Window {
    HWND handle = nullptr;
    HWND parent = nullptr;
    std::vector<HWND> children; // front (top of the z-order) first
    raster::IntRect rect;       // parent client coordinates, or screen coordinates
    std::string title;
    bool visible = true;
    bool enabled = true;
    bool tabStop = false;
    bool wantsTextInput = false;
    int tabIndex = 0;
    std::optional<raster::Region> region; // window coordinates
    std::shared_ptr<raster::Surface> surface;
    std::map<std::string, HANDLE> properties;
    WindowHandler* handler = nullptr;
    backends::CursorShape cursor = backends::CursorShape::Arrow;
    std::shared_ptr<raster::Surface> customCursor;
    POINT cursorHotspot {};
    bool needsPaint = false;
    std::uint64_t creationOrder = 0;
};

struct Timer {
    HWND window;
    UINT_PTR id;
    UINT interval;
    TIMERPROC callback;
    std::uint64_t due;
};

// The press a following one may complete into a double click.
struct ClickMemory {
    HWND window = nullptr;
    backends::MouseButton button = backends::MouseButton::Left;
    std::uint64_t time = 0;
    POINT at {};
    bool armed = false;
};

struct SystemState {
    std::unique_ptr<backends::Backend> backend;
    std::unordered_map<HWND, std::unique_ptr<Window>> windows;
    std::vector<HWND> topLevels; // front first
    std::deque<MSG> queue;
    std::vector<Timer> timers;
    HWND focus = nullptr;
    HWND capture = nullptr;
    HWND hovered = nullptr;
    std::optional<backends::CursorShape> programCursor;
    ClickMemory lastClick;
    unsigned buttonsDown = 0; // MK_ bits of the mouse buttons held
    unsigned modifiers = 0;   // backends::Modifier bits of the latest key or mouse event
    std::map<HWND, raster::Surface> frames; // last frame shown per top-level window
    bool quit = false;
    int exitCode = 0;
    std::uintptr_t nextHandle = 0x10000;
    std::uint64_t creations = 0;
};

SystemState& State();
Window* Find(HWND hwnd);
// Gives the message to the window's handler; nothing when it has none or declines.
std::optional<LRESULT> Deliver(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Sides of the box, centred on the first press, that a second press must land in to
// make a double click (SM_CXDOUBLECLK, SM_CYDOUBLECLK): a hand that shakes a little
// still double-clicks, two clicks on neighbouring spots stay two clicks.
inline constexpr int kDoubleClickBox = 4;

// Placement
POINT ClientOriginOnScreen(const Window& window);
// The topmost window of the program under a screen point, or NULL.
HWND HitTestScreen(POINT point);
// Sizes the window's surface to its rectangle, keeping the pixels that still fit.
void ResizeSurface(Window& window);

// Composition
void PresentAll();
// Sends WM_PAINT to every window that was invalidated; false when none was.
bool DeliverPaints();

// Focus
// The focus leaves a window that is going, hidden or disabled.
void MoveFocusAwayFrom(HWND hwnd);
void MoveFocusByTab(HWND from, bool forward);

// Input routing and cursors
void Route(const backends::InputEvent& event);
void ApplyCursor(HWND over);

// Message loop and timers
void PostToWindow(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void Dispatch(const MSG& msg);
void DefaultProcessing(const MSG& msg);
std::optional<std::uint64_t> NextTimerDue();
// Fires every timer due by now, each at most once; false when none was due.
bool FireDueTimers();

} // namespace korvane::window
