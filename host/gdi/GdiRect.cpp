// RECT helpers of user32.

#include "host/gdi/Gdi.h"

#include <algorithm>

BOOL SetRect(LPRECT rect, int left, int top, int right, int bottom)
{
    if (!rect)
        return FALSE;
    *rect = { left, top, right, bottom };
    return TRUE;
}

BOOL SetRectEmpty(LPRECT rect)
{
    return SetRect(rect, 0, 0, 0, 0);
}

BOOL CopyRect(LPRECT dest, const RECT* source)
{
    if (!dest || !source)
        return FALSE;
    *dest = *source;
    return TRUE;
}

BOOL InflateRect(LPRECT rect, int dx, int dy)
{
    if (!rect)
        return FALSE;
    rect->left -= dx;
    rect->top -= dy;
    rect->right += dx;
    rect->bottom += dy;
    return TRUE;
}

BOOL OffsetRect(LPRECT rect, int dx, int dy)
{
    if (!rect)
        return FALSE;
    rect->left += dx;
    rect->right += dx;
    rect->top += dy;
    rect->bottom += dy;
    return TRUE;
}

BOOL IsRectEmpty(const RECT* rect)
{
    return !rect || rect->right <= rect->left || rect->bottom <= rect->top;
}

BOOL IntersectRect(LPRECT dest, const RECT* a, const RECT* b)
{
    if (!dest || !a || !b)
        return FALSE;
    RECT r { std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
             std::min(a->bottom, b->bottom) };
    if (IsRectEmpty(a) || IsRectEmpty(b) || IsRectEmpty(&r)) {
        SetRectEmpty(dest);
        return FALSE;
    }
    *dest = r;
    return TRUE;
}

BOOL UnionRect(LPRECT dest, const RECT* a, const RECT* b)
{
    if (!dest || !a || !b)
        return FALSE;
    bool emptyA = IsRectEmpty(a);
    bool emptyB = IsRectEmpty(b);
    if (emptyA && emptyB) {
        SetRectEmpty(dest);
        return FALSE;
    }
    if (emptyA) {
        *dest = *b;
        return TRUE;
    }
    if (emptyB) {
        *dest = *a;
        return TRUE;
    }
    *dest = { std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right),
              std::max(a->bottom, b->bottom) };
    return TRUE;
}

BOOL SubtractRect(LPRECT dest, const RECT* a, const RECT* b)
{
    if (!dest || !a || !b)
        return FALSE;
    RECT result = *a;
    RECT overlap;
    if (IntersectRect(&overlap, a, b)) {
        // Only a cut that spans a whole side leaves a rectangle.
        if (overlap.top == a->top && overlap.bottom == a->bottom) {
            if (overlap.left == a->left)
                result.left = overlap.right;
            else if (overlap.right == a->right)
                result.right = overlap.left;
        } else if (overlap.left == a->left && overlap.right == a->right) {
            if (overlap.top == a->top)
                result.top = overlap.bottom;
            else if (overlap.bottom == a->bottom)
                result.bottom = overlap.top;
        }
    }
    *dest = result;
    if (IsRectEmpty(&result)) {
        SetRectEmpty(dest);
        return FALSE;
    }
    return TRUE;
}

BOOL PtInRect(const RECT* rect, POINT point)
{
    return rect && point.x >= rect->left && point.x < rect->right && point.y >= rect->top && point.y < rect->bottom;
}

BOOL EqualRect(const RECT* a, const RECT* b)
{
    return a && b && a->left == b->left && a->top == b->top && a->right == b->right && a->bottom == b->bottom;
}
