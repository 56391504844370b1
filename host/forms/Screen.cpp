#include "host/forms/Control.h"
#include "host/forms/HostServices.h"

#include <unistd.h>

#include <vector>

namespace korvane::forms {

namespace {
int g_mousePointer = vbDefault;
}

int Screen::MousePointer() { return g_mousePointer; }

void Screen::SetMousePointer(int pointer)
{
    g_mousePointer = pointer;
    if (pointer == vbHourglass)
        window::SetProgramCursor(backends::CursorShape::Wait);
    else if (pointer == vbArrow)
        window::SetProgramCursor(backends::CursorShape::Arrow);
    else if (pointer == vbIbeam)
        window::SetProgramCursor(backends::CursorShape::IBeam);
    else
        window::SetProgramCursor(std::nullopt);
}

int Screen::Width() { return window::CurrentBackend().ScreenBounds().Width() * kTwipsPerPixel; }
int Screen::Height() { return window::CurrentBackend().ScreenBounds().Height() * kTwipsPerPixel; }
int Screen::TwipsPerPixelX() { return kTwipsPerPixel; }
int Screen::TwipsPerPixelY() { return kTwipsPerPixel; }

std::filesystem::path App::Path()
{
    std::vector<char> buffer(4096, '\0');
    ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (length <= 0)
        return std::filesystem::current_path();
    std::filesystem::path folder = std::filesystem::path(std::string(buffer.data(), static_cast<std::size_t>(length))).parent_path();
    return folder.empty() ? std::filesystem::path("/") : folder;
}

std::string App::PathText() { return Path().string(); }

} // namespace korvane::forms
