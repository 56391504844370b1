#pragma once

// Forward declarations so headers that only pass these types around stay light.
namespace korvane::raster {

struct IntRect;
struct IntPoint;
class Surface;
class Region;
class Brush;
class Pattern;
class Painter;
class LineStepper;

}
