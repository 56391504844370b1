#pragma once

#include "host/raster/Result.h"

namespace korvane::raster::image {
using raster::Done;
using raster::Failure;
using raster::Result;
}
