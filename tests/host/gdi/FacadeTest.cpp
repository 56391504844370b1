// The facade's handle rules and pixel rules that the reference scenes do not cover.

#include "tests/host/gdi/CanvasSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <tuple>
#include <vector>

namespace korvane::gdi {
namespace {

using testing::Canvas;
using Facade = testing::NoLeaks;

// The table slot a handle names; handles keep it in their low bits, above four zero bits.
std::uintptr_t SlotOf(HGDIOBJ handle) { return (reinterpret_cast<std::uintptr_t>(handle) >> 4) & 0xFFFFF; }

TEST_F(Facade, HandlesAreTypedAndDieWithDeleteObject)
{
    std::size_t pens = LiveObjectCount(ObjectKind::Pen);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    EXPECT_EQ(std::pair(LiveObjectCount(ObjectKind::Pen), GetObjectType(pen)), std::pair(pens + 1, DWORD { OBJ_PEN }));
    LOGPEN log {};
    EXPECT_EQ(GetObjectA(pen, sizeof log, &log), static_cast<int>(sizeof log));
    EXPECT_EQ(log.lopnColor, RGB(1, 2, 3));
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_EQ(LiveObjectCount(ObjectKind::Pen), pens);
    HDC notADc = reinterpret_cast<HDC>(CreateSolidBrush(0));
    EXPECT_EQ(SetBkColor(notADc, 0), CLR_INVALID);
    EXPECT_FALSE(LineTo(notADc, 1, 1));
    DeleteObject(reinterpret_cast<HGDIOBJ>(notADc));
    EXPECT_EQ(SelectObject(reinterpret_cast<HDC>(0x12345670), GetStockObject(BLACK_PEN)), nullptr);
}

// A deleted pen's slot goes to the next object made, whose memory may be the same
// recycled block; only the handle's generation tells the two apart.
TEST_F(Facade, AStaleHandleIsRefusedWhenItsSlotHoldsANewObject)
{
    Canvas canvas(2, 1);
    HDC dc = canvas.Dc();
    const std::function<HGDIOBJ()> makers[] = {
        [] { return CreatePen(PS_SOLID, 1, RGB(4, 5, 6)); },
        [] { return CreateSolidBrush(RGB(4, 5, 6)); },
    };
    for (const auto& make : makers) {
        HPEN stale = CreatePen(PS_DASH, 1, RGB(1, 2, 3));
        ASSERT_TRUE(DeleteObject(stale));
        HGDIOBJ fresh = make();
        ASSERT_EQ(SlotOf(fresh), SlotOf(stale)) << "the new object did not reuse the slot";

        EXPECT_EQ(GetObjectType(stale), 0u);
        EXPECT_EQ(GetObjectA(stale, 0, nullptr), 0);
        EXPECT_EQ(SelectObject(dc, stale), nullptr);
        EXPECT_FALSE(DeleteObject(stale));
        // The new object is untouched by all that.
        EXPECT_NE(GetObjectType(fresh), 0u);
        HGDIOBJ old = SelectObject(dc, fresh);
        EXPECT_EQ(GetCurrentObject(dc, GetObjectType(fresh)), fresh);
        SelectObject(dc, old);
        EXPECT_TRUE(DeleteObject(fresh));
    }
}

// Creation fails once the table is full, and works again when an object goes. A handle
// whose index lies beyond the table lands on a live slot, and still names nothing.
TEST_F(Facade, CreationFailsWhileTheTableIsFull)
{
    std::vector<HGDIOBJ> made;
    for (HGDIOBJ pen; made.size() < HandleTable::Capacity && (pen = CreatePen(PS_SOLID, 1, 0));)
        made.push_back(pen);
    EXPECT_EQ(std::pair(made.size() < HandleTable::Capacity, CreateCompatibleDC(nullptr)), std::pair(true, HDC {}));
    const auto beyond = reinterpret_cast<std::uintptr_t>(made.back()) + (HandleTable::Capacity << 4);
    EXPECT_EQ(GetObjectType(reinterpret_cast<HGDIOBJ>(beyond)), 0u);
    DeleteObject(made.back());
    made.pop_back();
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_NE(dc, nullptr);
    DeleteDC(dc);
    for (HGDIOBJ pen : made)
        DeleteObject(pen);
}

TEST_F(Facade, SelectedObjectsCannotBeDeletedStockObjectsAlwaysCan)
{
    Canvas canvas(4, 4);
    HDC dc = canvas.Dc();
    HBRUSH brush = CreateSolidBrush(RGB(255, 0, 0));
    HGDIOBJ previous = SelectObject(dc, brush);
    EXPECT_EQ(previous, GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush);
    EXPECT_FALSE(DeleteObject(brush));
    SelectObject(dc, previous);
    EXPECT_TRUE(DeleteObject(brush));
    EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_PEN)));
    EXPECT_NE(GetObjectType(GetStockObject(BLACK_PEN)), 0u);
    // The null handle names nothing, and freeing it frees nothing.
    const std::size_t live = LiveObjectCount();
    EXPECT_EQ(std::tuple(GetObjectType(nullptr), DeleteObject(nullptr), DeleteDC(nullptr), DestroyIcon(nullptr),
                         SelectObject(dc, nullptr), LineTo(nullptr, 1, 1), LiveObjectCount()),
              std::tuple(DWORD { 0 }, FALSE, FALSE, FALSE, HGDIOBJ {}, FALSE, live));
}

TEST_F(Facade, MemoryDcStartsMonochromeAndMakesMonochromeBitmaps)
{
    HDC dc = CreateCompatibleDC(nullptr);
    BITMAP bm {};
    HBITMAP initial = static_cast<HBITMAP>(GetCurrentObject(dc, OBJ_BITMAP));
    ASSERT_EQ(GetObjectA(initial, sizeof bm, &bm), static_cast<int>(sizeof bm));
    EXPECT_EQ(std::pair(bm.bmWidth, bm.bmBitsPixel), std::pair(1, WORD { 1 }));
    HBITMAP mono = CreateCompatibleBitmap(dc, 17, 3);
    GetObjectA(mono, sizeof bm, &bm);
    EXPECT_EQ(std::pair(bm.bmBitsPixel, bm.bmWidthBytes), std::pair(WORD { 1 }, 4));
    HBITMAP colour = CreateBitmap(5, 2, 1, 32, nullptr);
    // A bitmap lives in one DC at a time.
    HDC other = CreateCompatibleDC(nullptr);
    EXPECT_NE(SelectObject(dc, colour), nullptr);
    EXPECT_EQ(SelectObject(other, colour), nullptr);
    EXPECT_EQ(GetObjectA(mono, 0, nullptr), static_cast<int>(sizeof(BITMAP))); // size query only
    DeleteDC(other);
    DeleteDC(dc);
    EXPECT_TRUE(DeleteObject(mono));
    EXPECT_TRUE(DeleteObject(colour));
}

TEST_F(Facade, ClippingIsACopyOfTheRegionAndPixelsOutsideItAreInvalid)
{
    Canvas canvas(10, 2);
    HDC dc = canvas.Dc();
    HRGN rgn = CreateRectRgn(0, 0, 5, 2);
    EXPECT_EQ(SelectClipRgn(dc, rgn), SIMPLEREGION);
    SetRectRgn(rgn, 0, 0, 10, 2); // must not widen the clip
    canvas.Fill(RGB(0, 0, 0));
    EXPECT_EQ(std::pair(GetPixel(dc, 4, 0), GetPixel(dc, 7, 0)), std::pair(RGB(0, 0, 0), CLR_INVALID));
    const COLORREF ink = RGB(1, 2, 3);
    EXPECT_EQ(std::pair(SetPixel(dc, 7, 1, ink), SetPixel(dc, -1, 1, ink)), std::pair(CLR_INVALID, CLR_INVALID));
    EXPECT_EQ(SetPixel(dc, 4, 1, ink), ink);
    HRGN clip = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetClipRgn(dc, clip), 1);
    RECT box;
    GetRgnBox(clip, &box);
    EXPECT_EQ(box.right, 5);
    SelectClipRgn(dc, nullptr);
    EXPECT_EQ(GetPixel(dc, 7, 0), RGB(255, 255, 255));
    EXPECT_EQ(std::pair(SetPixel(dc, 9, 1, ink), SetPixel(dc, 10, 1, ink)), std::pair(ink, CLR_INVALID));
    EXPECT_EQ(GetClipRgn(dc, clip), 0);
    IntersectClipRect(dc, 0, 0, 4, 2);
    EXPECT_EQ(GetPixel(dc, 6, 1), CLR_INVALID);
    DeleteObject(rgn);
    DeleteObject(clip);
}

// Negative extents mirror; a negative width covers the columns from x + width + 1 to x.
TEST_F(Facade, StretchBltMirrorsWhenTheSignsOfTheExtentsDiffer)
{
    // A 3 x 2 picture with every pixel different:  A B C / D E F.
    constexpr COLORREF A = RGB(10, 0, 0), B = RGB(20, 0, 0), C = RGB(30, 0, 0);
    constexpr COLORREF D = RGB(0, 10, 0), E = RGB(0, 20, 0), F = RGB(0, 30, 0);
    constexpr COLORREF W = RGB(255, 255, 255);
    Canvas source(3, 2);
    HDC picture = source.Dc();
    for (int i = 0; i < 6; ++i)
        SetPixelV(picture, i % 3, i / 3, std::array { A, B, C, D, E, F }[static_cast<std::size_t>(i)]);

    struct Case {
        const char* what;
        int x, y, cx, cy, x1, y1, cx1, cy1;
        std::vector<COLORREF> expected; // a 6 x 2 canvas, top row first
    };
    const Case cases[] = {
        { "source width negative", 0, 0, 3, 2, 2, 0, -3, 2, { C, B, A, W, W, W, F, E, D, W, W, W } },
        { "destination width negative", 2, 0, -3, 2, 0, 0, 3, 2, { C, B, A, W, W, W, F, E, D, W, W, W } },
        { "destination height negative", 0, 1, 3, -2, 0, 0, 3, 2, { D, E, F, W, W, W, A, B, C, W, W, W } },
        { "source height negative", 3, 0, 3, 2, 0, 1, 3, -2, { W, W, W, D, E, F, W, W, W, A, B, C } },
        { "both directions", 5, 1, -3, -2, 0, 0, 3, 2, { W, W, W, F, E, D, W, W, W, C, B, A } },
        { "both widths negative: no mirror", 2, 0, -3, 2, 2, 0, -3, 2, { A, B, C, W, W, W, D, E, F, W, W, W } },
        { "mirrored and stretched", 0, 0, 6, 2, 2, 0, -3, 2, { C, C, B, B, A, A, F, F, E, E, D, D } },
    };
    for (const Case& test : cases) {
        Canvas canvas(6, 2);
        HDC dc = canvas.Dc();
        EXPECT_TRUE(StretchBlt(dc, test.x, test.y, test.cx, test.cy, picture, test.x1, test.y1, test.cx1, test.cy1, SRCCOPY));
        EXPECT_EQ(ReadColorRefs(dc), test.expected) << test.what;
    }
}

TEST_F(Facade, RectHelpers)
{
    RECT a { 0, 0, 10, 10 };
    RECT b { 5, 5, 15, 15 };
    RECT r;
    EXPECT_TRUE(IntersectRect(&r, &a, &b));
    EXPECT_EQ((std::pair { r.left, r.right }), (std::pair { 5, 10 }));
    RECT far { 20, 20, 30, 30 };
    EXPECT_FALSE(IntersectRect(&r, &a, &far));
    EXPECT_TRUE(IsRectEmpty(&r));
    EXPECT_TRUE(UnionRect(&r, &a, &b));
    InflateRect(&r, -2, -1);
    EXPECT_EQ((std::tuple { r.left, r.top, r.right }), (std::tuple { 2, 1, 13 }));
    EXPECT_EQ(std::pair(PtInRect(&a, POINT { 10, 5 }), PtInRect(&a, POINT { 9, 9 })), std::pair(FALSE, TRUE));
}

// Thin solid pens take shortcuts: a rectangle whose pen and brush share a colour is one
// fill, and LineTo draws without a drawing context. Each must leave the pixels of the
// general path: a pattern brush of that colour, and a two-point Polyline.
struct ShortcutCase {
    const char* name;
    int penStyle;
    int penWidth;
    int rop2;
    POINT viewport;
    bool clipped;
};

const ShortcutCase kShortcutCases[] = {
    { "solid", PS_SOLID, 1, R2_COPYPEN, { 0, 0 }, false },
    { "width 0", PS_SOLID, 0, R2_COPYPEN, { 0, 0 }, false },
    { "inside frame", PS_INSIDEFRAME, 1, R2_COPYPEN, { 0, 0 }, false },
    { "viewport moved", PS_SOLID, 1, R2_COPYPEN, { 3, -2 }, false },
    { "clipped", PS_SOLID, 1, R2_COPYPEN, { 0, 0 }, true },
    { "xor", PS_SOLID, 1, R2_XORPEN, { 0, 0 }, true },
    { "dotted", PS_DOT, 1, R2_COPYPEN, { 0, 0 }, false },
    { "wide", PS_SOLID, 3, R2_COPYPEN, { 0, 0 }, true },
};

constexpr COLORREF kShortcutColour = RGB(40, 160, 90);

// Draws on one canvas through the shortcut and on another through the general path, both
// set up as the case says with a pen of that colour, and compares their pixels.
void ExpectShortcutDrawsAsGeneralPath(const ShortcutCase& c, HRGN clip, const std::function<void(HDC)>& shortcut,
                                      const std::function<void(HDC)>& general)
{
    Canvas canvases[] = { { 16, 12, RGB(200, 30, 30) }, { 16, 12, RGB(200, 30, 30) } };
    for (const Canvas& canvas : canvases) {
        SetViewportOrgEx(canvas.Dc(), c.viewport.x, c.viewport.y, nullptr);
        SetROP2(canvas.Dc(), c.rop2);
        if (c.clipped)
            SelectClipRgn(canvas.Dc(), clip);
        testing::Selected pen(canvas.Dc(), CreatePen(c.penStyle, c.penWidth, kShortcutColour));
        (&canvas == &canvases[0] ? shortcut : general)(canvas.Dc());
    }
    EXPECT_EQ(canvases[0].Pixels(), canvases[1].Pixels());
}

TEST_F(Facade, ThinSolidPenShortcutsDrawAsTheGeneralPath)
{
    const RECT rects[] = { { 2, 3, 12, 9 }, { 12, 9, 2, 3 }, { 4, 2, 5, 10 }, { 1, 6, 13, 7 }, { 5, 5, 6, 6 }, { 6, 6, 6, 9 } };
    const std::array<POINT, 2> lines[] = { { { { 1, 4 }, { 13, 4 } } }, { { { 13, 4 }, { 1, 4 } } }, { { { 7, 1 }, { 7, 11 } } },
                                           { { { 7, 11 }, { 7, 1 } } }, { { { 1, 1 }, { 12, 9 } } }, { { { 5, 5 }, { 5, 5 } } },
                                           // reaching past the surface, and wholly beside it
                                           { { { -3, 2 }, { 20, 2 } } }, { { { 20, 3 }, { -3, 3 } } }, { { { 9, -5 }, { 9, 30 } } },
                                           { { { 10, 30 }, { 10, -5 } } }, { { { -5, -2 }, { 30, -2 } } }, { { { 20, 1 }, { 20, 9 } } } };
    const std::vector<std::uint32_t> tileBits(64, ToPixel(kShortcutColour));
    HBITMAP tile = CreateBitmap(8, 8, 1, 32, tileBits.data());
    HRGN clip = CreateRectRgn(3, 0, 10, 8);
    for (const ShortcutCase& c : kShortcutCases) {
        SCOPED_TRACE(c.name);
        for (const RECT& r : rects) {
            SCOPED_TRACE("Rectangle " + ::testing::PrintToString(testing::Edges(r)));
            auto rectangleWith = [&r](HBRUSH brush) {
                return [&r, brush](HDC dc) {
                    testing::Selected selected(dc, brush);
                    Rectangle(dc, r.left, r.top, r.right, r.bottom);
                };
            };
            ExpectShortcutDrawsAsGeneralPath(
                c, clip, rectangleWith(CreateSolidBrush(kShortcutColour)), rectangleWith(CreatePatternBrush(tile)));
        }
        for (const auto& line : lines) {
            SCOPED_TRACE(::testing::Message() << "line to " << line[1].x << "," << line[1].y);
            auto shortcut = [&](HDC dc) {
                MoveToEx(dc, line[0].x, line[0].y, nullptr);
                LineTo(dc, line[1].x, line[1].y);
                POINT position {};
                MoveToEx(dc, 0, 0, &position);
                EXPECT_EQ(std::pair(position.x, position.y), std::pair(line[1].x, line[1].y));
            };
            ExpectShortcutDrawsAsGeneralPath(c, clip, shortcut, [&](HDC dc) { Polyline(dc, line.data(), 2); });
        }
    }
    DeleteObject(clip);
    DeleteObject(tile);
}

}
}
