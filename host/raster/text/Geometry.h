#pragma once

// Small value types the text library speaks in. They mirror POINT, SIZE and RECT
// so the GDI facade can convert with a field-by-field copy.

namespace korvane::raster::text {

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// Right and bottom are exclusive, as in Win32.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }

    Rect Intersected(const Rect& other) const
    {
        Rect r { left > other.left ? left : other.left, top > other.top ? top : other.top,
                 right < other.right ? right : other.right, bottom < other.bottom ? bottom : other.bottom };
        if (r.IsEmpty())
            return {};
        return r;
    }

    // The smallest rectangle holding both; an empty rectangle adds nothing.
    Rect United(const Rect& other) const
    {
        if (other.IsEmpty())
            return *this;
        if (IsEmpty())
            return other;
        return { left < other.left ? left : other.left, top < other.top ? top : other.top,
                 right > other.right ? right : other.right, bottom > other.bottom ? bottom : other.bottom };
    }

    friend bool operator==(const Rect&, const Rect&) = default;
};

}
