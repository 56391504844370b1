#include "controls/button/gxButtons_H.h"

#include "host/forms/Form.h"
#include "host/gdi/Gdi.h"

namespace korvane {

using forms::OleColorToColorRef;

char gxButtons_H::AccessKeyOf(const std::string& caption)
{
    char key = 0;
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&')
            continue;
        if (caption[i + 1] == '&') {
            ++i; // "&&" is a plain ampersand
            continue;
        }
        key = caption[i + 1];
    }
    return key;
}

void gxButtons_H::UserControl_Initialize() { SetScaleMode(forms::vbPixels); }

const forms::StoredSettings<gxButtons_H>& gxButtons_H::Settings()
{
    using enum forms::SettingType;
    using forms::Fixed, forms::Getter, forms::Setter;
    using Button = gxButtons_H;
    constexpr std::uint32_t kButtonText = gdi::SystemColour(COLOR_BTNTEXT);
    // Loading stores each value directly: no redraw and no change reported.
    static const forms::StoredSettings<Button> table {
        // key, type, read default, write default, get, let, read
        { "Caption", Text, Fixed(""), Fixed(""), Getter(&Button::Caption), Setter(&Button::LetCaption),
          [](Button& button, const forms::PropertyValue& value) {
              button.m_caption = std::get<std::string>(value);
              const char key = AccessKeyOf(button.m_caption);
              button.SetAccessKeys(key ? std::string(1, key) : std::string());
          } },
        { "cFore", Colour, Fixed(kButtonText), Fixed(kButtonText), Getter(&Button::ForeColor),
          Setter(&Button::LetForeColor),
          [](Button& button, const forms::PropertyValue& value) {
              button.forms::UserControl::SetForeColor(forms::FromSetting<std::uint32_t>(value));
          } },
        { "Font", Font, [](const Button& button) { return forms::SettingValue(button.Ambient().Font); },
          Fixed(std::monostate {}), [](const Button& button) { return forms::SettingValue(button.Font()); },
          Setter(&Button::SetFont),
          [](Button& button, const forms::PropertyValue& value) {
              button.forms::UserControl::SetFont(forms::FromSetting<forms::FontRef>(value));
          } },
        { "cBack", Colour, [](const Button& button) { return forms::SettingValue(button.Ambient().BackColor); },
          Fixed(std::monostate {}), Getter(&Button::BackColor), Setter(&Button::LetBackColor),
          [](Button& button, const forms::PropertyValue& value) {
              button.m_backColor = forms::FromSetting<std::uint32_t>(value);
          } },
    };
    return table;
}

void gxButtons_H::UserControl_ReadProperties(const forms::PropertyBag& PropBag)
{
    Settings().Read(*this, PropBag, kReadOrder);
}

void gxButtons_H::UserControl_WriteProperties(forms::PropertyBag& PropBag)
{
    Settings().Write(*this, PropBag, kWriteOrder);
}

void gxButtons_H::LetCaption(const std::string& caption)
{
    char key = AccessKeyOf(caption);
    SetAccessKeys(key ? std::string(1, key) : std::string());
    m_caption = caption;
    RedrawButton();
    PropertyChanged("Caption");
}

void gxButtons_H::LetEnabled(bool enabled)
{
    if (enabled == Enabled())
        return;
    forms::UserControl::SetEnabled(enabled);
    RedrawButton();
    PropertyChanged("Enabled");
}

void gxButtons_H::LetForeColor(std::uint32_t colour)
{
    forms::UserControl::SetForeColor(colour);
    RedrawButton();
    PropertyChanged("cFore");
}

void gxButtons_H::LetBackColor(std::uint32_t colour)
{
    m_backColor = colour;
    RedrawButton();
    PropertyChanged("cBack");
}

void gxButtons_H::SetFont(forms::FontRef font)
{
    forms::UserControl::SetFont(std::move(font));
    RedrawButton();
    PropertyChanged("Font");
}

void gxButtons_H::RedrawButton()
{
    HDC dc = hDC();
    if (!dc)
        return;
    RECT rect;
    GetClientRect(hWnd(), &rect);
    HBRUSH face = CreateSolidBrush(OleColorToColorRef(m_backColor));
    FillRect(dc, &rect, face);
    DeleteObject(face);
    DrawEdge(dc, &rect, m_showPressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);

    RECT text = rect;
    if (m_showPressed)
        OffsetRect(&text, 1, 1);
    HGDIOBJ oldFont = SelectObject(dc, Font()->Handle());
    SetBkMode(dc, TRANSPARENT);
    const UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    if (Enabled()) {
        SetTextColor(dc, OleColorToColorRef(forms::UserControl::ForeColor()));
        DrawTextA(dc, m_caption.c_str(), -1, &text, format);
    } else {
        // Disabled captions are engraved: a highlight below right, grey text on top.
        RECT shadow = text;
        OffsetRect(&shadow, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawTextA(dc, m_caption.c_str(), -1, &shadow, format);
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        DrawTextA(dc, m_caption.c_str(), -1, &text, format);
    }
    SelectObject(dc, oldFont);

    if (HasFocus() && Enabled()) {
        RECT focus = rect;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(dc, &focus);
    }
    Refresh();
}

void gxButtons_H::UserControl_Resize() { RedrawButton(); }
void gxButtons_H::UserControl_Paint() { RedrawButton(); }
void gxButtons_H::UserControl_Terminate() {}

bool gxButtons_H::Inside(double x, double y) const { return x >= 0 && y >= 0 && x < ScaleWidth() && y < ScaleHeight(); }

void gxButtons_H::UserControl_MouseDown(int Button, int, double X, double Y)
{
    if (Button != forms::vbLeftButton || !Enabled())
        return;
    m_leftDown = true;
    SetCapture(hWnd());
    m_showPressed = Inside(X, Y);
    RedrawButton();
}

void gxButtons_H::UserControl_MouseMove(int, int, double X, double Y)
{
    if (!m_leftDown)
        return;
    bool pressed = Inside(X, Y);
    if (pressed != m_showPressed) {
        m_showPressed = pressed;
        RedrawButton();
    }
}

void gxButtons_H::UserControl_MouseUp(int Button, int, double X, double Y)
{
    if (Button != forms::vbLeftButton || !m_leftDown)
        return;
    m_leftDown = false;
    ReleaseCapture();
    m_showPressed = false;
    RedrawButton();
    if (Inside(X, Y) && Enabled())
        RaiseEvent(Click);
}

void gxButtons_H::UserControl_KeyDown(int& KeyCode, int)
{
    if (KeyCode == VK_SPACE && Enabled() && !m_spaceDown) {
        m_spaceDown = true;
        m_showPressed = true;
        RedrawButton();
    }
}

void gxButtons_H::UserControl_KeyUp(int& KeyCode, int)
{
    if (KeyCode == VK_SPACE && m_spaceDown) {
        m_spaceDown = false;
        m_showPressed = false;
        RedrawButton();
        if (Enabled())
            RaiseEvent(Click);
    }
}

void gxButtons_H::UserControl_AccessKeyPress(int)
{
    if (!Enabled())
        return;
    SetFocus();
    RaiseEvent(Click);
}

void gxButtons_H::UserControl_GotFocus() { RedrawButton(); }
void gxButtons_H::UserControl_LostFocus()
{
    m_spaceDown = false;
    m_showPressed = false;
    RedrawButton();
}

void gxButtons_H::OnEnabledChanged()
{
    if (!Enabled()) {
        m_leftDown = m_spaceDown = m_showPressed = false;
    }
    RedrawButton();
}

void RegisterGxButtons_H()
{
    forms::ControlRegistry::Register("gxButtons_H", [] { return std::make_unique<gxButtons_H>(); });
}

} // namespace korvane
