#pragma once

// A single-line text box: typing (composed text from an input method included),
// caret and selection by mouse and keys, the clipboard, horizontal scrolling,
// a character limit, a password mask and a read-only (Locked) state. The
// editing itself lives in EditBuffer; this class is input and painting.

#include "host/forms/Control.h"
#include "host/forms/controls/EditBuffer.h"

#include <functional>
#include <optional>

namespace korvane::forms {

// Where the text boxes' Cut, Copy and Paste go. By default a clipboard inside
// the program; a display backend installs functions that reach the system's
// clipboard (they return nothing, or false, when it cannot be reached, and the
// program's own clipboard is used instead). Null functions restore the default.
struct ClipboardFunctions {
    std::optional<std::string> (*getText)() = nullptr;
    bool (*setText)(const std::string& text) = nullptr;
};
void SetClipboardFunctions(ClipboardFunctions functions);
std::string GetClipboardText();
void SetClipboardText(const std::string& text);

class TextBox : public Control {
public:
    TextBox() = default;

    std::function<void()> Change;
    std::function<void()> Click;
    std::function<void()> DblClick;
    std::function<void(int& KeyCode, int Shift)> KeyDown;
    // A character typed; setting KeyAscii to 0 cancels it, another value replaces it.
    std::function<void(int& KeyAscii)> KeyPress;
    std::function<void(int& KeyCode, int Shift)> KeyUp;
    // Positions in twips.
    std::function<void(int Button, int Shift, double X, double Y)> MouseDown;
    std::function<void(int Button, int Shift, double X, double Y)> MouseMove;
    std::function<void(int Button, int Shift, double X, double Y)> MouseUp;
    std::function<void()> GotFocus;
    std::function<void()> LostFocus;

    const std::string& Text() const { return m_buffer.Text(); }
    void SetText(const std::string& text);
    // Counted in characters.
    std::int32_t SelStart() const { return m_buffer.SelectionStart(); }
    void SetSelStart(std::int32_t start);
    std::int32_t SelLength() const { return m_buffer.SelectionLength(); }
    void SetSelLength(std::int32_t length);
    std::string SelText() const { return m_buffer.SelectedText(); }
    void SetSelText(const std::string& text);
    std::int32_t MaxLength() const { return m_buffer.MaxLength(); }
    void SetMaxLength(std::int32_t maxLength) { m_buffer.SetMaxLength(maxLength); }
    // Shown instead of every character when not empty; its first character counts.
    const std::string& PasswordChar() const { return m_passwordChar; }
    void SetPasswordChar(const std::string& passwordChar);
    bool Locked() const { return m_locked; }
    void SetLocked(bool locked) { m_locked = locked; }
    int Alignment() const { return m_alignment; }
    void SetAlignment(int alignment) { SetLook(m_alignment, alignment); }
    int Appearance() const { return m_appearance; }
    void SetAppearance(int appearance) { SetLook(m_appearance, appearance); }
    int BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(int borderStyle) { SetLook(m_borderStyle, borderStyle); }
    std::uint32_t BackColor() const { return m_backColor; }
    void SetBackColor(std::uint32_t oleColor) { SetLook(m_backColor, oleColor); }
    std::uint32_t ForeColor() const { return m_foreColor; }
    void SetForeColor(std::uint32_t oleColor) { SetLook(m_foreColor, oleColor); }
    const FontRef& Font() const { return m_font; }
    void SetFont(FontRef font);
    const std::string& ToolTipText() const { return m_toolTipText; }
    void SetToolTipText(const std::string& text) { m_toolTipText = text; }

    void Cut();
    void Copy();
    void Paste();

    // Where the caret is drawn, in client pixels (top of the caret line).
    POINT CaretPos();
    // Paints the box now and shows it.
    void Refresh();

    void Loaded() override;

protected:
    void ReadSettings(const PropertyBag& bag) override;
    void WriteSettings(PropertyBag& bag) override;
    bool WantsTextInput() const override { return true; }
    backends::CursorShape Cursor() const override { return backends::CursorShape::IBeam; }

    void OnMouseDown(int button, int shift, int x, int y) override;
    void OnMouseMove(int button, int shift, int x, int y) override;
    void OnMouseUp(int button, int shift, int x, int y) override;
    void OnDoubleClick(int button, int shift, int x, int y) override;
    bool OnKeyDown(int& keyCode, int shift) override;
    void OnKeyUp(int& keyCode, int shift) override;
    void OnChar(unsigned codePoint) override;
    void OnGotFocus() override;
    void OnLostFocus() override;
    void OnPaint() override;
    void OnResize() override { Refresh(); }
    void OnEnabledChanged() override { Refresh(); }

private:
    struct Geometry {
        RECT inner {};  // inside the border
        int textTop = 0;
        int lineHeight = 0;
        int originX = 0; // where character 0 starts
    };

    // The text as drawn: the password mask repeated, or the text itself.
    std::string DisplayText() const;
    // The x of every character boundary of the displayed text, from its start.
    const std::vector<int>& Boundaries();
    int BorderWidth() const;
    Geometry Layout();
    int HitTest(int x);
    void KeepCaretVisible();
    void Paint();
    void Edited();
    void RaiseMouse(const std::function<void(int, int, double, double)>& handler, int button, int shift, int x, int y);

    EditBuffer m_buffer;
    std::string m_passwordChar;
    bool m_locked = false;
    int m_alignment = 0;
    int m_appearance = 1;
    int m_borderStyle = 1;
    // The system colours of a window's background and text.
    static constexpr std::uint32_t kWindowBackground = 0x80000005;
    static constexpr std::uint32_t kWindowText = 0x80000008;

    std::uint32_t m_backColor = kWindowBackground;
    std::uint32_t m_foreColor = kWindowText;
    FontRef m_font;
    std::string m_toolTipText;

    std::vector<int> m_boundaries;
    bool m_boundariesValid = false;
    int m_scroll = 0; // pixels of text hidden at the left
    bool m_dragging = false;
    bool m_afterDoubleClick = false;
};

} // namespace korvane::forms
