#include "host/raster/Region.h"

#include "host/raster/EllipseScan.h"

#include <algorithm>
#include <cstdint>

namespace korvane::raster {

namespace {

struct Span {
    int left;
    int right;
    friend bool operator==(const Span&, const Span&) = default;
};

// The spans of the band that covers row y; `cursor` walks forward as y grows.
void SpansAt(std::span<const IntRect> rects, int y, std::size_t& cursor, std::vector<Span>& out)
{
    out.clear();
    while (cursor < rects.size() && rects[cursor].bottom <= y)
        ++cursor;
    for (std::size_t i = cursor; i < rects.size() && rects[i].top <= y; ++i) {
        if (rects[i].bottom > y)
            out.push_back({ rects[i].left, rects[i].right });
    }
}

bool Keep(RegionOp op, bool inA, bool inB)
{
    switch (op) {
    case RegionOp::And: return inA && inB;
    case RegionOp::Or: return inA || inB;
    case RegionOp::Xor: return inA != inB;
    case RegionOp::Diff: return inA && !inB;
    case RegionOp::Copy: return inA;
    }
    return false;
}

void CombineSpans(const std::vector<Span>& a, const std::vector<Span>& b, RegionOp op, std::vector<Span>& out)
{
    out.clear();
    std::vector<int> edges;
    edges.reserve(2 * (a.size() + b.size()));
    for (const Span& s : a) {
        edges.push_back(s.left);
        edges.push_back(s.right);
    }
    for (const Span& s : b) {
        edges.push_back(s.left);
        edges.push_back(s.right);
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    std::size_t ia = 0;
    std::size_t ib = 0;
    for (std::size_t i = 0; i + 1 < edges.size(); ++i) {
        int x = edges[i];
        while (ia < a.size() && a[ia].right <= x)
            ++ia;
        while (ib < b.size() && b[ib].right <= x)
            ++ib;
        bool inA = ia < a.size() && a[ia].left <= x;
        bool inB = ib < b.size() && b[ib].left <= x;
        if (!Keep(op, inA, inB))
            continue;
        if (!out.empty() && out.back().right == x)
            out.back().right = edges[i + 1];
        else
            out.push_back({ x, edges[i + 1] });
    }
}

// Appends one band, or stretches the previous band down when its spans are the same.
class BandWriter {
public:
    explicit BandWriter(std::vector<IntRect>& rects) : m_rects(rects) {}

    void Add(int top, int bottom, const std::vector<Span>& spans)
    {
        if (spans.empty() || top >= bottom)
            return;
        if (m_lastBottom == top && spans == m_lastSpans) {
            for (std::size_t i = m_lastStart; i < m_rects.size(); ++i)
                m_rects[i].bottom = bottom;
        } else {
            m_lastStart = m_rects.size();
            for (const Span& s : spans)
                m_rects.push_back({ s.left, top, s.right, bottom });
            m_lastSpans = spans;
        }
        m_lastBottom = bottom;
    }

private:
    std::vector<IntRect>& m_rects;
    std::vector<Span> m_lastSpans;
    std::size_t m_lastStart = 0;
    int m_lastBottom = INT32_MIN;
};

std::int64_t CeilDiv(std::int64_t num, std::int64_t den)
{
    // den > 0
    std::int64_t q = num / den;
    if (num % den != 0 && num > 0)
        ++q;
    return q;
}

}

Region::Region(const IntRect& rect)
{
    if (!rect.IsEmpty())
        m_rects.push_back(rect);
    UpdateBox();
}

Region Region::FromBandedRects(std::vector<IntRect> rects)
{
    Region region;
    std::erase_if(rects, [](const IntRect& r) { return r.IsEmpty(); });
    region.m_rects = std::move(rects);
    region.UpdateBox();
    return region;
}

RegionComplexity Region::Complexity() const
{
    if (m_rects.empty())
        return RegionComplexity::Empty;
    return m_rects.size() == 1 ? RegionComplexity::Simple : RegionComplexity::Complex;
}

void Region::UpdateBox()
{
    if (m_rects.empty()) {
        m_box = {};
        return;
    }
    m_box = m_rects.front();
    for (const IntRect& r : m_rects) {
        m_box.left = std::min(m_box.left, r.left);
        m_box.right = std::max(m_box.right, r.right);
        m_box.bottom = std::max(m_box.bottom, r.bottom);
    }
}

bool Region::Contains(int x, int y) const
{
    if (!m_box.Contains(x, y))
        return false;
    return std::any_of(m_rects.begin(), m_rects.end(), [&](const IntRect& r) { return r.Contains(x, y); });
}

bool Region::Intersects(const IntRect& rect) const
{
    IntRect r = rect.Normalized();
    if (r.Intersected(m_box).IsEmpty())
        return false;
    return std::any_of(m_rects.begin(), m_rects.end(), [&](const IntRect& own) { return !own.Intersected(r).IsEmpty(); });
}

void Region::Offset(int dx, int dy)
{
    for (IntRect& r : m_rects)
        r = r.Translated(dx, dy);
    UpdateBox();
}

Region Region::Combine(const Region& a, const Region& b, RegionOp op)
{
    if (op == RegionOp::Copy)
        return a;
    // Clipping a rectangle by a rectangle, the common case, needs no band sweep.
    if (op == RegionOp::And && a.m_rects.size() <= 1 && b.m_rects.size() <= 1) {
        if (a.m_rects.empty() || b.m_rects.empty())
            return Region();
        return Region(a.m_rects.front().Intersected(b.m_rects.front()));
    }
    std::vector<int> ys;
    ys.reserve(2 * (a.m_rects.size() + b.m_rects.size()));
    for (const IntRect& r : a.m_rects) {
        ys.push_back(r.top);
        ys.push_back(r.bottom);
    }
    for (const IntRect& r : b.m_rects) {
        ys.push_back(r.top);
        ys.push_back(r.bottom);
    }
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());

    Region result;
    BandWriter writer(result.m_rects);
    std::vector<Span> spansA;
    std::vector<Span> spansB;
    std::vector<Span> combined;
    std::size_t cursorA = 0;
    std::size_t cursorB = 0;
    for (std::size_t i = 0; i + 1 < ys.size(); ++i) {
        SpansAt(a.m_rects, ys[i], cursorA, spansA);
        SpansAt(b.m_rects, ys[i], cursorB, spansB);
        CombineSpans(spansA, spansB, op, combined);
        writer.Add(ys[i], ys[i + 1], combined);
    }
    result.UpdateBox();
    return result;
}

Region Region::FromPolygon(std::span<const IntPoint> points, FillMode mode)
{
    int count = static_cast<int>(points.size());
    return FromPolygons(points, std::span<const int>(&count, 1), mode);
}

Region Region::FromPolygons(std::span<const IntPoint> points, std::span<const int> counts, FillMode mode)
{
    struct Edge {
        std::int64_t x0, y0, x1, y1;
        int direction;
    };
    std::vector<Edge> edges;
    int top = INT32_MAX;
    int bottom = INT32_MIN;
    std::size_t start = 0;
    for (int count : counts) {
        if (count < 0 || start + static_cast<std::size_t>(count) > points.size())
            break;
        for (int i = 0; i < count; ++i) {
            IntPoint p = points[start + static_cast<std::size_t>(i)];
            IntPoint q = points[start + static_cast<std::size_t>((i + 1) % count)];
            top = std::min(top, p.y);
            bottom = std::max(bottom, p.y);
            if (p.y == q.y)
                continue;
            if (p.y < q.y)
                edges.push_back({ p.x, p.y, q.x, q.y, 1 });
            else
                edges.push_back({ q.x, q.y, p.x, p.y, -1 });
        }
        start += static_cast<std::size_t>(count);
    }
    Region region;
    if (edges.empty())
        return region;

    struct Crossing {
        std::int64_t x;
        int direction;
    };
    BandWriter writer(region.m_rects);
    std::vector<Crossing> crossings;
    std::vector<Span> spans;
    for (int y = top; y < bottom; ++y) {
        crossings.clear();
        for (const Edge& e : edges) {
            if (y < e.y0 || y >= e.y1)
                continue;
            std::int64_t num = e.x0 * (e.y1 - e.y0) + (y - e.y0) * (e.x1 - e.x0);
            crossings.push_back({ CeilDiv(num, e.y1 - e.y0), e.direction });
        }
        std::sort(crossings.begin(), crossings.end(), [](const Crossing& l, const Crossing& r) { return l.x < r.x; });
        spans.clear();
        int winding = 0;
        for (std::size_t i = 0; i + 1 < crossings.size(); ++i) {
            bool inside;
            if (mode == FillMode::Alternate) {
                inside = i % 2 == 0;
            } else {
                winding += crossings[i].direction;
                inside = winding != 0;
            }
            int left = static_cast<int>(crossings[i].x);
            int right = static_cast<int>(crossings[i + 1].x);
            if (!inside || left >= right)
                continue;
            if (!spans.empty() && spans.back().right >= left)
                spans.back().right = std::max(spans.back().right, right);
            else
                spans.push_back({ left, right });
        }
        writer.Add(y, y + 1, spans);
    }
    region.UpdateBox();
    return region;
}

Region Region::FromEllipse(const IntRect& bounds)
{
    IntRect r = bounds.Normalized();
    return FromRoundRect(r, r.Width(), r.Height());
}

Region Region::FromRoundRect(const IntRect& bounds, int ellipseWidth, int ellipseHeight)
{
    return FromBandedRects(EllipseScan::RoundRectRows(bounds.Normalized(), ellipseWidth, ellipseHeight));
}

}
