#pragma once

#include <algorithm>
#include <cstdint>

namespace korvane::raster {

// Device pixel values are 0x00RRGGBB, the byte order of a 32-bit DIB in memory.
using PixelValue = std::uint32_t;

// Point, size and rectangle mirror POINT, SIZE and RECT, so the GDI facade converts
// them with a field-by-field copy.
struct IntPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const IntPoint&, const IntPoint&) = default;
};

struct IntSize {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const IntSize&, const IntSize&) = default;
};

// Half-open rectangle: left and top inclusive, right and bottom exclusive.
struct IntRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    // Whether every pixel of `other` lies inside; an empty rectangle is covered by any.
    bool Covers(const IntRect& other) const
    {
        return other.IsEmpty() ||
               (other.left >= left && other.top >= top && other.right <= right && other.bottom <= bottom);
    }

    IntRect Intersected(const IntRect& other) const
    {
        IntRect result { std::max(left, other.left), std::max(top, other.top),
                         std::min(right, other.right), std::min(bottom, other.bottom) };
        if (result.IsEmpty())
            return {};
        return result;
    }
    // The smallest rectangle holding both; an empty rectangle adds nothing.
    IntRect United(const IntRect& other) const
    {
        if (other.IsEmpty())
            return *this;
        if (IsEmpty())
            return other;
        return { std::min(left, other.left), std::min(top, other.top), std::max(right, other.right),
                 std::max(bottom, other.bottom) };
    }
    IntRect Translated(int dx, int dy) const { return { left + dx, top + dy, right + dx, bottom + dy }; }
    // Swaps reversed corners so that left <= right and top <= bottom.
    IntRect Normalized() const
    {
        return { std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom) };
    }
    friend bool operator==(const IntRect&, const IntRect&) = default;
};

}
