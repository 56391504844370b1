// Composition: a top-level window's frame is made from its surface and its children's,
// back to front, each clipped to its parent, its rectangle and its window region, and
// handed to the backend. Painting: WM_PAINT for windows that were invalidated.

#include "host/window/WindowSystemInternal.h"

#include <algorithm>
#include <span>

namespace korvane::window {

using raster::IntRect;
using raster::Region;
using raster::Surface;

namespace {

// Draws the window and its children into the frame. `origin` is the window's
// top-left in frame coordinates; `clip` is what its parent lets it cover.
// What of the window at `origin` its shape and `clip` leave visible.
Region VisibleArea(const Window& window, POINT origin, const Region& clip)
{
    const IntRect bounds { origin.x, origin.y, origin.x + window.rect.Width(), origin.y + window.rect.Height() };
    if (clip.Rects().size() <= 1) {
        // A rectangular clip (the usual case) cuts every rectangle alike, so the shape's
        // bands stay bands and no band sweep is needed.
        const IntRect limit = bounds.Intersected(clip.Box());
        if (!window.region || limit.IsEmpty())
            return Region(limit);
        std::vector<IntRect> rects;
        rects.reserve(window.region->Rects().size());
        for (const IntRect& r : window.region->Rects())
            rects.push_back(r.Translated(origin.x, origin.y).Intersected(limit));
        return Region::FromBandedRects(std::move(rects));
    }
    Region visible(bounds);
    if (window.region) {
        Region shape = *window.region;
        shape.Offset(origin.x, origin.y);
        visible = Region::Combine(visible, shape, raster::RegionOp::And);
    }
    return Region::Combine(visible, clip, raster::RegionOp::And);
}

// The frame's rows, taken once: a compose writes hundreds of runs into them, and
// each need not ask again whether the frame's pixels are its own.
struct FrameRows {
    explicit FrameRows(Surface& frame) : first(frame.Pixels().data()), width(frame.Width()) {}
    raster::PixelValue* Row(int y) const { return first + static_cast<std::ptrdiff_t>(y) * width; }
    raster::PixelValue* first;
    std::ptrdiff_t width;
};

// Copies a run of pixels; the corners a shaped window leaves open are a pixel or
// two, for which a library copy costs more than the pixels.
void CopyRun(const raster::PixelValue* from, int count, raster::PixelValue* to)
{
    if (count <= 8) {
        for (int i = 0; i < count; ++i)
            to[i] = from[i];
        return;
    }
    std::copy_n(from, count, to);
}

// Copies the window's own pixels of `area` except where `shape`, moved by `offset`,
// lies: a shaped child in front draws there. The shape's rectangles are banded.
void CopyAround(const Window& window, POINT origin, const IntRect& area, const Region& shape, POINT offset,
                const FrameRows& frame)
{
    const Surface& pixels = *window.surface;
    auto copy = [&](int y, int left, int right) {
        if (left < right)
            CopyRun(pixels.Row(y - origin.y) + (left - origin.x), right - left, frame.Row(y) + left);
    };
    const std::span<const IntRect> rects = shape.Rects();
    std::size_t band = 0;
    for (int y = area.top; y < area.bottom;) {
        while (band < rects.size() && rects[band].bottom + offset.y <= y)
            ++band;
        const int bandTop = band < rects.size() ? rects[band].top + offset.y : area.bottom;
        if (bandTop > y) {
            // Rows the shape leaves open are copied whole.
            for (const int end = std::min(bandTop, area.bottom); y < end; ++y)
                copy(y, area.left, area.right);
            continue;
        }
        std::size_t next = band;
        while (next < rects.size() && rects[next].top == rects[band].top)
            ++next;
        for (const int end = std::min(rects[band].bottom + offset.y, area.bottom); y < end; ++y) {
            int x = area.left;
            for (std::size_t i = band; i < next; ++i) {
                copy(y, x, std::min(rects[i].left + offset.x, area.right));
                x = std::max(x, rects[i].right + offset.x);
            }
            copy(y, x, area.right);
        }
        band = next;
    }
}

void ComposeInto(const Window& window, POINT origin, const Region& clip, const FrameRows& frame)
{
    const Region visible = VisibleArea(window, origin, clip);
    if (visible.IsEmpty())
        return;
    // The front-most child whose rectangle covers the whole area hides this window and
    // every child behind it, so they are not copied only to be overwritten (a repainting
    // control). A shaped one hides them but for what its shape leaves open, where this
    // window shows when no child behind reaches into the area.
    const IntRect box = visible.Box();
    const auto cover = std::find_if(window.children.begin(), window.children.end(), [&](HWND hwnd) {
        const Window* child = Find(hwnd);
        return child && child->visible && child->rect.Translated(origin.x, origin.y).Covers(box);
    });
    const Window* covering = cover != window.children.end() ? Find(*cover) : nullptr;
    const bool alone = covering && std::none_of(cover + 1, window.children.end(), [&](HWND hwnd) {
        const Window* child = Find(hwnd);
        return child && child->visible && !child->rect.Translated(origin.x, origin.y).Intersected(box).IsEmpty();
    });
    const bool covered = covering && (!covering->region || alone);
    // Children are front first: draw from the covering one (or the rearmost) forward.
    const std::size_t back = covered ? static_cast<std::size_t>(cover - window.children.begin()) + 1 : window.children.size();
    if (!covered || covering->region) {
        // Read through a const view: a writable one would give shared pixels a copy of their own.
        const Surface& pixels = *window.surface;
        for (const IntRect& rect : visible.Rects()) {
            if (covered) {
                const POINT at { origin.x + covering->rect.left, origin.y + covering->rect.top };
                CopyAround(window, origin, rect, *covering->region, at, frame);
                continue;
            }
            for (int y = rect.top; y < rect.bottom; ++y) {
                const raster::PixelValue* source = pixels.Row(y - origin.y) + (rect.left - origin.x);
                CopyRun(source, rect.Width(), frame.Row(y) + rect.left);
            }
        }
    }
    for (std::size_t i = back; i-- > 0;) {
        const Window* child = Find(window.children[i]);
        if (child && child->visible)
            ComposeInto(*child, POINT { origin.x + child->rect.left, origin.y + child->rect.top }, visible, frame);
    }
}

void ComposeRect(const Window& top, Surface& frame, const IntRect& rect)
{
    ComposeInto(top, POINT { 0, 0 }, Region(rect.Intersected(frame.Bounds())), FrameRows(frame));
}

} // namespace

void PresentWindow(HWND hwnd, const std::optional<IntRect>& rect)
{
    HWND top = TopLevelOf(hwnd);
    Window* topWindow = Find(top);
    Window* window = Find(hwnd);
    if (!topWindow || !window || !topWindow->visible)
        return;
    Surface& frame = State().frames[top];
    IntRect area = topWindow->rect.Translated(-topWindow->rect.left, -topWindow->rect.top);
    // A frame of a new size has nothing worth keeping, so it is composed whole.
    if (frame.Width() != area.Width() || frame.Height() != area.Height()) {
        frame = Surface(area.Width(), area.Height(), raster::SurfaceFormat::Colour32, 0xFFFFFF);
    } else if (rect) {
        POINT origin = ClientOriginOnScreen(*window);
        POINT topOrigin = ClientOriginOnScreen(*topWindow);
        area = rect->Translated(origin.x - topOrigin.x, origin.y - topOrigin.y).Intersected(area);
    }
    if (area.IsEmpty())
        return;
    ComposeRect(*topWindow, frame, area);
    CurrentBackend().Present(top, frame, area);
}

Surface ComposeTopLevel(HWND topLevel)
{
    Window* window = Find(topLevel);
    if (!window)
        return {};
    Surface frame(window->rect.Width(), window->rect.Height(), raster::SurfaceFormat::Colour32, 0xFFFFFF);
    ComposeRect(*window, frame, frame.Bounds());
    return frame;
}

Surface ComposeScreen()
{
    IntRect bounds = CurrentBackend().ScreenBounds();
    Surface screen(bounds.Width(), bounds.Height(), raster::SurfaceFormat::Colour32, 0x3A6EA5); // the desktop
    const FrameRows rows(screen);
    for (auto it = State().topLevels.rbegin(); it != State().topLevels.rend(); ++it) {
        Window* window = Find(*it);
        if (window && window->visible)
            ComposeInto(*window, POINT { window->rect.left, window->rect.top }, Region(screen.Bounds()), rows);
    }
    return screen;
}

void PresentAll()
{
    for (HWND top : std::vector<HWND>(State().topLevels))
        if (Window* window = Find(top); window && window->visible)
            PresentWindow(top);
}

bool DeliverPaints()
{
    // Collected first: a handler may invalidate, create or destroy windows while painting.
    std::vector<HWND> pending;
    for (auto& [hwnd, window] : State().windows)
        if (window->needsPaint)
            pending.push_back(hwnd);
    bool painted = false;
    for (HWND hwnd : pending) {
        if (Window* window = Find(hwnd)) {
            window->needsPaint = false;
            Deliver(hwnd, WM_PAINT, 0, 0);
            painted = true;
        }
    }
    return painted;
}

} // namespace korvane::window

using namespace korvane;
using namespace korvane::window;

BOOL InvalidateRect(HWND hwnd, const RECT*, BOOL)
{
    Window* window = Find(hwnd);
    if (!window)
        return FALSE;
    // The rectangle is not kept: a window repaints whole.
    window->needsPaint = true;
    return TRUE;
}

BOOL UpdateWindow(HWND hwnd)
{
    Window* window = Find(hwnd);
    if (!window)
        return FALSE;
    if (window->needsPaint) {
        window->needsPaint = false;
        Deliver(hwnd, WM_PAINT, 0, 0);
    }
    PresentWindow(hwnd, IntRect { 0, 0, window->rect.Width(), window->rect.Height() });
    return TRUE;
}
