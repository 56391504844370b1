#pragma once

// The multi-style owner-drawn push button: eight styles, command, check-box and
// option behaviour, shaped outlines, gradients, hover colours and a picture. This
// class holds the state (its member fields), the published properties with their
// rules, the stored settings and the lifecycle; the other files of this folder
// hold the drawing pipeline (ButtonPipeline), the resources (ButtonResources), the
// faces, captions, outlines and the behaviour, each apart.
//
// The six OLE drag events are declared and forwarded from the host's events of the
// same names, but the host has no drag and drop, so none of them is ever raised.
//
// [SECTION] Events
// [SECTION] Properties
// [SECTION] Methods
// [SECTION] State, for inspection
// [SECTION] Host events
// [SECTION] Member fields

#include "controls/button/ButtonPictures.h"
#include "controls/button/ButtonPipeline.h"
#include "host/forms/StoredSettings.h"
#include "host/forms/UserControl.h"

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace korvane {

namespace button {
// The data of an OLE drag; the host makes none.
struct DataObject;
} // namespace button

class gxButtons_H : public forms::UserControl {
public:
    using OleColor = button::OleColor;

    gxButtons_H() = default;
    ~gxButtons_H() override;

    // -----------------------------------------------------------------------
    // [SECTION] Events

    // All arguments by reference: the form's handler may change them.

    std::function<void(std::int16_t& Button, std::int16_t& Shift, float& X, float& Y)> MouseDown;
    std::function<void(std::int16_t& Button, std::int16_t& Shift, float& X, float& Y)> MouseUp;
    std::function<void(std::int16_t& Button, std::int16_t& Shift, float& X, float& Y)> MouseMove;
    std::function<void(std::int16_t& KeyCode, std::int16_t& Shift)> KeyDown;
    std::function<void(std::int16_t& KeyAscii)> KeyPress;
    std::function<void(std::int16_t& KeyCode, std::int16_t& Shift)> KeyUp;
    std::function<void(bool& OnButton)> MouseOnButton;
    std::function<void()> Click;
    std::function<void(std::int16_t& Button)> DoubleClick;
    std::function<void(std::int32_t& Effect)> OLECompleteDrag;
    std::function<void(button::DataObject& Data, std::int32_t& Effect, std::int16_t& Button, std::int16_t& Shift,
                       float& X, float& Y)>
        OLEDragDrop;
    std::function<void(button::DataObject& Data, std::int32_t& Effect, std::int16_t& Button, std::int16_t& Shift,
                       float& X, float& Y, std::int16_t& State)>
        OLEDragOver;
    std::function<void(std::int32_t& Effect, bool& DefaultCursors)> OLEGiveFeedback;
    std::function<void(button::DataObject& Data, std::int16_t& DataFormat)> OLESetData;
    std::function<void(button::DataObject& Data, std::int32_t& AllowedEffects)> OLEStartDrag;

    // -----------------------------------------------------------------------
    // [SECTION] Properties

    // In published order. Lets ignore out-of-range values silently; a refusal a
    // designer should notice shows a message, at design time only.

    std::int32_t ButtonStyle() const { return m_buttonStyle; }
    void LetButtonStyle(std::int32_t style);
    std::int32_t Mode() const { return m_mode; }
    void LetMode(std::int32_t mode);
    const std::string& Caption() const { return m_caption; }
    void LetCaption(const std::string& caption);
    std::int32_t CaptionAlign() const { return m_captionAlign; }
    void LetCaptionAlign(std::int32_t align);
    std::int32_t CaptionStyle() const { return m_captionStyle; }
    void LetCaptionStyle(std::int32_t style);
    std::int32_t CustomClick() const { return m_customClick; }
    void LetCustomClick(std::int32_t direction);
    std::int32_t ButtonShape() const { return m_buttonShape; }
    void LetButtonShape(std::int32_t shape);
    const forms::PictureHandle& Picture() const { return m_picture; }
    void SetPicture(forms::PictureHandle picture);
    std::int32_t PictureAlign() const { return m_pictureAlign; }
    void LetPictureAlign(std::int32_t align);
    bool Enabled() const { return forms::UserControl::Enabled(); }
    void LetEnabled(bool enabled);
    bool ShowFocusRect() const { return m_showFocusRect; }
    void LetShowFocusRect(bool show);
    bool Value() const { return m_value; }
    void LetValue(bool value);
    std::int32_t PictureSize();
    void LetPictureSize(std::int32_t size);
    std::int32_t MousePointer() const { return forms::UserControl::MousePointer(); }
    void LetMousePointer(std::int32_t pointer);
    const forms::PictureHandle& MouseIcon() const { return forms::UserControl::MouseIcon(); }
    void SetMouseIcon(forms::PictureHandle icon);
    const forms::FontRef& Font() const { return forms::UserControl::Font(); }
    void SetFont(forms::FontRef font);
    std::int32_t FontStyle() const;
    void LetFontStyle(std::int32_t style);
    OleColor ForeColor() const { return static_cast<OleColor>(forms::UserControl::ForeColor()); }
    void LetForeColor(OleColor colour);
    OleColor BackColor() const { return m_backColor; }
    void LetBackColor(OleColor colour);
    OleColor GradientColor() const { return m_gradientColor; }
    void LetGradientColor(OleColor colour);
    std::int32_t GradientMode() const { return m_gradientMode; }
    void LetGradientMode(std::int32_t mode);
    bool ResetDefaultColors() const { return false; }
    void LetResetDefaultColors(bool reset);
    std::int32_t HoverColorLocks() const { return m_hoverColorLocks; }
    void LetHoverColorLocks(std::int32_t locks);
    OleColor HoverForeColor() const { return m_hoverForeColor; }
    void LetHoverForeColor(OleColor colour);
    OleColor HoverBackColor() const { return m_hoverBackColor; }
    void LetHoverBackColor(OleColor colour);
    HDC hdc() { return hDC(); }
    HWND hwnd() const { return hWnd(); }

    // The button's own Enabled Let also serves the host's Enabled.
    void SetEnabled(bool enabled) override;

    // -----------------------------------------------------------------------
    // [SECTION] Methods

    // Ends any batching and redraws.
    void Refresh();
    // True suspends every redraw; False ends the batch with one redraw.
    void DelayDrawing(bool delay);
    // Paints the whole button into the back buffer, copies it to the control and shows it.
    void RedrawButton();
    // The pointer rests on the button (or has left it): starts hover tracking, as a
    // move onto the button does, or ends it, as the timer does once the pointer goes.
    void ShowHover(bool hovering);
    // The hover timer's tick (modGxTimer): ends the hover once the pointer is elsewhere.
    void CheckHoverExit(std::int32_t timerId);

    // -----------------------------------------------------------------------
    // [SECTION] State, for inspection

    std::int16_t ButtonState() const { return m_buttonState; }
    bool DrawingDelayed() const { return m_drawingDelayed; }
    bool HoverTracking() const { return m_hoverTracking; }
    bool ShowPressed() const { return m_showPressed; }
    std::int16_t ImageSize() const { return m_imageSize; }
    std::int32_t PictureWidth() const { return m_pictureWidth; }
    std::int32_t PictureHeight() const { return m_pictureHeight; }
    std::int32_t PictureIsIcon() const { return m_pictureIsIcon; }
    std::int32_t FaceLeft() const { return m_faceLeft; }
    std::int32_t FaceRight() const { return m_faceRight; }
    const button::FaceColors& Colors() const { return m_colors; }
    const button::BackBuffer& Buffer() const { return m_buffer; }
    // The container's window handle as decimal text: the control's own Tag, which
    // the layout does not store (unlike the extender's Tag).
    const std::string& UserControlTag() const { return m_userControlTag; }
    // What a redraw would paint from now.
    button::ButtonLook Look() const;
    // The keys reported through PropertyChanged, in order, since the last Forget
    // (after very many, only the latest ones).
    static constexpr std::size_t kReportedKept = 256;
    const std::vector<std::string>& ReportedChanges() const { return m_reported; }
    void ForgetReportedChanges() { m_reported.clear(); }

    // The stored settings, one entry a key; loading reads them in kReadOrder, saving
    // writes them in kWriteOrder (which spells "cBhover" so).
    static const forms::StoredSettings<gxButtons_H>& Settings();
    static constexpr auto kReadOrder = std::to_array<std::string_view>({ "Caption", "CapAlign", "BackStyle", "Shape",
        "Gradient", "cGradient", "cFore", "Font", "Focus", "Mode", "Value", "CustomClick", "Image", "ImgSize",
        "ImgAlign", "cFHover", "Enabled", "cBack", "cBHover", "LockHover", "CapStyle", "mIcon", "mPointer" });
    static constexpr auto kWriteOrder = std::to_array<std::string_view>({ "Caption", "CapAlign", "BackStyle", "Shape",
        "Font", "cFore", "cFHover", "cBhover", "Focus", "LockHover", "cGradient", "Gradient", "CapStyle", "Mode",
        "Value", "CustomClick", "ImgAlign", "Image", "ImgSize", "Enabled", "cBack", "mPointer", "mIcon" });
    const forms::SettingLookup* StoredSettingsTable() const override { return &Settings(); }

    // The access key a caption gives: the character after the last marking '&'
    // ("&&" is a literal ampersand); nothing when no '&' marks one, an empty key
    // when the caption ends in the marking '&'.
    static std::optional<std::string> AccessKeyOf(const std::string& caption);

protected:
    // -----------------------------------------------------------------------
    // [SECTION] Host events

    void UserControl_Initialize() override;
    void UserControl_InitProperties() override;
    void UserControl_ReadProperties(const forms::PropertyBag& PropBag) override;
    void UserControl_WriteProperties(forms::PropertyBag& PropBag) override;
    void UserControl_Show() override;
    void UserControl_Resize() override;
    void UserControl_Paint() override;
    void UserControl_Terminate() override;
    void UserControl_AmbientChanged(const std::string& PropertyName) override;

    // Input (ButtonBehaviour.cpp).
    void UserControl_MouseDown(int Button, int Shift, double X, double Y) override;
    void UserControl_MouseMove(int Button, int Shift, double X, double Y) override;
    void UserControl_MouseUp(int Button, int Shift, double X, double Y) override;
    void UserControl_Click() override;
    void UserControl_DblClick() override;
    void UserControl_KeyDown(int& KeyCode, int Shift) override;
    void UserControl_KeyUp(int& KeyCode, int Shift) override;
    void UserControl_KeyPress(int& KeyAscii) override;
    void UserControl_AccessKeyPress(int KeyAscii) override;
    void UserControl_GotFocus() override;
    void UserControl_LostFocus() override;
    // A push button: it can be the form's default, and shows so while it has the focus.
    bool DefaultCancel() const override { return true; }
    void OnEnabledChanged() override;

    // The host's drag events, forwarded as they come.
    void UserControl_OLECompleteDrag(std::int32_t& Effect);
    void UserControl_OLEDragDrop(button::DataObject& Data, std::int32_t& Effect, std::int16_t& Button,
                                 std::int16_t& Shift, float& X, float& Y);
    void UserControl_OLEDragOver(button::DataObject& Data, std::int32_t& Effect, std::int16_t& Button,
                                 std::int16_t& Shift, float& X, float& Y, std::int16_t& State);
    void UserControl_OLEGiveFeedback(std::int32_t& Effect, bool& DefaultCursors);
    void UserControl_OLESetData(button::DataObject& Data, std::int16_t& DataFormat);
    void UserControl_OLEStartDrag(button::DataObject& Data, std::int32_t& AllowedEffects);

private:
    // Pipeline (ButtonPipeline.cpp).
    void PrepareBuffer(bool create);
    // Resources (ButtonResources.cpp): "Font", "Picture" or "BackColor".
    void RefreshResources(std::string_view which);
    // Caption and picture layout (ButtonCaption.cpp).
    void LayoutCaption(bool imageChanged);
    // The picture prepared again at w x h (ButtonPictures.cpp).
    void PreparePicture(std::int32_t w, std::int32_t h);
    // Outline (ButtonShapes.cpp).
    void BuildShapeRegion();
    // The picture outline of shapes 7 and 8 as a window region; 0 when it fails.
    HRGN PictureOutlineRegion();
    // The bitmap an outline is carved from, and its size.
    HBITMAP OutlinePicture(SIZE& size) const;
    // Option groups (ButtonGroupsAndHover.cpp): 1 join, -1 leave, 0 this one is on, 2 ask.
    void OptionToggle(std::int16_t action, bool* anyOn = nullptr);
    // Takes this button's slot out of its container's group, if it has one there.
    void LeaveOptionGroup();
    // The container's window, from the handle kept in Tag.
    HWND ContainerWindow() const;
    // Hover tracking (ButtonGroupsAndHover.cpp): the window properties and the timer.
    void StartHoverTracking();
    void EndHover(UINT_PTR timerId);
    // The click handler that the host's Click, keys and access keys reach.
    void ClickHandler();
    // The CustomClick move of a pressed command button (ButtonBehaviour.cpp); true
    // when it has just moved the window, so this redraw paints no face.
    bool ApplyClickOffset();

    bool DesignMode() const;
    void DesignMessage(const std::string& text, const std::string& title = "") const;
    void Report(std::string_view key);
    // A picture's file as the layout stores it: the name it was read under while it is
    // the picture read, else relative to the form's folder when inside it.
    std::string StoredFileOf(const std::string& key, const forms::PictureHandle& picture) const;
    // A stored picture setting as the settings table holds it, and back.
    forms::PropertyValue StoredPicture(const std::string& key, const forms::PictureHandle& picture) const;
    forms::PictureHandle LoadStoredPicture(const std::string& key, const forms::PropertyValue& value);

    // -----------------------------------------------------------------------
    // [SECTION] Member fields

    button::BackBuffer m_buffer;
    HRGN InnerFrameRegion = nullptr;
    HRGN FrameRegion = nullptr;
    std::string m_caption;
    std::int32_t m_captionAlign = 0;
    std::int32_t m_captionStyle = 0;
    std::int32_t m_buttonStyle = 0;
    std::int16_t m_buttonState = 0;
    std::int32_t m_buttonShape = 0;
    std::int32_t m_faceLeft = 0;
    std::int32_t m_faceRight = 0;
    bool m_showFocusRect = false;
    OleColor m_hoverBackColor = 0;
    OleColor m_hoverForeColor = 0;
    std::int32_t m_hoverColorLocks = 0;
    std::int32_t m_gradientMode = 0;
    OleColor m_gradientColor = 0;
    std::int32_t m_mode = 0;
    bool m_value = false;
    std::int32_t m_customClick = 0;
    forms::PictureHandle m_picture;
    std::int32_t m_pictureAlign = 0;
    std::int16_t m_imageSize = 0; // pixels; 0 reads as 16
    std::int32_t m_pictureWidth = 0;
    std::int32_t m_pictureHeight = 0;
    std::int32_t m_pictureIsIcon = 0;
    bool m_drawingDelayed = false;
    OleColor m_backColor = 0;
    std::int16_t m_lastButton = 0;
    bool m_hoverTracking = false;
    OleColor m_ambientBackColor = 0;
    bool m_showPressed = false;

    button::FaceColors m_colors;
    RECT m_captionRect {};
    RECT m_pictureRect {};
    // The picture prepared at its drawn size (PictureWork); a redraw makes it when missing.
    mutable button::PreparedPicture m_preparedPicture;

    struct PictureSource {
        std::weak_ptr<forms::StdPicture> picture;
        std::string file;
    };
    std::map<std::string, PictureSource> m_storedFiles; // by settings key
    std::string m_userControlTag;
    bool m_lettingEnabled = false;
    bool m_spaceDown = false;
    std::vector<std::string> m_reported;
};

// Makes "gxButtons_H" a control kind that layouts can place.
void RegisterGxButtons_H();

} // namespace korvane
