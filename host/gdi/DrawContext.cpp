#include "host/gdi/DrawContext.h"

namespace korvane::gdi {

raster::IntRect DrawContext::ToDevice(const RECT& rect) const
{
    POINT a = ToDevice(rect.left, rect.top);
    POINT b = ToDevice(rect.right, rect.bottom);
    return { a.x, a.y, b.x, b.y };
}

raster::Pattern DrawContext::BrushPattern(HBRUSH handle) const
{
    BrushObject* brush = LookupBrush(handle);
    if (!brush)
        return raster::Pattern::Empty();
    // Most brushes are solid: their pattern is the colour, whatever the DC's state.
    if (brush->brush.Style() == raster::BrushStyle::Solid)
        return raster::Pattern::Solid(m_dc->surface->Quantize(brush->brush.Colour()));
    raster::BrushContext context;
    context.textColour = ToPixel(m_dc->state.textColour);
    context.backgroundColour = ToPixel(m_dc->state.bkColour);
    context.opaqueBackground = m_dc->state.bkMode != TRANSPARENT;
    context.origin = { m_dc->state.brushOrigin.x, m_dc->state.brushOrigin.y };
    return brush->brush.Resolve(context, *m_dc->surface);
}

bool DrawContext::CosmeticPen(raster::LinePen& line) const
{
    PenObject* pen = SelectedPen();
    if (!pen)
        return false;
    UINT style = pen->logPen.lopnStyle & PS_STYLE_MASK;
    if (style == PS_NULL)
        return false;
    FillLinePen(*pen, *m_dc, line);
    switch (style) {
    case PS_DASH: line.dashes = raster::DashPattern::FromRuns({ 18, 6 }); break;
    case PS_DOT: line.dashes = raster::DashPattern::FromRuns({ 3, 3 }); break;
    case PS_DASHDOT: line.dashes = raster::DashPattern::FromRuns({ 9, 6, 3, 6 }); break;
    case PS_DASHDOTDOT: line.dashes = raster::DashPattern::FromRuns({ 9, 3, 3, 3, 3, 3 }); break;
    case PS_ALTERNATE: line.dashes = raster::DashPattern::FromRuns({ 1, 1 }); break;
    default: line.dashes = raster::DashPattern::Solid(); break;
    }
    return true;
}

int DrawContext::PenWidth() const
{
    PenObject* pen = SelectedPen();
    if (!pen)
        return 1;
    return pen->logPen.lopnWidth.x > 1 ? static_cast<int>(pen->logPen.lopnWidth.x) : 1;
}

bool DrawContext::PenIsInsideFrame() const
{
    PenObject* pen = SelectedPen();
    return pen && (pen->logPen.lopnStyle & PS_STYLE_MASK) == PS_INSIDEFRAME;
}

}
