// DrawTextA, TextOutA and fonts through the facade, checked against golden pictures.
// Line breaking, prefixes and alignment themselves are the layout engine's tests; these
// check what the facade adds: flags, counts, DC colours, modes, clip and viewport, fonts.

#include "tests/host/gdi/CanvasSupport.h"

#include <cstring>
#include <string>
#include <tuple>

using namespace korvane::gdi;
using namespace korvane::gdi::testing;

namespace {

constexpr COLORREF White = RGB(255, 255, 255);
constexpr COLORREF Red = RGB(255, 0, 0);

class GdiText : public NoLeaks {
protected:
    static TEXTMETRICA Metrics(HDC dc)
    {
        TEXTMETRICA tm {};
        EXPECT_TRUE(GetTextMetricsA(dc, &tm));
        return tm;
    }
    static int Width(HDC dc, const char* text)
    {
        SIZE size {};
        EXPECT_TRUE(GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &size));
        return size.cx;
    }
};

TEST_F(GdiText, CalcRectHoldsWhatIsDrawnAndTheFlagsReachTheLayout)
{
    Canvas canvas(220, 120);
    Selected font(canvas.Dc(), MakeFont("Tahoma", -11));
    const TEXTMETRICA tm = Metrics(canvas.Dc());
    const char* text = "First line\nSecond, longer line";

    RECT calc { 10, 10, 10, 10 };
    const int height = DrawTextA(canvas.Dc(), text, -1, &calc, DT_CALCRECT);
    EXPECT_EQ(height, 2 * tm.tmHeight);
    EXPECT_EQ(Edges(calc), Edges({ 10, 10, 10 + Width(canvas.Dc(), "Second, longer line"), 10 + 2 * tm.tmHeight }));
    EXPECT_EQ(canvas.Pixels(), std::vector<COLORREF>(220 * 120, White)) << "DT_CALCRECT drew";
    RECT draw = calc;
    EXPECT_EQ(DrawTextA(canvas.Dc(), text, -1, &draw, DT_LEFT), height);
    EXPECT_TRUE(MatchesGolden(canvas, "gdi/text_two_lines"));

    // A count shorter than the string stops there.
    RECT counted {};
    DrawTextA(canvas.Dc(), "File menu", 4, &counted, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(counted.right, Width(canvas.Dc(), "File"));

    RECT narrow { 0, 0, 70, 0 };
    EXPECT_GE(DrawTextA(canvas.Dc(), "The quick brown fox jumps over", -1, &narrow, DT_CALCRECT | DT_WORDBREAK),
              3 * tm.tmHeight);
    EXPECT_LE(narrow.right, 70);

    // Alignment flags: one caption centred in the box, one in its bottom right corner.
    canvas.Fill(White);
    RECT box { 20, 20, 200, 100 };
    DrawTextA(canvas.Dc(), "Centred", -1, &box, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    DrawTextA(canvas.Dc(), "Corner", -1, &box, DT_SINGLELINE | DT_RIGHT | DT_BOTTOM);
    EXPECT_TRUE(MatchesGolden(canvas, "gdi/text_aligned"));
}

TEST_F(GdiText, PrefixUnderlinesTheAcceleratorInTheTextColour)
{
    Canvas prefixed(80, 30);
    Selected prefixedFont(prefixed.Dc(), MakeFont("Tahoma", -11));
    RECT rect { 0, 0, 80, 30 };
    DrawTextA(prefixed.Dc(), "&File", -1, &rect, DT_SINGLELINE);
    EXPECT_TRUE(MatchesGolden(prefixed, "gdi/text_prefix"));
    RECT calc {};
    DrawTextA(prefixed.Dc(), "&File", -1, &calc, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(calc.right, Width(prefixed.Dc(), "&File"));
}

TEST_F(GdiText, ChineseCaptionDrawsWithACjkFace)
{
    Canvas canvas(200, 30);
    Selected font(canvas.Dc(), MakeFont("宋体", -12, FW_NORMAL, 0, GB2312_CHARSET));
    char face[LF_FACESIZE] {};
    EXPECT_EQ(GetTextFaceA(canvas.Dc(), LF_FACESIZE, face), static_cast<int>(std::strlen("宋体")) + 1);
    EXPECT_STREQ(face, "宋体");
    EXPECT_EQ(Metrics(canvas.Dc()).tmCharSet, GB2312_CHARSET);
    RECT rect { 0, 0, 200, 30 };
    EXPECT_GT(DrawTextA(canvas.Dc(), "数据源修复完毕", -1, &rect, DT_SINGLELINE), 0);
    EXPECT_TRUE(MatchesGolden(canvas, "gdi/text_chinese"));
}

TEST_F(GdiText, OpaqueFillsTheCellsAndTransparentDoesNot)
{
    for (int mode : { OPAQUE, TRANSPARENT }) {
        Canvas canvas(120, 30);
        Selected font(canvas.Dc(), MakeFont("Tahoma", -11));
        SetBkColor(canvas.Dc(), Red);
        SetBkMode(canvas.Dc(), mode);
        RECT rect { 5, 5, 115, 28 };
        DrawTextA(canvas.Dc(), "Hello", -1, &rect, DT_SINGLELINE);
        EXPECT_TRUE(MatchesGolden(canvas, mode == OPAQUE ? "gdi/text_opaque" : "gdi/text_transparent"));
    }
}

TEST_F(GdiText, ClipsToTheRectangleTheDcClipAndTheViewport)
{
    Canvas canvas(160, 40);
    Selected font(canvas.Dc(), MakeFont("Tahoma", -11));
    SetBkMode(canvas.Dc(), TRANSPARENT);
    const char* text = "Clipped caption text";
    RECT rect { 10, 10, 40, 30 };
    DrawTextA(canvas.Dc(), text, -1, &rect, DT_SINGLELINE);
    EXPECT_TRUE(MatchesGolden(canvas, "gdi/text_clipped"));
    canvas.Fill(White);
    DrawTextA(canvas.Dc(), text, -1, &rect, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_TRUE(MatchesGolden(canvas, "gdi/text_noclip"));

    // The DC's clip still holds with DT_NOCLIP.
    canvas.Fill(White);
    IntersectClipRect(canvas.Dc(), 0, 0, 25, 40);
    DrawTextA(canvas.Dc(), text, -1, &rect, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_TRUE(MatchesGolden(canvas, "gdi/text_dc_clip"));
    SelectClipRgn(canvas.Dc(), nullptr);

    // Logical coordinates move with the viewport origin, and the calculated rectangle stays logical.
    canvas.Fill(White);
    RECT direct { 30, 5, 160, 40 };
    DrawTextA(canvas.Dc(), text, -1, &direct, DT_SINGLELINE);
    const auto expected = canvas.Pixels();
    canvas.Fill(White);
    SetViewportOrgEx(canvas.Dc(), 30, 5, nullptr);
    RECT logical { 0, 0, 130, 35 };
    DrawTextA(canvas.Dc(), text, -1, &logical, DT_SINGLELINE);
    RECT calc {};
    DrawTextA(canvas.Dc(), text, -1, &calc, DT_SINGLELINE | DT_CALCRECT);
    SetViewportOrgEx(canvas.Dc(), 0, 0, nullptr);
    EXPECT_EQ(canvas.Pixels(), expected);
    EXPECT_EQ(std::pair(calc.left, calc.right), std::pair(0, Width(canvas.Dc(), text)));
}

TEST_F(GdiText, MonochromeSurfacesTakeTheNearestOfBlackAndWhite)
{
    Canvas mono(80, 20, White, 1);
    Selected font(mono.Dc(), MakeFont("Tahoma", -11));
    SetBkMode(mono.Dc(), TRANSPARENT);
    SetTextColor(mono.Dc(), RGB(120, 0, 0));
    RECT rect { 0, 0, 80, 20 };
    DrawTextA(mono.Dc(), "Mono", -1, &rect, DT_SINGLELINE);
    EXPECT_TRUE(MatchesGolden(mono, "gdi/text_mono"));

    // Light text on an opaque dark background: white ink inside a black cell.
    mono.Fill(White);
    SetBkMode(mono.Dc(), OPAQUE);
    SetTextColor(mono.Dc(), RGB(250, 250, 200));
    SetBkColor(mono.Dc(), RGB(30, 30, 30));
    DrawTextA(mono.Dc(), "Mono", -1, &rect, DT_SINGLELINE);
    EXPECT_TRUE(MatchesGolden(mono, "gdi/text_mono_opaque"));
}

TEST_F(GdiText, FontsReportWhatTheyWereCreatedWith)
{
    HFONT bold = MakeFont("Tahoma", -13, FW_BOLD, 1);
    EXPECT_EQ(GetObjectType(bold), static_cast<DWORD>(OBJ_FONT));
    LOGFONTA back {};
    EXPECT_EQ(GetObjectA(bold, sizeof back, &back), static_cast<int>(sizeof(LOGFONTA)));
    EXPECT_EQ(std::tuple(back.lfHeight, back.lfWeight, back.lfUnderline), std::tuple(-13, FW_BOLD, BYTE { 1 }));
    EXPECT_STREQ(back.lfFaceName, "Tahoma");

    Canvas canvas(120, 40);
    {
        Selected selected(canvas.Dc(), bold);
        const TEXTMETRICA tm = Metrics(canvas.Dc());
        EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
        EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 13) << "a negative height is the em height";
        EXPECT_GT(tm.tmAveCharWidth, 0);
        EXPECT_GE(tm.tmMaxCharWidth, tm.tmAveCharWidth);
        EXPECT_EQ(std::tuple(tm.tmWeight, tm.tmUnderlined, tm.tmItalic), std::tuple(FW_BOLD, BYTE { 1 }, BYTE { 0 }));
        EXPECT_TRUE(tm.tmPitchAndFamily & TMPF_FIXED_PITCH) << "Tahoma is proportional";
        EXPECT_FALSE(DeleteObject(bold)) << "a selected font must not be deleted";

        SIZE size {};
        EXPECT_TRUE(GetTextExtentPoint32A(canvas.Dc(), "Hello", 5, &size));
        EXPECT_EQ(size.cy, tm.tmHeight);
        SetBkColor(canvas.Dc(), Red);
        EXPECT_TRUE(TextOutA(canvas.Dc(), 7, 3, "Hello", 5));
        EXPECT_TRUE(MatchesGolden(canvas, "gdi/text_out_bold"));
    }

    // A positive height is the cell height; an unknown face still gives a working font.
    Selected unknown(canvas.Dc(), MakeFont("No Such Face Anywhere", 20));
    EXPECT_EQ(Metrics(canvas.Dc()).tmHeight, 20);
    canvas.Fill(White);
    RECT rect { 0, 0, 120, 40 };
    EXPECT_EQ(DrawTextA(canvas.Dc(), "Still drawn", -1, &rect, 0), 20);
    EXPECT_TRUE(MatchesGolden(canvas, "gdi/text_unknown_face"));
}

TEST_F(GdiText, NewDcsDrawWithTheSystemFontAndBadArgumentsFail)
{
    Canvas canvas(100, 30);
    char face[LF_FACESIZE] {};
    EXPECT_EQ(GetTextFaceA(canvas.Dc(), 0, nullptr), static_cast<int>(std::strlen("System")) + 1);
    GetTextFaceA(canvas.Dc(), LF_FACESIZE, face);
    EXPECT_STREQ(face, "System");
    EXPECT_EQ(Metrics(canvas.Dc()).tmHeight, 16);
    RECT rect { 0, 0, 100, 30 };
    EXPECT_EQ(DrawTextA(canvas.Dc(), "Default", -1, &rect, 0), 16);
    EXPECT_TRUE(MatchesGolden(canvas, "gdi/text_system_font"));

    EXPECT_EQ(DrawTextA(nullptr, "x", -1, &rect, 0), 0);
    EXPECT_EQ(DrawTextA(canvas.Dc(), "x", -1, nullptr, 0), 0);
    EXPECT_EQ(DrawTextA(reinterpret_cast<HDC>(GetStockObject(WHITE_BRUSH)), "x", -1, &rect, 0), 0);
    EXPECT_EQ(CreateFontIndirectA(nullptr), nullptr);
    SIZE size {};
    EXPECT_FALSE(GetTextExtentPoint32A(canvas.Dc(), "x", -1, &size));
    EXPECT_FALSE(TextOutA(nullptr, 0, 0, "x", 1));
}

}
