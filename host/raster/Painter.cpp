#include "host/raster/Painter.h"

#include "host/raster/LineStepper.h"
#include "host/raster/Rop.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace korvane::raster {

namespace {

// The pixels a straight line covers along its axis, [first, end): from its start up
// to, not including, its end, whichever way it runs.
std::pair<int, int> StraightRun(int from, int to) { return from < to ? std::pair(from, to) : std::pair(to + 1, from + 1); }

// Sets one pixel in each of `rows` rows down from `first`: a gradient's band or a bar's
// line, stored directly because a call per row costs more than its pixel. Always
// inlined: a line of a bar is little more than this.
[[gnu::always_inline]] inline void FillColumn(PixelValue* first, std::ptrdiff_t stride, int rows, PixelValue value)
{
    for (; rows >= 4; rows -= 4, first += 4 * stride) {
        first[0] = value;
        first[stride] = value;
        first[2 * stride] = value;
        first[3 * stride] = value;
    }
    for (; rows > 0; --rows, first += stride)
        *first = value;
}

}

SourceMap SourceMap::For(const Surface& source, const Surface& destination, PixelValue destinationText,
                         PixelValue destinationBackground, PixelValue sourceBackground)
{
    SourceMap map;
    if (source.IsMonochrome() && !destination.IsMonochrome()) {
        map.kind = Kind::MonoToColour;
        map.zero = destinationText & 0xFFFFFFu;
        map.one = destinationBackground & 0xFFFFFFu;
    } else if (!source.IsMonochrome() && destination.IsMonochrome()) {
        map.kind = Kind::ColourToMono;
        map.background = sourceBackground & 0xFFFFFFu;
    }
    return map;
}

DashPattern DashPattern::FromRuns(std::initializer_list<std::uint8_t> runs)
{
    DashPattern pattern;
    for (std::uint8_t run : runs) {
        if (pattern.count == static_cast<int>(pattern.runs.size()))
            break;
        pattern.runs[static_cast<std::size_t>(pattern.count++)] = run;
        pattern.period += run;
    }
    return pattern;
}

bool DashPattern::IsOn(int position) const
{
    if (count == 0 || period == 0)
        return true;
    int p = position % period;
    for (int i = 0; i < count; ++i) {
        int run = runs[static_cast<std::size_t>(i)];
        if (p < run)
            return i % 2 == 0;
        p -= run;
    }
    return true;
}

void Painter::ClipTo(const Region& clip)
{
    const IntRect bounds = m_target.Bounds();
    // A painter lives for one call, and a face clipped to its shape makes one for
    // every band it fills: the usual clip, inside the surface, is not copied.
    if (bounds.Covers(clip.Box())) {
        m_clipSpan = clip.Rects();
        if (!m_clipSpan.empty())
            m_clipBox = clip.Box();
        return;
    }
    m_clipRects.reserve(clip.Rects().size());
    for (const IntRect& r : clip.Rects()) {
        IntRect visible = r.Intersected(bounds);
        if (!visible.IsEmpty())
            m_clipRects.push_back(visible);
    }
    m_clipSpan = m_clipRects;
    if (!m_clipRects.empty()) {
        m_clipBox = m_clipRects.front();
        for (const IntRect& r : m_clipRects) {
            m_clipBox.left = std::min(m_clipBox.left, r.left);
            m_clipBox.top = std::min(m_clipBox.top, r.top);
            m_clipBox.right = std::max(m_clipBox.right, r.right);
            m_clipBox.bottom = std::max(m_clipBox.bottom, r.bottom);
        }
    }
}

bool Painter::IsVisible(int x, int y) const
{
    if (!m_clipBox.Contains(x, y))
        return false;
    if (!m_clip || m_clipSpan.size() == 1)
        return true;
    return std::any_of(m_clipSpan.begin(), m_clipSpan.end(), [&](const IntRect& r) { return r.Contains(x, y); });
}

void Painter::CombineRow(PixelValue* row, int y, int x0, int x1, const PixelValue* source, const Pattern& pattern,
                         std::uint8_t rop3)
{
    bool usesPattern = Rop::UsesPattern(rop3);
    bool masked = usesPattern && pattern.HasMask();
    for (int x = x0; x < x1; ++x) {
        if (masked && !pattern.Covers(x, y))
            continue;
        PixelValue s = source ? source[x - x0] : 0;
        PixelValue p = usesPattern ? pattern.At(x, y) : 0;
        row[x] = Rop::Apply3(rop3, row[x], s, p);
    }
}

void Painter::FillRect(const IntRect& rect, const Pattern& pattern, std::uint8_t rop3)
{
    if (rect.IsEmpty())
        return;
    if (Rop::UsesPattern(rop3) && pattern.IsEmpty())
        return;
    for (const IntRect& clipRect : ClipRects()) {
        IntRect area = rect.Intersected(clipRect);
        if (area.IsEmpty())
            continue;
        if (rop3 == Rop::PatternCopy && pattern.IsSolid()) {
            FillSolid(area, pattern.SolidValue());
            continue;
        }
        if (rop3 == Rop::PatternCopy) { // tiled: empty patterns returned above
            for (int y = area.top; y < area.bottom; ++y)
                pattern.CopyRow(m_target.Row(y), y, area.left, area.right);
            continue;
        }
        for (int y = area.top; y < area.bottom; ++y)
            CombineRow(m_target.Row(y), y, area.left, area.right, nullptr, pattern, rop3);
    }
}

void Painter::FillSolid(const IntRect& area, PixelValue value)
{
    std::size_t width = static_cast<std::size_t>(area.Width());
    if (area.Width() == m_target.Width()) {
        // Whole rows are one contiguous block; pixels shared with another surface
        // need no copy when every one of them is about to be replaced.
        if (area.Height() == m_target.Height())
            m_target.PrepareOverwrite();
        FillPixels(m_target.Row(area.top), width * static_cast<std::size_t>(area.Height()), value);
        return;
    }
    PixelValue* first = m_target.Row(area.top) + area.left;
    const std::ptrdiff_t stride = m_target.Width();
    // Narrow areas (a gradient's 1- and 2-pixel bands) are stored directly: a copy
    // call per row costs more than the pixels.
    constexpr std::size_t kNarrow = 8;
    if (width == 1) {
        FillColumn(first, stride, area.Height(), value);
        return;
    }
    if (width <= kNarrow) {
        for (int y = area.top; y < area.bottom; ++y, first += stride)
            for (std::size_t x = 0; x < width; ++x)
                first[x] = value;
        return;
    }
    FillPixels(first, width, value);
    PixelValue* row = first;
    for (int y = area.top + 1; y < area.bottom; ++y)
        std::memcpy(row += stride, first, width * sizeof(PixelValue));
}

void Painter::FillRegion(const Region& region, const Pattern& pattern, std::uint8_t rop3)
{
    for (const IntRect& r : region.Rects())
        FillRect(r, pattern, rop3);
}

void Painter::Blit(const IntRect& dest, const Surface& source, IntPoint sourceOrigin, const SourceMap& map,
                   const Pattern& pattern, std::uint8_t rop3)
{
    if (!Rop::UsesSource(rop3)) {
        FillRect(dest, pattern, rop3);
        return;
    }
    if (Rop::UsesPattern(rop3) && pattern.IsEmpty())
        return;
    // Only the part of the destination that has source pixels behind it takes part.
    IntRect sourceArea = source.Bounds().Translated(dest.left - sourceOrigin.x, dest.top - sourceOrigin.y);
    IntRect target = dest.Intersected(sourceArea);
    if (target.IsEmpty())
        return;
    int shiftX = sourceOrigin.x - dest.left;
    int shiftY = sourceOrigin.y - dest.top;

    // A copy of a whole surface onto one of its size (a back buffer onto its window)
    // shares the pixels instead of copying them.
    if (map.kind == SourceMap::Kind::Direct && rop3 == Rop::SourceCopy && shiftX == 0 && shiftY == 0 &&
        source.Width() == m_target.Width() && source.Height() == m_target.Height() &&
        source.Format() == m_target.Format() && target.Covers(m_target.Bounds()) && ClipRects().size() == 1 &&
        ClipRects().front().Covers(m_target.Bounds())) {
        m_target = source;
        return;
    }
    // Blits within one surface read from a copy so overlapping areas come out right.
    Surface copy;
    const Surface* from = &source;
    if (&source == &m_target) {
        copy = source;
        from = &copy;
    }
    std::vector<PixelValue> converted;
    for (const IntRect& clipRect : ClipRects()) {
        IntRect area = target.Intersected(clipRect);
        if (area.IsEmpty())
            continue;
        if (map.kind == SourceMap::Kind::Direct && rop3 == Rop::SourceCopy && area.Width() == m_target.Width()
            && area.Width() == from->Width()) {
            // Whole rows on both sides: one copy of the block.
            std::memcpy(m_target.Row(area.top), from->Row(area.top + shiftY),
                        static_cast<std::size_t>(area.Width()) * static_cast<std::size_t>(area.Height()) * sizeof(PixelValue));
            continue;
        }
        for (int y = area.top; y < area.bottom; ++y) {
            const PixelValue* sourceRow = from->Row(y + shiftY) + (area.left + shiftX);
            PixelValue* row = m_target.Row(y);
            if (map.kind == SourceMap::Kind::Direct && rop3 == Rop::SourceCopy) {
                std::memcpy(row + area.left, sourceRow, static_cast<std::size_t>(area.Width()) * sizeof(PixelValue));
                continue;
            }
            if (map.kind != SourceMap::Kind::Direct) {
                converted.resize(static_cast<std::size_t>(area.Width()));
                for (int i = 0; i < area.Width(); ++i)
                    converted[static_cast<std::size_t>(i)] = map.Map(sourceRow[i]);
                sourceRow = converted.data();
            }
            CombineRow(row, y, area.left, area.right, sourceRow, pattern, rop3);
        }
    }
}

void Painter::StretchBlit(const IntRect& dest, const Surface& source, const IntRect& sourceRect, const SourceMap& map,
                          const Pattern& pattern, std::uint8_t rop3, StretchMode mode)
{
    int dw = dest.Width();
    int dh = dest.Height();
    int sw = sourceRect.Width();
    int sh = sourceRect.Height();
    if (dw == 0 || dh == 0 || sw == 0 || sh == 0)
        return;
    if (dw == sw && dh == sh && dw > 0 && dh > 0) {
        Blit(dest, source, { sourceRect.left, sourceRect.top }, map, pattern, rop3);
        return;
    }
    // Mirroring (negative extents) flips the mapping; the destination is normalised.
    IntRect area = dest.Normalized();
    int adw = area.Width();
    int adh = area.Height();
    int asw = sw < 0 ? -sw : sw;
    int ash = sh < 0 ? -sh : sh;
    bool flipX = (dw < 0) != (sw < 0);
    bool flipY = (dh < 0) != (sh < 0);
    int sourceLeft = std::min(sourceRect.left, sourceRect.right);
    int sourceTop = std::min(sourceRect.top, sourceRect.bottom);

    // For each destination column and row, the range of source columns and rows it takes.
    bool combine = mode != StretchMode::ColourOnColour;
    auto spans = [combine](int destCount, int sourceCount, bool flip, std::vector<int>& first, std::vector<int>& last) {
        first.assign(static_cast<std::size_t>(destCount), 0);
        last.assign(static_cast<std::size_t>(destCount), 0);
        if (destCount < sourceCount && !combine) {
            // Shrinking without combining keeps one source pixel per destination pixel:
            // the first one at or after the destination pixel's position in the source.
            for (int d = 0; d < destCount; ++d) {
                long long s = (static_cast<long long>(d) * sourceCount + destCount - 1) / destCount;
                first[static_cast<std::size_t>(d)] = last[static_cast<std::size_t>(d)] = static_cast<int>(s);
            }
        } else if (destCount >= sourceCount) {
            for (int d = 0; d < destCount; ++d) {
                long long s = ((2LL * d + 1) * sourceCount - 1) / (2LL * destCount);
                first[static_cast<std::size_t>(d)] = last[static_cast<std::size_t>(d)] = static_cast<int>(s);
            }
        } else {
            for (int d = 0; d < destCount; ++d) {
                first[static_cast<std::size_t>(d)] = sourceCount;
                last[static_cast<std::size_t>(d)] = -1;
            }
            for (int s = 0; s < sourceCount; ++s) {
                long long d = ((2LL * s + 1) * destCount) / (2LL * sourceCount);
                auto index = static_cast<std::size_t>(d);
                first[index] = std::min(first[index], s);
                last[index] = std::max(last[index], s);
            }
            for (int d = 0; d < destCount; ++d) {
                auto index = static_cast<std::size_t>(d);
                if (last[index] < 0)
                    first[index] = last[index] = d > 0 ? last[index - 1] : 0;
            }
        }
        if (flip) {
            for (int d = 0; d < destCount; ++d) {
                auto index = static_cast<std::size_t>(d);
                int f = sourceCount - 1 - last[index];
                last[index] = sourceCount - 1 - first[index];
                first[index] = f;
            }
        }
    };
    std::vector<int> firstX, lastX, firstY, lastY;
    spans(adw, asw, flipX, firstX, lastX);
    spans(adh, ash, flipY, firstY, lastY);

    auto sourceAt = [&](int sx, int sy, PixelValue& out) {
        sx += sourceLeft;
        sy += sourceTop;
        if (sx < 0 || sy < 0 || sx >= source.Width() || sy >= source.Height())
            return false;
        out = source.At(sx, sy);
        return true;
    };
    bool useAnd = mode == StretchMode::BlackOnWhite;
    // Monochrome combining is done on the bits as stored; colour sources combine the
    // same way, which keeps dark detail when shrinking.
    std::vector<PixelValue> row;
    for (int y = 0; y < adh; ++y) {
        int dy = area.top + y;
        row.assign(static_cast<std::size_t>(adw), 0);
        std::vector<bool> valid(static_cast<std::size_t>(adw), false);
        for (int x = 0; x < adw; ++x) {
            auto ix = static_cast<std::size_t>(x);
            auto iy = static_cast<std::size_t>(y);
            int x0 = combine ? firstX[ix] : lastX[ix];
            int y0 = combine ? firstY[iy] : lastY[iy];
            PixelValue value = 0;
            bool any = false;
            for (int sy = y0; sy <= lastY[iy]; ++sy) {
                for (int sx = x0; sx <= lastX[ix]; ++sx) {
                    PixelValue p;
                    if (!sourceAt(sx, sy, p))
                        continue;
                    if (!any)
                        value = p;
                    else
                        value = useAnd ? (value & p) : (value | p);
                    any = true;
                }
            }
            row[ix] = map.Map(value);
            valid[ix] = any;
        }
        for (const IntRect& clipRect : ClipRects()) {
            if (dy < clipRect.top || dy >= clipRect.bottom)
                continue;
            int x0 = std::max(area.left, clipRect.left);
            int x1 = std::min(area.right, clipRect.right);
            PixelValue* target = m_target.Row(dy);
            for (int x = x0; x < x1; ++x) {
                auto ix = static_cast<std::size_t>(x - area.left);
                if (!valid[ix])
                    continue;
                if (Rop::UsesPattern(rop3) && pattern.HasMask() && !pattern.Covers(x, dy))
                    continue;
                PixelValue p = Rop::UsesPattern(rop3) ? pattern.At(x, dy) : 0;
                target[x] = m_target.Quantize(Rop::Apply3(rop3, target[x], row[ix], p));
            }
        }
    }
}

void Painter::Plot(int x, int y, PixelValue value, int rop2)
{
    if (!IsVisible(x, y))
        return;
    PixelValue& pixel = m_target.Row(y)[x];
    pixel = Rop::Apply2(rop2, pixel, value);
}

void Painter::SetSpan(int y, int x0, int x1, PixelValue value, int rop2)
{
    for (const IntRect& clipRect : ClipRects()) {
        if (y < clipRect.top || y >= clipRect.bottom)
            continue;
        int a = std::max(x0, clipRect.left);
        int b = std::min(x1, clipRect.right);
        if (a >= b)
            continue;
        PixelValue* row = m_target.Row(y);
        if (rop2 == Rop::CopyPen) {
            FillPixels(row + a, static_cast<std::size_t>(b - a), value);
        } else {
            for (int x = a; x < b; ++x)
                row[x] = Rop::Apply2(rop2, row[x], value);
        }
    }
}

void Painter::SetColumn(int x, int y0, int y1, PixelValue value, int rop2)
{
    for (const IntRect& clipRect : ClipRects()) {
        if (x < clipRect.left || x >= clipRect.right)
            continue;
        const int a = std::max(y0, clipRect.top);
        const int b = std::min(y1, clipRect.bottom);
        if (a >= b)
            continue;
        const std::ptrdiff_t stride = m_target.Width();
        PixelValue* pixel = m_target.Row(a) + x;
        if (rop2 == Rop::CopyPen) {
            FillColumn(pixel, stride, b - a, value);
        } else {
            for (int y = a; y < b; ++y, pixel += stride)
                *pixel = Rop::Apply2(rop2, *pixel, value);
        }
    }
}

void FillStraightLine(Surface& surface, IntPoint from, IntPoint to, PixelValue value)
{
    if (from.y == to.y) {
        if (from.y < 0 || from.y >= surface.Height())
            return;
        const auto [first, end] = StraightRun(from.x, to.x);
        const int x0 = std::max(first, 0);
        const int x1 = std::min(end, surface.Width());
        if (x0 < x1)
            FillPixels(surface.Row(from.y) + x0, static_cast<std::size_t>(x1 - x0), value);
        return;
    }
    if (from.x < 0 || from.x >= surface.Width())
        return;
    const auto [first, end] = StraightRun(from.y, to.y);
    const int y0 = std::max(first, 0);
    const int y1 = std::min(end, surface.Height());
    if (y0 < y1)
        FillColumn(surface.Row(y0) + from.x, surface.Width(), y1 - y0, value);
}

void Painter::DrawLine(IntPoint from, IntPoint to, const LinePen& pen, int& dashPosition)
{
    // Solid horizontal and vertical lines are spans: no per-pixel stepping, and no
    // stepper to set up (a progress bar draws a few hundred short ones a repaint).
    if (pen.dashes.IsSolid() && (from.y == to.y || from.x == to.x) && from != to) {
        const std::int64_t extent = from.y == to.y ? static_cast<std::int64_t>(to.x) - from.x
                                                   : static_cast<std::int64_t>(to.y) - from.y;
        const int length = static_cast<int>(extent < 0 ? -extent : extent);
        if (ClipRects().empty()) {
            dashPosition += length;
            return;
        }
        PixelValue value = m_target.Quantize(pen.colour);
        if (from.y == to.y) {
            const auto [x0, x1] = StraightRun(from.x, to.x);
            SetSpan(from.y, x0, x1, value, pen.rop2);
        } else {
            const auto [y0, y1] = StraightRun(from.y, to.y);
            SetColumn(from.x, y0, y1, value, pen.rop2);
        }
        dashPosition += length;
        return;
    }
    LineStepper stepper(from, to);
    int length = stepper.Length();
    int first = 0;
    int last = 0;
    if (ClipRects().empty()) {
        dashPosition += length;
        return;
    }
    stepper.VisibleSteps(m_clipBox, first, last);
    PixelValue colour = m_target.Quantize(pen.colour);
    PixelValue background = m_target.Quantize(pen.background);
    LineStepper::Walker walker(stepper, first);
    for (int i = first; i < last; ++i, walker.Next()) {
        bool on = pen.dashes.IsOn(dashPosition + i);
        if (!on && !pen.opaqueBackground)
            continue;
        IntPoint p = walker.Point();
        Plot(p.x, p.y, on ? colour : background, pen.rop2);
    }
    dashPosition += length;
}

}
