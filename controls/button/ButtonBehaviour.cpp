// The button's behaviour: how the host's mouse, key, access-key, focus and ambient
// events change its press and hover state and become Click events, and the
// CustomClick move of a pressed button. Painting only reads the state kept here
// (through RedrawButton's snapshot); the hover timer and the option groups it uses
// are in ButtonGroupsAndHover.cpp.
//
// [SECTION] Mouse
// [SECTION] Click
// [SECTION] Keyboard, access keys and focus
// [SECTION] Ambient changes
// [SECTION] CustomClick move
// [SECTION] Drag events

#include "controls/button/gxButtons_H.h"

#include "controls/button/modGxTimer.h"
#include "host/forms/Form.h"
#include "host/runtime/RuntimeError.h"

#include <algorithm>
#include <cctype>

namespace korvane {

using namespace button;

namespace {

constexpr int kEnter = 13;
constexpr int kEscape = 27;

// An arrow key goes to the container as the key-down message the keyboard would
// make: repeat count 1 and the key's scan code.
struct ArrowKey {
    int keyCode;
    LPARAM lParam;
};
constexpr ArrowKey kArrowKeys[] = {
    { VK_RIGHT, 0x004D0001 },
    { VK_DOWN, 0x00500001 },
    { VK_LEFT, 0x004B0001 },
    { VK_UP, 0x00480001 },
};

const ArrowKey* ArrowOf(int keyCode)
{
    auto it = std::find_if(std::begin(kArrowKeys), std::end(kArrowKeys),
                           [&](const ArrowKey& arrow) { return arrow.keyCode == keyCode; });
    return it == std::end(kArrowKeys) ? nullptr : it;
}

// The window offset of each CustomClick direction, 1..8.
constexpr POINT kClickOffsets[] = { { 0, -1 }, { 1, -1 }, { -1, -1 }, { 1, 1 }, { -1, 1 }, { 1, 0 }, { 0, 1 }, { -1, 0 } };

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

template <typename Handler>
void RaiseKeyEvent(const Handler& handler, int KeyCode, int Shift)
{
    auto keyCode = static_cast<std::int16_t>(KeyCode);
    auto shift = static_cast<std::int16_t>(Shift);
    if (handler)
        handler(keyCode, shift);
}

std::int16_t With(std::int16_t state, std::int16_t bits) { return static_cast<std::int16_t>(state | bits); }
std::int16_t Without(std::int16_t state, std::int16_t bits) { return static_cast<std::int16_t>(state & ~bits); }

} // namespace

// ---------------------------------------------------------------------------
// [SECTION] Mouse

void gxButtons_H::UserControl_MouseDown(int Button, int Shift, double X, double Y)
{
    m_lastButton = static_cast<std::int16_t>(Button);
    if (Button == forms::vbLeftButton) {
        m_buttonState = With(m_buttonState, bsDown);
        m_showPressed = true;
        m_drawingDelayed = false;
        RedrawButton();
        SetCapture(hWnd());
    }
    RaiseMouseEvent(MouseDown, Button, Shift, X, Y);
}

void gxButtons_H::UserControl_MouseMove(int Button, int Shift, double X, double Y)
{
    if (!m_hoverTracking) {
        try {
            POINT cursor {};
            GetCursorPos(&cursor);
            if (WindowFromPoint(cursor) == hWnd()) {
                m_buttonState = With(m_buttonState, bsHover);
                bool onButton = true;
                RaiseEvent(MouseOnButton, onButton);
                StartHoverTracking();
                m_drawingDelayed = false;
                if (Button == forms::vbLeftButton)
                    m_showPressed = true;
                RedrawButton();
            }
        } catch (const host::RuntimeError&) {
        }
    }
    RaiseMouseEvent(MouseMove, Button, Shift, X, Y);
}

void gxButtons_H::UserControl_MouseUp(int Button, int Shift, double X, double Y)
{
    m_showPressed = false;
    if (Button == forms::vbLeftButton) {
        ReleaseCapture();
        m_buttonState = Without(m_buttonState, bsDown);
        m_drawingDelayed = false;
        // The other modes redraw when their Value changes.
        if (m_mode == gxCommand)
            RedrawButton();
    }
    RaiseMouseEvent(MouseUp, Button, Shift, X, Y);
    m_lastButton = static_cast<std::int16_t>(Button);
}

void gxButtons_H::UserControl_DblClick()
{
    POINT at {};
    GetCursorPos(&at);
    ScreenToClient(hWnd(), &at);
    std::int16_t button = m_lastButton;
    RaiseEvent(DoubleClick, button);
    if (m_lastButton == forms::vbLeftButton) {
        // The second press draws pressed and captures the mouse as the first did.
        UserControl_MouseDown(forms::vbLeftButton, 0, at.x, at.y);
        m_lastButton = -1;
    } else {
        // Reported as the left button, whichever made the double click.
        RaiseMouseEvent(MouseDown, forms::vbLeftButton, 0, at.x, at.y);
    }
}

void gxButtons_H::ShowHover(bool hovering)
{
    if (hovering && !m_hoverTracking) {
        m_buttonState = With(m_buttonState, bsHover);
        StartHoverTracking();
        m_drawingDelayed = false;
        RedrawButton();
    } else if (!hovering && m_hoverTracking) {
        EndHover(modGxTimer::kHoverTimerId);
    }
}

// ---------------------------------------------------------------------------
// [SECTION] Click

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

// ---------------------------------------------------------------------------
// [SECTION] Keyboard, access keys and focus

void gxButtons_H::UserControl_KeyDown(int& KeyCode, int Shift)
{
    if (const ArrowKey* arrow = ArrowOf(KeyCode)) {
        KeyCode = 0;
        PostMessageA(ContainerWindow(), WM_KEYDOWN, static_cast<WPARAM>(arrow->keyCode), arrow->lParam);
    }
    // Key repeat finds the button down already. A Space down is remembered apart
    // from bsDown, so that only its own release clicks.
    if (KeyCode == VK_SPACE && Enabled() && !(m_buttonState & bsDown)) {
        m_spaceDown = true;
        m_buttonState = With(m_buttonState, bsDown | bsHover);
        m_showPressed = true;
        m_drawingDelayed = false;
        RedrawButton();
        if (!m_hoverTracking)
            m_buttonState = Without(m_buttonState, bsHover);
    }
    if (KeyCode != 0)
        RaiseKeyEvent(KeyDown, KeyCode, Shift);
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
        m_buttonState = Without(m_buttonState, bsDown);
        m_lastButton = forms::vbLeftButton;
        m_drawingDelayed = false;
        if (m_mode == gxCommand) {
            RedrawButton();
        } else {
            RaiseKeyEvent(KeyUp, KeyCode, Shift);
            KeyCode = 0;
        }
        ClickHandler();
    } else if (ArrowOf(KeyCode)) {
        KeyCode = 0;
        // Arrowing onto an option button selects it.
        if (m_mode == gxOption && !m_value) {
            m_lastButton = forms::vbLeftButton;
            ClickHandler();
        }
    } else if (KeyCode == VK_SHIFT) {
        KeyCode = 0;
    }
    if (KeyCode != 0)
        RaiseKeyEvent(KeyUp, KeyCode, Shift);
}

void gxButtons_H::UserControl_AccessKeyPress(int KeyAscii)
{
    if (!Enabled())
        return;
    const bool enterOrEscape = KeyAscii == kEnter || KeyAscii == kEscape;
    if (enterOrEscape && m_mode != gxCommand)
        return;
    // An access key takes the focus to its button; Enter and Esc leave it where it is.
    if (!enterOrEscape)
        SetFocus();
    if (!(m_buttonState & bsDefault))
        RedrawButton();
    m_lastButton = forms::vbLeftButton;
    ClickHandler();
}

void gxButtons_H::UserControl_GotFocus()
{
    if (m_mode != gxOption || m_value)
        return;
    bool anyOn = false;
    OptionToggle(2, &anyOn);
    if (!anyOn) {
        m_lastButton = forms::vbLeftButton;
        ClickHandler();
    }
}

void gxButtons_H::UserControl_LostFocus()
{
    // A Space held while the focus leaves is let go without a click.
    if (m_spaceDown) {
        m_spaceDown = false;
        m_showPressed = false;
        m_buttonState = Without(m_buttonState, bsDown);
        m_drawingDelayed = false;
        RedrawButton();
    }
}

void gxButtons_H::OnEnabledChanged()
{
    // A disabled button lets go of a held Space and of the pointer at once.
    if (!Enabled()) {
        m_spaceDown = false;
        m_showPressed = false;
        m_buttonState = Without(m_buttonState, bsDown);
        if (m_hoverTracking)
            EndHover(modGxTimer::kHoverTimerId);
    }
    if (!m_lettingEnabled)
        RedrawButton();
}

// ---------------------------------------------------------------------------
// [SECTION] Ambient changes

void gxButtons_H::UserControl_AmbientChanged(const std::string& PropertyName)
{
    auto is = [&](std::string_view name) {
        return PropertyName.size() == name.size()
            && std::equal(name.begin(), name.end(), PropertyName.begin(), [](char a, char b) {
                   return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
               });
    };
    if (is("DisplayAsDefault")) {
        const bool showDefault = Ambient().DisplayAsDefault && (m_showFocusRect || DesignMode());
        m_buttonState = showDefault ? With(m_buttonState, bsDefault) : Without(m_buttonState, bsDefault);
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

// ---------------------------------------------------------------------------
// [SECTION] CustomClick move

bool gxButtons_H::ApplyClickOffset()
{
    if (m_customClick < 1 || m_customClick > 8 || m_mode != gxCommand || !hWnd())
        return false;
    const POINT offset = kClickOffsets[m_customClick - 1];
    RECT window {};
    GetWindowRect(hWnd(), &window);
    POINT at { window.left, window.top };
    ScreenToClient(ContainerWindow(), &at);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    const bool pressed = (m_buttonState & kPressedBits) == kPressedBits;
    if (pressed && !(m_buttonState & bsShifted)) {
        MoveWindow(hWnd(), at.x + offset.x, at.y + offset.y, width, height, TRUE);
        m_buttonState = With(m_buttonState, bsShifted);
        PrepareBuffer(false);
        forms::UserControl::Refresh();
        return true;
    }
    if ((m_buttonState & bsShifted) && !pressed) {
        MoveWindow(hWnd(), at.x - offset.x, at.y - offset.y, width, height, TRUE);
        m_buttonState = Without(m_buttonState, bsShifted);
    }
    return false;
}

// ---------------------------------------------------------------------------
// [SECTION] Drag events

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
