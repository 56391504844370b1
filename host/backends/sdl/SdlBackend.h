#pragma once

// A backend on a real display through SDL2. This folder holds the only code of the
// program that sees SDL; the header keeps SDL types out so that nothing above it
// has to include SDL.
//
// Implemented features:
//  [x] one SDL window per top-level window: fixed client size, UTF-8 title, icon,
//      shown, hidden and moved; it stays hidden until its first frame is presented
//  [x] frames copied to the window surface, only the changed rectangle, visible at
//      once (no vertical sync); a lost or resized window surface is refilled
//  [x] mouse buttons (left, right, middle), motion and leaving, in client coordinates
//  [x] keys as Win32 virtual-key codes with Shift, Control and Alt; composed text
//      while text input is on
//  [x] several windows: every event names the top-level window it belongs to
//  [x] system cursors (arrow, hourglass, I-beam, hand, cross) and custom cursors
//  [x] SDL's millisecond clock; waiting blocks in SDL until an event or the deadline
//  [x] dialogs of an owner window (message boxes) kept above it by the window manager
//  [x] a desktop scale of 2 or more: windows drawn at that integer multiple with
//      nearest-neighbour scaling, input and placement scaled back
//  [ ] custom cursors at the desktop's scale: they keep their own size
//  [ ] removing a window icon: SDL2 can only replace one
//  [ ] the platform's double-click time: X11 has none, so it is always 500 ms

#include "host/backends/Backend.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace korvane::backends {

class SdlBackend : public Backend {
public:
    // Starts SDL's video subsystem; null when there is no display to open, with
    // SDL's reason in `error` when one is given.
    static std::unique_ptr<SdlBackend> Create(std::string* error = nullptr);

    // The system clipboard's text while SDL's video is up; nothing (or false) otherwise.
    static std::optional<std::string> ClipboardText();
    static bool SetClipboardText(const std::string& text);
    ~SdlBackend() override;

    SdlBackend(const SdlBackend&) = delete;
    SdlBackend& operator=(const SdlBackend&) = delete;

    // SDL's id of the top-level window's SDL window (0 for none), for tests that
    // look at the window through SDL.
    std::uint32_t SdlWindowId(HWND window) const;

    void CreateTopLevel(HWND window, const TopLevelInfo& info) override;
    void DestroyTopLevel(HWND window) override;
    void ShowTopLevel(HWND window, bool visible) override;
    void MoveTopLevel(HWND window, const raster::IntRect& rect) override;
    void SetTitle(HWND window, const std::string& title) override;
    void SetIcon(HWND window, const raster::Surface& icon) override;
    void Present(HWND window, const raster::Surface& frame, const raster::IntRect& changed) override;
    void SetCursor(CursorShape shape, const raster::Surface* custom, POINT hotspot) override;
    void SetTextInput(bool enabled) override;
    std::uint64_t Now() override;
    std::optional<InputEvent> PollEvent() override;
    bool WaitForEvent(std::optional<std::uint64_t> deadline) override;
    POINT CursorPosition() override;
    bool CursorInsideProgram() override;
    raster::IntRect ScreenBounds() override;
    unsigned DoubleClickTime() override { return 500; }

    struct Data; // every piece of the backend's state, defined beside the code

private:
    SdlBackend();

    std::unique_ptr<Data> m_data;
};

// The Win32 virtual-key code of an SDL key (its SDL_Scancode, SDL_Keycode and the
// SDL_Keymod bits held), or 0 for a key that has none. As on Windows, letters follow
// the keyboard layout, the digit row follows its place on the keyboard, and the
// keypad gives the navigation keys while Num Lock is off.
unsigned VirtualKeyForSdlKey(int scancode, int keycode, unsigned sdlModifiers);
// Screen pixels per window-system pixel: GDK_SCALE when the desktop sets it (a whole
// number), else the whole multiple of 96 in Xft.dpi; 1 for fractional desktops, at
// most kMaxScale.
inline constexpr int kMaxScale = 8;
inline constexpr double kStandardDpi = 96;
int ScaleFactorFor(const char* gdkScale, double xftDpi);
// ModShift, ModControl and ModAlt from SDL_Keymod bits.
unsigned ModifiersForSdl(unsigned sdlModifiers);

} // namespace korvane::backends
