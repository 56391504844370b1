#pragma once

// Turning a DC's state into what the rasteriser needs; shared by the drawing calls.

#include "host/gdi/GdiInternal.h"
#include "host/raster/Brush.h"
#include "host/raster/Painter.h"

namespace korvane::gdi {

class DrawContext {
public:
    // Null when the handle is not a DC with a surface.
    static std::optional<DrawContext> For(HDC hdc)
    {
        DcObject* dc = LookupDc(hdc);
        if (!dc || !dc->surface)
            return std::nullopt;
        // Built in place: moving a painter costs more than the short line it draws.
        return std::optional<DrawContext>(std::in_place, *dc);
    }

    explicit DrawContext(DcObject& dc)
        : m_dc(&dc)
        , m_painter(*dc.surface, dc.state.clip ? &*dc.state.clip : nullptr)
    {
    }

    DcObject& Dc() { return *m_dc; }
    raster::Surface& Surface() { return *m_dc->surface; }
    raster::Painter& Painter() { return m_painter; }

    POINT ToDevice(int x, int y) const { return gdi::ToDevice(*m_dc, x, y); }
    raster::IntRect ToDevice(const RECT& rect) const;

    raster::Pattern BrushPattern(HBRUSH brush) const;
    raster::Pattern CurrentBrushPattern() const { return BrushPattern(m_dc->state.brush); }
    // Null when the selected pen draws nothing.
    std::optional<raster::LinePen> CosmeticPen() const
    {
        std::optional<raster::LinePen> line;
        if (!CosmeticPen(line.emplace()))
            line.reset();
        return line;
    }
    // The same, filled into `line`; false when the pen draws nothing.
    bool CosmeticPen(raster::LinePen& line) const;
    // A pen whose lines are solid and one pixel wide (as CosmeticPen gives dashes and
    // PenWidth a width): lines and outlines drawn with it need no drawing context.
    static bool IsThinSolidPen(const PenObject& pen) { return pen.thinSolid; }
    // Everything of a cosmetic pen but its dashes.
    static void FillLinePen(const PenObject& pen, const DcObject& dc, raster::LinePen& line)
    {
        line.colour = pen.pixel;
        line.background = ToPixel(dc.state.bkColour);
        line.opaqueBackground = dc.state.bkMode != TRANSPARENT;
        line.rop2 = dc.state.rop2;
    }
    int PenWidth() const;
    bool PenIsInsideFrame() const;

private:
    PenObject* SelectedPen() const { return m_dc->state.penObject; }

    DcObject* m_dc;
    raster::Painter m_painter;
};

}
