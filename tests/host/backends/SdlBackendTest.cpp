// The SDL backend on a real X server (Xvfb under CTest): a form's window, its
// frames as the server shows them, and input injected through the server.

#include "SdlTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <tuple>
#include <utility>
#include <string>

#ifdef KORVANE_TEST_X11
#include "X11Probe.h"
#endif

using namespace korvane;
using backends::SdlBackend;
using korvane::testing::FillWindow;
using korvane::testing::Recorder;
using korvane::testing::SdlWindowOf;

namespace {

// One backend serves every test: opening the display again right after closing it
// fails now and then on some X servers, and the program opens it once anyway.
class SdlOnDisplay : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) {
            skipReason = "no display";
            return;
        }
        std::string error;
        auto created = SdlBackend::Create(&error);
        if (!created) {
            skipReason = "SDL cannot open the display: " + error;
            return;
        }
        shared = created.get();
        window::UseBackend(std::move(created));
    }
    static void TearDownTestSuite()
    {
        if (!shared)
            return;
        window::ResetWindowSystem();
        shared = nullptr;
        EXPECT_EQ(window::LiveWindowCount(), 0u);
        EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u) << "the backend left SDL running";
    }
    void SetUp() override
    {
        if (!shared)
            GTEST_SKIP() << skipReason;
        backend = shared;
    }
    void TearDown() override
    {
        if (!shared)
            return; // skipped: no backend to clean up after
        for (HWND form : forms)
            DestroyWindow(form);
        window::DoEvents();
        EXPECT_EQ(window::LiveWindowCount(), 0u);
    }

    HWND MakeForm(const std::string& title, raster::IntRect rect)
    {
        forms.push_back(window::CreateHostWindow({ .rect = rect, .title = title, .handler = &recorder }));
        return forms.back();
    }

    // Runs the loop until `done` holds, waking for each event; a few seconds at most,
    // because input that never arrives must fail the test rather than hang it.
    template <typename Done> bool PumpUntil(Done done)
    {
        for (int round = 0; round < 50 && !done(); ++round) {
            backend->WaitForEvent(backend->Now() + 100);
            window::DoEvents();
        }
        return done();
    }

    static inline SdlBackend* shared = nullptr;
    static inline std::string skipReason;
    SdlBackend* backend = nullptr;
    Recorder recorder;
    std::vector<HWND> forms;
};

#ifdef KORVANE_TEST_X11
using korvane::testing::X11ServerPixel;
using korvane::testing::X11Window;

// The form's X11 window, shown with its first frame; the test fails when the display is not X11.
X11Window ShownOnServer(SdlBackend& backend, HWND form)
{
    window::PresentWindow(form);
    X11Window x11 = korvane::testing::X11Of(SdlWindowOf(backend, form));
    EXPECT_NE(x11.window, 0u) << "the display is not X11 but " << SDL_GetCurrentVideoDriver() << ": " << SDL_GetError();
    return x11;
}
#endif

#ifdef KORVANE_XDOTOOL
// Input made by the X server, not queued by the test: SDL must turn it into messages.
TEST_F(SdlOnDisplay, FormWindowTakesInputFromTheServer)
{
    HWND form = MakeForm("Korvane — smoke", { 100, 80, 340, 240 });
    X11Window x11 = ShownOnServer(*backend, form);
    ASSERT_NE(x11.window, 0u);
    SDL_Window* sdl = SdlWindowOf(*backend, form);
    EXPECT_TRUE(SDL_GetWindowFlags(sdl) & SDL_WINDOW_SHOWN);
    EXPECT_GT(backend->ScreenBounds().Width(), 0);

    int left = 0, top = 0;
    SDL_GetWindowPosition(sdl, &left, &top);
    POINT target { left + 20, top + 30 };
    std::string command = "timeout 10 " KORVANE_XDOTOOL " windowfocus --sync " + std::to_string(x11.window)
        + " mousemove --sync " + std::to_string(target.x) + " " + std::to_string(target.y) + " click 1 key a";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    EXPECT_TRUE(PumpUntil([&] { return !recorder.Of(WM_KEYUP).empty(); }));
    ASSERT_EQ(std::pair(recorder.Of(WM_LBUTTONDOWN).size(), recorder.Of(WM_LBUTTONUP).size()),
              (std::pair<std::size_t, std::size_t> { 1, 1 }));
    const MSG down = recorder.Of(WM_LBUTTONDOWN)[0];
    EXPECT_EQ(std::pair(down.hwnd, down.lParam), std::pair(form, MAKELPARAM(20, 30)));
    ASSERT_FALSE(recorder.Of(WM_KEYDOWN).empty());
    EXPECT_EQ(std::pair(recorder.Of(WM_KEYDOWN)[0].wParam, recorder.Of(WM_KEYUP)[0].wParam), std::pair(WPARAM('A'), WPARAM('A')));
    EXPECT_TRUE(backend->CursorInsideProgram());
    POINT at = backend->CursorPosition();
    EXPECT_EQ((std::pair { at.x, at.y }), (std::pair { target.x, target.y }));
    ASSERT_EQ(std::system("timeout 10 " KORVANE_XDOTOOL " mousemove --sync 5 5"), 0);
    EXPECT_TRUE(PumpUntil([&] { return !backend->CursorInsideProgram(); }));
}
#endif

#ifdef KORVANE_TEST_X11
TEST_F(SdlOnDisplay, EveryFrameOfATightRepaintLoopReachesTheServer)
{
    HWND form = MakeForm("Repaint", { 50, 50, 150, 110 });
    X11Window x11 = ShownOnServer(*backend, form);
    ASSERT_NE(x11.window, 0u);
    for (int step = 0; step < 16; ++step) {
        auto level = static_cast<BYTE>(step * 16);
        FillWindow(form, { 10, 10, 40, 30 }, RGB(level, 255 - level, 0x40));
        window::PresentWindow(form, raster::IntRect { 10, 10, 40, 30 });
        unsigned long expected = (static_cast<unsigned long>(level) << 16) | ((255ul - level) << 8) | 0x40;
        EXPECT_EQ(X11ServerPixel(x11, 25, 20), expected) << "step " << step;
    }
    EXPECT_EQ(X11ServerPixel(x11, 5, 5), 0xFFFFFFul);
}

TEST_F(SdlOnDisplay, IconAndCursorsComeFromSurfaces)
{
    HWND form = MakeForm("Icon", { 50, 50, 150, 110 });
    X11Window x11 = ShownOnServer(*backend, form);
    ASSERT_NE(x11.window, 0u);

    raster::Surface icon(16, 8, raster::SurfaceFormat::Colour32, 0x336699);
    window::SetWindowIcon(form, icon);
    std::vector<unsigned long> words = korvane::testing::X11WindowIcon(x11);
    ASSERT_EQ(words.size(), 2u + 16u * 8u);
    // Width, height, then the first pixel, opaque.
    EXPECT_EQ(std::tuple(words[0], words[1], words[2] & 0xFFFFFFFFul), std::tuple(16ul, 8ul, 0xFF336699ul));

    // A custom cursor replaces the shown one; the sanitizers see that each one SDL
    // made is freed once (its address may come back for the next cursor).
    SDL_Cursor* before = SDL_GetCursor();
    raster::Surface arrow(8, 8, raster::SurfaceFormat::Colour32, 0x000000);
    backend->SetCursor(backends::CursorShape::Custom, &arrow, POINT { 1, 1 });
    EXPECT_NE(SDL_GetCursor(), nullptr);
    EXPECT_NE(SDL_GetCursor(), before);
    std::set<SDL_Cursor*> system;
    for (backends::CursorShape shape : { backends::CursorShape::Wait, backends::CursorShape::IBeam,
             backends::CursorShape::Hand, backends::CursorShape::Cross, backends::CursorShape::Arrow }) {
        backend->SetCursor(shape, nullptr, {});
        system.insert(SDL_GetCursor());
    }
    EXPECT_EQ(system.size(), 5u) << "each shape has a cursor of its own";
    backend->SetCursor(backends::CursorShape::Wait, nullptr, {});
    SDL_Cursor* wait = SDL_GetCursor();
    backend->SetCursor(backends::CursorShape::Custom, &arrow, POINT { 0, 0 });
    backend->SetCursor(backends::CursorShape::Wait, nullptr, {});
    EXPECT_EQ(SDL_GetCursor(), wait) << "system cursors are made once and kept";
}
#endif

} // namespace
