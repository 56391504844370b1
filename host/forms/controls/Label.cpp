#include "host/forms/controls/Label.h"

#include "host/forms/Form.h"
#include "host/forms/controls/PaintSupport.h"

#include <cctype>

namespace korvane::forms {

void Label::ReadSettings(const PropertyBag& bag)
{
    m_caption = bag.ReadString("Caption", "");
    m_alignment = bag.ReadInt("Alignment", vbLeftJustify);
    m_backStyle = bag.ReadInt("BackStyle", vbOpaque);
    m_backColor = bag.ReadColor("BackColor", 0x8000000F);
    m_foreColor = bag.ReadColor("ForeColor", 0x80000012);
    m_autoSize = bag.ReadBool("AutoSize", false);
    m_useMnemonic = bag.ReadBool("UseMnemonic", true);
    m_font = ReadFontOrInherit(bag);
}

void Label::WriteSettings(PropertyBag& bag)
{
    bag.WriteProperty("Caption", m_caption, std::string());
    bag.WriteProperty("Alignment", std::int64_t { m_alignment }, std::int64_t { vbLeftJustify });
    bag.WriteProperty("BackStyle", std::int64_t { m_backStyle }, std::int64_t { vbOpaque });
    bag.WriteProperty("BackColor", std::int64_t { m_backColor }, std::int64_t { 0x8000000F });
    bag.WriteProperty("ForeColor", std::int64_t { m_foreColor }, std::int64_t { 0x80000012 });
    bag.WriteProperty("AutoSize", m_autoSize, false);
    bag.WriteProperty("UseMnemonic", m_useMnemonic, true);
    if (OwnFont())
        bag.WriteProperty("Font", m_font->Description());
    else
        bag.Remove("Font");
}

bool Label::OwnFont() const
{
    if (!m_font)
        return false;
    FontSpec inherited = ParentForm() && ParentForm()->Font() ? ParentForm()->Font()->Description() : StdFont::DefaultSpec();
    return m_font->Description() != inherited;
}

void Label::Loaded()
{
    if (m_autoSize)
        FitToCaption();
    Paint();
}

void Label::SetCaption(const std::string& caption)
{
    m_caption = caption;
    if (m_autoSize)
        FitToCaption();
    Refresh();
}

void Label::SetAutoSize(bool autoSize)
{
    m_autoSize = autoSize;
    if (autoSize)
        FitToCaption();
    Refresh();
}

void Label::SetFont(FontRef font)
{
    m_font = std::move(font);
    if (m_autoSize)
        FitToCaption();
    Refresh();
}

char Label::AccessKey() const
{
    if (!m_useMnemonic)
        return 0;
    for (std::size_t i = 0; i + 1 < m_caption.size(); ++i) {
        if (m_caption[i] != '&')
            continue;
        if (m_caption[i + 1] == '&') {
            ++i; // "&&" is a literal ampersand
            continue;
        }
        return static_cast<char>(std::toupper(static_cast<unsigned char>(m_caption[i + 1])));
    }
    return 0;
}

void Label::OnAccessKey(int)
{
    // The control that follows the label in the tab order takes the focus.
    if (!ParentForm())
        return;
    Control* next = nullptr;
    for (Control* control : ParentForm()->Controls()) {
        if (control == this || !control->CanTakeFocus() || !control->hWnd() || !window::CanTakeInput(control->hWnd()))
            continue;
        if (control->TabIndex() > TabIndex() && (!next || control->TabIndex() < next->TabIndex()))
            next = control;
    }
    if (next)
        next->SetFocus();
}

void Label::FitToCaption()
{
    if (!hWnd() || !m_font)
        return;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, m_font->Handle());
    RECT rect { 0, 0, 0, 0 };
    UINT format = DT_CALCRECT | DT_SINGLELINE | (m_useMnemonic ? 0u : DT_NOPREFIX);
    DrawTextA(dc, m_caption.c_str(), -1, &rect, format);
    if (rect.bottom - rect.top <= 0) {
        TEXTMETRICA metrics {};
        GetTextMetricsA(dc, &metrics);
        rect.bottom = rect.top + metrics.tmHeight;
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    Move(Left(), Top(), (rect.right - rect.left) * kTwipsPerPixel, (rect.bottom - rect.top) * kTwipsPerPixel);
}

void Label::Paint()
{
    if (!hWnd())
        return;
    WindowDc dc(hWnd());
    RECT client;
    GetClientRect(hWnd(), &client);
    if (m_backStyle == vbTransparent)
        CopyParentBackground(hWnd(), dc);
    else
        FillColour(dc, client, OleColorToColorRef(m_backColor));
    if (!m_font)
        return;
    HGDIOBJ old = SelectObject(dc, m_font->Handle());
    SetBkMode(dc, TRANSPARENT);
    UINT format = DT_WORDBREAK | (m_useMnemonic ? 0u : DT_NOPREFIX);
    if (m_alignment == vbRightJustify)
        format |= DT_RIGHT;
    else if (m_alignment == vbCenter)
        format |= DT_CENTER;
    if (Enabled()) {
        SetTextColor(dc, OleColorToColorRef(m_foreColor));
        DrawTextA(dc, m_caption.c_str(), -1, &client, format);
    } else {
        // Disabled captions are etched: a highlight one pixel down and right, grey on top.
        RECT shadow = client;
        OffsetRect(&shadow, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawTextA(dc, m_caption.c_str(), -1, &shadow, format);
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        DrawTextA(dc, m_caption.c_str(), -1, &client, format);
    }
    SelectObject(dc, old);
}

void Label::Refresh() { Repaint(); }

void Label::OnPaint() { Paint(); }

void Label::OnMouseDown(int button, int, int, int) { m_click.Press(hWnd(), button); }

void Label::OnMouseUp(int button, int, int x, int y)
{
    if (m_click.Release(hWnd(), button, x, y) && Click)
        Click();
}

} // namespace korvane::forms
