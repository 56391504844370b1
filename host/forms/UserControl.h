#pragma once

// The container of the program's own controls: the host's lifecycle and input
// events as virtual handlers, ambient and extender properties, the settings bag,
// and a persistent drawing surface the control paints on and shows with Refresh.

#include "host/forms/Control.h"
#include "host/forms/StdPicture.h"

#include <set>

namespace korvane::forms {

class SettingLookup;

enum ScaleModeConstants : int { vbUser = 0, vbTwips = 1, vbPixels = 3 };

struct AmbientProperties {
    bool UserMode = true;
    bool DisplayAsDefault = false;
    std::uint32_t BackColor = 0x8000000F;
    std::uint32_t ForeColor = 0x80000012;
    std::string DisplayName;
    FontRef Font;
};

class UserControl : public Control {
public:
    ~UserControl() override;

    AmbientProperties Ambient() const;

    // Marks a setting as changed, so the host knows the stored layout differs.
    void PropertyChanged(std::string_view key);
    const std::set<std::string>& ChangedProperties() const { return m_changed; }

    // The persistent drawing surface: a DC on the control's window, kept for its life.
    HDC hDC();
    // Shows what was drawn on the surface at once.
    void Refresh();
    // Fills the surface with BackColor.
    void Cls();
    // A line in ForeColor (or `colour`) with DrawWidth, in scale units.
    void Line(double x1, double y1, double x2, double y2, std::optional<std::uint32_t> colour = std::nullopt);
    int DrawWidth() const { return m_drawWidth; }
    void SetDrawWidth(int width) { m_drawWidth = std::max(1, width); }

    int ScaleMode() const { return m_scaleMode; }
    void SetScaleMode(int mode);
    double ScaleWidth() const;
    double ScaleHeight() const;
    // Converts between pixels and the scale, as ScaleX and ScaleY do for these two modes.
    double PixelsToScale(int pixels) const;
    int ScaleToPixels(double units) const;
    // Sets the control's size in twips, as UserControl.Size does.
    void Size(int widthTwips, int heightTwips);

    std::uint32_t BackColor() const { return m_backColor; }
    void SetBackColor(std::uint32_t oleColor) { m_backColor = oleColor; }
    std::uint32_t ForeColor() const { return m_foreColor; }
    void SetForeColor(std::uint32_t oleColor) { m_foreColor = oleColor; }
    const FontRef& Font() const { return m_font; }
    void SetFont(FontRef font) { m_font = std::move(font); }
    int MousePointer() const { return m_mousePointer; }
    void SetMousePointer(int pointer);
    const PictureHandle& MouseIcon() const { return m_mouseIcon; }
    void SetMouseIcon(PictureHandle icon);
    // The characters that act as access keys (Alt+key).
    const std::string& AccessKeys() const { return m_accessKeys; }
    void SetAccessKeys(std::string keys) { m_accessKeys = std::move(keys); }

    // Raises an event to the form: a synchronous call of the handler, if one is set.
    template <typename Handler, typename... Args>
    void RaiseEvent(const Handler& handler, Args&&... args)
    {
        if (handler)
            handler(std::forward<Args>(args)...);
    }

    // Whether the control acts as a push button: it can be the form's default or
    // cancel button, and its ambient DisplayAsDefault follows the focus.
    virtual bool DefaultCancel() const { return false; }
    // The ambient DisplayAsDefault changes; the control hears of it when it does.
    void SetDisplayAsDefault(bool displayAsDefault);

    // The table of the control's stored settings; none for a control without one.
    virtual const SettingLookup* StoredSettingsTable() const { return nullptr; }
    // Sets a stored setting by its key through the property's Let, the value converted
    // as reading converts it; false for a key the control does not store.
    bool LetStoredSetting(std::string_view key, const PropertyValue& value);

    void SetEnabled(bool enabled) override;
    char AccessKey() const override;
    void OnAccessKey(int keyAscii) override;
    void Loaded() override;
    void Unloaded() override;
    PropertyBag SaveSettings() override;

protected:
    UserControl();

    // The host's events for the control.
    virtual void UserControl_Initialize() {}
    virtual void UserControl_InitProperties() {}
    virtual void UserControl_ReadProperties(const PropertyBag& /*PropBag*/) {}
    virtual void UserControl_WriteProperties(PropertyBag& /*PropBag*/) {}
    virtual void UserControl_Show() {}
    virtual void UserControl_Resize() {}
    virtual void UserControl_Paint() {}
    virtual void UserControl_Terminate() {}
    virtual void UserControl_AmbientChanged(const std::string& /*PropertyName*/) {}
    virtual void UserControl_GotFocus() {}
    virtual void UserControl_LostFocus() {}
    virtual void UserControl_EnterFocus() {}
    virtual void UserControl_ExitFocus() {}
    virtual void UserControl_MouseDown(int /*Button*/, int /*Shift*/, double /*X*/, double /*Y*/) {}
    virtual void UserControl_MouseMove(int /*Button*/, int /*Shift*/, double /*X*/, double /*Y*/) {}
    virtual void UserControl_MouseUp(int /*Button*/, int /*Shift*/, double /*X*/, double /*Y*/) {}
    virtual void UserControl_Click() {}
    virtual void UserControl_DblClick() {}
    virtual void UserControl_KeyDown(int& /*KeyCode*/, int /*Shift*/) {}
    virtual void UserControl_KeyPress(int& /*KeyAscii*/) {}
    virtual void UserControl_KeyUp(int& /*KeyCode*/, int /*Shift*/) {}
    virtual void UserControl_AccessKeyPress(int /*KeyAscii*/) {}

    // Tells the control an ambient property changed (design tools and tests).
public:
    void NotifyAmbientChanged(const std::string& name) { UserControl_AmbientChanged(name); }
    // The form became visible: Show, then Paint.
    void FormShown() override;

protected:
    void ReadSettings(const PropertyBag& bag) final;
    void WriteSettings(PropertyBag& bag) final;
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
    void OnResize() override;
    void OnShown() override;

private:
    HDC m_hdc = nullptr;
    int m_scaleMode = vbTwips;
    int m_drawWidth = 1;
    std::uint32_t m_backColor = 0x8000000F;
    std::uint32_t m_foreColor = 0x80000012;
    FontRef m_font;
    int m_mousePointer = vbDefault;
    PictureHandle m_mouseIcon;
    std::string m_accessKeys;
    std::set<std::string> m_changed;
    bool m_pressedInside = false;
    std::optional<bool> m_displayAsDefault; // until the form first says, the Default setting
    bool m_terminated = false;
};

} // namespace korvane::forms
