// The SDL backend on SDL's in-memory video driver, so it runs without a display:
// window state, frames on the window surface, event translation and waiting.

#include "SdlTestSupport.h"

#include "host/gdi/GdiInternal.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

using namespace korvane;
using backends::InputEvent;
using backends::MouseButton;
using backends::SdlBackend;
using korvane::testing::FillWindow;
using korvane::testing::Recorder;
using korvane::testing::SdlWindowOf;
using korvane::testing::SurfacePixel;

namespace {

constexpr std::uint32_t Blue = 0x0000FF;
constexpr std::uint32_t Red = 0xFF0000;
constexpr std::uint32_t Green = 0x00FF00;

class SdlDummyDriver : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (const char* driver = std::getenv("SDL_VIDEODRIVER"))
            previousDriver = driver;
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        std::string error;
        auto created = SdlBackend::Create(&error);
        if (!created)
            GTEST_SKIP() << "SDL has no dummy video driver: " << error;
        backend = created.get();
        window::UseBackend(std::move(created));
        gdiObjects = gdi::LiveObjectCount();
    }
    void TearDown() override
    {
        window::ResetWindowSystem();
        EXPECT_EQ(window::LiveWindowCount(), 0u);
        if (backend) {
            EXPECT_EQ(gdi::LiveObjectCount(), gdiObjects);
        }
        if (previousDriver)
            setenv("SDL_VIDEODRIVER", previousDriver->c_str(), 1);
        else
            unsetenv("SDL_VIDEODRIVER");
    }

    HWND MakeForm(raster::IntRect rect, const std::string& title = "Form", bool visible = true)
    {
        window::WindowCreateInfo info;
        info.rect = rect;
        info.title = title;
        info.visible = visible;
        info.handler = &recorder;
        return window::CreateHostWindow(info);
    }

    SDL_Surface* WindowSurface(HWND hwnd) { return SDL_GetWindowSurface(SdlWindowOf(*backend, hwnd)); }

    Uint32 Id(HWND hwnd) { return backend->SdlWindowId(hwnd); }

    SdlBackend* backend = nullptr;
    Recorder recorder;
    Recorder childMessages; // outlives the windows, which go in TearDown
    std::size_t gdiObjects = 0;
    std::optional<std::string> previousDriver;
};

bool Shown(SDL_Window* window) { return SDL_GetWindowFlags(window) & SDL_WINDOW_SHOWN; }

TEST_F(SdlDummyDriver, WindowFollowsTitleSizePositionAndVisibility)
{
    HWND form = MakeForm({ 30, 40, 94, 88 }, "Données ✓");
    SDL_Window* sdl = SdlWindowOf(*backend, form);
    ASSERT_NE(sdl, nullptr);
    EXPECT_STREQ(SDL_GetWindowTitle(sdl), "Données ✓");
    int x = 0, y = 0, w = 0, h = 0;
    SDL_GetWindowPosition(sdl, &x, &y);
    SDL_GetWindowSize(sdl, &w, &h);
    EXPECT_EQ((std::vector<int> { x, y, w, h }), (std::vector<int> { 30, 40, 64, 48 }));
    EXPECT_FALSE(SDL_GetWindowFlags(sdl) & SDL_WINDOW_RESIZABLE);

    // Nothing shows before there is a frame to show.
    EXPECT_FALSE(Shown(sdl));
    window::PresentWindow(form);
    EXPECT_TRUE(Shown(sdl));
    ShowWindow(form, SW_HIDE);
    EXPECT_FALSE(Shown(sdl));
    ShowWindow(form, SW_SHOW);
    EXPECT_TRUE(Shown(sdl));

    SetWindowTextA(form, "Renamed");
    EXPECT_STREQ(SDL_GetWindowTitle(sdl), "Renamed");
    MoveWindow(form, 50, 60, 80, 50, TRUE);
    SDL_GetWindowPosition(sdl, &x, &y);
    SDL_GetWindowSize(sdl, &w, &h);
    EXPECT_EQ((std::vector<int> { x, y, w, h }), (std::vector<int> { 50, 60, 80, 50 }));
    EXPECT_EQ(SurfacePixel(WindowSurface(form), 79, 49), 0xFFFFFFu);

    DestroyWindow(form);
    EXPECT_EQ(SDL_GetWindowFromID(SDL_GetWindowID(sdl)), nullptr);
}

TEST_F(SdlDummyDriver, HiddenFormAppearsWithItsFirstFrame)
{
    HWND form = MakeForm({ 0, 0, 20, 20 }, "Later", false);
    SDL_Window* sdl = SdlWindowOf(*backend, form);
    window::DoEvents();
    EXPECT_FALSE(Shown(sdl));
    ShowWindow(form, SW_SHOW);
    EXPECT_TRUE(Shown(sdl));
}

TEST_F(SdlDummyDriver, PresentCopiesTheChangedRectangleWhereItBelongs)
{
    HWND form = MakeForm({ 0, 0, 64, 48 });
    FillWindow(form, { 0, 0, 64, 48 }, RGB(0, 0, 255));
    window::PresentWindow(form);
    SDL_Surface* surface = WindowSurface(form);
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(SurfacePixel(surface, 0, 0), Blue);
    EXPECT_EQ(SurfacePixel(surface, 63, 47), Blue);

    // Paint the surface behind the backend's back: only the changed part may be rewritten.
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 255, 0));
    FillWindow(form, { 8, 8, 16, 12 }, RGB(255, 0, 0));
    window::PresentWindow(form, raster::IntRect { 8, 8, 16, 12 });
    EXPECT_EQ(SurfacePixel(surface, 8, 8), Red);
    EXPECT_EQ(SurfacePixel(surface, 15, 11), Red);
    EXPECT_EQ(SurfacePixel(surface, 7, 8), Green);
    EXPECT_EQ(SurfacePixel(surface, 16, 11), Green);
    EXPECT_EQ(SurfacePixel(surface, 15, 12), Green);
}

TEST_F(SdlDummyDriver, ALostWindowSurfaceIsRefilledWhole)
{
    HWND form = MakeForm({ 0, 0, 64, 48 });
    FillWindow(form, { 0, 0, 64, 48 }, RGB(0, 0, 255));
    window::PresentWindow(form);

    // The platform resizes the window and back: SDL drops the surface and its pixels.
    SDL_Window* sdl = SdlWindowOf(*backend, form);
    SDL_SetWindowSize(sdl, 32, 32);
    SDL_SetWindowSize(sdl, 64, 48);
    FillWindow(form, { 0, 0, 4, 4 }, RGB(255, 0, 0));
    window::PresentWindow(form, raster::IntRect { 0, 0, 4, 4 });
    SDL_Surface* surface = WindowSurface(form);
    EXPECT_EQ(SurfacePixel(surface, 0, 0), Red);
    EXPECT_EQ(SurfacePixel(surface, 40, 30), Blue);
    EXPECT_EQ(SurfacePixel(surface, 63, 47), Blue);
}

void Push(SDL_Event event) { ASSERT_EQ(SDL_PushEvent(&event), 1); }

SDL_Event MouseButtonEvent(Uint32 type, Uint32 window, Uint8 button, int x, int y)
{
    SDL_Event event {};
    event.type = type;
    event.button.windowID = window;
    event.button.button = button;
    event.button.x = x;
    event.button.y = y;
    return event;
}

SDL_Event KeyEvent(Uint32 type, Uint32 window, SDL_Scancode scancode, SDL_Keycode keycode, Uint16 modifiers)
{
    SDL_Event event {};
    event.type = type;
    event.key.windowID = window;
    event.key.keysym.scancode = scancode;
    event.key.keysym.sym = keycode;
    event.key.keysym.mod = modifiers;
    return event;
}

SDL_Event WindowEvent(Uint32 window, Uint8 what)
{
    SDL_Event event {};
    event.type = SDL_WINDOWEVENT;
    event.window.windowID = window;
    event.window.event = what;
    return event;
}

TEST_F(SdlDummyDriver, EventsCarryTheirTopLevelWindow)
{
    HWND first = MakeForm({ 0, 0, 50, 50 }, "First");
    HWND second = MakeForm({ 100, 0, 150, 50 }, "Second");
    HWND gone = MakeForm({ 200, 0, 250, 50 }, "Gone");
    Uint32 goneId = Id(gone);
    DestroyWindow(gone);

    SDL_Event motion {};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.windowID = Id(second);
    motion.motion.x = 3;
    motion.motion.y = 4;
    Push(motion);
    Push(MouseButtonEvent(SDL_MOUSEBUTTONDOWN, Id(first), SDL_BUTTON_RIGHT, 5, 6));
    Push(MouseButtonEvent(SDL_MOUSEBUTTONUP, Id(first), SDL_BUTTON_X1, 5, 6)); // no such button here
    Push(MouseButtonEvent(SDL_MOUSEBUTTONUP, Id(first), SDL_BUTTON_MIDDLE, 7, 8));
    Push(MouseButtonEvent(SDL_MOUSEBUTTONDOWN, goneId, SDL_BUTTON_LEFT, 1, 1)); // its window is gone
    Push(KeyEvent(SDL_KEYDOWN, Id(second), SDL_SCANCODE_A, SDLK_a, KMOD_LCTRL));
    Push(KeyEvent(SDL_KEYUP, 0, SDL_SCANCODE_F5, SDLK_F5, KMOD_RSHIFT | KMOD_LALT));
    Push(KeyEvent(SDL_KEYDOWN, Id(first), SDL_SCANCODE_MUTE, SDLK_MUTE, 0)); // no virtual key
    Push(WindowEvent(Id(second), SDL_WINDOWEVENT_LEAVE));
    Push(WindowEvent(Id(first), SDL_WINDOWEVENT_EXPOSED)); // handled inside the backend
    Push(WindowEvent(Id(first), SDL_WINDOWEVENT_CLOSE));

    std::vector<InputEvent> events;
    while (std::optional<InputEvent> event = backend->PollEvent())
        events.push_back(*event);
    ASSERT_EQ(events.size(), 7u);
    using Kind = InputEvent::Kind;
    EXPECT_EQ(events[0].kind, Kind::MouseMove);
    EXPECT_EQ(events[0].window, second);
    EXPECT_EQ((std::pair { events[0].x, events[0].y }), (std::pair { 3, 4 }));
    EXPECT_EQ(events[1].kind, Kind::MouseDown);
    EXPECT_EQ(events[1].window, first);
    EXPECT_EQ(events[1].button, MouseButton::Right);
    EXPECT_EQ((std::pair { events[1].x, events[1].y }), (std::pair { 5, 6 }));
    EXPECT_EQ(events[2].kind, Kind::MouseUp);
    EXPECT_EQ(events[2].button, MouseButton::Middle);
    EXPECT_EQ(events[3].kind, Kind::KeyDown);
    EXPECT_EQ(events[3].window, second);
    EXPECT_EQ(events[3].virtualKey, unsigned('A'));
    EXPECT_EQ(events[3].modifiers, unsigned(backends::ModControl));
    EXPECT_EQ(events[4].kind, Kind::KeyUp);
    EXPECT_EQ(events[4].window, nullptr); // no window had the keyboard: the focus decides
    EXPECT_EQ(events[4].virtualKey, VK_F1 + 4u);
    EXPECT_EQ(events[4].modifiers, unsigned(backends::ModShift | backends::ModAlt));
    EXPECT_EQ(events[5].kind, Kind::MouseLeave);
    EXPECT_EQ(events[5].window, second);
    EXPECT_EQ(events[6].kind, Kind::Close);
    EXPECT_EQ(events[6].window, first);
}

TEST_F(SdlDummyDriver, ComposedTextArrivesOnlyWhileTextInputIsOn)
{
    HWND form = MakeForm({ 0, 0, 50, 50 });
    SDL_Event text {};
    text.type = SDL_TEXTINPUT;
    text.text.windowID = Id(form);
    std::strcpy(text.text.text, "é€");

    EXPECT_FALSE(SDL_IsTextInputActive());
    SDL_PushEvent(&text);
    EXPECT_EQ(backend->PollEvent(), std::nullopt);

    // Focus on a window that takes text turns text input on, and off when it goes.
    window::WindowCreateInfo info;
    info.parent = form;
    info.rect = { 5, 5, 45, 25 };
    info.wantsTextInput = true;
    info.handler = &recorder;
    HWND box = window::CreateHostWindow(info);
    SetFocus(box);
    EXPECT_TRUE(SDL_IsTextInputActive());
    Push(text);
    std::optional<InputEvent> event = backend->PollEvent();
    ASSERT_TRUE(event);
    EXPECT_EQ(event->kind, InputEvent::Kind::Text);
    EXPECT_EQ(event->window, form);
    EXPECT_EQ(event->text, "é€");
    SetFocus(form);
    EXPECT_FALSE(SDL_IsTextInputActive());
}

TEST_F(SdlDummyDriver, WaitingKeepsTheEventItWokeFor)
{
    // Without a window and without a deadline nothing could end the wait.
    EXPECT_FALSE(backend->WaitForEvent(std::nullopt));

    HWND form = MakeForm({ 0, 0, 50, 50 });
    Push(WindowEvent(Id(form), SDL_WINDOWEVENT_EXPOSED));
    Push(KeyEvent(SDL_KEYDOWN, Id(form), SDL_SCANCODE_RETURN, SDLK_RETURN, 0));
    EXPECT_TRUE(backend->WaitForEvent(std::nullopt));
    // The exposure did not end the wait: the key was taken from SDL to end it.
    EXPECT_EQ(SDL_PeepEvents(nullptr, 1, SDL_PEEKEVENT, SDL_KEYDOWN, SDL_KEYDOWN), 0);
    EXPECT_TRUE(backend->WaitForEvent(backend->Now() + 1000)); // still pending: no wait
    std::optional<InputEvent> event = backend->PollEvent();
    ASSERT_TRUE(event);
    EXPECT_EQ(event->virtualKey, unsigned(VK_RETURN));
    EXPECT_EQ(event->window, form);

    std::uint64_t deadline = backend->Now() + 15;
    EXPECT_TRUE(backend->WaitForEvent(deadline));
    EXPECT_GE(backend->Now(), deadline);
    EXPECT_EQ(backend->PollEvent(), std::nullopt);
}

TEST_F(SdlDummyDriver, ClicksReachTheChildUnderThePointer)
{
    HWND form = MakeForm({ 0, 0, 80, 60 });
    window::WindowCreateInfo info;
    info.parent = form;
    info.rect = { 10, 20, 50, 40 };
    info.handler = &childMessages;
    HWND child = window::CreateHostWindow(info);
    window::DoEvents();

    Push(MouseButtonEvent(SDL_MOUSEBUTTONDOWN, Id(form), SDL_BUTTON_LEFT, 15, 27));
    Push(MouseButtonEvent(SDL_MOUSEBUTTONUP, Id(form), SDL_BUTTON_LEFT, 15, 27));
    window::DoEvents();
    ASSERT_EQ(childMessages.Of(WM_LBUTTONDOWN).size(), 1u);
    EXPECT_EQ(childMessages.Of(WM_LBUTTONDOWN)[0].hwnd, child);
    EXPECT_EQ(childMessages.Of(WM_LBUTTONDOWN)[0].lParam, MAKELPARAM(5, 7));
    EXPECT_EQ(childMessages.Of(WM_LBUTTONUP).size(), 1u);
    EXPECT_TRUE(recorder.Of(WM_LBUTTONDOWN).empty());
}

// Sets environment variables for one scope and puts the old values back.
class ScopedEnvironment {
public:
    void Unset(const char* name)
    {
        const char* value = std::getenv(name);
        saved.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
        unsetenv(name);
    }
    ~ScopedEnvironment()
    {
        for (const auto& [name, value] : saved) {
            if (value)
                setenv(name.c_str(), value->c_str(), 1);
            else
                unsetenv(name.c_str());
        }
    }

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved;
};

TEST(SdlBackendStartUp, WithoutADisplayThereIsNoBackendRatherThanAnInvisibleOne)
{
    ScopedEnvironment environment;
    for (const char* name : { "DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER" })
        environment.Unset(name);
    std::string error;
    std::unique_ptr<SdlBackend> backend = SdlBackend::Create(&error);
    if (backend) {
        // A console driver (KMS/DRM) is a real display; SDL's fallbacks are not.
        EXPECT_STRNE(SDL_GetCurrentVideoDriver(), "offscreen");
        EXPECT_STRNE(SDL_GetCurrentVideoDriver(), "dummy");
    } else {
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u);
    }
}

} // namespace
