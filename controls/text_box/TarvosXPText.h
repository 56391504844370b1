#pragma once

// A text box with a flat one-pixel XP border that changes colour while the box
// has the keyboard focus. It wraps one host TextBox, MyTxt, inset by a 4-pixel
// white margin on the control's own surface, and draws the border around it.
// Almost every property passes straight through to MyTxt; the control adds the
// two border colours, selecting the whole text on focus, a numeric view of the
// text, and five of MyTxt's events raised to the form.

#include "host/forms/StoredSettings.h"
#include "host/forms/UserControl.h"
#include "host/forms/controls/TextBox.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace korvane {

class TarvosXPText : public forms::UserControl {
public:
    using OleColor = std::uint32_t;

    static constexpr OleColor kBorderColor = 0xB99D7F;      // RGB(127, 157, 185)
    static constexpr OleColor kBorderColorFocus = 0x0096E7; // RGB(231, 150, 0)
    static constexpr OleColor kBorderColorDisabled = 0x80A7BF; // RGB(191, 167, 128)

    TarvosXPText() = default;
    ~TarvosXPText() override;

    // --- events, raised from MyTxt's events of the same names ---

    std::function<void()> Change;
    std::function<void()> Click;
    std::function<void()> DblClick;
    // Setting KeyAscii changes the character MyTxt receives; 0 cancels it.
    std::function<void(int& KeyAscii)> KeyPress;
    // Coordinates as MyTxt reports them.
    std::function<void(int& Button, int& Shift, float& X, float& Y)> MouseMove;

    // --- methods ---

    // Lays MyTxt out inside the 60-twip (4-pixel) margin.
    void RePos();

    // The inner box; null only before the control's window exists.
    forms::TextBox* MyTxt() const { return m_myTxt.get(); }

    // --- properties ---

    int Alignment() const;
    // 3 and above mean left alignment; other values are MyTxt's to judge.
    void LetAlignment(int New_Alignment);
    bool AutoSelect() const { return m_autoSelect; }
    void LetAutoSelect(bool New_AutoSelect);
    OleColor BackColor() const;
    void LetBackColor(OleColor New_BackColor);
    bool Enabled() const;
    // Also draws the border in the fixed enabled or disabled colour.
    void LetEnabled(bool New_Enabled);
    const forms::FontRef& Font() const;
    void SetFont(forms::FontRef New_Font);
    OleColor ForeColor() const;
    void LetForeColor(OleColor New_ForeColor);
    bool Locked() const;
    void LetLocked(bool New_Locked);
    std::int32_t MaxLength() const;
    void LetMaxLength(std::int32_t New_MaxLength);
    std::string PasswordChar() const;
    void LetPasswordChar(const std::string& New_PasswordChar);
    std::int32_t SelStart() const;
    void LetSelStart(std::int32_t New_SelStart);
    std::string SelText() const;
    void LetSelText(const std::string& New_SelText);
    std::int32_t SelLength() const;
    void LetSelLength(std::int32_t New_SelLength);
    std::string Text() const;
    void LetText(const std::string& New_Text);
    std::string ToolTipText() const;
    void LetToolTipText(const std::string& New_ToolTipText);
    // The leading number of Text, 0 when there is none.
    double Value() const;
    void LetValue(double New_Value);
    OleColor BorderColor() const { return m_borderColor; }
    // Redraws the border at once.
    void LetBorderColor(OleColor New_BorderColor);
    OleColor BorderColorFocus() const { return m_borderColorFocus; }
    // Shows from the next time MyTxt takes the focus; stored as "BorderColorOver".
    void LetBorderColorFocus(OleColor New_BorderColorOver);

    // --- stored settings ---

    static const forms::StoredSettings<TarvosXPText>& Settings();
    static constexpr auto kWriteOrder = std::to_array<std::string_view>(
        { "Alignment", "AutoSelect", "BackColor", "Enabled", "Font", "ForeColor", "Locked", "MaxLength", "PasswordChar",
          "SelStart", "SelText", "SelLength", "Text", "ToolTipText", "Value", "BorderColor", "BorderColorOver" });
    // Value is stored but never read. The selection goes in before Text, so a stored
    // Text replaces whatever the stored selection did.
    static constexpr auto kReadOrder = std::to_array<std::string_view>(
        { "Alignment", "AutoSelect", "BackColor", "Enabled", "Font", "ForeColor", "Locked", "MaxLength", "PasswordChar",
          "SelStart", "SelText", "SelLength", "Text", "ToolTipText", "BorderColor", "BorderColorOver" });
    const forms::SettingLookup* StoredSettingsTable() const override { return &Settings(); }

    // The extender's Enabled and the inner box's move together, so a box loaded
    // or set disabled cannot be reached through an enabled outer window, or the
    // other way round.
    void SetEnabled(bool enabled) override;
    // The focus belongs to MyTxt; the control's own window is no tab stop.
    bool CanTakeFocus() const override { return false; }
    void Unloaded() override;

protected:
    void UserControl_Initialize() override;
    void UserControl_InitProperties() override;
    void UserControl_ReadProperties(const forms::PropertyBag& PropBag) override;
    void UserControl_WriteProperties(forms::PropertyBag& PropBag) override;
    void UserControl_Resize() override;
    void UserControl_GotFocus() override;
    void UserControl_ExitFocus() override;
    void UserControl_AccessKeyPress(int KeyAscii) override;

private:
    void CreateMyTxt();
    void BindMyTxtEvents();
    void MyTxt_GotFocus();
    void MyTxt_LostFocus();

    void DrawBorder(OleColor colour);
    void ApplyLook();
    // Whether the focus is on this control or anything inside it.
    bool FocusInside() const;
    void SelectAll();

    std::unique_ptr<forms::TextBox> m_myTxt;
    bool m_autoSelect = false;
    OleColor m_borderColor = kBorderColor;
    OleColor m_borderColorFocus = kBorderColorFocus;
};

// Makes "TarvosXPText" a control kind that layouts can place.
void RegisterTarvosXPText();

} // namespace korvane
