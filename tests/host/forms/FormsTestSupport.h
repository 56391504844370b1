#pragma once

// A headless window system with the plain controls registered, forms loaded
// from layout text, scripted clicks and pixel counting.

#include "host/backends/headless/HeadlessBackend.h"
#include "host/forms/Form.h"
#include "host/forms/HostServices.h"
#include "host/forms/controls/PlainControls.h"
#include "host/gdi/Gdi.h"
#include "host/gdi/GdiInternal.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <memory>

namespace korvane::forms::testing {

class FormsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto backend = std::make_unique<backends::HeadlessBackend>(1024, 768);
        headless = backend.get();
        window::UseBackend(std::move(backend));
        RegisterPlainControls();
        gdiObjects = gdi::LiveObjectCount();
    }

    void TearDown() override
    {
        form.reset();
        SetShellLauncher({});
        window::ResetWindowSystem();
        EXPECT_EQ(window::LiveWindowCount(), 0u);
        EXPECT_EQ(gdi::LiveObjectCount(), gdiObjects);
        if (!resources.empty())
            std::filesystem::remove_all(resources);
    }

    // Loads and shows a form from layout text; pictures come from `resources`.
    Form& Load(const std::string& layoutText)
    {
        LayoutParseResult parsed = ParseLayout(layoutText);
        EXPECT_TRUE(parsed.form) << parsed.error;
        form = std::make_unique<Form>();
        std::string error;
        EXPECT_TRUE(form->Load(*parsed.form, resources, error)) << error;
        form->Show();
        window::DoEvents();
        return *form;
    }

    // A fresh folder for the pictures a layout names.
    const std::filesystem::path& ResourceFolder()
    {
        if (resources.empty()) {
            resources = std::filesystem::temp_directory_path()
                / ("korvane-forms-" + std::to_string(getpid()) + "-"
                    + ::testing::UnitTest::GetInstance()->current_test_info()->name());
            std::filesystem::create_directories(resources);
        }
        return resources;
    }

    static RECT ScreenRect(HWND hwnd)
    {
        RECT rect {};
        GetWindowRect(hwnd, &rect);
        return rect;
    }

    // A point of a window, given in its client coordinates, on the screen.
    static POINT OnScreen(HWND hwnd, int x, int y)
    {
        POINT point { x, y };
        ClientToScreen(hwnd, &point);
        return point;
    }

    void Press(POINT at)
    {
        headless->MoveMouse(at.x, at.y);
        headless->PressMouse();
        window::DoEvents();
    }

    void Release(POINT at)
    {
        headless->MoveMouse(at.x, at.y);
        headless->ReleaseMouse();
        window::DoEvents();
    }

    void Click(POINT at)
    {
        Press(at);
        Release(at);
    }

    void Type(const std::string& text)
    {
        headless->TypeText(text);
        window::DoEvents();
    }

    void Key(unsigned virtualKey, unsigned modifiers = 0)
    {
        headless->TypeKey(virtualKey, modifiers);
        window::DoEvents();
    }

    // Pixels of `surface` inside `rect` that differ from `background`.
    static int Ink(const raster::Surface& surface, RECT rect, COLORREF background)
    {
        int count = 0;
        raster::PixelValue paper = gdi::ToPixel(background);
        for (int y = std::max<int>(0, rect.top); y < std::min<int>(surface.Height(), rect.bottom); ++y)
            for (int x = std::max<int>(0, rect.left); x < std::min<int>(surface.Width(), rect.right); ++x)
                count += surface.At(x, y) != paper;
        return count;
    }

    static int CountColour(const raster::Surface& surface, RECT rect, COLORREF colour)
    {
        int count = 0;
        raster::PixelValue wanted = gdi::ToPixel(colour);
        for (int y = std::max<int>(0, rect.top); y < std::min<int>(surface.Height(), rect.bottom); ++y)
            for (int x = std::max<int>(0, rect.left); x < std::min<int>(surface.Width(), rect.right); ++x)
                count += surface.At(x, y) == wanted;
        return count;
    }

    static COLORREF PixelAt(const raster::Surface& surface, int x, int y) { return gdi::ToColorRef(surface.At(x, y)); }

    backends::HeadlessBackend* headless = nullptr;
    std::unique_ptr<Form> form;
    std::size_t gdiObjects = 0;
    std::filesystem::path resources;
};

} // namespace korvane::forms::testing
