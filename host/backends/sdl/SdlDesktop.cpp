#include "host/backends/sdl/SdlDesktop.h"

#include <SDL_syswm.h>
#if defined(SDL_VIDEO_DRIVER_X11) && defined(KORVANE_X11_HINTS)
// Kept out of the backend's main file: Xlib's macros (CursorShape, None) clash with its names.
#include <X11/Xlib.h>
#include <X11/Xresource.h>
#endif

#include <cstdlib>
#include <cstring>

namespace korvane::backends {

// Ties a dialog to its owner: transient for it (WM_TRANSIENT_FOR on X11), so the
// window manager keeps it above the owner and raises it with the owner; and on X11
// the Motif hints take away minimize and maximize, which a dialog has no use for.
void MakeDialogOf(SDL_Window* dialog, SDL_Window* owner)
{
    SDL_SetWindowModalFor(dialog, owner);
#if defined(SDL_VIDEO_DRIVER_X11) && defined(KORVANE_X11_HINTS)
    SDL_SysWMinfo wm;
    SDL_VERSION(&wm.version);
    if (!SDL_GetWindowWMInfo(dialog, &wm) || wm.subsystem != SDL_SYSWM_X11)
        return;
    // _MOTIF_WM_HINTS: flags, functions, decorations, input mode, status.
    constexpr unsigned long kFunctionsAndDecorations = 1 | 2;
    constexpr unsigned long kMoveAndClose = 4 | 32;
    constexpr unsigned long kBorderTitleAndMenu = 2 | 8 | 16;
    unsigned long hints[5] = { kFunctionsAndDecorations, kMoveAndClose, kBorderTitleAndMenu, 0, 0 };
    Display* display = wm.info.x11.display;
    Atom motif = XInternAtom(display, "_MOTIF_WM_HINTS", False);
    XChangeProperty(display, wm.info.x11.window, motif, motif, 32, PropModeReplace,
        reinterpret_cast<unsigned char*>(hints), 5);
#endif
}

#if defined(SDL_VIDEO_DRIVER_X11) && defined(KORVANE_X11_HINTS)
namespace {

XErrorHandler g_previousHandler = nullptr;

int IgnoreBadWindow(Display* display, XErrorEvent* error)
{
    if (error->error_code == BadWindow)
        return 0;
    return g_previousHandler ? g_previousHandler(display, error) : 0;
}

} // namespace
#endif

void ToleratePassingWindows()
{
#if defined(SDL_VIDEO_DRIVER_X11) && defined(KORVANE_X11_HINTS)
    if (std::strcmp(SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "", "x11") != 0)
        return;
    XErrorHandler previous = XSetErrorHandler(IgnoreBadWindow);
    if (previous != IgnoreBadWindow)
        g_previousHandler = previous;
#endif
}

double DesktopXftDpi()
{
#if defined(SDL_VIDEO_DRIVER_X11) && defined(KORVANE_X11_HINTS)
    // Desktops publish their scale in the server's resources, as Xft.dpi.
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return 0;
    double dpi = 0;
    if (const char* resources = XResourceManagerString(display)) {
        XrmInitialize();
        if (XrmDatabase database = XrmGetStringDatabase(resources)) {
            char* type = nullptr;
            XrmValue value {};
            if (XrmGetResource(database, "Xft.dpi", "Xft.Dpi", &type, &value) && value.addr)
                dpi = std::strtod(value.addr, nullptr);
            XrmDestroyDatabase(database);
        }
    }
    XCloseDisplay(display);
    return dpi;
#else
    return 0;
#endif
}

} // namespace korvane::backends
