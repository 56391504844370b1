#pragma once

// Pictures compared pixel for pixel: with a golden PNG kept under tests/goldens/, or
// with another surface. A mismatch names the first differing pixel with both colours
// and how many differ, and leaves actual, expected and diff PNGs in the build's
// test-dumps folder. KORVANE_UPDATE_GOLDENS=1 writes the goldens instead, into the
// source tree, so the change shows up in the diff for review.

#include "host/gdi/WinTypes.h"
#include "host/raster/Surface.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string_view>

namespace korvane::testing {

// `name` is the golden's path under tests/goldens/ without ".png", e.g. "button/normal".
::testing::AssertionResult MatchesGolden(const raster::Surface& actual, std::string_view name);

// With a reference PNG kept elsewhere; `name` names the dump files a mismatch leaves.
::testing::AssertionResult MatchesPicture(const raster::Surface& actual, const std::filesystem::path& file,
    std::string_view name);

// Zero tolerance; `name` (optional) names the dump files a mismatch leaves.
::testing::AssertionResult SamePixels(const raster::Surface& actual, const raster::Surface& expected,
    std::string_view name = {});

// Pixel checks for pictures whose every pixel is not worth a golden. Rectangles are
// clipped to the surface.
COLORREF PixelAt(const raster::Surface& surface, int x, int y);
int CountColour(const raster::Surface& surface, RECT rect, COLORREF colour);
// Pixels that are not `background`.
int Ink(const raster::Surface& surface, RECT rect, COLORREF background);

} // namespace korvane::testing
