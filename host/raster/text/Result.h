#pragma once

#include "host/raster/Result.h"

namespace korvane::raster::text {
using raster::Done;
using raster::Failure;
using raster::Result;
}
