#pragma once

// Controls on a form: everything placed by the layout derives from Control, which
// owns the control's window and turns its messages into the host's events with
// one dispatch switch. Subclasses override only the handlers they use.

#include "host/forms/LayoutFile.h"
#include "host/forms/StdFont.h"
#include "host/window/WindowSystem.h"

#include <functional>
#include <memory>
#include <string>

namespace korvane::forms {

class Form;

// Mouse buttons and shift state as the host's events report them.
enum MouseButtons : int { vbLeftButton = 1, vbRightButton = 2, vbMiddleButton = 4 };
enum ShiftState : int { vbShiftMask = 1, vbCtrlMask = 2, vbAltMask = 4 };

// Mouse pointers of MousePointer and Screen.MousePointer.
enum MousePointerConstants : int { vbDefault = 0, vbArrow = 1, vbIbeam = 3, vbHourglass = 11, vbCustom = 99 };

inline constexpr int kTwipsPerPixel = 15;

class Control : public window::WindowHandler {
public:
    ~Control() override;

    const std::string& Kind() const { return m_kind; }
    const std::string& Name() const { return m_name; }
    std::optional<int> Index() const { return m_index; }
    // "name" or "name(index)", as the host shows a control.
    std::string DisplayName() const;

    HWND hWnd() const { return m_hwnd; }
    Form* ParentForm() const { return m_form; }
    Control* Container() const { return m_container; }
    HWND ContainerHwnd() const;
    // Pixels between a container's outer edge and where the controls inside it are
    // measured from (a bordered picture box keeps them off its border).
    virtual int ChildInset() const { return 0; }

    // Extender settings; positions and sizes in twips within the container.
    int Left() const { return m_left; }
    int Top() const { return m_top; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    void Move(int left, int top, int width, int height);
    bool Visible() const { return m_visible; }
    void SetVisible(bool visible);
    bool Enabled() const { return m_enabled; }
    virtual void SetEnabled(bool enabled);
    int TabIndex() const { return m_tabIndex; }
    void SetTabIndex(int tabIndex);
    bool TabStop() const { return m_tabStop; }
    const std::string& Tag() const { return m_tag; }
    void SetTag(const std::string& tag) { m_tag = tag; }
    // Whether this control is the form's default button (Enter presses it).
    bool Default() const { return m_default; }
    bool Cancel() const { return m_cancel; }

    void SetFocus();
    bool HasFocus() const;

    // The layout calls: made, then given the settings stored for it.
    void Create(Form& form, Control* container, const LayoutNode& node);
    // What a layout stores for this control; extender settings included.
    virtual PropertyBag SaveSettings();

    // Called after every control of the form exists, before the form's Load.
    virtual void Loaded() {}
    // The form became visible.
    virtual void FormShown() {}
    // The form is being unloaded: the control's Terminate.
    virtual void Unloaded() {}

    // Whether the control takes the focus by Tab (labels and hidden controls do not).
    virtual bool CanTakeFocus() const { return true; }
    // The access key of the control's caption ('&X'), or 0.
    virtual char AccessKey() const { return 0; }
    // An access key, Enter (default) or Esc (cancel) chose this control; `keyAscii`
    // is the upper-case key, 13 or 27.
    virtual void OnAccessKey(int /*keyAscii*/) {}

    std::optional<LRESULT> HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) final;

protected:
    Control() = default;

    // The stored "Font", or the form's font when none is stored.
    FontRef ReadFontOrInherit(const PropertyBag& bag) const;
    // Paints the control now and shows it: what a built-in control does when a
    // setting of its look changes.
    void Repaint();
    template <typename Field, typename Value>
    void SetLook(Field& field, Value&& value)
    {
        field = std::forward<Value>(value);
        Repaint();
    }

    // Reads the control's own settings (extender keys are read already).
    virtual void ReadSettings(const PropertyBag& /*bag*/) {}
    virtual void WriteSettings(PropertyBag& /*bag*/) {}
    // Window creation details for the subclass.
    virtual bool WantsTextInput() const { return false; }
    virtual backends::CursorShape Cursor() const { return backends::CursorShape::Arrow; }

    // Handlers, in the client's pixels.
    virtual void OnMouseDown(int /*button*/, int /*shift*/, int /*x*/, int /*y*/) {}
    virtual void OnMouseMove(int /*button*/, int /*shift*/, int /*x*/, int /*y*/) {}
    virtual void OnMouseUp(int /*button*/, int /*shift*/, int /*x*/, int /*y*/) {}
    virtual void OnDoubleClick(int /*button*/, int /*shift*/, int /*x*/, int /*y*/) {}
    virtual bool OnKeyDown(int& /*keyCode*/, int /*shift*/) { return false; }
    virtual void OnKeyUp(int& /*keyCode*/, int /*shift*/) {}
    // A character typed: its code point (13 Enter, 8 Backspace, 27 Esc included).
    virtual void OnChar(unsigned /*codePoint*/) {}
    virtual void OnGotFocus() {}
    virtual void OnLostFocus() {}
    virtual void OnPaint() {}
    virtual void OnResize() {}
    virtual void OnEnabledChanged() {}
    virtual void OnShown() {}
    // Anything else; return nothing for default processing.
    virtual std::optional<LRESULT> OnOtherMessage(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/) { return std::nullopt; }

    int ShiftStateNow() const;
    static int ShiftFromKeys(WPARAM wParam);

    int ClientWidthPixels() const { return m_width / kTwipsPerPixel; }
    int ClientHeightPixels() const { return m_height / kTwipsPerPixel; }

private:
    // A position in twips within the container, as pixels in the container's window.
    POINT PixelPosition(int left, int top) const;
    friend class Form;

    std::string m_kind;
    std::string m_name;
    std::optional<int> m_index;
    Form* m_form = nullptr;
    Control* m_container = nullptr;
    HWND m_hwnd = nullptr;
    int m_left = 0;
    int m_top = 0;
    int m_width = 0;
    int m_height = 0;
    bool m_visible = true;
    bool m_enabled = true;
    int m_tabIndex = 0;
    bool m_tabStop = true;
    bool m_default = false;
    bool m_cancel = false;
    std::string m_tag;
};

// Makes controls by kind name; the plain kinds are registered already.
class ControlRegistry {
public:
    using Factory = std::function<std::unique_ptr<Control>()>;
    static void Register(const std::string& kind, Factory factory);
    static std::unique_ptr<Control> Make(const std::string& kind);
    static bool Knows(const std::string& kind);
};

} // namespace korvane::forms
