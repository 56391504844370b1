// The button's behaviour: how the host's mouse, key, access-key, focus and ambient
// events change its press and hover state and become Click events. Painting only
// reads the state kept here (through RedrawButton's snapshot).
//
// For now a press is tracked while the mouse is captured: the pointer is known to
// be over the button only between a press and its release. Resting hover, option
// groups and the CustomClick move come with the hover timer (modGxTimer).

#include "controls/button/gxButtons_H.h"

#include "host/forms/Form.h"

namespace korvane {

using namespace button;

namespace {

constexpr int kEnter = 13;
constexpr int kEscape = 27;

// Raises a mouse event with the event's own argument types, by reference.
template <typename Handler>
void RaiseMouseEvent(const Handler& handler, int Button, int Shift, double X, double Y)
{
    auto button = static_cast<std::int16_t>(Button);
    auto shift = static_cast<std::int16_t>(Shift);
    auto x = static_cast<float>(X);
    auto y = static_cast<float>(Y);
    if (handler)
        handler(button, shift, x, y);
}

} // namespace

bool gxButtons_H::Inside(double x, double y) const { return x >= 0 && y >= 0 && x < ScaleWidth() && y < ScaleHeight(); }

void gxButtons_H::ShowHover(bool hovering)
{
    if (hovering)
        m_buttonState = static_cast<std::int16_t>(m_buttonState | bsHover);
    else
        m_buttonState = static_cast<std::int16_t>(m_buttonState & ~bsHover);
    m_hoverTracking = hovering;
    if (!hovering)
        m_showPressed = false;
    m_drawingDelayed = false;
    RedrawButton();
}

void gxButtons_H::UserControl_MouseDown(int Button, int Shift, double X, double Y)
{
    m_lastButton = static_cast<std::int16_t>(Button);
    if (Button == forms::vbLeftButton) {
        m_buttonState = static_cast<std::int16_t>(m_buttonState | bsDown);
        m_showPressed = true;
        // Under capture the pointer is known to be here.
        if (Inside(X, Y)) {
            m_buttonState = static_cast<std::int16_t>(m_buttonState | bsHover);
            m_hoverTracking = true;
        }
        m_drawingDelayed = false;
        RedrawButton();
        SetCapture(hWnd());
    }
    RaiseMouseEvent(MouseDown, Button, Shift, X, Y);
}

void gxButtons_H::UserControl_MouseMove(int Button, int Shift, double X, double Y)
{
    if (m_buttonState & bsDown) {
        const bool inside = Inside(X, Y);
        if (inside != ((m_buttonState & bsHover) != 0)) {
            m_buttonState = static_cast<std::int16_t>(inside ? m_buttonState | bsHover : m_buttonState & ~bsHover);
            m_hoverTracking = inside;
            m_showPressed = inside;
            m_drawingDelayed = false;
            RedrawButton();
        }
    }
    RaiseMouseEvent(MouseMove, Button, Shift, X, Y);
}

void gxButtons_H::UserControl_MouseUp(int Button, int Shift, double X, double Y)
{
    m_showPressed = false;
    if (Button == forms::vbLeftButton) {
        ReleaseCapture();
        // Nothing would end a hover once the capture goes, so it ends here.
        m_buttonState = static_cast<std::int16_t>(m_buttonState & ~(bsDown | bsHover));
        m_hoverTracking = false;
        m_drawingDelayed = false;
        RedrawButton();
    }
    RaiseMouseEvent(MouseUp, Button, Shift, X, Y);
    m_lastButton = static_cast<std::int16_t>(Button);
}

void gxButtons_H::UserControl_Click() { ClickHandler(); }

void gxButtons_H::ClickHandler()
{
    if (m_lastButton != forms::vbLeftButton || !Enabled())
        return;
    switch (m_mode) {
    case gxCommand: RaiseEvent(Click); break;
    case gxCheckBox:
        LetValue(!m_value);
        RaiseEvent(Click);
        break;
    case gxOption:
        if (m_value)
            return;
        LetValue(true);
        RaiseEvent(Click);
        break;
    default: break;
    }
}

void gxButtons_H::UserControl_KeyDown(int& KeyCode, int Shift)
{
    if (KeyCode == VK_SPACE && Enabled() && !(m_buttonState & bsDown)) {
        m_spaceDown = true;
        m_buttonState = static_cast<std::int16_t>(m_buttonState | bsDown | bsHover);
        m_showPressed = true;
        m_drawingDelayed = false;
        RedrawButton();
        if (!m_hoverTracking)
            m_buttonState = static_cast<std::int16_t>(m_buttonState & ~bsHover);
    }
    if (KeyCode != 0) {
        auto keyCode = static_cast<std::int16_t>(KeyCode);
        auto shift = static_cast<std::int16_t>(Shift);
        RaiseEvent(KeyDown, keyCode, shift);
    }
}

void gxButtons_H::UserControl_KeyPress(int& KeyAscii)
{
    auto keyAscii = static_cast<std::int16_t>(KeyAscii);
    RaiseEvent(KeyPress, keyAscii);
}

void gxButtons_H::UserControl_KeyUp(int& KeyCode, int Shift)
{
    m_showPressed = false;
    if (KeyCode == VK_SPACE && m_spaceDown) {
        m_spaceDown = false;
        m_buttonState = static_cast<std::int16_t>(m_buttonState & ~bsDown);
        m_lastButton = forms::vbLeftButton;
        m_drawingDelayed = false;
        RedrawButton();
        ClickHandler();
    }
    if (KeyCode != 0) {
        auto keyCode = static_cast<std::int16_t>(KeyCode);
        auto shift = static_cast<std::int16_t>(Shift);
        RaiseEvent(KeyUp, keyCode, shift);
    }
}

void gxButtons_H::UserControl_AccessKeyPress(int KeyAscii)
{
    if (!Enabled())
        return;
    if ((KeyAscii == kEnter || KeyAscii == kEscape) && m_mode != gxCommand)
        return;
    SetFocus();
    if (!(m_buttonState & bsDefault))
        RedrawButton();
    m_lastButton = forms::vbLeftButton;
    ClickHandler();
}

void gxButtons_H::UserControl_LostFocus()
{
    // A Space held while the focus leaves is let go without a click.
    if (m_spaceDown) {
        m_spaceDown = false;
        m_showPressed = false;
        m_buttonState = static_cast<std::int16_t>(m_buttonState & ~bsDown);
        m_drawingDelayed = false;
        RedrawButton();
    }
}

void gxButtons_H::OnEnabledChanged()
{
    if (!Enabled()) {
        m_spaceDown = false;
        m_showPressed = false;
        m_buttonState = static_cast<std::int16_t>(m_buttonState & ~(bsDown | bsHover));
        m_hoverTracking = false;
    }
    if (!m_lettingEnabled)
        RedrawButton();
}

void gxButtons_H::UserControl_AmbientChanged(const std::string& PropertyName)
{
    auto is = [&](std::string_view name) {
        return PropertyName.size() == name.size()
            && std::equal(name.begin(), name.end(), PropertyName.begin(),
                          [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b)); });
    };
    if (is("DisplayAsDefault")) {
        const bool showDefault = Ambient().DisplayAsDefault && (m_showFocusRect || DesignMode());
        m_buttonState = static_cast<std::int16_t>(showDefault ? m_buttonState | bsDefault : m_buttonState & ~bsDefault);
        if (DesignMode() && m_buttonShape >= kFirstPictureShape) {
            // A picture outline shows the default look through its hover frame.
            m_hoverTracking = (m_buttonState & bsDefault) != 0;
            RedrawButton();
            m_hoverTracking = false;
        } else {
            RedrawButton();
        }
    } else if (is("BackColor")) {
        m_ambientBackColor = TranslateColor(static_cast<OleColor>(Ambient().BackColor));
        if (m_buttonShape > kLastRectangularShape || m_buttonStyle == gxStyleHover)
            RedrawButton();
    }
}

void gxButtons_H::OptionToggle(std::int16_t /*action*/, bool* anyOn)
{
    // Option groups join through the container window's properties, with the hover
    // timer's module; until then each option button stands alone.
    if (anyOn)
        *anyOn = false;
}

void gxButtons_H::UserControl_OLECompleteDrag(std::int32_t& Effect) { RaiseEvent(OLECompleteDrag, Effect); }

void gxButtons_H::UserControl_OLEDragDrop(DataObject& Data, std::int32_t& Effect, std::int16_t& Button,
                                          std::int16_t& Shift, float& X, float& Y)
{
    RaiseEvent(OLEDragDrop, Data, Effect, Button, Shift, X, Y);
}

void gxButtons_H::UserControl_OLEDragOver(DataObject& Data, std::int32_t& Effect, std::int16_t& Button,
                                          std::int16_t& Shift, float& X, float& Y, std::int16_t& State)
{
    RaiseEvent(OLEDragOver, Data, Effect, Button, Shift, X, Y, State);
}

void gxButtons_H::UserControl_OLEGiveFeedback(std::int32_t& Effect, bool& DefaultCursors)
{
    RaiseEvent(OLEGiveFeedback, Effect, DefaultCursors);
}

void gxButtons_H::UserControl_OLESetData(DataObject& Data, std::int16_t& DataFormat)
{
    RaiseEvent(OLESetData, Data, DataFormat);
}

void gxButtons_H::UserControl_OLEStartDrag(DataObject& Data, std::int32_t& AllowedEffects)
{
    RaiseEvent(OLEStartDrag, Data, AllowedEffects);
}

} // namespace korvane
