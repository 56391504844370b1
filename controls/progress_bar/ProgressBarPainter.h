#pragma once

// The progress bar's painters. Each takes the look it draws (BarLook, read only)
// and the geometry it works on (BarGeometry, which the control keeps between
// repaints), so any style renders into any DC without a control or a window.
//
// [Sections]  state · repaint · XP styles 0..2 · alternative styles 3..8 · caption

#include "controls/progress_bar/ProgressBarDrawing.h"

#include <optional>
#include <string>

namespace korvane::progress_bar {

// --- state ---

// Drawing styles, the values of the Scrolling property; any other value draws as Smooth.
enum BarStyle : std::int32_t {
    Blocks = 0,
    Smooth = 1,
    Searching = 2,
    Flat = 3,
    Etched = 4,
    Shaded = 5,
    Dark = 6,
    Hatched = 7,
    Picture = 8,
};

struct BarLook {
    HDC DrawDC = nullptr;
    OleColor Color = 0;             // plain RGB
    std::int32_t PercentValue = 0;  // not clamped
    std::int32_t Scrolling = Blocks;
    std::int32_t Orientation = 0;   // 0 horizontal, anything else vertical
    std::int32_t BrushStyle = 0;    // hatch style of the Hatched style
    // The Image picture's bitmap: nothing when no picture is stored, a null handle
    // when the stored picture has no bitmap.
    std::optional<HBITMAP> Image;
    bool ShowText = false;
    HFONT Font = nullptr;           // caption font
};

struct BarGeometry {
    RECT ClientRect {};
    RECT BarRect {};
    RECT BlockRect {};
    RECT TextRect {}; // carries over from one repaint to the next
    double FillFraction = 0;
    std::int32_t BlockWidth = 0;
    std::int32_t BlockGap = 0;
};

// --- repaint ---

// Background, the style's painter, then the caption; ClientRect must hold the
// measured client area. Arithmetic overflow of the coordinates raises the host's
// overflow error; every object selected on the way is restored first.
void PaintProgressBar(const BarLook& look, BarGeometry& geometry);

// --- XP styles (Blocks, Smooth, Searching) ---

void ComputeBlockExtent(const BarLook& look, BarGeometry& geometry);
void DrawXPFill(const BarLook& look, BarGeometry& geometry);
void DrawBlockSeparators(const BarLook& look, BarGeometry& geometry);
void DrawXPFrame(const BarLook& look, BarGeometry& geometry);

// --- alternative styles ---

void DrawFlatStyle(const BarLook& look, BarGeometry& geometry);
void DrawEtchedStyle(const BarLook& look, BarGeometry& geometry);
void DrawShadedStyle(const BarLook& look, BarGeometry& geometry);
void DrawDarkStyle(const BarLook& look, BarGeometry& geometry);
void DrawHatchStyle(const BarLook& look, BarGeometry& geometry);
void DrawImageStyle(const BarLook& look, BarGeometry& geometry);

// --- caption ---

// "Searching.." in the Searching style, else the percentage and " %".
std::string CaptionText(const BarLook& look);
void DrawPercentText(const BarLook& look, BarGeometry& geometry);
void CenterTextRect(const BarLook& look, BarGeometry& geometry, const std::string& s);
void DrawTextOverFill(const BarLook& look, BarGeometry& geometry, const std::string& s);

// Restores a DC's previous object when it leaves scope, also when a repaint fails.
class SelectionGuard {
public:
    SelectionGuard(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(SelectObject(dc, object)) {}
    ~SelectionGuard()
    {
        if (m_previous)
            SelectObject(m_dc, m_previous);
    }
    SelectionGuard(const SelectionGuard&) = delete;
    SelectionGuard& operator=(const SelectionGuard&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

} // namespace korvane::progress_bar
