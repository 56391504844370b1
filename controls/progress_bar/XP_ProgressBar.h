#pragma once

// The owner-drawn progress bar in the Windows XP look, with nine drawing styles.
// It keeps its progress as a whole percentage of Max, paints into an off-screen
// buffer that only grows, and copies the buffer to its window and shows it on
// every change, so a caller stepping Value in a tight loop sees every step.
// Painting lives in ProgressBarPainter.h; this class holds state and lifecycle.

#include "controls/progress_bar/ProgressBarPainter.h"
#include "host/forms/StoredSettings.h"
#include "host/forms/UserControl.h"

#include <array>

namespace korvane {

class XP_ProgressBar : public forms::UserControl {
public:
    using OleColor = progress_bar::OleColor;

    // The off-screen buffer; all handles are 0 while there is none.
    struct OffscreenBuffer {
        HDC BufferDC = nullptr;
        HBITMAP BufferBitmap = nullptr;
        HGDIOBJ OldBitmap = nullptr;
        std::int32_t BufferWidth = 0;
        std::int32_t BufferHeight = 0;
    };

    XP_ProgressBar() = default;
    ~XP_ProgressBar() override;

    // --- methods ---

    // Repaints completely and shows the result at once.
    void DrawProgressBar();
    void DrawLine(std::int32_t X, std::int32_t Y, std::int32_t Width, std::int32_t Height, HDC cHdc, OleColor Color);
    void DrawGradient(OleColor& lEndColor, OleColor& lStartcolor, std::int32_t X, std::int32_t Y, std::int32_t X2,
                      std::int32_t Y2, HDC hdc, bool bH);
    // Copies the buffer to `hdc`; a width or height below 1 means the buffer's own.
    void pDraw(HDC hdc, std::int32_t xSrc, std::int32_t ySrc, std::int32_t WidthSrc, std::int32_t HeightSrc,
               std::int32_t xDst, std::int32_t yDst);

    // --- properties ---

    // Hatch style of the hatched style; there is no Get.
    void LetBrushStyle(std::int32_t Style);
    // "Returns/sets the color of the ProgressBar". Stored translated to RGB.
    OleColor Color() const { return m_color; }
    void LetColor(OleColor lColor);
    const forms::FontRef& Font() const { return m_font; }
    void SetFont(forms::FontRef fnt);
    void LetFont(forms::FontRef fnt) { SetFont(std::move(fnt)); }
    HWND hwnd() const { return m_hwnd; }
    void Lethwnd(HWND chWnd) { m_hwnd = chWnd; }
    // The DC all drawing goes to: the buffer's, or the control's own without one.
    HDC hdc() const { return DrawDC; }
    // Re-establishes the drawing target at the control's size; the argument is not used.
    void Lethdc(HDC cHdc);
    const forms::PictureHandle& Image() const { return m_image; }
    void SetImage(forms::PictureHandle Handle);
    std::int32_t Min() const { return m_min; }
    void LetMin(std::int32_t cMin);
    // Changing Max keeps the percentage, so Value reads back rescaled.
    std::int32_t Max() const { return m_max; }
    void LetMax(std::int32_t cMax);
    std::int32_t Orientation() const { return m_orientation; }
    void LetOrientation(std::int32_t cOrientation);
    std::int32_t Scrolling() const { return m_scrolling; }
    void LetScrolling(std::int32_t lScrolling);
    bool ShowText() const { return m_showText; }
    void LetShowText(bool bShowText);
    // Value on the 0..Max scale, quantised to whole percent of Max. Raises the host's
    // overflow error when Value * 100 or the percentage leaves 32 bits, and division
    // by zero when Max is 0; nothing changes then.
    std::int32_t Value() const;
    void LetValue(std::int32_t cValue);

    // --- state, for inspection ---

    std::int32_t Percent() const { return PercentValue; }
    bool UsesBuffer() const { return UseBuffer; }
    const OffscreenBuffer& Buffer() const { return m_buffer; }
    const progress_bar::BarGeometry& Geometry() const { return m_geometry; }
    // What the painters are given for the next repaint.
    progress_bar::BarLook Look();

    // --- stored settings ---

    static const forms::StoredSettings<XP_ProgressBar>& Settings();
    static constexpr auto kReadOrder = std::to_array<std::string_view>(
        { "BrushStyle", "Color", "Image", "Max", "Min", "Orientation", "Scrolling", "ShowText", "Value" });
    static constexpr auto kWriteOrder = kReadOrder;
    const forms::SettingLookup* StoredSettingsTable() const override { return &Settings(); }

protected:
    void UserControl_Initialize() override;
    void UserControl_ReadProperties(const forms::PropertyBag& PropBag) override;
    void UserControl_WriteProperties(forms::PropertyBag& PropBag) override;
    void UserControl_Resize() override;
    void UserControl_Paint() override;
    void UserControl_Terminate() override;

private:
    HDC EnsureBuffer(std::int32_t width, std::int32_t height);
    void CreateBuffer(std::int32_t width, std::int32_t height);
    void DestroyBuffer();
    // Loads the stored picture, a file name relative to the form's layout.
    void LoadImage(const forms::PropertyValue& picture);
    // Tells the host a stored setting changed, except while the settings are read.
    void Changed(std::string_view key);

    OleColor m_color = 0;
    std::int32_t m_max = 100;
    std::int32_t m_min = 0;
    std::int32_t PercentValue = 0;
    bool m_showText = false;
    std::int32_t m_scrolling = progress_bar::Blocks;
    std::int32_t m_orientation = 0;
    std::int32_t m_brushStyle = 0;
    forms::PictureHandle m_image;
    // The file the picture came from, relative to the form's layout.
    std::string m_imageFile;
    forms::FontRef m_font;
    HWND m_hwnd = nullptr;
    HDC DrawDC = nullptr;
    bool UseBuffer = false;
    OffscreenBuffer m_buffer;
    progress_bar::BarGeometry m_geometry;
    bool m_readingProperties = false;
};

// Makes "XP_ProgressBar" a control kind that layouts can place.
void RegisterXP_ProgressBar();

} // namespace korvane
