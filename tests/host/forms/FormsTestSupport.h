#pragma once

// The older names of tests/support/FormFixture.h, for suites not moved to it yet.

#include "tests/support/FormFixture.h"

namespace korvane::forms::testing {

class FormsTest : public korvane::testing::FormFixture {
protected:
    Form& Load(std::string_view layoutText)
    {
        form = &FormFixture::Load(layoutText);
        return *form;
    }

    static POINT OnScreen(HWND hwnd, int x, int y)
    {
        POINT point { x, y };
        ClientToScreen(hwnd, &point);
        return point;
    }
    static int Ink(const raster::Surface& surface, RECT rect, COLORREF background)
    {
        return korvane::testing::Ink(surface, rect, background);
    }
    static int CountColour(const raster::Surface& surface, RECT rect, COLORREF colour)
    {
        return korvane::testing::CountColour(surface, rect, colour);
    }
    static COLORREF PixelAt(const raster::Surface& surface, int x, int y)
    {
        return korvane::testing::PixelAt(surface, x, y);
    }

    backends::HeadlessBackend* headless = &Headless();
    Form* form = nullptr;
};

} // namespace korvane::forms::testing
