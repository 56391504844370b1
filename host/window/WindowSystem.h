#pragma once

// The window system: windows with handles, the message loop, timers, focus,
// capture and composition of what windows drew into what the backend shows.
//
// Every window keeps its pixels in a surface of its own (the persistent drawing
// surface); a top-level window's frame is composed from its surface and its
// children's, back to front, each clipped to its parent, its rectangle and its
// window region. One user-interface thread runs all of it.

#include "host/backends/Backend.h"
#include "host/raster/Region.h"
#include "host/raster/Surface.h"
#include "host/window/WinUser.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace korvane::window {

// Receives a window's messages. Returning nothing leaves the message to the
// default processing (closing, focus movement by arrows, ...).
class WindowHandler {
public:
    virtual ~WindowHandler() = default;
    virtual std::optional<LRESULT> HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) = 0;
};

struct WindowCreateInfo {
    HWND parent = nullptr;       // none for a top-level window
    HWND owner = nullptr;        // a top-level window that is a dialog of this one
    raster::IntRect rect;        // in the parent's client coordinates, or the screen's
    std::string title;
    bool visible = true;
    bool enabled = true;
    bool tabStop = false;
    WindowHandler* handler = nullptr; // not owned; must outlive the window or be cleared
    backends::CursorShape cursor = backends::CursorShape::Arrow;
    // Takes composed text input (an input method) while it has the focus.
    bool wantsTextInput = false;
};

// The backend the program uses. Whoever starts the program passes it in before
// anything below runs; the window system knows no backend of its own.
void UseBackend(std::unique_ptr<backends::Backend> backend);
backends::Backend& CurrentBackend();
// Destroys every window and drops the backend; tests end with it.
void ResetWindowSystem();

HWND CreateHostWindow(const WindowCreateInfo& info);
void SetWindowHandler(HWND hwnd, WindowHandler* handler);
std::size_t LiveWindowCount();
// The program's top-level windows, front first.
std::vector<HWND> TopLevelWindows();

// The window's own pixels, sized to its client area. Null for a bad handle.
std::shared_ptr<raster::Surface> WindowSurface(HWND hwnd);
// A device context drawing on the window's surface; release it with ReleaseDC.
HDC GetWindowDC(HWND hwnd);

// Tab order: windows of one top-level window are visited by ascending tab index.
void SetTabOrder(HWND hwnd, int tabIndex, bool tabStop);
// The next (or previous) visible, enabled tab stop after `from` in its top-level window.
HWND NextTabStop(HWND from, bool forward);

void SetWindowCursor(HWND hwnd, backends::CursorShape cursor, std::shared_ptr<raster::Surface> custom = {},
    POINT hotspot = {});
// A cursor for every window of the program (the hourglass), or none to restore each window's own.
void SetProgramCursor(std::optional<backends::CursorShape> cursor);
void SetWindowIcon(HWND hwnd, const raster::Surface& icon);

// Composes the top-level window's frame and shows it; `rect` (client coordinates of
// `hwnd`) limits the work to what changed.
void PresentWindow(HWND hwnd, const std::optional<raster::IntRect>& rect = std::nullopt);
// The frame of a top-level window, or the whole screen, as the user sees it.
raster::Surface ComposeTopLevel(HWND topLevel);
raster::Surface ComposeScreen();

// Processes input, posted messages, paints and due timers until nothing is pending.
void DoEvents();
// Runs until WM_QUIT or until no top-level window is left; returns the exit code.
int RunMessageLoop();
// A nested loop that runs until `finished` says so. Returns false when the backend
// reports that no further input can arrive, so the loop would never end.
bool RunModalLoop(const std::function<bool()>& finished);

// For a backend with a virtual clock (the headless one): moves it forward by `ms`,
// firing each timer at the moments it falls due on the way and processing what
// that causes.
void AdvanceClock(unsigned ms);

// The modifier keys (backends::Modifier bits) of the latest key or mouse event.
unsigned CurrentModifiers();

// The top-level window that holds `hwnd` (itself for a top-level window).
HWND TopLevelOf(HWND hwnd);
// Whether the window and all its ancestors are enabled and visible.
bool CanTakeInput(HWND hwnd);

} // namespace korvane::window
