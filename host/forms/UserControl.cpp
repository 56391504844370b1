#include "host/forms/UserControl.h"

#include "host/forms/Form.h"
#include "host/forms/StoredSettings.h"
#include "host/gdi/Gdi.h"

#include <cctype>
#include <cmath>

namespace korvane::forms {

UserControl::UserControl() : m_font(std::make_shared<StdFont>()) {}

UserControl::~UserControl()
{
    if (m_hdc)
        ReleaseDC(hWnd(), m_hdc);
}

AmbientProperties UserControl::Ambient() const
{
    AmbientProperties ambient;
    if (Form* form = ParentForm()) {
        ambient.UserMode = form->UserMode();
        ambient.BackColor = form->BackColor();
        ambient.Font = form->Font();
    }
    ambient.DisplayAsDefault = m_displayAsDefault.value_or(Default());
    ambient.DisplayName = DisplayName();
    if (!ambient.Font)
        ambient.Font = std::make_shared<StdFont>();
    return ambient;
}

void UserControl::SetDisplayAsDefault(bool displayAsDefault)
{
    const bool changed = m_displayAsDefault.value_or(Default()) != displayAsDefault;
    m_displayAsDefault = displayAsDefault;
    if (changed)
        UserControl_AmbientChanged("DisplayAsDefault");
}

bool UserControl::LetStoredSetting(std::string_view key, const PropertyValue& value)
{
    const SettingLookup* table = StoredSettingsTable();
    return table && table->Let(*this, key, value);
}

void UserControl::PropertyChanged(std::string_view key) { m_changed.insert(std::string(key)); }

HDC UserControl::hDC()
{
    if (!m_hdc && hWnd())
        m_hdc = window::GetWindowDC(hWnd());
    return m_hdc;
}

void UserControl::Refresh()
{
    if (hWnd())
        UpdateWindow(hWnd());
}

void UserControl::Cls()
{
    HDC dc = hDC();
    if (!dc)
        return;
    RECT rect;
    GetClientRect(hWnd(), &rect);
    HBRUSH brush = CreateSolidBrush(OleColorToColorRef(m_backColor));
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

void UserControl::Line(double x1, double y1, double x2, double y2, std::optional<std::uint32_t> colour)
{
    HDC dc = hDC();
    if (!dc)
        return;
    HPEN pen = CreatePen(PS_SOLID, m_drawWidth, OleColorToColorRef(colour.value_or(m_foreColor)));
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, ScaleToPixels(x1), ScaleToPixels(y1), nullptr);
    LineTo(dc, ScaleToPixels(x2), ScaleToPixels(y2));
    SelectObject(dc, old);
    DeleteObject(pen);
}

void UserControl::SetScaleMode(int mode)
{
    if (mode == vbTwips || mode == vbPixels)
        m_scaleMode = mode;
}

double UserControl::PixelsToScale(int pixels) const
{
    return m_scaleMode == vbPixels ? pixels : static_cast<double>(pixels) * kTwipsPerPixel;
}

int UserControl::ScaleToPixels(double units) const
{
    return static_cast<int>(std::lround(m_scaleMode == vbPixels ? units : units / kTwipsPerPixel));
}

double UserControl::ScaleWidth() const { return PixelsToScale(ClientWidthPixels()); }
double UserControl::ScaleHeight() const { return PixelsToScale(ClientHeightPixels()); }

void UserControl::Size(int widthTwips, int heightTwips) { Move(Left(), Top(), widthTwips, heightTwips); }

void UserControl::SetMousePointer(int pointer)
{
    m_mousePointer = pointer;
    backends::CursorShape shape = backends::CursorShape::Arrow;
    std::shared_ptr<raster::Surface> custom;
    switch (pointer) {
    case vbIbeam: shape = backends::CursorShape::IBeam; break;
    case vbHourglass: shape = backends::CursorShape::Wait; break;
    case vbCustom:
        if (m_mouseIcon && m_mouseIcon->Type() != StdPicture::Kind::None) {
            shape = backends::CursorShape::Custom;
            custom = std::make_shared<raster::Surface>(m_mouseIcon->ToSurface());
        }
        break;
    default: break;
    }
    window::SetWindowCursor(hWnd(), shape, custom);
}

void UserControl::SetMouseIcon(PictureHandle icon)
{
    m_mouseIcon = std::move(icon);
    if (m_mousePointer == vbCustom)
        SetMousePointer(vbCustom);
}

void UserControl::SetEnabled(bool enabled) { Control::SetEnabled(enabled); }

char UserControl::AccessKey() const { return m_accessKeys.empty() ? 0 : m_accessKeys.front(); }

void UserControl::OnAccessKey(int keyAscii) { UserControl_AccessKeyPress(keyAscii); }

void UserControl::ReadSettings(const PropertyBag& bag)
{
    UserControl_Initialize();
    UserControl_ReadProperties(bag);
}

void UserControl::WriteSettings(PropertyBag& bag) { UserControl_WriteProperties(bag); }

PropertyBag UserControl::SaveSettings() { return Control::SaveSettings(); }

void UserControl::Loaded() { UserControl_Resize(); }

void UserControl::Unloaded()
{
    if (m_terminated)
        return;
    m_terminated = true;
    UserControl_Terminate();
    if (m_hdc) {
        ReleaseDC(hWnd(), m_hdc);
        m_hdc = nullptr;
    }
}

void UserControl::FormShown()
{
    if (!Visible())
        return;
    UserControl_Show();
    UserControl_Paint();
}

void UserControl::OnMouseDown(int button, int shift, int x, int y)
{
    m_pressedInside = button == vbLeftButton;
    UserControl_MouseDown(button, shift, PixelsToScale(x), PixelsToScale(y));
}

void UserControl::OnMouseMove(int button, int shift, int x, int y)
{
    UserControl_MouseMove(button, shift, PixelsToScale(x), PixelsToScale(y));
}

void UserControl::OnMouseUp(int button, int shift, int x, int y)
{
    UserControl_MouseUp(button, shift, PixelsToScale(x), PixelsToScale(y));
    bool inside = x >= 0 && y >= 0 && x < ClientWidthPixels() && y < ClientHeightPixels();
    // A shaped window is released over only inside its region.
    if (HRGN region = inside && hWnd() ? CreateRectRgn(0, 0, 0, 0) : nullptr) {
        if (GetWindowRgn(hWnd(), region) != ERROR)
            inside = PtInRegion(region, x, y);
        DeleteObject(region);
    }
    if (button == vbLeftButton && m_pressedInside && inside && hWnd())
        UserControl_Click();
    if (button == vbLeftButton)
        m_pressedInside = false;
}

void UserControl::OnDoubleClick(int, int, int, int)
{
    // The second press of a double click is the DblClick event alone, of any button,
    // and its release is no Click.
    m_pressedInside = false;
    UserControl_DblClick();
}

bool UserControl::OnKeyDown(int& keyCode, int shift)
{
    UserControl_KeyDown(keyCode, shift);
    return keyCode == 0;
}

void UserControl::OnKeyUp(int& keyCode, int shift) { UserControl_KeyUp(keyCode, shift); }

void UserControl::OnChar(unsigned codePoint)
{
    int keyAscii = static_cast<int>(codePoint);
    UserControl_KeyPress(keyAscii);
}

void UserControl::OnGotFocus()
{
    UserControl_EnterFocus();
    UserControl_GotFocus();
}

void UserControl::OnLostFocus()
{
    UserControl_LostFocus();
    UserControl_ExitFocus();
}

void UserControl::OnPaint() { UserControl_Paint(); }

void UserControl::OnResize() { UserControl_Resize(); }

void UserControl::OnShown()
{
    UserControl_Show();
    UserControl_Paint();
}

} // namespace korvane::forms
