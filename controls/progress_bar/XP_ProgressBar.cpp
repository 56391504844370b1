#include "controls/progress_bar/XP_ProgressBar.h"

#include "host/forms/Form.h"
#include "host/runtime/Conversions.h"
#include "host/runtime/RuntimeError.h"

namespace korvane {

using host::CLng;
namespace pb = progress_bar;

namespace {

constexpr pb::OleColor kHighlight = gdi::SystemColour(COLOR_HIGHLIGHT);
constexpr std::int32_t kStoredBrushStyle = 4; // HS_CROSS; a fresh control starts at 0 nonetheless

} // namespace

XP_ProgressBar::~XP_ProgressBar() { DestroyBuffer(); }

// --- methods ---

void XP_ProgressBar::DrawProgressBar()
{
    RECT client {};
    if (!GetClientRect(m_hwnd, &client))
        client = RECT {};
    m_geometry.ClientRect = client;
    pb::PaintProgressBar(Look(), m_geometry);
    if (UseBuffer)
        pDraw(hDC(), 0, 0, CLng(ScaleWidth()), CLng(ScaleHeight()), 0, 0);
    // Shown now, not at the next paint cycle: a loop setting Value never yields.
    Refresh();
}

void XP_ProgressBar::DrawLine(std::int32_t X, std::int32_t Y, std::int32_t Width, std::int32_t Height, HDC cHdc,
                              OleColor Color)
{
    pb::DrawLine(X, Y, Width, Height, cHdc, Color);
}

void XP_ProgressBar::DrawGradient(OleColor& lEndColor, OleColor& lStartcolor, std::int32_t X, std::int32_t Y,
                                  std::int32_t X2, std::int32_t Y2, HDC hdc, bool bH)
{
    pb::DrawGradient(lEndColor, lStartcolor, X, Y, X2, Y2, hdc, bH);
}

void XP_ProgressBar::pDraw(HDC hdc, std::int32_t xSrc, std::int32_t ySrc, std::int32_t WidthSrc,
                           std::int32_t HeightSrc, std::int32_t xDst, std::int32_t yDst)
{
    if (WidthSrc < 1)
        WidthSrc = m_buffer.BufferWidth;
    if (HeightSrc < 1)
        HeightSrc = m_buffer.BufferHeight;
    BitBlt(hdc, xDst, yDst, WidthSrc, HeightSrc, m_buffer.BufferDC, xSrc, ySrc, SRCCOPY);
}

pb::BarLook XP_ProgressBar::Look()
{
    pb::BarLook look;
    look.DrawDC = DrawDC;
    look.Color = m_color;
    look.PercentValue = PercentValue;
    look.Scrolling = m_scrolling;
    look.Orientation = m_orientation;
    look.BrushStyle = m_brushStyle;
    if (m_image)
        look.Image = m_image->Bitmap();
    look.ShowText = m_showText;
    look.Font = m_font ? m_font->Handle() : nullptr;
    return look;
}

// --- properties ---

void XP_ProgressBar::Changed(std::string_view key)
{
    if (!m_readingProperties)
        PropertyChanged(key);
}

void XP_ProgressBar::LetBrushStyle(std::int32_t Style)
{
    m_brushStyle = Style;
    Changed("BrushStyle");
}

void XP_ProgressBar::LetColor(OleColor lColor)
{
    m_color = pb::TranslateColor(lColor);
    Changed("Color");
    DrawProgressBar();
}

void XP_ProgressBar::SetFont(forms::FontRef fnt)
{
    m_font = std::move(fnt);
    forms::UserControl::SetFont(m_font);
}

void XP_ProgressBar::Lethdc(HDC /*cHdc*/)
{
    HDC buffer = EnsureBuffer(CLng(ScaleWidth()), CLng(ScaleHeight()));
    if (buffer) {
        DrawDC = buffer;
        UseBuffer = true;
    } else {
        DrawDC = hDC();
    }
}

void XP_ProgressBar::SetImage(forms::PictureHandle Handle)
{
    m_image = std::move(Handle);
    m_imageFile.clear();
    if (m_image) {
        std::filesystem::path file = m_image->File();
        if (forms::Form* form = ParentForm(); form && !form->ResourceFolder().empty() && !file.empty()) {
            std::filesystem::path relative = file.lexically_relative(form->ResourceFolder());
            if (!relative.empty() && *relative.begin() != "..")
                file = relative;
        }
        m_imageFile = file.generic_string();
    }
    Changed("Image");
    DrawProgressBar();
}

void XP_ProgressBar::LetMin(std::int32_t cMin)
{
    m_min = cMin;
    Changed("Min");
}

void XP_ProgressBar::LetMax(std::int32_t cMax)
{
    m_max = cMax;
    Changed("Max");
}

void XP_ProgressBar::LetOrientation(std::int32_t cOrientation)
{
    m_orientation = cOrientation;
    Changed("Orientation");
    DrawProgressBar();
}

void XP_ProgressBar::LetScrolling(std::int32_t lScrolling)
{
    m_scrolling = lScrolling;
    Changed("Scrolling");
    DrawProgressBar();
}

void XP_ProgressBar::LetShowText(bool bShowText)
{
    m_showText = bShowText;
    Changed("ShowText");
    DrawProgressBar();
}

std::int32_t XP_ProgressBar::Value() const { return CLng(PercentValue / 100.0 * m_max); }

void XP_ProgressBar::LetValue(std::int32_t cValue)
{
    // Everything that can fail comes before the percentage is stored.
    const std::int32_t scaled = host::Mul32(cValue, 100);
    if (m_max == 0)
        host::Raise(host::ErrorNumber::DivisionByZero);
    PercentValue = CLng(static_cast<double>(scaled) / static_cast<double>(m_max));
    Changed("Value");
    DrawProgressBar();
}

// --- the off-screen buffer ---

HDC XP_ProgressBar::EnsureBuffer(std::int32_t width, std::int32_t height)
{
    // Grow only: a control made smaller keeps drawing into its larger bitmap.
    if (m_buffer.BufferDC) {
        if (m_buffer.BufferHeight < height || m_buffer.BufferWidth < width)
            CreateBuffer(width, height);
    } else if (height > 0 && width > 0) {
        CreateBuffer(width, height);
    }
    return m_buffer.BufferDC;
}

void XP_ProgressBar::CreateBuffer(std::int32_t width, std::int32_t height)
{
    DestroyBuffer();
    HDC screen = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    if (!screen)
        return;
    m_buffer.BufferDC = CreateCompatibleDC(screen);
    m_buffer.BufferBitmap = m_buffer.BufferDC ? CreateCompatibleBitmap(screen, width, height) : nullptr;
    m_buffer.OldBitmap = m_buffer.BufferBitmap ? SelectObject(m_buffer.BufferDC, m_buffer.BufferBitmap) : nullptr;
    const bool made = m_buffer.BufferDC && m_buffer.BufferBitmap && m_buffer.OldBitmap;
    DeleteDC(screen);
    if (made) {
        m_buffer.BufferWidth = width;
        m_buffer.BufferHeight = height;
    } else {
        DestroyBuffer();
    }
}

void XP_ProgressBar::DestroyBuffer()
{
    // Never leave drawing aimed at a DC that is gone; its handle could be reissued.
    if (DrawDC && DrawDC == m_buffer.BufferDC)
        DrawDC = nullptr;
    if (m_buffer.OldBitmap) {
        SelectObject(m_buffer.BufferDC, m_buffer.OldBitmap);
        m_buffer.OldBitmap = nullptr;
    }
    if (m_buffer.BufferBitmap) {
        DeleteObject(m_buffer.BufferBitmap);
        m_buffer.BufferBitmap = nullptr;
    }
    if (m_buffer.BufferDC) {
        DeleteDC(m_buffer.BufferDC);
        m_buffer.BufferDC = nullptr;
    }
    m_buffer.BufferWidth = 0;
    m_buffer.BufferHeight = 0;
}

// --- host events ---

void XP_ProgressBar::UserControl_Initialize()
{
    auto font = std::make_shared<forms::StdFont>();
    font->SetName("Tahoma");
    font->SetSize(8);
    SetFont(std::move(font));
    SetBackColor(0xFFFFFF);
    SetScaleMode(forms::vbPixels);
    Lethdc(hDC());
    Lethwnd(hWnd());
    m_max = 100;
    m_min = 0;
    PercentValue = 0;
    m_orientation = 0;
    m_scrolling = pb::Blocks;
    m_color = pb::TranslateColor(kHighlight);
    DrawProgressBar();
}

const forms::StoredSettings<XP_ProgressBar>& XP_ProgressBar::Settings()
{
    using enum forms::SettingType;
    using forms::Fixed, forms::Getter, forms::Setter;
    using Bar = XP_ProgressBar;
    static const forms::StoredSettings<Bar> table {
        // key, type, read default, write default, get, let[, read]
        { "BrushStyle", Integer, Fixed(kStoredBrushStyle), Fixed(kStoredBrushStyle),
          [](const Bar& bar) { return forms::SettingValue(bar.m_brushStyle); }, Setter(&Bar::LetBrushStyle) },
        { "Color", Colour, Fixed(kHighlight), Fixed(kHighlight), Getter(&Bar::Color), Setter(&Bar::LetColor) },
        { "Image", Picture, Fixed(std::monostate {}), Fixed(std::monostate {}),
          [](const Bar& bar) {
              return bar.m_image ? forms::PropertyValue(forms::PictureRef { bar.m_imageFile }) : forms::PropertyValue();
          },
          [](Bar& bar, const forms::PropertyValue& picture) {
              bar.LoadImage(picture);
              bar.Changed("Image");
              bar.DrawProgressBar();
          },
          // Loading keeps the picture quietly: no notification, no redraw.
          [](Bar& bar, const forms::PropertyValue& picture) { bar.LoadImage(picture); } },
        { "Max", Integer, Fixed(100), Fixed(100), Getter(&Bar::Max), Setter(&Bar::LetMax) },
        { "Min", Integer, Fixed(0), Fixed(0), Getter(&Bar::Min), Setter(&Bar::LetMin) },
        { "Orientation", Integer, Fixed(0), Fixed(0), Getter(&Bar::Orientation), Setter(&Bar::LetOrientation) },
        { "Scrolling", Integer, Fixed(pb::Blocks), Fixed(pb::Blocks), Getter(&Bar::Scrolling),
          Setter(&Bar::LetScrolling) },
        { "ShowText", Boolean, Fixed(false), Fixed(false), Getter(&Bar::ShowText), Setter(&Bar::LetShowText) },
        // "Value" holds the percentage. Rescaling it through Max when it is read, as a
        // Value assignment would, changed the progress on every save and load and
        // failed outright for a Max of 0.
        { "Value", Integer, Fixed(0), Fixed(0), Getter(&Bar::Percent), Setter(&Bar::LetValue),
          [](Bar& bar, const forms::PropertyValue& percent) {
              bar.PercentValue = forms::FromSetting<std::int32_t>(percent);
              bar.DrawProgressBar();
          } },
    };
    return table;
}

void XP_ProgressBar::LoadImage(const forms::PropertyValue& picture)
{
    m_image.reset();
    m_imageFile.clear();
    if (const auto* stored = std::get_if<forms::PictureRef>(&picture)) {
        // A picture that cannot be loaded stays stored by name, so saving the layout
        // again does not drop it; it simply draws nothing.
        m_image = std::make_shared<forms::StdPicture>();
        m_imageFile = stored->file;
        std::filesystem::path folder = ParentForm() ? ParentForm()->ResourceFolder() : std::filesystem::path();
        m_image->LoadFile(folder / stored->file);
    }
}

void XP_ProgressBar::UserControl_ReadProperties(const forms::PropertyBag& PropBag)
{
    struct Reading {
        bool& flag;
        explicit Reading(bool& f) : flag(f) { flag = true; }
        ~Reading() { flag = false; }
    } reading(m_readingProperties);
    Settings().Read(*this, PropBag, kReadOrder);
}

void XP_ProgressBar::UserControl_WriteProperties(forms::PropertyBag& PropBag)
{
    Settings().Write(*this, PropBag, kWriteOrder);
}

void XP_ProgressBar::UserControl_Resize()
{
    // The host's Paint that follows redraws.
    Lethdc(hDC());
}

void XP_ProgressBar::UserControl_Paint() { DrawProgressBar(); }

void XP_ProgressBar::UserControl_Terminate() { DestroyBuffer(); }

void RegisterXP_ProgressBar()
{
    forms::ControlRegistry::Register("XP_ProgressBar", [] { return std::make_unique<XP_ProgressBar>(); });
}

} // namespace korvane
