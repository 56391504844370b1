// Lines, shapes and rectangle fills.

#include "host/gdi/DrawContext.h"
#include "host/gdi/Gdi.h"
#include "host/gdi/GdiInternal.h"
#include "host/raster/EllipseOutline.h"
#include "host/raster/LineStepper.h"
#include "host/raster/Rop.h"

#include <algorithm>
#include <array>
#include <span>
#include <vector>

using namespace korvane;
using namespace korvane::gdi;

namespace {

// Pixels covered by a pen tip of `width`: a disc for odd widths, centred half a pixel up
// and left for even ones.
std::vector<raster::IntPoint> PenTip(int width)
{
    std::vector<raster::IntPoint> tip;
    int low = -(width / 2);
    int high = (width - 1) / 2;
    double centre = (width % 2 == 0) ? -0.5 : 0.0;
    double radius = (width % 2 == 0) ? width / 2.0 : (width - 1) / 2.0;
    for (int dy = low; dy <= high; ++dy) {
        for (int dx = low; dx <= high; ++dx) {
            double x = dx - centre;
            double y = dy - centre;
            if (x * x + y * y <= radius * radius + 1e-9)
                tip.push_back({ dx, dy });
        }
    }
    return tip;
}

// A geometric pen drawn by sweeping its tip along the joined segments, both ends included.
void DrawWidePolyline(DrawContext& context, std::span<const POINT> devicePoints, const raster::LinePen& pen, int width)
{
    std::vector<raster::IntPoint> tip = PenTip(width);
    std::vector<std::pair<int, int>> pixels;
    for (std::size_t i = 0; i + 1 < devicePoints.size(); ++i) {
        raster::LineStepper stepper({ devicePoints[i].x, devicePoints[i].y }, { devicePoints[i + 1].x, devicePoints[i + 1].y });
        for (int step = 0; step <= stepper.Length(); ++step) {
            raster::IntPoint p = step < stepper.Length() ? stepper.At(step)
                                                          : raster::IntPoint { devicePoints[i + 1].x, devicePoints[i + 1].y };
            for (const raster::IntPoint& t : tip)
                pixels.emplace_back(p.y + t.y, p.x + t.x);
        }
    }
    std::sort(pixels.begin(), pixels.end());
    pixels.erase(std::unique(pixels.begin(), pixels.end()), pixels.end());
    raster::PixelValue colour = context.Surface().Quantize(pen.colour);
    for (const auto& [y, x] : pixels)
        context.Painter().Plot(x, y, colour, pen.rop2);
}

// Draws the current pen along device points. Cosmetic styled pens carry their dash
// position across the corners; `closed` adds no extra point, callers repeat the first.
void StrokeDevice(DrawContext& context, std::span<const POINT> devicePoints)
{
    raster::LinePen pen;
    if (!context.CosmeticPen(pen) || devicePoints.size() < 2)
        return;
    const int width = context.PenWidth();
    if (width > 1) {
        DrawWidePolyline(context, devicePoints, pen, width);
        return;
    }
    int dash = 0;
    for (std::size_t i = 0; i + 1 < devicePoints.size(); ++i) {
        context.Painter().DrawLine({ devicePoints[i].x, devicePoints[i].y }, { devicePoints[i + 1].x, devicePoints[i + 1].y },
                                   pen, dash);
    }
}

raster::IntRect PatBltRect(int x, int y, int cx, int cy)
{
    // Negative extents cover the pixels before the origin, the origin itself included.
    raster::IntRect r { x, y, x + cx, y + cy };
    if (cx < 0) {
        r.left = x + cx + 1;
        r.right = x + 1;
    }
    if (cy < 0) {
        r.top = y + cy + 1;
        r.bottom = y + 1;
    }
    return r;
}

}

namespace korvane::gdi {

// Used by PatBlt, which lives with the other block transfers.
raster::IntRect NormalizedBltRect(int x, int y, int cx, int cy)
{
    return PatBltRect(x, y, cx, cy);
}

}

BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT previous)
{
    DcObject* dc = LookupDc(hdc);
    if (!dc)
        return FALSE;
    if (previous)
        *previous = dc->state.position;
    dc->state.position = { x, y };
    return TRUE;
}

namespace {

raster::Painter PainterOn(const DcObject& dc)
{
    return raster::Painter(*dc.surface, dc.state.clip ? &*dc.state.clip : nullptr);
}

// Every line but the straight, copied and unclipped ones a gradient is made of; out of
// line, so that those pay for none of its set-up.
[[gnu::noinline]] BOOL LineToGeneral(HDC hdc, DcObject* dc, int x, int y)
{
    // The lines a control draws one by one, each with a pen of its own, need no
    // drawing context: StrokeDevice would draw them with this pen and dash position.
    if (dc && dc->surface && DrawContext::IsThinSolidPen(*dc->state.penObject)) {
        const POINT from = ToDevice(*dc, dc->state.position.x, dc->state.position.y);
        const POINT to = ToDevice(*dc, x, y);
        raster::LinePen line;
        DrawContext::FillLinePen(*dc->state.penObject, *dc, line);
        int dash = 0;
        PainterOn(*dc).DrawLine({ from.x, from.y }, { to.x, to.y }, line, dash);
        dc->state.position = { x, y };
        return TRUE;
    }
    auto context = DrawContext::For(hdc);
    if (!context)
        return FALSE;
    POINT from = context->Dc().state.position;
    const POINT segment[] = { context->ToDevice(from.x, from.y), context->ToDevice(x, y) };
    StrokeDevice(*context, segment);
    context->Dc().state.position = { x, y };
    return TRUE;
}

}

BOOL LineTo(HDC hdc, int x, int y)
{
    DcObject* dc = LookupDc(hdc);
    // A gradient's bands are straight, copied and unclipped: no painter needed.
    if (dc && dc->surface && !dc->state.clip && dc->state.rop2 == R2_COPYPEN &&
        DrawContext::IsThinSolidPen(*dc->state.penObject)) {
        const POINT from = ToDevice(*dc, dc->state.position.x, dc->state.position.y);
        const POINT to = ToDevice(*dc, x, y);
        if ((from.x == to.x) != (from.y == to.y)) {
            raster::Surface& surface = *dc->surface;
            raster::FillStraightLine(surface, { from.x, from.y }, { to.x, to.y },
                                     surface.Quantize(dc->state.penObject->pixel));
            dc->state.position = { x, y };
            return TRUE;
        }
    }
    return LineToGeneral(hdc, dc, x, y);
}

BOOL Polyline(HDC hdc, const POINT* points, int count)
{
    auto context = DrawContext::For(hdc);
    if (!context || !points || count < 2)
        return FALSE;
    // Bevels and frames are a handful of points: keep them off the heap.
    constexpr int kInline = 16;
    std::array<POINT, kInline> few;
    std::vector<POINT> many;
    std::span<POINT> device(few.data(), static_cast<std::size_t>(count));
    if (count > kInline) {
        many.resize(static_cast<std::size_t>(count));
        device = many;
    }
    for (int i = 0; i < count; ++i)
        device[static_cast<std::size_t>(i)] = context->ToDevice(points[i].x, points[i].y);
    StrokeDevice(*context, device);
    return TRUE;
}

BOOL Polygon(HDC hdc, const POINT* points, int count)
{
    auto context = DrawContext::For(hdc);
    if (!context || !points || count < 2)
        return FALSE;
    std::vector<raster::IntPoint> fill;
    std::vector<POINT> outline;
    for (int i = 0; i < count; ++i) {
        POINT p = context->ToDevice(points[i].x, points[i].y);
        fill.push_back({ p.x, p.y });
        outline.push_back(p);
    }
    outline.push_back(outline.front());
    raster::FillMode mode = context->Dc().state.polyFillMode == WINDING ? raster::FillMode::Winding : raster::FillMode::Alternate;
    raster::Region region = raster::Region::FromPolygon(fill, mode);
    context->Painter().FillRegion(region, context->CurrentBrushPattern(), raster::Rop::PatternCopy);
    StrokeDevice(*context, outline);
    return TRUE;
}

namespace {

// A solid one-pixel pen copied over a solid brush of its colour makes the whole
// rectangle one fill. Gradients draw hundreds of such bands, so this is settled from
// the DC's pen and brush before a drawing context is built. A 1 x 1 rectangle's
// outline path has no length, so it keeps the general path.
bool FillPenColouredRectangle(const DcObject& dc, int left, int top, int right, int bottom)
{
    if (dc.state.rop2 != R2_COPYPEN || !dc.surface)
        return false;
    const PenObject* pen = dc.state.penObject;
    const BrushObject* brush = dc.state.brushObject;
    if (brush->brush.Style() != raster::BrushStyle::Solid || !DrawContext::IsThinSolidPen(*pen))
        return false;
    raster::Surface& surface = *dc.surface;
    const raster::PixelValue value = surface.Quantize(pen->pixel);
    if (value != surface.Quantize(brush->brush.Colour()))
        return false;
    const POINT a = ToDevice(dc, left, top);
    const POINT b = ToDevice(dc, right, bottom);
    const raster::IntRect r = raster::IntRect { a.x, a.y, b.x, b.y }.Normalized();
    if (r.Width() <= 0 || r.Height() <= 0 || (r.Width() == 1 && r.Height() == 1))
        return false;
    PainterOn(dc).FillSolidRect(r, value);
    return true;
}

}

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom)
{
    if (const DcObject* dc = LookupDc(hdc); dc && FillPenColouredRectangle(*dc, left, top, right, bottom))
        return TRUE;
    auto context = DrawContext::For(hdc);
    if (!context)
        return FALSE;
    POINT a = context->ToDevice(left, top);
    POINT b = context->ToDevice(right, bottom);
    raster::IntRect r = raster::IntRect { a.x, a.y, b.x, b.y }.Normalized();
    std::optional<raster::LinePen> pen = context->CosmeticPen();
    int width = pen ? context->PenWidth() : 0;
    raster::IntRect outline { r.left, r.top, r.right - 1, r.bottom - 1 }; // corner pixels of the pen's path
    // A solid 1-pixel pen copied over the surface is four spans (one fill with a brush
    // of its colour, done above).
    if (pen && width == 1 && pen->dashes.IsSolid() && pen->rop2 == raster::Rop::CopyPen && r.Width() > 0
        && r.Height() > 0 && (r.Width() > 1 || r.Height() > 1)) {
        const raster::Pattern brush = context->CurrentBrushPattern();
        const raster::Pattern stroke = raster::Pattern::Solid(context->Surface().Quantize(pen->colour));
        raster::Painter& painter = context->Painter();
        if (r.Width() > 2 && r.Height() > 2)
            painter.FillRect({ r.left + 1, r.top + 1, r.right - 1, r.bottom - 1 }, brush, raster::Rop::PatternCopy);
        painter.FillRect({ r.left, r.top, r.right, r.top + 1 }, stroke, raster::Rop::PatternCopy);
        painter.FillRect({ r.left, r.bottom - 1, r.right, r.bottom }, stroke, raster::Rop::PatternCopy);
        painter.FillRect({ r.left, r.top + 1, r.left + 1, r.bottom - 1 }, stroke, raster::Rop::PatternCopy);
        painter.FillRect({ r.right - 1, r.top + 1, r.right, r.bottom - 1 }, stroke, raster::Rop::PatternCopy);
        return TRUE;
    }
    if (pen && context->PenIsInsideFrame() && width > 1) {
        outline.left += width / 2;
        outline.top += width / 2;
        outline.right -= (width - 1) / 2;
        outline.bottom -= (width - 1) / 2;
    }
    // The brush fills inside the pen; without a pen it fills one pixel short at right and bottom.
    raster::IntRect interior { r.left, r.top, r.right - 1, r.bottom - 1 };
    if (pen) {
        interior = { outline.left + (width - 1) / 2 + 1, outline.top + (width - 1) / 2 + 1,
                     outline.right - width / 2, outline.bottom - width / 2 };
    }
    if (!interior.IsEmpty())
        context->Painter().FillRect(interior, context->CurrentBrushPattern(), raster::Rop::PatternCopy);
    if (pen) {
        const POINT path[] = { { outline.left, outline.top },
                               { outline.right, outline.top },
                               { outline.right, outline.bottom },
                               { outline.left, outline.bottom },
                               { outline.left, outline.top } };
        StrokeDevice(*context, path);
    }
    return TRUE;
}

namespace {

// Plots outline pixels with a cosmetic pen, the dash pattern running on from pixel to pixel.
void PlotOutline(DrawContext& context, std::span<const raster::IntPoint> points, const raster::LinePen& pen)
{
    raster::PixelValue colour = context.Surface().Quantize(pen.colour);
    raster::PixelValue background = context.Surface().Quantize(pen.background);
    int dash = 0;
    for (const raster::IntPoint& p : points) {
        bool on = pen.dashes.IsOn(dash++);
        if (on || pen.opaqueBackground)
            context.Painter().Plot(p.x, p.y, on ? colour : background, pen.rop2);
    }
}

}

BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom)
{
    auto context = DrawContext::For(hdc);
    if (!context)
        return FALSE;
    POINT a = context->ToDevice(left, top);
    POINT b = context->ToDevice(right, bottom);
    raster::EllipseOutline outline(raster::IntRect { a.x, a.y, b.x, b.y });
    if (outline.IsEmpty())
        return TRUE;
    std::optional<raster::LinePen> pen = context->CosmeticPen();
    raster::Pattern brush = context->CurrentBrushPattern();
    // The brush fills inside the outline, or the outline's pixels too when there is no pen.
    if (!brush.IsEmpty()) {
        raster::IntRect box = raster::IntRect { a.x, a.y, b.x, b.y }.Normalized();
        for (int y = box.top; y < box.bottom; ++y) {
            raster::EllipseOutline::RowSpan span;
            if (!outline.Row(y, span))
                continue;
            raster::IntRect fill = pen ? raster::IntRect { span.innerLeft, y, span.innerRight, y + 1 }
                                       : raster::IntRect { span.outerLeft, y, span.outerRight, y + 1 };
            context->Painter().FillRect(fill, brush, raster::Rop::PatternCopy);
        }
    }
    if (pen)
        PlotOutline(*context, outline.Points(), *pen);
    return TRUE;
}

BOOL Arc(HDC hdc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd)
{
    auto context = DrawContext::For(hdc);
    if (!context)
        return FALSE;
    POINT a = context->ToDevice(left, top);
    POINT b = context->ToDevice(right, bottom);
    POINT start = context->ToDevice(xStart, yStart);
    POINT end = context->ToDevice(xEnd, yEnd);
    raster::EllipseOutline outline(raster::IntRect { a.x, a.y, b.x, b.y });
    std::optional<raster::LinePen> pen = context->CosmeticPen();
    if (pen && !outline.IsEmpty()) {
        std::vector<raster::IntPoint> arc = outline.Arc({ start.x, start.y }, { end.x, end.y });
        PlotOutline(*context, arc, *pen);
    }
    return TRUE;
}

int FillRect(HDC hdc, const RECT* rect, HBRUSH brush)
{
    auto context = DrawContext::For(hdc);
    const BrushObject* object = LookupBrush(brush);
    if (!context || !rect || !object)
        return 0;
    raster::IntRect r = PatBltRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top)
                            .Translated(context->Dc().state.viewportOrigin.x, context->Dc().state.viewportOrigin.y);
    if (object->brush.Style() == raster::BrushStyle::Solid)
        context->Painter().FillSolidRect(r, context->Surface().Quantize(object->brush.Colour()));
    else
        context->Painter().FillRect(r, context->BrushPattern(brush), raster::Rop::PatternCopy);
    return 1;
}

int FrameRect(HDC hdc, const RECT* rect, HBRUSH brush)
{
    auto context = DrawContext::For(hdc);
    if (!context || !rect || !LookupBrush(brush))
        return 0;
    raster::IntRect r = context->ToDevice(*rect);
    if (r.right <= r.left || r.bottom <= r.top)
        return 0;
    raster::Pattern pattern = context->BrushPattern(brush);
    raster::Painter& painter = context->Painter();
    painter.FillRect({ r.left, r.top, r.right, r.top + 1 }, pattern, raster::Rop::PatternCopy);
    painter.FillRect({ r.left, r.bottom - 1, r.right, r.bottom }, pattern, raster::Rop::PatternCopy);
    painter.FillRect({ r.left, r.top + 1, r.left + 1, r.bottom - 1 }, pattern, raster::Rop::PatternCopy);
    painter.FillRect({ r.right - 1, r.top + 1, r.right, r.bottom - 1 }, pattern, raster::Rop::PatternCopy);
    return 1;
}

BOOL InvertRect(HDC hdc, const RECT* rect)
{
    auto context = DrawContext::For(hdc);
    if (!context || !rect)
        return FALSE;
    context->Painter().FillRect(context->ToDevice(*rect).Normalized(), raster::Pattern::Empty(), raster::Rop::DestinationInvert);
    return TRUE;
}

BOOL DrawFocusRect(HDC hdc, const RECT* rect)
{
    auto context = DrawContext::For(hdc);
    if (!context || !rect)
        return FALSE;
    raster::IntRect r = context->ToDevice(*rect);
    if (r.right <= r.left || r.bottom <= r.top)
        return TRUE;
    // A one-on, one-off inverting outline traced anticlockwise from the top-right pixel,
    // the pattern running on round the corners. Inverting makes a second call restore the
    // pixels, and a one-pixel-high rectangle cancels itself out except for that first pixel.
    raster::LinePen pen;
    pen.rop2 = R2_NOT;
    pen.opaqueBackground = false;
    pen.dashes = raster::DashPattern::FromRuns({ 1, 1 });
    raster::IntPoint corners[] = { { r.right - 1, r.top },
                                   { r.left, r.top },
                                   { r.left, r.bottom - 1 },
                                   { r.right - 1, r.bottom - 1 },
                                   { r.right - 1, r.top } };
    int dash = 0;
    for (int i = 0; i < 4; ++i)
        context->Painter().DrawLine(corners[i], corners[i + 1], pen, dash);
    return TRUE;
}
