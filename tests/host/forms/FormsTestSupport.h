#pragma once

// The older names of tests/support/FormFixture.h, for suites not moved to it yet.

#include "tests/support/FormFixture.h"

namespace korvane::forms::testing {

namespace support = korvane::testing;

class FormsTest : public support::FormFixture {
protected:
    Form& Load(std::string_view layoutText) { return *(form = &FormFixture::Load(layoutText)); }

    static POINT OnScreen(HWND hwnd, int x, int y)
    {
        POINT point { x, y };
        ClientToScreen(hwnd, &point);
        return point;
    }
    static int Ink(const raster::Surface& frame, RECT rect, COLORREF paper) { return support::Ink(frame, rect, paper); }
    static COLORREF PixelAt(const raster::Surface& frame, int x, int y) { return support::PixelAt(frame, x, y); }
    static int CountColour(const raster::Surface& surface, RECT rect, COLORREF colour)
    {
        return support::CountColour(surface, rect, colour);
    }

    backends::HeadlessBackend* headless = &Headless();
    Form* form = nullptr;
};

} // namespace korvane::forms::testing
