#pragma once

#include "host/raster/Geometry.h"
#include "host/raster/Pattern.h"
#include "host/raster/Surface.h"

#include <memory>

namespace korvane::raster {

enum class BrushStyle { Solid, Null, Hatched, Pattern };
enum class HatchStyle { Horizontal, Vertical, ForwardDiagonal, BackwardDiagonal, Cross, DiagonalCross };

// What a brush needs from the device context when it is used.
struct BrushContext {
    PixelValue textColour = 0;
    PixelValue backgroundColour = 0xFFFFFF;
    bool opaqueBackground = true;
    IntPoint origin;
};

// A brush as created, independent of any destination. Pattern brushes keep their own
// copy of the bitmap, so later changes to the bitmap do not show through.
class Brush {
public:
    static Brush Solid(PixelValue colour);
    static Brush Null();
    static Brush Hatched(HatchStyle style, PixelValue colour);
    static Brush FromSurface(const Surface& pattern);

    BrushStyle Style() const { return m_style; }
    PixelValue Colour() const { return m_colour; }
    HatchStyle Hatch() const { return m_hatch; }
    const Surface* PatternSurface() const { return m_pattern.get(); }

    // Hatches and bitmap patterns tile from the context's origin, a device position.
    // Monochrome patterns paint 0 bits in the text colour and 1 bits in the background colour.
    Pattern Resolve(const BrushContext& context, const Surface& destination) const;

    static bool HatchBit(HatchStyle style, int x, int y);

private:
    BrushStyle m_style = BrushStyle::Null;
    PixelValue m_colour = 0;
    HatchStyle m_hatch = HatchStyle::Horizontal;
    std::shared_ptr<const Surface> m_pattern;
};

}
