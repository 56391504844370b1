// [SECTION] Clipboard
// [SECTION] Properties and settings
// [SECTION] Measuring and scrolling
// [SECTION] Painting
// [SECTION] Mouse
// [SECTION] Keys and characters
// [SECTION] Clipboard commands

#include "host/forms/controls/TextBox.h"

#include "host/forms/Form.h"
#include "host/forms/controls/PaintSupport.h"
#include "host/runtime/Utf8.h"

#include <cstdlib>

namespace korvane::forms {

// ---------------------------------------------------------------------------
// [SECTION] Clipboard

namespace {

ClipboardFunctions g_clipboard;
// The program's own clipboard; it also keeps what was copied when the system's fails.
std::string g_programClipboard;

// The padding between the border and the text, as an edit control leaves it.
constexpr int kTextPadding = 1;
// The line height before a font is set.
constexpr int kLineHeightWithoutFont = 12;

} // namespace

void SetClipboardFunctions(ClipboardFunctions functions) { g_clipboard = functions; }

std::string GetClipboardText()
{
    if (g_clipboard.getText)
        if (std::optional<std::string> text = g_clipboard.getText())
            return *text;
    return g_programClipboard;
}

void SetClipboardText(const std::string& text)
{
    g_programClipboard = text;
    if (g_clipboard.setText)
        g_clipboard.setText(text);
}

// ---------------------------------------------------------------------------
// [SECTION] Properties and settings

void TextBox::ReadSettings(const PropertyBag& bag)
{
    m_alignment = bag.ReadInt("Alignment", 0);
    m_appearance = bag.ReadInt("Appearance", 1);
    m_borderStyle = bag.ReadInt("BorderStyle", 1);
    m_backColor = bag.ReadColor("BackColor", kWindowBackground);
    m_foreColor = bag.ReadColor("ForeColor", kWindowText);
    m_font = ReadFontOrInherit(bag);
    m_locked = bag.ReadBool("Locked", false);
    m_buffer.SetMaxLength(bag.ReadInt("MaxLength", 0));
    m_passwordChar = bag.ReadString("PasswordChar", "");
    m_toolTipText = bag.ReadString("ToolTipText", "");
    m_buffer.SetText(bag.ReadString("Text", ""));
    m_buffer.MoveCaret(0, false);
    m_boundariesValid = false;
}

void TextBox::WriteSettings(PropertyBag& bag)
{
    using Number = std::int64_t;
    bag.WriteProperty("Text", m_buffer.Text(), std::string());
    bag.WriteProperty("Alignment", Number { m_alignment }, Number { 0 });
    bag.WriteProperty("Appearance", Number { m_appearance }, Number { 1 });
    bag.WriteProperty("BorderStyle", Number { m_borderStyle }, Number { 1 });
    bag.WriteProperty("BackColor", Number { m_backColor }, Number { kWindowBackground });
    bag.WriteProperty("ForeColor", Number { m_foreColor }, Number { kWindowText });
    FontSpec inherited = ParentForm() && ParentForm()->Font() ? ParentForm()->Font()->Description() : StdFont::DefaultSpec();
    if (m_font && m_font->Description() != inherited)
        bag.WriteProperty("Font", m_font->Description());
    else
        bag.Remove("Font");
    bag.WriteProperty("Locked", m_locked, false);
    bag.WriteProperty("MaxLength", Number { m_buffer.MaxLength() }, Number { 0 });
    bag.WriteProperty("PasswordChar", m_passwordChar, std::string());
    bag.WriteProperty("ToolTipText", m_toolTipText, std::string());
}

void TextBox::Loaded() { Paint(); }

void TextBox::SetText(const std::string& text)
{
    bool changed = text != m_buffer.Text();
    // As a window's text is set: the caret goes to the start.
    m_buffer.SetText(text);
    m_buffer.MoveCaret(0, false);
    m_scroll = 0;
    m_boundariesValid = false;
    if (changed)
        Edited();
    Refresh();
}

void TextBox::SetSelStart(std::int32_t start)
{
    m_buffer.Select(start, start);
    Refresh();
}

void TextBox::SetSelLength(std::int32_t length)
{
    int start = m_buffer.SelectionStart();
    m_buffer.Select(start, start + std::max(0, length));
    Refresh();
}

void TextBox::SetSelText(const std::string& text)
{
    if (m_buffer.ReplaceSelection(text, false))
        Edited();
    Refresh();
}

void TextBox::SetPasswordChar(const std::string& passwordChar)
{
    m_passwordChar = passwordChar;
    m_boundariesValid = false;
    Refresh();
}

void TextBox::SetFont(FontRef font)
{
    m_font = std::move(font);
    m_boundariesValid = false;
    Refresh();
}

void TextBox::Edited()
{
    m_boundariesValid = false;
    if (Change)
        Change();
}

// ---------------------------------------------------------------------------
// [SECTION] Measuring and scrolling

std::string TextBox::DisplayText() const
{
    if (m_passwordChar.empty())
        return m_buffer.Text();
    EditBuffer mask;
    mask.SetText(m_passwordChar);
    std::string_view one = mask.CharacterAt(0);
    std::string shown;
    for (int i = 0; i < m_buffer.Length(); ++i)
        shown += one;
    return shown;
}

const std::vector<int>& TextBox::Boundaries()
{
    if (m_boundariesValid)
        return m_boundaries;
    std::string shown = DisplayText();
    EditBuffer displayed;
    displayed.SetText(shown);
    m_boundaries.assign(static_cast<std::size_t>(displayed.Length()) + 1, 0);
    if (m_font && displayed.Length() > 0) {
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, m_font->Handle());
        // Whole prefixes are measured, so the boundaries match the text drawn in one piece.
        for (int i = 1; i <= displayed.Length(); ++i) {
            SIZE size {};
            GetTextExtentPoint32A(dc, shown.data(), static_cast<int>(displayed.ByteOffset(i)), &size);
            m_boundaries[static_cast<std::size_t>(i)] = size.cx;
        }
        SelectObject(dc, old);
        DeleteDC(dc);
    }
    m_boundariesValid = true;
    return m_boundaries;
}

int TextBox::BorderWidth() const
{
    // A 3-D border is a two-pixel sunken edge, a flat one a single line.
    if (m_borderStyle != 1)
        return 0;
    return m_appearance == 1 ? 2 : 1;
}

TextBox::Geometry TextBox::Layout()
{
    Geometry geometry;
    RECT client {};
    if (hWnd())
        GetClientRect(hWnd(), &client);
    int border = BorderWidth();
    geometry.inner = client;
    InflateRect(&geometry.inner, -border, -border);
    geometry.lineHeight = kLineHeightWithoutFont;
    if (m_font) {
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, m_font->Handle());
        TEXTMETRICA metrics {};
        if (GetTextMetricsA(dc, &metrics))
            geometry.lineHeight = metrics.tmHeight;
        SelectObject(dc, old);
        DeleteDC(dc);
    }
    int innerHeight = geometry.inner.bottom - geometry.inner.top;
    geometry.textTop = geometry.inner.top + (innerHeight > geometry.lineHeight + 1 ? 1 : 0);
    int visible = geometry.inner.right - geometry.inner.left - 2 * kTextPadding;
    int textWidth = Boundaries().back();
    int left = geometry.inner.left + kTextPadding;
    if (textWidth < visible) {
        // Alignment applies only while the whole text fits.
        int slack = visible - 1 - textWidth;
        geometry.originX = left + (m_alignment == 1 ? slack : m_alignment == 2 ? slack / 2 : 0);
    } else {
        geometry.originX = left - m_scroll;
    }
    return geometry;
}

void TextBox::KeepCaretVisible()
{
    RECT client {};
    if (hWnd())
        GetClientRect(hWnd(), &client);
    int border = BorderWidth();
    // One pixel is kept for the caret itself at the right edge.
    int visible = client.right - client.left - 2 * border - 2 * kTextPadding - 1;
    const std::vector<int>& boundaries = Boundaries();
    int textWidth = boundaries.back();
    if (visible <= 0 || textWidth <= visible) {
        m_scroll = 0;
        return;
    }
    int caretX = boundaries[static_cast<std::size_t>(m_buffer.Caret())];
    // Scrolling goes a quarter of the width further, as an edit control's does, so
    // typing does not scroll at every character.
    if (caretX - m_scroll > visible)
        m_scroll = caretX - visible + visible / 4;
    else if (caretX < m_scroll)
        m_scroll = caretX - visible / 4;
    m_scroll = std::clamp(m_scroll, 0, textWidth - visible);
}

int TextBox::HitTest(int x)
{
    KeepCaretVisible();
    Geometry geometry = Layout();
    const std::vector<int>& boundaries = Boundaries();
    int relative = x - geometry.originX;
    int best = 0;
    for (std::size_t i = 1; i < boundaries.size(); ++i)
        if (std::abs(boundaries[i] - relative) < std::abs(boundaries[static_cast<std::size_t>(best)] - relative))
            best = static_cast<int>(i);
    return best;
}

POINT TextBox::CaretPos()
{
    KeepCaretVisible();
    Geometry geometry = Layout();
    return POINT { geometry.originX + Boundaries()[static_cast<std::size_t>(m_buffer.Caret())], geometry.textTop };
}

// ---------------------------------------------------------------------------
// [SECTION] Painting

void TextBox::Paint()
{
    if (!hWnd())
        return;
    KeepCaretVisible();
    Geometry geometry = Layout();
    const std::vector<int>& boundaries = Boundaries();
    WindowDc dc(hWnd());
    RECT client;
    GetClientRect(hWnd(), &client);
    FillColour(dc, client, Enabled() ? OleColorToColorRef(m_backColor) : GetSysColor(COLOR_BTNFACE));
    if (m_borderStyle == 1) {
        if (m_appearance == 1) {
            DrawEdge(dc, &client, EDGE_SUNKEN, BF_RECT);
        } else {
            HBRUSH frame = CreateSolidBrush(GetSysColor(COLOR_WINDOWFRAME));
            FrameRect(dc, &client, frame);
            DeleteObject(frame);
        }
    }
    if (!m_font)
        return;
    int saved = SaveDC(dc);
    IntersectClipRect(dc, geometry.inner.left, geometry.inner.top, geometry.inner.right, geometry.inner.bottom);
    HGDIOBJ oldFont = SelectObject(dc, m_font->Handle());
    SetBkMode(dc, TRANSPARENT);
    COLORREF foreground = Enabled() ? OleColorToColorRef(m_foreColor) : GetSysColor(COLOR_GRAYTEXT);
    SetTextColor(dc, foreground);
    std::string shown = DisplayText();
    TextOutA(dc, geometry.originX, geometry.textTop, shown.data(), static_cast<int>(shown.size()));

    // The selection shows only while the box has the focus, as HideSelection does.
    bool focused = HasFocus();
    if (focused && m_buffer.HasSelection()) {
        EditBuffer displayed;
        displayed.SetText(shown);
        int start = m_buffer.SelectionStart();
        int end = start + m_buffer.SelectionLength();
        int x0 = geometry.originX + boundaries[static_cast<std::size_t>(start)];
        int x1 = geometry.originX + boundaries[static_cast<std::size_t>(end)];
        FillColour(dc, RECT { x0, geometry.textTop, x1, geometry.textTop + geometry.lineHeight }, GetSysColor(COLOR_HIGHLIGHT));
        SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        std::size_t from = displayed.ByteOffset(start);
        std::size_t to = displayed.ByteOffset(end);
        TextOutA(dc, x0, geometry.textTop, shown.data() + from, static_cast<int>(to - from));
    }
    if (focused) {
        int x = geometry.originX + boundaries[static_cast<std::size_t>(m_buffer.Caret())];
        FillColour(dc, RECT { x, geometry.textTop, x + 1, geometry.textTop + geometry.lineHeight }, GetSysColor(COLOR_WINDOWTEXT));
    }
    SelectObject(dc, oldFont);
    RestoreDC(dc, saved);
}

void TextBox::Refresh() { Repaint(); }

void TextBox::OnPaint() { Paint(); }

// ---------------------------------------------------------------------------
// [SECTION] Mouse

void TextBox::RaiseMouse(const std::function<void(int, int, double, double)>& handler, int button, int shift, int x, int y)
{
    if (handler)
        handler(button, shift, x * static_cast<double>(kTwipsPerPixel), y * static_cast<double>(kTwipsPerPixel));
}

void TextBox::OnMouseDown(int button, int shift, int x, int y)
{
    m_afterDoubleClick = false;
    if (button == vbLeftButton) {
        m_buffer.MoveCaret(HitTest(x), (shift & vbShiftMask) != 0);
        m_dragging = true;
        SetCapture(hWnd());
        Refresh();
    }
    RaiseMouse(MouseDown, button, shift, x, y);
}

void TextBox::OnMouseMove(int button, int shift, int x, int y)
{
    if (m_dragging && (button & vbLeftButton)) {
        int at = HitTest(x);
        if (at != m_buffer.Caret()) {
            m_buffer.MoveCaret(at, true);
            Refresh();
        }
    }
    RaiseMouse(MouseMove, button, shift, x, y);
}

void TextBox::OnMouseUp(int button, int shift, int x, int y)
{
    if (button == vbLeftButton && m_dragging) {
        m_dragging = false;
        if (GetCapture() == hWnd())
            ReleaseCapture();
    }
    RaiseMouse(MouseUp, button, shift, x, y);
    // The release that ends a double click raises no second Click.
    if (button == vbLeftButton && !m_afterDoubleClick && Click)
        Click();
    m_afterDoubleClick = false;
}

void TextBox::OnDoubleClick(int button, int, int x, int)
{
    if (button != vbLeftButton)
        return;
    if (!m_passwordChar.empty()) {
        m_buffer.SelectAll(); // a masked text shows no words
    } else {
        auto [start, end] = m_buffer.WordAt(HitTest(x));
        m_buffer.Select(start, end);
    }
    m_afterDoubleClick = true;
    Refresh();
    if (DblClick)
        DblClick();
}

void TextBox::OnGotFocus()
{
    Refresh();
    if (GotFocus)
        GotFocus();
}

void TextBox::OnLostFocus()
{
    if (m_dragging) {
        m_dragging = false;
        if (GetCapture() == hWnd())
            ReleaseCapture();
    }
    Refresh();
    if (LostFocus)
        LostFocus();
}

// ---------------------------------------------------------------------------
// [SECTION] Keys and characters

bool TextBox::OnKeyDown(int& keyCode, int shift)
{
    if (KeyDown) {
        KeyDown(keyCode, shift);
        if (keyCode == 0)
            return true;
    }
    bool extend = (shift & vbShiftMask) != 0;
    bool byWord = (shift & vbCtrlMask) != 0 && m_passwordChar.empty();
    int caret = m_buffer.Caret();
    switch (keyCode) {
    case VK_LEFT:
    case VK_UP:
        // Without Shift an arrow first collapses a selection to its near end.
        if (m_buffer.HasSelection() && !extend && !byWord)
            m_buffer.MoveCaret(m_buffer.SelectionStart(), false);
        else
            m_buffer.MoveCaret(byWord ? m_buffer.PreviousWordStart(caret) : caret - 1, extend);
        break;
    case VK_RIGHT:
    case VK_DOWN:
        if (m_buffer.HasSelection() && !extend && !byWord)
            m_buffer.MoveCaret(m_buffer.SelectionStart() + m_buffer.SelectionLength(), false);
        else
            m_buffer.MoveCaret(byWord ? m_buffer.NextWordStart(caret) : caret + 1, extend);
        break;
    case VK_HOME: m_buffer.MoveCaret(0, extend); break;
    case VK_END: m_buffer.MoveCaret(m_buffer.Length(), extend); break;
    case VK_DELETE:
        if (extend)
            Cut();
        else if (!m_locked && m_buffer.DeleteForward())
            Edited();
        break;
    case VK_INSERT:
        if (shift & vbCtrlMask)
            Copy();
        else if (extend)
            Paste();
        break;
    default: return false;
    }
    Refresh();
    return true;
}

void TextBox::OnKeyUp(int& keyCode, int shift)
{
    if (KeyUp)
        KeyUp(keyCode, shift);
}

void TextBox::OnChar(unsigned codePoint)
{
    int keyAscii = static_cast<int>(codePoint);
    if (KeyPress) {
        KeyPress(keyAscii);
        if (keyAscii <= 0)
            return;
    }
    unsigned character = static_cast<unsigned>(keyAscii);
    // Control characters from Ctrl+letter keys are the edit commands.
    switch (character) {
    case 1: m_buffer.SelectAll(); break; // Ctrl+A
    case 3: Copy(); return;              // Ctrl+C
    case 22: Paste(); return;            // Ctrl+V
    case 24: Cut(); return;              // Ctrl+X
    case '\b':
        if (!m_locked && m_buffer.DeleteBackward())
            Edited();
        break;
    default:
        // Enter, Esc, Tab and the other control characters are not text in one line.
        if (character < 0x20 || character == 0x7F || m_locked)
            return;
        if (m_buffer.ReplaceSelection(host::EncodeUtf8(character), true))
            Edited();
        break;
    }
    Refresh();
}

// ---------------------------------------------------------------------------
// [SECTION] Clipboard commands

void TextBox::Copy()
{
    // A masked text never leaves the box.
    if (m_buffer.HasSelection() && m_passwordChar.empty())
        SetClipboardText(m_buffer.SelectedText());
}

void TextBox::Cut()
{
    if (!m_buffer.HasSelection() || !m_passwordChar.empty() || m_locked)
        return;
    SetClipboardText(m_buffer.SelectedText());
    if (m_buffer.ReplaceSelection({}, false))
        Edited();
    Refresh();
}

void TextBox::Paste()
{
    if (m_locked)
        return;
    std::string text = GetClipboardText();
    // One line takes what comes before the first line break.
    text = text.substr(0, text.find_first_of("\r\n"));
    if (m_buffer.ReplaceSelection(text, true))
        Edited();
    Refresh();
}

} // namespace korvane::forms
