#pragma once

#include "host/raster/Geometry.h"
#include "host/raster/Pattern.h"
#include "host/raster/Region.h"
#include "host/raster/Rop.h"
#include "host/raster/Surface.h"

#include <array>
#include <cstdint>
#include <vector>

namespace korvane::raster {

// How source pixels become destination pixels when the formats differ.
struct SourceMap {
    enum class Kind { Direct, MonoToColour, ColourToMono };
    Kind kind = Kind::Direct;
    PixelValue zero = 0;            // MonoToColour: colour of 0 bits (destination text colour)
    PixelValue one = 0xFFFFFF;      // MonoToColour: colour of 1 bits (destination background colour)
    PixelValue background = 0xFFFFFF; // ColourToMono: the source colour that becomes 1

    static SourceMap For(const Surface& source, const Surface& destination, PixelValue destinationText,
                         PixelValue destinationBackground, PixelValue sourceBackground);
    PixelValue Map(PixelValue s) const
    {
        switch (kind) {
        case Kind::Direct: return s;
        case Kind::MonoToColour: return s ? one : zero;
        case Kind::ColourToMono: return (s & 0xFFFFFFu) == background ? 0xFFFFFFu : 0u;
        }
        return s;
    }
};

enum class StretchMode { BlackOnWhite, WhiteOnBlack, ColourOnColour };

// On/off run lengths of a styled cosmetic pen; an empty dash list draws solid.
struct DashPattern {
    // The longest pen style, dash-dot-dot, has six runs.
    static constexpr std::size_t kMaxRuns = 6;
    std::array<std::uint8_t, kMaxRuns> runs {};
    int count = 0;
    int period = 0;

    static DashPattern Solid() { return {}; }
    static DashPattern FromRuns(std::initializer_list<std::uint8_t> runs);
    bool IsSolid() const { return count == 0; }
    bool IsOn(int position) const;
};

struct LinePen {
    PixelValue colour = 0;
    PixelValue background = 0xFFFFFF;
    bool opaqueBackground = true;
    int rop2 = Rop::CopyPen;
    DashPattern dashes;
};

// A solid line one pixel wide from `from` up to, not including, `to`, copied onto the
// surface with no clip but its bounds: what a control's LineTo with a thin pen draws
// most. The line is horizontal or vertical and not empty.
void FillStraightLine(Surface& surface, IntPoint from, IntPoint to, PixelValue value);

// Draws into one surface through a clip. Every operation clips to the surface and the
// clip region; nothing outside them is read for writing or changed.
class Painter {
public:
    // `clip` is in device coordinates; nullptr means the whole surface.
    Painter(Surface& target, const Region* clip)
        : m_target(target)
        , m_clip(clip)
    {
        if (clip) {
            ClipTo(*clip);
            return;
        }
        // Field by field: a painter lives for one call, and copying a rectangle just
        // stored stalls longer than the short lines most calls draw.
        m_single.right = m_clipBox.right = target.Width();
        m_single.bottom = m_clipBox.bottom = target.Height();
    }

    Surface& Target() { return m_target; }
    bool IsVisible(int x, int y) const;
    // Without a clip region the surface bounds are the only rectangle, kept inline so
    // painting without a clip does not allocate.
    std::span<const IntRect> ClipRects() const
    {
        if (m_clip)
            return m_clipSpan;
        if (m_single.IsEmpty())
            return {};
        return { &m_single, 1 };
    }

    void FillRect(const IntRect& rect, const Pattern& pattern, std::uint8_t rop3);
    // FillRect of a solid pattern copied, without making the pattern: `value` is
    // already in the target's format.
    void FillSolidRect(const IntRect& rect, PixelValue value)
    {
        for (const IntRect& clipRect : ClipRects()) {
            const IntRect area = rect.Intersected(clipRect);
            if (!area.IsEmpty())
                FillSolid(area, value);
        }
    }
    void FillRegion(const Region& region, const Pattern& pattern, std::uint8_t rop3);
    // Combines `source` at `sourceOrigin` into `dest` with a ternary raster operation.
    // The transfer is limited to the part of the source that exists.
    void Blit(const IntRect& dest, const Surface& source, IntPoint sourceOrigin, const SourceMap& map,
              const Pattern& pattern, std::uint8_t rop3);
    // Nearest-neighbour scaling. Shrinking in BlackOnWhite (WhiteOnBlack) mode ANDs (ORs)
    // the source pixels that fall on one destination pixel, so thin dark (light) lines survive.
    void StretchBlit(const IntRect& dest, const Surface& source, const IntRect& sourceRect, const SourceMap& map,
                     const Pattern& pattern, std::uint8_t rop3, StretchMode mode);

    void Plot(int x, int y, PixelValue value, int rop2);
    // A one-pixel line, end point excluded. `dashPosition` counts pixels along the pen's
    // pattern and is advanced, so a polyline continues the pattern across its corners.
    void DrawLine(IntPoint from, IntPoint to, const LinePen& pen, int& dashPosition);

private:
    void ClipTo(const Region& clip);
    void CombineRow(PixelValue* row, int y, int x0, int x1, const PixelValue* source, const Pattern& pattern,
                    std::uint8_t rop3);

    Surface& m_target;
    const Region* m_clip;
    void FillSolid(const IntRect& area, PixelValue value);
    void SetSpan(int y, int x0, int x1, PixelValue value, int rop2);
    void SetColumn(int x, int y0, int y1, PixelValue value, int rop2);

    // A clip within the surface is the region's own rectangles; one reaching past it
    // is cut into m_clipRects.
    std::span<const IntRect> m_clipSpan;
    std::vector<IntRect> m_clipRects;
    IntRect m_single;
    IntRect m_clipBox;
};

}
