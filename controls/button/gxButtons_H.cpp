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

void gxButtons_H::UserControl_ReadProperties(const forms::PropertyBag& PropBag)
{
    m_caption = PropBag.ReadString("Caption", "");
    SetAccessKeys(std::string(1, AccessKeyOf(m_caption)).substr(0, AccessKeyOf(m_caption) ? 1 : 0));
    forms::UserControl::SetForeColor(PropBag.ReadColor("cFore", 0x80000012));
    m_backColor = PropBag.ReadColor("cBack", Ambient().BackColor);
    if (std::optional<forms::FontSpec> font = PropBag.ReadFont("Font"))
        forms::UserControl::SetFont(std::make_shared<forms::StdFont>(*font));
    else
        forms::UserControl::SetFont(std::make_shared<forms::StdFont>(*Ambient().Font));
}

void gxButtons_H::UserControl_WriteProperties(forms::PropertyBag& PropBag)
{
    PropBag.WriteProperty("Caption", m_caption, std::string());
    PropBag.WriteProperty("cFore", std::int64_t { forms::UserControl::ForeColor() }, std::int64_t { 0x80000012 });
    PropBag.WriteProperty("Font", Font()->Description(), std::monostate {});
    PropBag.WriteProperty("cBack", std::int64_t { m_backColor }, std::monostate {});
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
