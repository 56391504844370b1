#pragma once

// What the GDI facade tests share: a fixture proving no GDI object outlives a test, and a
// memory DC with its own bitmap, read back as COLORREFs or compared with a golden picture.

#include "host/gdi/Gdi.h"
#include "host/gdi/GdiInternal.h"
#include "tests/support/GoldenImage.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

namespace korvane::gdi::testing {

// Every test starts and ends with the same live-object count.
class NoLeaks : public ::testing::Test {
protected:
    void SetUp() override { m_live = LiveObjectCount(); }
    void TearDown() override { EXPECT_EQ(LiveObjectCount(), m_live) << "GDI objects leaked"; }

private:
    std::size_t m_live = 0;
};

class Canvas {
public:
    // A 32-bit canvas, or a monochrome one when `bitCount` is 1, filled with `fill`.
    Canvas(int width, int height, COLORREF fill = RGB(255, 255, 255), int bitCount = 32)
        : m_all { 0, 0, width, height }
        , m_bitmap(CreateBitmap(width, height, 1, static_cast<UINT>(bitCount), nullptr))
    {
        SelectObject(m_dc, m_bitmap);
        Fill(fill);
    }
    ~Canvas()
    {
        DeleteDC(m_dc); // releases the bitmap, which can then go
        DeleteObject(m_bitmap);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Dc() const { return m_dc; }

    void Fill(COLORREF colour)
    {
        HBRUSH brush = CreateSolidBrush(colour);
        FillRect(m_dc, &m_all, brush);
        DeleteObject(brush);
    }
    std::vector<COLORREF> Pixels() const { return ReadColorRefs(m_dc); }

private:
    RECT m_all;
    HDC m_dc = CreateCompatibleDC(nullptr);
    HBITMAP m_bitmap;
};

inline std::array<LONG, 4> Edges(const RECT& r) { return { r.left, r.top, r.right, r.bottom }; }

// The canvas against tests/goldens/<name>.png.
inline ::testing::AssertionResult MatchesGolden(const Canvas& canvas, std::string_view name)
{
    return korvane::testing::MatchesGolden(*SurfaceOf(canvas.Dc()), name);
}

inline HFONT MakeFont(const char* face, int height, int weight = FW_NORMAL, BYTE underline = 0,
                      BYTE charSet = DEFAULT_CHARSET)
{
    LOGFONTA log {};
    log.lfHeight = height;
    log.lfWeight = weight;
    log.lfUnderline = underline;
    log.lfCharSet = charSet;
    std::snprintf(log.lfFaceName, LF_FACESIZE, "%s", face);
    return CreateFontIndirectA(&log);
}

// Selects an object for the life of this one, then restores the previous object and deletes it.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ object)
        : m_dc(dc)
        , m_object(object)
        , m_previous(SelectObject(dc, object))
    {
    }
    ~Selected()
    {
        SelectObject(m_dc, m_previous);
        DeleteObject(m_object);
    }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_object;
    HGDIOBJ m_previous;
};

}
