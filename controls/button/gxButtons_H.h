#pragma once

// The multi-style owner-drawn push button. This first version paints its caption
// on a flat face, shows itself disabled, and raises Click for a left press
// released over it, for Space, and for its access key.

#include "host/forms/StoredSettings.h"
#include "host/forms/UserControl.h"
#include "host/gdi/OleColor.h"

#include <array>
#include <functional>

namespace korvane {

class gxButtons_H : public forms::UserControl {
public:
    // Raised to the form.
    std::function<void()> Click;

    const std::string& Caption() const { return m_caption; }
    void LetCaption(const std::string& caption);
    bool Enabled() const { return forms::Control::Enabled(); }
    void LetEnabled(bool enabled);
    std::uint32_t ForeColor() const { return forms::UserControl::ForeColor(); }
    void LetForeColor(std::uint32_t colour);
    std::uint32_t BackColor() const { return m_backColor; }
    void LetBackColor(std::uint32_t colour);
    void SetFont(forms::FontRef font);

    // The access key of a caption: the character after the last single '&'.
    static char AccessKeyOf(const std::string& caption);

    // Whether the button shows pushed in now.
    bool ShowPressed() const { return m_showPressed; }

    void RedrawButton();

    static const forms::StoredSettings<gxButtons_H>& Settings();
    static constexpr auto kReadOrder = std::to_array<std::string_view>({ "Caption", "cFore", "cBack", "Font" });
    static constexpr auto kWriteOrder = std::to_array<std::string_view>({ "Caption", "cFore", "Font", "cBack" });
    const forms::SettingLookup* StoredSettingsTable() const override { return &Settings(); }

protected:
    void UserControl_Initialize() override;
    void UserControl_ReadProperties(const forms::PropertyBag& PropBag) override;
    void UserControl_WriteProperties(forms::PropertyBag& PropBag) override;
    void UserControl_Resize() override;
    void UserControl_Paint() override;
    void UserControl_Terminate() override;
    void UserControl_MouseDown(int Button, int Shift, double X, double Y) override;
    void UserControl_MouseMove(int Button, int Shift, double X, double Y) override;
    void UserControl_MouseUp(int Button, int Shift, double X, double Y) override;
    void UserControl_KeyDown(int& KeyCode, int Shift) override;
    void UserControl_KeyUp(int& KeyCode, int Shift) override;
    void UserControl_AccessKeyPress(int KeyAscii) override;
    void UserControl_GotFocus() override;
    void UserControl_LostFocus() override;
    void OnEnabledChanged() override;

private:
    bool Inside(double x, double y) const;

    std::string m_caption;
    std::uint32_t m_backColor = gdi::SystemColour(COLOR_BTNFACE);
    bool m_leftDown = false;
    bool m_spaceDown = false;
    bool m_showPressed = false;
};

void RegisterGxButtons_H();

} // namespace korvane
