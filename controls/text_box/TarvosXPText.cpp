#include "controls/text_box/TarvosXPText.h"

#include "host/gdi/OleColor.h"
#include "host/runtime/Conversions.h"
#include "host/runtime/Utf8.h"

#include <algorithm>
#include <cstdio>

namespace korvane {

namespace {

constexpr int kMargin = 60;     // twips: 4 pixels on every side
constexpr int kOnePixel = 15;   // twips
constexpr int kNewHeight = 330; // twips: 22 pixels
constexpr TarvosXPText::OleColor kWhite = 0xFFFFFF;
constexpr TarvosXPText::OleColor kDefaultBackColor = gdi::SystemColour(COLOR_WINDOW);
constexpr TarvosXPText::OleColor kDefaultForeColor = gdi::SystemColour(COLOR_WINDOWTEXT);
const char* const kDefaultText = "Text1";

// The host's string form of a Double: up to 15 significant digits, no trailing
// zeros, exponent form only for very large or very small magnitudes.
std::string DoubleText(double value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    return buffer;
}

// The inner box counts its selection in characters, not bytes.
std::int32_t CharacterCount(const std::string& utf8) { return static_cast<std::int32_t>(host::CharacterCount(utf8)); }

// Loading puts a value straight into the inner box: no notification, no border.
template <typename A>
forms::StoredSetting<TarvosXPText>::Apply IntoMyTxt(void (forms::TextBox::*set)(A))
{
    return [set](TarvosXPText& control, const forms::PropertyValue& value) {
        (control.MyTxt()->*set)(forms::FromSetting<std::remove_cvref_t<A>>(value));
    };
}

bool IsWithin(HWND hwnd, HWND ancestor)
{
    for (HWND at = hwnd; at; at = GetParent(at))
        if (at == ancestor)
            return true;
    return false;
}

} // namespace

TarvosXPText::~TarvosXPText() = default;

// ---------------------------------------------------------------------------
// Methods

void TarvosXPText::RePos()
{
    if (!m_myTxt)
        return;
    // A control narrower or lower than both margins leaves no room: the box
    // shrinks to nothing rather than taking a negative size.
    int width = std::max(0, Width() - 2 * kMargin);
    int height = std::max(0, Height() - 2 * kMargin);
    m_myTxt->Move(kMargin, kMargin, width, height);
}

// ---------------------------------------------------------------------------
// Properties

int TarvosXPText::Alignment() const { return m_myTxt->Alignment(); }

void TarvosXPText::LetAlignment(int New_Alignment)
{
    if (New_Alignment >= 3)
        New_Alignment = 0;
    m_myTxt->SetAlignment(New_Alignment);
    PropertyChanged("Alignment");
}

void TarvosXPText::LetAutoSelect(bool New_AutoSelect)
{
    m_autoSelect = New_AutoSelect;
    PropertyChanged("AutoSelect");
}

TarvosXPText::OleColor TarvosXPText::BackColor() const { return m_myTxt->BackColor(); }

void TarvosXPText::LetBackColor(OleColor New_BackColor)
{
    m_myTxt->SetBackColor(New_BackColor);
    PropertyChanged("BackColor");
}

bool TarvosXPText::Enabled() const { return m_myTxt->Enabled(); }

void TarvosXPText::LetEnabled(bool New_Enabled)
{
    SetEnabled(New_Enabled);
    PropertyChanged("Enabled");
    DrawBorder(New_Enabled ? kBorderColor : kBorderColorDisabled);
}

const forms::FontRef& TarvosXPText::Font() const { return m_myTxt->Font(); }

void TarvosXPText::SetFont(forms::FontRef New_Font)
{
    m_myTxt->SetFont(std::move(New_Font));
    PropertyChanged("Font");
}

TarvosXPText::OleColor TarvosXPText::ForeColor() const { return m_myTxt->ForeColor(); }

void TarvosXPText::LetForeColor(OleColor New_ForeColor)
{
    m_myTxt->SetForeColor(New_ForeColor);
    PropertyChanged("ForeColor");
}

bool TarvosXPText::Locked() const { return m_myTxt->Locked(); }

void TarvosXPText::LetLocked(bool New_Locked)
{
    m_myTxt->SetLocked(New_Locked);
    PropertyChanged("Locked");
}

std::int32_t TarvosXPText::MaxLength() const { return m_myTxt->MaxLength(); }

void TarvosXPText::LetMaxLength(std::int32_t New_MaxLength)
{
    m_myTxt->SetMaxLength(New_MaxLength);
    PropertyChanged("MaxLength");
}

std::string TarvosXPText::PasswordChar() const { return m_myTxt->PasswordChar(); }

void TarvosXPText::LetPasswordChar(const std::string& New_PasswordChar)
{
    m_myTxt->SetPasswordChar(New_PasswordChar);
    PropertyChanged("PasswordChar");
}

std::int32_t TarvosXPText::SelStart() const { return m_myTxt->SelStart(); }

void TarvosXPText::LetSelStart(std::int32_t New_SelStart)
{
    m_myTxt->SetSelStart(New_SelStart);
    PropertyChanged("SelStart");
}

std::string TarvosXPText::SelText() const { return m_myTxt->SelText(); }

void TarvosXPText::LetSelText(const std::string& New_SelText)
{
    m_myTxt->SetSelText(New_SelText);
    PropertyChanged("SelText");
}

std::int32_t TarvosXPText::SelLength() const { return m_myTxt->SelLength(); }

void TarvosXPText::LetSelLength(std::int32_t New_SelLength)
{
    m_myTxt->SetSelLength(New_SelLength);
    PropertyChanged("SelLength");
}

std::string TarvosXPText::Text() const { return m_myTxt->Text(); }

void TarvosXPText::LetText(const std::string& New_Text)
{
    m_myTxt->SetText(New_Text);
    PropertyChanged("Text");
}

std::string TarvosXPText::ToolTipText() const { return m_myTxt->ToolTipText(); }

void TarvosXPText::LetToolTipText(const std::string& New_ToolTipText)
{
    m_myTxt->SetToolTipText(New_ToolTipText);
    PropertyChanged("ToolTipText");
}

double TarvosXPText::Value() const { return host::Val(m_myTxt->Text()); }

void TarvosXPText::LetValue(double New_Value)
{
    m_myTxt->SetText(DoubleText(New_Value));
    PropertyChanged("Value");
}

void TarvosXPText::LetBorderColor(OleColor New_BorderColor)
{
    m_borderColor = New_BorderColor;
    ApplyLook();
    PropertyChanged("BorderColor");
}

void TarvosXPText::LetBorderColorFocus(OleColor New_BorderColorOver)
{
    m_borderColorFocus = New_BorderColorOver;
    PropertyChanged("BorderColorOver");
}

void TarvosXPText::SetEnabled(bool enabled)
{
    UserControl::SetEnabled(enabled);
    if (m_myTxt)
        m_myTxt->SetEnabled(enabled);
}

void TarvosXPText::Unloaded()
{
    if (m_myTxt)
        m_myTxt->Unloaded();
    UserControl::Unloaded();
}

// ---------------------------------------------------------------------------
// Host events

void TarvosXPText::UserControl_Initialize() { CreateMyTxt(); }

void TarvosXPText::UserControl_InitProperties()
{
    m_borderColor = kBorderColor;
    m_borderColorFocus = kBorderColorFocus;
    m_myTxt->SetText(Name());
    Size(Width(), kNewHeight);
    // A copy, so the container's font object keeps its own name.
    auto font = std::make_shared<forms::StdFont>(*m_myTxt->Font());
    font->SetName("Verdana");
    m_myTxt->SetFont(std::move(font));
    UserControl_Resize();
}

const forms::StoredSettings<TarvosXPText>& TarvosXPText::Settings()
{
    using enum forms::SettingType;
    using forms::Fixed, forms::Getter, forms::Setter;
    using Box = TarvosXPText;
    auto ambientFont = [](const Box& box) { return forms::SettingValue(box.Ambient().Font); };
    static const forms::StoredSettings<Box> table {
        // key, type, read default, write default, get, let, read
        { "Alignment", Integer, Fixed(0), Fixed(0), Getter(&Box::Alignment), Setter(&Box::LetAlignment),
          IntoMyTxt(&forms::TextBox::SetAlignment) },
        { "AutoSelect", Boolean, Fixed(false), Fixed(false), Getter(&Box::AutoSelect), Setter(&Box::LetAutoSelect),
          [](Box& box, const forms::PropertyValue& value) { box.m_autoSelect = std::get<bool>(value); } },
        { "BackColor", Colour, Fixed(kDefaultBackColor), Fixed(kDefaultBackColor), Getter(&Box::BackColor),
          Setter(&Box::LetBackColor), IntoMyTxt(&forms::TextBox::SetBackColor) },
        { "Enabled", Boolean, Fixed(true), Fixed(true), Getter(&Box::Enabled), Setter(&Box::LetEnabled),
          Setter(&Box::SetEnabled) },
        { "Font", Font, ambientFont, ambientFont, Getter(&Box::Font), Setter(&Box::SetFont),
          IntoMyTxt(&forms::TextBox::SetFont) },
        { "ForeColor", Colour, Fixed(kDefaultForeColor), Fixed(kDefaultForeColor), Getter(&Box::ForeColor),
          Setter(&Box::LetForeColor), IntoMyTxt(&forms::TextBox::SetForeColor) },
        { "Locked", Boolean, Fixed(false), Fixed(false), Getter(&Box::Locked), Setter(&Box::LetLocked),
          IntoMyTxt(&forms::TextBox::SetLocked) },
        { "MaxLength", Integer, Fixed(0), Fixed(0), Getter(&Box::MaxLength), Setter(&Box::LetMaxLength),
          IntoMyTxt(&forms::TextBox::SetMaxLength) },
        { "PasswordChar", Text, Fixed(""), Fixed(""), Getter(&Box::PasswordChar), Setter(&Box::LetPasswordChar),
          IntoMyTxt(&forms::TextBox::SetPasswordChar) },
        { "SelStart", Integer, Fixed(0), Fixed(0), Getter(&Box::SelStart), Setter(&Box::LetSelStart),
          IntoMyTxt(&forms::TextBox::SetSelStart) },
        { "SelText", Text, Fixed(""), Fixed(""), Getter(&Box::SelText), Setter(&Box::LetSelText),
          IntoMyTxt(&forms::TextBox::SetSelText) },
        { "SelLength", Integer, Fixed(0), Fixed(0), Getter(&Box::SelLength), Setter(&Box::LetSelLength),
          IntoMyTxt(&forms::TextBox::SetSelLength) },
        { "Text", Text, Fixed(kDefaultText), Fixed(kDefaultText), Getter(&Box::Text), Setter(&Box::LetText),
          IntoMyTxt(&forms::TextBox::SetText) },
        { "ToolTipText", Text, Fixed(""), Fixed(""), Getter(&Box::ToolTipText), Setter(&Box::LetToolTipText),
          IntoMyTxt(&forms::TextBox::SetToolTipText) },
        { "Value", Double, Fixed(0.0), Fixed(0.0), Getter(&Box::Value), Setter(&Box::LetValue) },
        { "BorderColor", Colour, Fixed(kBorderColor), Fixed(kBorderColor), Getter(&Box::BorderColor),
          Setter(&Box::LetBorderColor),
          [](Box& box, const forms::PropertyValue& value) {
              box.m_borderColor = forms::FromSetting<OleColor>(value);
          } },
        { "BorderColorOver", Colour, Fixed(kBorderColorFocus), Fixed(kBorderColorFocus), Getter(&Box::BorderColorFocus),
          Setter(&Box::LetBorderColorFocus),
          [](Box& box, const forms::PropertyValue& value) {
              box.m_borderColorFocus = forms::FromSetting<OleColor>(value);
          } },
    };
    return table;
}

void TarvosXPText::UserControl_ReadProperties(const forms::PropertyBag& PropBag)
{
    Settings().Read(*this, PropBag, kReadOrder);
    if (m_autoSelect)
        SelectAll();
}

void TarvosXPText::UserControl_WriteProperties(forms::PropertyBag& PropBag)
{
    Settings().Write(*this, PropBag, kWriteOrder);
}

void TarvosXPText::UserControl_Resize()
{
    RePos();
    ApplyLook();
}

void TarvosXPText::UserControl_GotFocus()
{
    // The focus set on the control itself belongs to the box inside it.
    if (m_myTxt && m_myTxt->Enabled())
        m_myTxt->SetFocus();
}

void TarvosXPText::UserControl_ExitFocus()
{
    if (!FocusInside())
        DrawBorder(m_borderColor);
}

void TarvosXPText::UserControl_AccessKeyPress(int /*KeyAscii*/)
{
    if (m_myTxt)
        m_myTxt->SetFocus();
}

// ---------------------------------------------------------------------------
// MyTxt

void TarvosXPText::CreateMyTxt()
{
    if (m_myTxt || !ParentForm())
        return;
    forms::LayoutNode node;
    node.kind = "TextBox";
    node.name = "MyTxt";
    node.settings.Set("Left", std::int64_t { kMargin });
    node.settings.Set("Top", std::int64_t { kMargin });
    node.settings.Set("Width", std::int64_t { std::max(0, Width() - 2 * kMargin) });
    node.settings.Set("Height", std::int64_t { std::max(0, Height() - 2 * kMargin) });
    node.settings.Set("Appearance", std::int64_t { 0 });
    node.settings.Set("BorderStyle", std::int64_t { 0 });
    m_myTxt = std::make_unique<forms::TextBox>();
    m_myTxt->Create(*ParentForm(), this, node);
    BindMyTxtEvents();
}

void TarvosXPText::BindMyTxtEvents()
{
    forms::TextBox& box = *m_myTxt;
    box.Change = [this] { RaiseEvent(Change); };
    box.Click = [this] { RaiseEvent(Click); };
    box.DblClick = [this] { RaiseEvent(DblClick); };
    box.KeyPress = [this](int& KeyAscii) { RaiseEvent(KeyPress, KeyAscii); };
    box.MouseMove = [this](auto Button, auto Shift, auto X, auto Y) {
        int button = static_cast<int>(Button);
        int shift = static_cast<int>(Shift);
        float x = static_cast<float>(X);
        float y = static_cast<float>(Y);
        RaiseEvent(MouseMove, button, shift, x, y);
    };
    box.GotFocus = [this] { MyTxt_GotFocus(); };
    box.LostFocus = [this] { MyTxt_LostFocus(); };
}

void TarvosXPText::MyTxt_GotFocus()
{
    DrawBorder(m_borderColorFocus);
    if (m_autoSelect)
        SelectAll();
}

void TarvosXPText::MyTxt_LostFocus()
{
    // The host tells only the window that lost the focus; the control as a whole
    // loses it when the focus went somewhere outside it.
    UserControl_ExitFocus();
}

// ---------------------------------------------------------------------------
// Drawing

void TarvosXPText::DrawBorder(OleColor colour)
{
    if (!hDC())
        return;
    SetDrawWidth(1);
    double w = Width();
    double h = Height();
    Line(0, 0, w, 0, colour);
    Line(0, 0, 0, h, colour);
    Line(w - kOnePixel, 0, w - kOnePixel, h, colour);
    Line(0, h - kOnePixel, w, h - kOnePixel, colour);
    Refresh();
}

void TarvosXPText::ApplyLook()
{
    UserControl::SetBackColor(kWhite);
    SetScaleMode(forms::vbTwips);
    Cls();
    if (m_myTxt) {
        m_myTxt->SetAppearance(0);
        m_myTxt->SetBorderStyle(0);
        // Enabled and Locked stay as they were set or loaded: a resize must not
        // make a read-only or disabled box editable.
        m_myTxt->SetBackColor(kWhite);
    }
    // A focused box keeps its focus colour through a resize.
    DrawBorder(FocusInside() ? m_borderColorFocus : m_borderColor);
}

bool TarvosXPText::FocusInside() const
{
    HWND focus = GetFocus();
    return focus && hWnd() && IsWithin(focus, hWnd());
}

void TarvosXPText::SelectAll()
{
    m_myTxt->SetSelStart(0);
    m_myTxt->SetSelLength(CharacterCount(m_myTxt->Text()));
}

void RegisterTarvosXPText()
{
    forms::ControlRegistry::Register("TarvosXPText", [] { return std::make_unique<TarvosXPText>(); });
}

} // namespace korvane
