#include "host/forms/Control.h"

#include "host/forms/Form.h"
#include "host/gdi/Gdi.h"

#include <cmath>
#include <map>

namespace korvane::forms {

namespace {

std::map<std::string, ControlRegistry::Factory, std::less<>>& Factories()
{
    static std::map<std::string, ControlRegistry::Factory, std::less<>> factories;
    return factories;
}

int ToPixels(int twips) { return static_cast<int>(std::lround(twips / static_cast<double>(kTwipsPerPixel))); }

int ButtonOf(UINT message)
{
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK: return vbLeftButton;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK: return vbRightButton;
    default: return vbMiddleButton;
    }
}

int ButtonsHeld(WPARAM wParam)
{
    int buttons = 0;
    if (wParam & MK_LBUTTON)
        buttons |= vbLeftButton;
    if (wParam & MK_RBUTTON)
        buttons |= vbRightButton;
    if (wParam & MK_MBUTTON)
        buttons |= vbMiddleButton;
    return buttons;
}

} // namespace

void ControlRegistry::Register(const std::string& kind, Factory factory) { Factories()[kind] = std::move(factory); }

std::unique_ptr<Control> ControlRegistry::Make(const std::string& kind)
{
    auto it = Factories().find(kind);
    return it == Factories().end() ? nullptr : it->second();
}

bool ControlRegistry::Knows(const std::string& kind) { return Factories().count(kind) != 0; }

Control::~Control()
{
    if (m_hwnd && IsWindow(m_hwnd)) {
        window::SetWindowHandler(m_hwnd, nullptr);
        DestroyWindow(m_hwnd);
    }
}

std::string Control::DisplayName() const
{
    return m_index ? m_name + "(" + std::to_string(*m_index) + ")" : m_name;
}

HWND Control::ContainerHwnd() const
{
    if (m_container)
        return m_container->hWnd();
    return m_form ? m_form->hWnd() : nullptr;
}

void Control::Create(Form& form, Control* container, const LayoutNode& node)
{
    m_form = &form;
    m_container = container;
    m_kind = node.kind;
    m_name = node.name;
    m_index = node.index;
    const PropertyBag& bag = node.settings;
    m_left = bag.ReadInt("Left", 0);
    m_top = bag.ReadInt("Top", 0);
    m_width = bag.ReadInt("Width", 0);
    m_height = bag.ReadInt("Height", 0);
    m_visible = bag.ReadBool("Visible", true);
    m_enabled = bag.ReadBool("Enabled", true);
    m_tabIndex = bag.ReadInt("TabIndex", 0);
    m_tabStop = bag.ReadBool("TabStop", true);
    m_tag = bag.ReadString("Tag", "");
    m_default = bag.ReadBool("Default", false);
    m_cancel = bag.ReadBool("Cancel", false);

    window::WindowCreateInfo info;
    info.parent = ContainerHwnd();
    const POINT at = PixelPosition(m_left, m_top);
    info.rect = raster::IntRect { at.x, at.y, at.x + ToPixels(m_width), at.y + ToPixels(m_height) };
    info.visible = m_visible;
    info.enabled = m_enabled;
    info.tabStop = CanTakeFocus() && m_tabStop;
    info.handler = this;
    info.cursor = Cursor();
    info.wantsTextInput = WantsTextInput();
    m_hwnd = window::CreateHostWindow(info);
    window::SetTabOrder(m_hwnd, m_tabIndex, info.tabStop);
    ReadSettings(bag);
}

PropertyBag Control::SaveSettings()
{
    PropertyBag bag;
    bag.WriteProperty("Left", std::int64_t { m_left }, std::int64_t { 0 });
    bag.WriteProperty("Top", std::int64_t { m_top }, std::int64_t { 0 });
    bag.WriteProperty("Width", std::int64_t { m_width }, std::int64_t { 0 });
    bag.WriteProperty("Height", std::int64_t { m_height }, std::int64_t { 0 });
    bag.WriteProperty("TabIndex", std::int64_t { m_tabIndex }, std::int64_t { 0 });
    bag.WriteProperty("Visible", m_visible, true);
    bag.WriteProperty("Enabled", m_enabled, true);
    bag.WriteProperty("TabStop", m_tabStop, true);
    bag.WriteProperty("Tag", m_tag, std::string());
    bag.WriteProperty("Default", m_default, false);
    bag.WriteProperty("Cancel", m_cancel, false);
    WriteSettings(bag);
    return bag;
}

void Control::Move(int left, int top, int width, int height)
{
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
    const POINT at = PixelPosition(left, top);
    MoveWindow(m_hwnd, at.x, at.y, ToPixels(width), ToPixels(height), TRUE);
}

POINT Control::PixelPosition(int left, int top) const
{
    const int inset = m_container ? m_container->ChildInset() : 0;
    return POINT { ToPixels(left) + inset, ToPixels(top) + inset };
}

void Control::SetVisible(bool visible)
{
    m_visible = visible;
    ShowWindow(m_hwnd, visible ? SW_SHOWNA : SW_HIDE);
}

void Control::SetEnabled(bool enabled)
{
    m_enabled = enabled;
    EnableWindow(m_hwnd, enabled);
}

void Control::SetTabIndex(int tabIndex)
{
    m_tabIndex = tabIndex;
    window::SetTabOrder(m_hwnd, tabIndex, CanTakeFocus() && m_tabStop);
}

void Control::SetFocus() { ::SetFocus(m_hwnd); }

bool Control::HasFocus() const { return m_hwnd && GetFocus() == m_hwnd; }

int Control::ShiftFromKeys(WPARAM wParam)
{
    int shift = 0;
    if (wParam & MK_SHIFT)
        shift |= vbShiftMask;
    if (wParam & MK_CONTROL)
        shift |= vbCtrlMask;
    return shift;
}

int Control::ShiftStateNow() const
{
    unsigned modifiers = window::CurrentModifiers();
    int shift = 0;
    if (modifiers & backends::ModShift)
        shift |= vbShiftMask;
    if (modifiers & backends::ModControl)
        shift |= vbCtrlMask;
    if (modifiers & backends::ModAlt)
        shift |= vbAltMask;
    return shift;
}

std::optional<LRESULT> Control::HandleMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam)
{
    int x = GET_X_LPARAM(lParam);
    int y = GET_Y_LPARAM(lParam);
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (message == WM_LBUTTONDOWN && CanTakeFocus() && !HasFocus())
            SetFocus();
        OnMouseDown(ButtonOf(message), ShiftFromKeys(wParam) | (ShiftStateNow() & vbAltMask), x, y);
        return 0;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
        OnDoubleClick(ButtonOf(message), ShiftFromKeys(wParam) | (ShiftStateNow() & vbAltMask), x, y);
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        OnMouseUp(ButtonOf(message), ShiftFromKeys(wParam) | (ShiftStateNow() & vbAltMask), x, y);
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(ButtonsHeld(wParam), ShiftFromKeys(wParam) | (ShiftStateNow() & vbAltMask), x, y);
        return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        if (m_form && m_form->HandleAccessKey(message, wParam))
            return 0;
        int keyCode = static_cast<int>(wParam);
        if (OnKeyDown(keyCode, ShiftStateNow()))
            return 0;
        return std::nullopt;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        int keyCode = static_cast<int>(wParam);
        OnKeyUp(keyCode, ShiftStateNow());
        return 0;
    }
    case WM_CHAR: OnChar(static_cast<unsigned>(wParam)); return 0;
    case WM_SETFOCUS:
        if (m_form)
            m_form->FocusMoved();
        OnGotFocus();
        return 0;
    case WM_KILLFOCUS:
        OnLostFocus();
        if (m_form)
            m_form->FocusMoved();
        return 0;
    case WM_PAINT: OnPaint(); return 0;
    case WM_SIZE: OnResize(); return 0;
    case WM_ENABLE: OnEnabledChanged(); return 0;
    case WM_SHOWWINDOW:
        if (wParam)
            OnShown();
        return 0;
    case WM_DESTROY: return 0;
    default: return OnOtherMessage(message, wParam, lParam);
    }
}

FontRef Control::ReadFontOrInherit(const PropertyBag& bag) const
{
    if (std::optional<FontSpec> font = bag.ReadFont("Font"))
        return std::make_shared<StdFont>(*font);
    if (ParentForm())
        return ParentForm()->Font();
    return std::make_shared<StdFont>();
}

void Control::Repaint()
{
    OnPaint();
    if (m_hwnd && IsWindowVisible(m_hwnd))
        UpdateWindow(m_hwnd);
}

} // namespace korvane::forms
