#include "X11Probe.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace korvane::testing {

X11Window X11Of(SDL_Window* window)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
        return {};
    return X11Window { info.info.x11.display, info.info.x11.window };
}

unsigned long X11ServerPixel(const X11Window& x11, int x, int y)
{
    XImage* image = XGetImage(static_cast<Display*>(x11.display), x11.window, x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image)
        return ~0ul;
    unsigned long pixel = XGetPixel(image, 0, 0) & 0xFFFFFFul;
    XDestroyImage(image);
    return pixel;
}

std::vector<unsigned long> X11WindowIcon(const X11Window& x11)
{
    auto* server = static_cast<Display*>(x11.display);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    Atom property = XInternAtom(server, "_NET_WM_ICON", False);
    if (XGetWindowProperty(server, x11.window, property, 0, 1 << 16, False, XA_CARDINAL, &type, &format, &count, &after,
            &data) != Success || !data)
        return {};
    // Xlib hands 32-bit properties over as longs.
    const auto* words = reinterpret_cast<const unsigned long*>(data);
    std::vector<unsigned long> icon(words, words + count);
    XFree(data);
    return icon;
}

} // namespace korvane::testing
