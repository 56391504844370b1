// The SDL backend on SDL's in-memory video driver, so it runs without a display:
// window state, frames on the window surface, event translation and waiting.

#include "SdlTestSupport.h"

#include "host/gdi/GdiInternal.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

using namespace korvane;
using namespace korvane::testing;
using backends::InputEvent;
using backends::MouseButton;
using backends::SdlBackend;

namespace {

constexpr std::uint32_t Blue = 0x0000FF;
constexpr std::uint32_t Red = 0xFF0000;
constexpr std::uint32_t Green = 0x00FF00;

class SdlDummyDriver : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("SDL_VIDEODRIVER", "dummy", 1); // each test runs in a process of its own
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
        if (backend) {
            EXPECT_EQ(gdi::LiveObjectCount(), gdiObjects);
        }
    }

    HWND MakeForm(raster::IntRect rect, const std::string& title = "Form", bool visible = true)
    {
        return window::CreateHostWindow({ .rect = rect, .title = title, .visible = visible });
    }

    SDL_Surface* WindowSurface(HWND hwnd) { return SDL_GetWindowSurface(SdlWindowOf(*backend, hwnd)); }
    Uint32 Id(HWND hwnd) { return backend->SdlWindowId(hwnd); }

    SdlBackend* backend = nullptr;
    std::size_t gdiObjects = 0;
};

bool Shown(SDL_Window* window) { return SDL_GetWindowFlags(window) & SDL_WINDOW_SHOWN; }

std::vector<int> PlaceOf(SDL_Window* window)
{
    int x = 0, y = 0, w = 0, h = 0;
    SDL_GetWindowPosition(window, &x, &y);
    SDL_GetWindowSize(window, &w, &h);
    return { x, y, w, h };
}

TEST_F(SdlDummyDriver, WindowFollowsTitleSizePositionAndVisibility)
{
    HWND form = MakeForm({ 30, 40, 94, 88 }, "Données ✓");
    SDL_Window* sdl = SdlWindowOf(*backend, form);
    ASSERT_NE(sdl, nullptr);
    EXPECT_STREQ(SDL_GetWindowTitle(sdl), "Données ✓");
    EXPECT_EQ(PlaceOf(sdl), (std::vector<int> { 30, 40, 64, 48 }));
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
    EXPECT_EQ(PlaceOf(sdl), (std::vector<int> { 50, 60, 80, 50 }));
    EXPECT_EQ(SurfacePixel(WindowSurface(form), 79, 49), 0xFFFFFFu);

    DestroyWindow(form);
    EXPECT_EQ(SDL_GetWindowFromID(SDL_GetWindowID(sdl)), nullptr);

    // A form made hidden appears with its first frame all the same.
    HWND later = MakeForm({ 0, 0, 20, 20 }, "Later", false);
    window::DoEvents();
    EXPECT_FALSE(Shown(SdlWindowOf(*backend, later)));
    ShowWindow(later, SW_SHOW);
    EXPECT_TRUE(Shown(SdlWindowOf(*backend, later)));
}

TEST_F(SdlDummyDriver, PresentRewritesOnlyTheChangedRectangleUnlessTheSurfaceWasLost)
{
    HWND form = MakeForm({ 0, 0, 64, 48 });
    FillWindow(form, { 0, 0, 64, 48 }, RGB(0, 0, 255));
    window::PresentWindow(form);
    SDL_Surface* surface = WindowSurface(form);
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(std::pair(SurfacePixel(surface, 0, 0), SurfacePixel(surface, 63, 47)), std::pair(Blue, Blue));

    // Paint the surface behind the backend's back: only the changed part may be rewritten.
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 255, 0));
    FillWindow(form, { 8, 8, 16, 12 }, RGB(255, 0, 0));
    window::PresentWindow(form, raster::IntRect { 8, 8, 16, 12 });
    for (auto [x, y, colour] : { std::tuple { 8, 8, Red }, { 15, 11, Red }, { 7, 8, Green }, { 16, 11, Green },
             { 15, 12, Green } })
        EXPECT_EQ(SurfacePixel(surface, x, y), colour) << x << ", " << y;

    // The platform resizes the window and back: SDL drops the surface and its pixels,
    // so the next frame is copied whole.
    SDL_Window* sdl = SdlWindowOf(*backend, form);
    SDL_SetWindowSize(sdl, 32, 32);
    SDL_SetWindowSize(sdl, 64, 48);
    FillWindow(form, { 0, 0, 4, 4 }, RGB(0, 255, 0));
    window::PresentWindow(form, raster::IntRect { 0, 0, 4, 4 });
    surface = WindowSurface(form);
    EXPECT_EQ(std::tuple(SurfacePixel(surface, 0, 0), SurfacePixel(surface, 40, 30), SurfacePixel(surface, 15, 11)),
              std::tuple(Green, Blue, Red));
}

TEST_F(SdlDummyDriver, EventsCarryTheirTopLevelWindow)
{
    HWND first = MakeForm({ 0, 0, 50, 50 }, "First");
    HWND second = MakeForm({ 100, 0, 150, 50 }, "Second");
    HWND gone = MakeForm({ 200, 0, 250, 50 }, "Gone");
    Uint32 goneId = Id(gone);
    DestroyWindow(gone);

    PushMouse(SDL_MOUSEMOTION, Id(second), 0, 3, 4);
    PushMouse(SDL_MOUSEBUTTONDOWN, Id(first), SDL_BUTTON_RIGHT, 5, 6);
    PushMouse(SDL_MOUSEBUTTONUP, Id(first), SDL_BUTTON_X1, 5, 6); // no such button here
    PushMouse(SDL_MOUSEBUTTONUP, Id(first), SDL_BUTTON_MIDDLE, 7, 8);
    PushMouse(SDL_MOUSEBUTTONDOWN, goneId, SDL_BUTTON_LEFT, 1, 1); // its window is gone
    PushKey(SDL_KEYDOWN, Id(second), SDL_SCANCODE_A, SDLK_a, KMOD_LCTRL);
    PushKey(SDL_KEYUP, 0, SDL_SCANCODE_F5, SDLK_F5, KMOD_RSHIFT | KMOD_LALT); // the focus decides its window
    PushKey(SDL_KEYDOWN, Id(first), SDL_SCANCODE_MUTE, SDLK_MUTE, 0);         // no virtual key
    PushWindowEvent(Id(second), SDL_WINDOWEVENT_LEAVE);
    PushWindowEvent(Id(first), SDL_WINDOWEVENT_EXPOSED); // handled inside the backend
    PushWindowEvent(Id(first), SDL_WINDOWEVENT_CLOSE);

    using Kind = InputEvent::Kind;
    using Seen = std::tuple<Kind, HWND, int, int, MouseButton, unsigned, unsigned>;
    std::vector<Seen> seen;
    while (std::optional<InputEvent> event = backend->PollEvent())
        seen.emplace_back(event->kind, event->window, event->x, event->y, event->button, event->virtualKey, event->modifiers);
    constexpr MouseButton Left = MouseButton::Left;
    EXPECT_EQ(seen, (std::vector<Seen> {
        { Kind::MouseMove, second, 3, 4, Left, 0, 0 },
        { Kind::MouseDown, first, 5, 6, MouseButton::Right, 0, 0 },
        { Kind::MouseUp, first, 7, 8, MouseButton::Middle, 0, 0 },
        { Kind::KeyDown, second, 0, 0, Left, 'A', backends::ModControl },
        { Kind::KeyUp, nullptr, 0, 0, Left, VK_F1 + 4, backends::ModShift | backends::ModAlt },
        { Kind::MouseLeave, second, 0, 0, Left, 0, 0 },
        { Kind::Close, first, 0, 0, Left, 0, 0 },
    }));
}

TEST_F(SdlDummyDriver, ComposedTextArrivesOnlyWhileTextInputIsOn)
{
    HWND form = MakeForm({ 0, 0, 50, 50 });
    auto pushText = [&] {
        Push(SDL_TEXTINPUT, [&](SDL_Event& event) {
            event.text.windowID = Id(form);
            std::strcpy(event.text.text, "é€");
        });
    };
    EXPECT_FALSE(SDL_IsTextInputActive());
    pushText();
    EXPECT_EQ(backend->PollEvent(), std::nullopt);

    // Focus on a window that takes text turns text input on, and off when it goes.
    SetFocus(window::CreateHostWindow({ .parent = form, .rect = { 5, 5, 45, 25 }, .title = {}, .wantsTextInput = true }));
    EXPECT_TRUE(SDL_IsTextInputActive());
    pushText();
    std::optional<InputEvent> event = backend->PollEvent();
    ASSERT_TRUE(event);
    EXPECT_EQ(std::tuple(event->kind, event->window, event->text), std::tuple(InputEvent::Kind::Text, form, "é€"));
    SetFocus(form);
    EXPECT_FALSE(SDL_IsTextInputActive());
}

TEST_F(SdlDummyDriver, WaitingKeepsTheEventItWokeFor)
{
    // Without a window and without a deadline nothing could end the wait.
    EXPECT_FALSE(backend->WaitForEvent(std::nullopt));

    HWND form = MakeForm({ 0, 0, 50, 50 });
    PushWindowEvent(Id(form), SDL_WINDOWEVENT_EXPOSED);
    PushKey(SDL_KEYDOWN, Id(form), SDL_SCANCODE_RETURN, SDLK_RETURN, 0);
    EXPECT_TRUE(backend->WaitForEvent(std::nullopt));
    // The exposure did not end the wait: the key was taken from SDL to end it.
    EXPECT_EQ(SDL_PeepEvents(nullptr, 1, SDL_PEEKEVENT, SDL_KEYDOWN, SDL_KEYDOWN), 0);
    EXPECT_TRUE(backend->WaitForEvent(backend->Now() + 1000)); // still pending: no wait
    std::optional<InputEvent> event = backend->PollEvent();
    ASSERT_TRUE(event);
    EXPECT_EQ(std::pair(event->virtualKey, event->window), std::pair(unsigned(VK_RETURN), form));

    std::uint64_t deadline = backend->Now() + 15;
    EXPECT_TRUE(backend->WaitForEvent(deadline));
    EXPECT_GE(backend->Now(), deadline);
    EXPECT_EQ(backend->PollEvent(), std::nullopt);
}

TEST(SdlBackendStartUp, WithoutADisplayThereIsNoBackendRatherThanAnInvisibleOne)
{
    for (const char* name : { "DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER" })
        unsetenv(name);
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
