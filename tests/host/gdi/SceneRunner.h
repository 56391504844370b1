#pragma once

// Replays the call lists that accompany the GDI reference pictures through the facade:
// the canvas, the calls in order with their arguments, compared with the results GDI
// recorded and the region rectangles it listed, and what the program wrote to pixels
// outside GDI, as the remarks say.

#include "host/raster/Surface.h"

#include <istream>
#include <string>
#include <vector>

namespace korvane::gdi::test {

struct SceneReplay {
    raster::Surface picture; // the canvas afterwards, of the size the scene names
    std::vector<std::string> unsupported; // calls not served, passed over when replaying
    std::vector<std::string> problems;    // disagreements with GDI's results, one line each
};

// Every object the scene made is deleted again before this returns.
SceneReplay ReplayScene(std::istream& script);

}
