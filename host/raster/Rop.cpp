#include "host/raster/Rop.h"

// The raster operations are inline; this unit checks the truth-table convention once.
namespace korvane::raster {

static_assert(Rop::UsesSource(0xCC) && !Rop::UsesPattern(0xCC) && !Rop::UsesDestination(0xCC));
static_assert(Rop::UsesPattern(0xF0) && !Rop::UsesSource(0xF0));
static_assert(Rop::UsesDestination(0x55) && !Rop::UsesSource(0x55) && !Rop::UsesPattern(0x55));
static_assert(Rop::UsesSource(0xB8) && Rop::UsesPattern(0xB8) && Rop::UsesDestination(0xB8));

}
