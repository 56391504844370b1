// The facade's handle rules and pixel rules that the reference scenes do not cover.

#include "host/gdi/Gdi.h"
#include "host/gdi/GdiInternal.h"

#include <gtest/gtest.h>

namespace korvane::gdi {
namespace {

// Every test starts and ends with the same live-object counts.
class Facade : public ::testing::Test {
protected:
    void SetUp() override { m_before = LiveObjectCount(); }
    void TearDown() override { EXPECT_EQ(LiveObjectCount(), m_before) << "GDI objects leaked"; }

    // A memory DC with a white 32-bit bitmap; released by Finish().
    HDC Canvas(int width, int height)
    {
        m_dc = CreateCompatibleDC(nullptr);
        HDC screen = GetDC(nullptr);
        m_bitmap = CreateCompatibleBitmap(screen, width, height);
        ReleaseDC(nullptr, screen);
        m_old = SelectObject(m_dc, m_bitmap);
        RECT all { 0, 0, width, height };
        FillRect(m_dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        return m_dc;
    }
    void Finish()
    {
        SelectObject(m_dc, m_old);
        DeleteDC(m_dc);
        DeleteObject(m_bitmap);
    }

private:
    std::size_t m_before = 0;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
};

TEST_F(Facade, HandlesAreTypedAndDieWithDeleteObject)
{
    std::size_t pens = LiveObjectCount(ObjectKind::Pen);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    EXPECT_EQ(LiveObjectCount(ObjectKind::Pen), pens + 1);
    EXPECT_EQ(GetObjectType(pen), static_cast<DWORD>(OBJ_PEN));
    LOGPEN log {};
    EXPECT_EQ(GetObjectA(pen, sizeof log, &log), static_cast<int>(sizeof log));
    EXPECT_EQ(log.lopnColor, RGB(1, 2, 3));
    EXPECT_TRUE(DeleteObject(pen));
    // The handle is now stale: every call fails instead of touching a new object.
    EXPECT_FALSE(DeleteObject(pen));
    EXPECT_EQ(GetObjectType(pen), 0u);
    HDC notADc = reinterpret_cast<HDC>(CreateSolidBrush(0));
    EXPECT_EQ(SetBkColor(notADc, 0), CLR_INVALID);
    EXPECT_FALSE(LineTo(notADc, 1, 1));
    DeleteObject(reinterpret_cast<HGDIOBJ>(notADc));
    EXPECT_EQ(SelectObject(reinterpret_cast<HDC>(0x12345670), GetStockObject(BLACK_PEN)), nullptr);
}

TEST_F(Facade, SelectedObjectsCannotBeDeletedStockObjectsAlwaysCan)
{
    HDC dc = Canvas(4, 4);
    HBRUSH brush = CreateSolidBrush(RGB(255, 0, 0));
    HGDIOBJ previous = SelectObject(dc, brush);
    EXPECT_EQ(previous, GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush);
    EXPECT_FALSE(DeleteObject(brush));
    SelectObject(dc, previous);
    EXPECT_TRUE(DeleteObject(brush));
    EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_PEN)));
    EXPECT_NE(GetObjectType(GetStockObject(BLACK_PEN)), 0u);
    Finish();
}

TEST_F(Facade, MemoryDcStartsMonochromeAndMakesMonochromeBitmaps)
{
    HDC dc = CreateCompatibleDC(nullptr);
    BITMAP bm {};
    HBITMAP initial = static_cast<HBITMAP>(GetCurrentObject(dc, OBJ_BITMAP));
    ASSERT_EQ(GetObjectA(initial, sizeof bm, &bm), static_cast<int>(sizeof bm));
    EXPECT_EQ(bm.bmWidth, 1);
    EXPECT_EQ(bm.bmBitsPixel, 1);
    HBITMAP mono = CreateCompatibleBitmap(dc, 17, 3);
    GetObjectA(mono, sizeof bm, &bm);
    EXPECT_EQ(bm.bmBitsPixel, 1);
    EXPECT_EQ(bm.bmWidthBytes, 4);
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

TEST_F(Facade, PixelsOutsideBitmapOrClipAreInvalid)
{
    HDC dc = Canvas(8, 4);
    EXPECT_EQ(GetPixel(dc, 8, 0), CLR_INVALID);
    EXPECT_EQ(GetPixel(dc, 0, -1), CLR_INVALID);
    EXPECT_TRUE(SetPixelV(dc, 1, 1, RGB(0x12, 0x34, 0x56)));
    EXPECT_EQ(GetPixel(dc, 1, 1), RGB(0x12, 0x34, 0x56));
    IntersectClipRect(dc, 0, 0, 4, 4);
    EXPECT_EQ(GetPixel(dc, 6, 1), CLR_INVALID);
    SetPixelV(dc, 6, 1, RGB(255, 0, 0));
    SelectClipRgn(dc, nullptr);
    EXPECT_EQ(GetPixel(dc, 6, 1), RGB(255, 255, 255));
    Finish();
}

TEST_F(Facade, ClipRegionIsCopiedWhenSelected)
{
    HDC dc = Canvas(10, 1);
    HRGN rgn = CreateRectRgn(0, 0, 5, 1);
    EXPECT_EQ(SelectClipRgn(dc, rgn), SIMPLEREGION);
    SetRectRgn(rgn, 0, 0, 10, 1); // must not widen the clip
    RECT all { 0, 0, 10, 1 };
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(GetPixel(dc, 4, 0), RGB(0, 0, 0));
    HRGN clip = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetClipRgn(dc, clip), 1);
    RECT box;
    GetRgnBox(clip, &box);
    EXPECT_EQ(box.right, 5);
    SelectClipRgn(dc, nullptr);
    EXPECT_EQ(GetPixel(dc, 7, 0), RGB(255, 255, 255));
    EXPECT_EQ(GetClipRgn(dc, clip), 0);
    DeleteObject(rgn);
    DeleteObject(clip);
    Finish();
}

TEST_F(Facade, RectangleOutlineIsInsideFillRectIsEndExclusive)
{
    HDC dc = Canvas(8, 8);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    HGDIOBJ oldBrush = SelectObject(dc, red);
    Rectangle(dc, 1, 1, 5, 5);
    EXPECT_EQ(GetPixel(dc, 4, 4), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc, 5, 5), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 2, 2), RGB(255, 0, 0));
    RECT r { 5, 5, 7, 7 };
    FillRect(dc, &r, red);
    EXPECT_EQ(GetPixel(dc, 6, 6), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc, 7, 7), RGB(255, 255, 255));
    SelectObject(dc, oldBrush);
    DeleteObject(red);
    Finish();
}

TEST_F(Facade, FocusRectTwiceRestoresPixels)
{
    HDC dc = Canvas(12, 9);
    std::vector<COLORREF> before = ReadColorRefs(dc);
    RECT r { 1, 2, 11, 8 };
    DrawFocusRect(dc, &r);
    EXPECT_NE(ReadColorRefs(dc), before);
    DrawFocusRect(dc, &r);
    EXPECT_EQ(ReadColorRefs(dc), before);
    Finish();
}

TEST_F(Facade, SysColoursFollowTheXpScheme)
{
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(236, 233, 216));
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), RGB(49, 106, 197));
    EXPECT_EQ(GetSysColor(COLOR_3DDKSHADOW), RGB(113, 111, 100));
    EXPECT_EQ(GetSysColor(COLOR_INFOBK), RGB(255, 255, 225));
    LOGBRUSH log {};
    GetObjectA(GetSysColorBrush(COLOR_3DLIGHT), sizeof log, &log);
    EXPECT_EQ(log.lbColor, RGB(241, 239, 226));
}

TEST_F(Facade, RectHelpers)
{
    RECT a { 0, 0, 10, 10 };
    RECT b { 5, 5, 15, 15 };
    RECT r;
    EXPECT_TRUE(IntersectRect(&r, &a, &b));
    EXPECT_EQ(r.left, 5);
    EXPECT_EQ(r.right, 10);
    RECT far { 20, 20, 30, 30 };
    EXPECT_FALSE(IntersectRect(&r, &a, &far));
    EXPECT_TRUE(IsRectEmpty(&r));
    EXPECT_TRUE(UnionRect(&r, &a, &b));
    EXPECT_EQ(r.right, 15);
    InflateRect(&r, -2, -1);
    EXPECT_EQ(r.left, 2);
    EXPECT_EQ(r.top, 1);
    EXPECT_FALSE(PtInRect(&a, POINT { 10, 5 }));
    EXPECT_TRUE(PtInRect(&a, POINT { 9, 9 }));
}

// Thousands of create/select/draw/delete cycles end where they began.
TEST_F(Facade, CreateSelectDrawDeleteCyclesLeakNothing)
{
    HDC screen = GetDC(nullptr);
    for (int i = 0; i < 3000; ++i) {
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, 16, 8);
        HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
        HPEN pen = CreatePen(i % 2 ? PS_DOT : PS_SOLID, 1, RGB(i & 255, 0, 0));
        HBRUSH brush = i % 3 ? CreateSolidBrush(RGB(0, i & 255, 0)) : CreateHatchBrush(HS_CROSS, 0);
        HRGN rgn = CreateEllipticRgn(0, 0, 16, 8);
        HGDIOBJ oldPen = SelectObject(dc, pen);
        HGDIOBJ oldBrush = SelectObject(dc, brush);
        SelectClipRgn(dc, rgn);
        Rectangle(dc, 0, 0, 16, 8);
        MoveToEx(dc, 0, 0, nullptr);
        LineTo(dc, 15, 7);
        BitBlt(screen, 0, 0, 16, 8, dc, 0, 0, SRCCOPY);
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBrush);
        SelectObject(dc, oldBitmap);
        ASSERT_TRUE(DeleteObject(pen));
        ASSERT_TRUE(DeleteObject(brush));
        ASSERT_TRUE(DeleteObject(rgn));
        ASSERT_TRUE(DeleteObject(bitmap));
        ASSERT_TRUE(DeleteDC(dc));
    }
    ReleaseDC(nullptr, screen);
}

}
}
