// The button control: its property rules, its stored settings and its lifecycle.
//
// [SECTION] Properties
// [SECTION] Methods
// [SECTION] Stored settings and lifecycle
// [SECTION] Helpers

#include "controls/button/gxButtons_H.h"

#include "controls/button/modGxTimer.h"
#include "host/forms/Form.h"
#include "host/forms/HostServices.h"
#include "host/runtime/RuntimeError.h"
#include "host/runtime/Utf8.h"

#include <cstdint>

namespace korvane {

using namespace button;

namespace {

bool InRange(std::int32_t value, std::int32_t low, std::int32_t high) { return value >= low && value <= high; }

// A lock value whose hover fore colour follows ForeColor, or whose hover back colour
// follows the face.
bool ForeLocked(std::int32_t locks) { return locks == gxLockBoth || locks == gxLockFore; }
bool BackLocked(std::int32_t locks) { return locks == gxLockBoth || locks == gxLockBack; }

// Runs a step whose run-time errors are ignored, as the end of ReadProperties does.
template <typename Step>
void IgnoringErrors(Step&& step)
{
    try {
        step();
    } catch (const host::RuntimeError&) {
    }
}

} // namespace

gxButtons_H::~gxButtons_H()
{
    UserControl_Terminate();
    // Unregistering on destruction: the container's slots never keep a button that is gone.
    if (m_mode == gxOption)
        LeaveOptionGroup();
}

// ---------------------------------------------------------------------------
// [SECTION] Properties

void gxButtons_H::LetButtonStyle(std::int32_t style)
{
    if (!InRange(style, gxStyleStandard, gxStyleInverse))
        return;
    const std::int32_t old = m_buttonStyle;
    m_buttonStyle = style;
    // Style 5 draws no outline at rest, and the rectangular shapes trim corners by style.
    if (m_buttonShape <= kLastRectangularShape || ((old == gxStyleHover || style == gxStyleHover) && m_buttonShape <= 6))
        BuildShapeRegion();
    LayoutCaption(false);
    RefreshResources("BackColor");
    RedrawButton();
    Report("BackStyle");
}

void gxButtons_H::LetMode(std::int32_t mode)
{
    if (!InRange(mode, gxCommand, gxOption))
        return;
    if (m_mode == gxOption && mode != gxOption)
        OptionToggle(-1);
    if (mode == gxOption && m_mode != gxOption)
        OptionToggle(1);
    if (mode == gxCommand && m_mode != gxCommand)
        LetValue(false);
    m_mode = mode;
    RedrawButton();
    Report("Mode");
}

std::optional<std::string> gxButtons_H::AccessKeyOf(const std::string& caption)
{
    std::optional<std::string> key;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] != '&')
            continue;
        if (i + 1 < caption.size() && caption[i + 1] == '&') {
            ++i;
            continue;
        }
        std::size_t next = i + 1;
        if (next < caption.size())
            host::DecodeUtf8(caption, next);
        key = caption.substr(i + 1, next - (i + 1));
    }
    return key;
}

void gxButtons_H::LetCaption(const std::string& caption)
{
    if (std::optional<std::string> key = AccessKeyOf(caption))
        SetAccessKeys(*key);
    m_caption = caption;
    LayoutCaption(false);
    RedrawButton();
    Report("Caption");
}

void gxButtons_H::LetCaptionAlign(std::int32_t align)
{
    if (!InRange(align, gxAlignLeft, gxAlignCenter))
        return;
    const bool noPicture = m_pictureWidth + m_pictureHeight < 1;
    if (align == gxAlignCenter || m_pictureAlign < gxPicTop || noPicture) {
        m_captionAlign = align;
        LayoutCaption(false);
        RedrawButton();
        Report("CapAlign");
    } else {
        DesignMessage("When button images are aligned top/bottom center, \r\nbutton captions can only be center aligned");
    }
}

void gxButtons_H::LetCaptionStyle(std::int32_t style)
{
    if (!InRange(style, gxFlat, gxEngraved))
        return;
    m_captionStyle = style;
    Report("CapStyle");
    if (!m_caption.empty()) {
        LayoutCaption(false);
        RedrawButton();
    }
}

void gxButtons_H::LetCustomClick(std::int32_t direction)
{
    if (!InRange(direction, 0, 8))
        return;
    if (m_buttonShape < kFirstPictureShape && direction > 0)
        DesignMessage("This property has no effect unless the Button Shape is a custom shape.");
    m_customClick = direction;
    Report("CustomClick");
}

void gxButtons_H::LetButtonShape(std::int32_t shape)
{
    if (!InRange(shape, 0, 8))
        return;
    if (shape >= kFirstPictureShape) {
        if (!m_picture || m_pictureIsIcon == 1) {
            DesignMessage("The Picture Property must be assigned first and must be a bitmap or JPEG.");
            return;
        }
        if (PictureSize() != 4) {
            DelayDrawing(true);
            LetPictureSize(4);
            m_drawingDelayed = false;
        }
    }
    m_buttonShape = shape;
    m_captionAlign = gxAlignCenter;
    UserControl_Resize();
    DelayDrawing(false);
    Report("Shape");
}

void gxButtons_H::SetPicture(forms::PictureHandle picture)
{
    m_picture = std::move(picture);
    if (m_imageSize == 0)
        m_imageSize = 16;
    RefreshResources("Picture");
    if (m_buttonShape < kFirstPictureShape) {
        LayoutCaption(true);
        RedrawButton();
    } else {
        if (!m_picture) {
            LetButtonShape(0);
        } else if (m_pictureIsIcon == 1) {
            LetButtonShape(0);
            DesignMessage("Icons cannot be used for custom buttons. Only use bitmaps or JPEGs.\r\n"
                          "Button was changed to Rectangular shaped.");
        }
        UserControl_Resize();
    }
    Report("Image");
}

void gxButtons_H::LetPictureAlign(std::int32_t align)
{
    if (!InRange(align, gxPicLeftEdge, gxPicBottom))
        return;
    m_pictureAlign = align;
    if (align == gxPicTop || align == gxPicBottom)
        LetCaptionAlign(gxAlignCenter);
    LayoutCaption(false);
    RedrawButton();
    Report("ImgAlign");
}

void gxButtons_H::LetEnabled(bool enabled)
{
    if (enabled == Enabled())
        return;
    m_lettingEnabled = true;
    forms::UserControl::SetEnabled(enabled);
    m_lettingEnabled = false;
    // Style 3 trims its corners only while enabled, so its outline changes too.
    if (m_buttonStyle == gxStyleFlatFrame && m_mode == gxCommand && m_buttonShape <= kLastRectangularShape) {
        DelayDrawing(true);
        BuildShapeRegion();
        LayoutCaption(false);
        DelayDrawing(false);
    } else {
        RedrawButton();
    }
    Report("Enabled");
}

void gxButtons_H::SetEnabled(bool enabled) { LetEnabled(enabled); }

void gxButtons_H::LetShowFocusRect(bool show)
{
    m_showFocusRect = show;
    if (m_buttonState & bsDefault) {
        if (!DesignMode()) {
            m_buttonState = static_cast<std::int16_t>(m_buttonState & ~bsDefault);
            RedrawButton();
        } else {
            DesignMessage("The focus rectangle may appear on default buttons ONLY while in design mode, \r\n"
                          "but will not appear when the form is running.");
        }
    } else {
        RedrawButton();
    }
    Report("Focus");
}

void gxButtons_H::LetValue(bool value)
{
    if (m_mode == gxCommand && value) {
        DesignMessage("This property is not applicable for command button modes.");
        return;
    }
    m_value = value;
    if (value && m_mode == gxOption)
        OptionToggle(0);
    RedrawButton();
    Report("Value");
}

std::int32_t gxButtons_H::PictureSize()
{
    if (m_imageSize == 0)
        m_imageSize = 16;
    switch (m_imageSize) {
    case 24: return 1;
    case 32: return 2;
    case 40: return 3;
    case 48: return 4;
    default: return 0;
    }
}

void gxButtons_H::LetPictureSize(std::int32_t size)
{
    if (!InRange(size, 0, 4))
        return;
    if (m_buttonShape < kFirstPictureShape) {
        m_imageSize = static_cast<std::int16_t>((size + 2) * 8);
        LayoutCaption(true);
        RedrawButton();
        Report("ImgSize");
    } else {
        DesignMessage("The picture size cannot be changed for Shaped buttons");
    }
}

void gxButtons_H::LetMousePointer(std::int32_t pointer)
{
    forms::UserControl::SetMousePointer(pointer);
    Report("mPointer");
}

void gxButtons_H::SetMouseIcon(forms::PictureHandle icon)
{
    try {
        const bool assigned = icon != nullptr;
        forms::UserControl::SetMouseIcon(std::move(icon));
        if (assigned) {
            LetMousePointer(kCustomPointer);
            Report("mIcon");
        }
    } catch (const host::RuntimeError& refusal) {
        DesignMessage(refusal.Description(), "Select .ico Or .cur Files Only");
    }
}

void gxButtons_H::SetFont(forms::FontRef font)
{
    forms::UserControl::SetFont(std::move(font));
    RefreshResources("Font");
    LayoutCaption(false);
    RedrawButton();
    Report("Font");
}

std::int32_t gxButtons_H::FontStyle() const
{
    const forms::FontRef& font = Font();
    if (!font)
        return 0;
    return (font->Bold() ? kFontBold : 0) + (font->Italic() ? kFontItalic : 0) + (font->Underline() ? kFontUnderline : 0);
}

void gxButtons_H::LetFontStyle(std::int32_t style)
{
    if (const forms::FontRef& font = Font()) {
        font->SetBold((style & kFontBold) != 0);
        font->SetItalic((style & kFontItalic) != 0);
        font->SetUnderline((style & kFontUnderline) != 0);
    }
    RefreshResources("Font");
    LayoutCaption(false);
    Report("Font");
    RedrawButton();
}

void gxButtons_H::LetForeColor(OleColor colour)
{
    if (colour == ForeColor())
        return;
    forms::UserControl::SetForeColor(static_cast<std::uint32_t>(colour));
    if (ForeLocked(m_hoverColorLocks))
        LetHoverForeColor(colour);
    m_drawingDelayed = false;
    RedrawButton();
    Report("cFore");
}

void gxButtons_H::LetBackColor(OleColor colour)
{
    m_backColor = colour;
    if (BackLocked(m_hoverColorLocks))
        LetHoverBackColor(m_gradientMode != gxNoGradient ? m_gradientColor : colour);
    RefreshResources("BackColor");
    RedrawButton();
    Report("cBack");
}

void gxButtons_H::LetGradientColor(OleColor colour)
{
    if (BackLocked(m_hoverColorLocks) && m_gradientMode > gxNoGradient)
        m_hoverBackColor = colour;
    m_gradientColor = colour;
    RefreshResources("BackColor");
    if (m_gradientMode != gxNoGradient)
        RedrawButton();
    Report("cGradient");
}

void gxButtons_H::LetGradientMode(std::int32_t mode)
{
    if (!InRange(mode, gxNoGradient, gxGradientBottomToTop))
        return;
    m_gradientMode = mode;
    if (BackLocked(m_hoverColorLocks)) {
        m_hoverBackColor = mode == gxNoGradient ? m_backColor : m_gradientColor;
        RefreshResources("BackColor");
    }
    RedrawButton();
    Report("Gradient");
}

void gxButtons_H::LetResetDefaultColors(bool reset)
{
    if (!reset || !DesignMode())
        return;
    DelayDrawing(true);
    m_backColor = kButtonFace;
    LetForeColor(kButtonText);
    LetGradientColor(kButtonFace);
    LetGradientMode(gxNoGradient);
    LetHoverColorLocks(gxLockBoth);
    RefreshResources("BackColor");
    DelayDrawing(false);
    Report("cGradient");
    Report("cBack");
}

void gxButtons_H::LetHoverColorLocks(std::int32_t locks)
{
    m_hoverColorLocks = locks;
    if (BackLocked(locks)) {
        m_hoverBackColor = m_gradientMode != gxNoGradient ? m_gradientColor : m_backColor;
        Report("cBHover");
    }
    if (ForeLocked(locks)) {
        m_hoverForeColor = ForeColor();
        Report("cFHover");
    }
    RefreshResources("BackColor");
    Report("LockHover");
}

void gxButtons_H::LetHoverForeColor(OleColor colour)
{
    if (colour == m_hoverForeColor)
        return;
    m_hoverForeColor = colour;
    Report("cFHover");
    if (colour != ForeColor()) {
        if (m_hoverColorLocks == gxLockBoth)
            m_hoverColorLocks = gxLockBack;
        else if (m_hoverColorLocks == gxLockFore)
            m_hoverColorLocks = gxLockNone;
    }
    Report("cFHover");
}

void gxButtons_H::LetHoverBackColor(OleColor colour)
{
    if (colour == m_hoverBackColor)
        return;
    m_hoverBackColor = colour;
    // Compared with BackColor even while a gradient is active.
    if (colour != m_backColor) {
        if (m_hoverColorLocks == gxLockBoth)
            m_hoverColorLocks = gxLockFore;
        else if (m_hoverColorLocks == gxLockBack)
            m_hoverColorLocks = gxLockNone;
    }
    RefreshResources("BackColor");
    Report("cBHover");
}

// ---------------------------------------------------------------------------
// [SECTION] Methods

void gxButtons_H::Refresh()
{
    m_drawingDelayed = false;
    RedrawButton();
}

void gxButtons_H::DelayDrawing(bool delay)
{
    m_drawingDelayed = delay;
    if (!delay)
        Refresh();
}

// ---------------------------------------------------------------------------
// [SECTION] Stored settings and lifecycle

namespace {

constexpr std::int32_t kDefaultImageSize = 16;

// Colours as the bag holds them: the OLE value's 32 bits, unsigned.
std::uint32_t Unsigned(OleColor colour) { return static_cast<std::uint32_t>(colour); }

std::string HandleText(HWND hwnd) { return std::to_string(reinterpret_cast<std::uintptr_t>(hwnd)); }

// Table parts of the button's own.
using Button = gxButtons_H;
using Setting = forms::PropertyValue;

auto FixedColour(OleColor colour) { return forms::Fixed(Unsigned(colour)); }

// A colour property's Get as the value stored.
forms::StoredSetting<Button>::Compute ColourOf(OleColor (Button::*get)() const)
{
    return [get](const Button& button) { return forms::SettingValue(Unsigned((button.*get)())); };
}

// Reading stores the value in the field, with no check, redraw or report.
template <typename Field>
forms::StoredSetting<Button>::Apply Store(Field Button::*field)
{
    return [field](Button& button, const Setting& value) { button.*field = forms::FromSetting<Field>(value); };
}

} // namespace

const forms::StoredSettings<gxButtons_H>& gxButtons_H::Settings()
{
    using enum forms::SettingType;
    using forms::Fixed, forms::Getter, forms::Setter;
    const auto nothing = Fixed(std::monostate {});
    static const forms::StoredSettings<Button> table {
        // key, type, read default, write default, get, let, read
        { "Caption", Text, Fixed(""), Fixed(""), Getter(&Button::Caption), Setter(&Button::LetCaption),
          Store(&Button::m_caption) },
        { "CapAlign", Integer, Fixed(gxAlignCenter), Fixed(gxAlignCenter), Getter(&Button::CaptionAlign),
          Setter(&Button::LetCaptionAlign), Store(&Button::m_captionAlign) },
        { "BackStyle", Integer, Fixed(0), Fixed(0), Getter(&Button::ButtonStyle), Setter(&Button::LetButtonStyle),
          Store(&Button::m_buttonStyle) },
        { "Shape", Integer, Fixed(0), Fixed(0), Getter(&Button::ButtonShape), Setter(&Button::LetButtonShape),
          Store(&Button::m_buttonShape) },
        { "Gradient", Integer, Fixed(0), Fixed(0), Getter(&Button::GradientMode), Setter(&Button::LetGradientMode),
          Store(&Button::m_gradientMode) },
        { "cGradient", Colour, FixedColour(kButtonFace), FixedColour(kButtonFace), ColourOf(&Button::GradientColor),
          Setter(&Button::LetGradientColor), Store(&Button::m_gradientColor) },
        { "cFore", Colour, FixedColour(kButtonText), FixedColour(kButtonText), ColourOf(&Button::ForeColor),
          Setter(&Button::LetForeColor),
          [](Button& button, const Setting& value) {
              button.forms::UserControl::SetForeColor(forms::FromSetting<std::uint32_t>(value));
          } },
        { "Font", Font, [](const Button& button) { return forms::SettingValue(button.Font()); }, nothing,
          [](const Button& button) { return button.Font() ? forms::SettingValue(button.Font()) : Setting(); },
          Setter(&Button::SetFont),
          [](Button& button, const Setting& value) {
              button.forms::UserControl::SetFont(forms::FromSetting<forms::FontRef>(value));
          } },
        { "Focus", Boolean, Fixed(true), Fixed(true), Getter(&Button::ShowFocusRect), Setter(&Button::LetShowFocusRect),
          Store(&Button::m_showFocusRect) },
        { "Mode", Integer, Fixed(gxCommand), nothing, Getter(&Button::Mode), Setter(&Button::LetMode),
          Store(&Button::m_mode) },
        { "Value", Boolean, Fixed(false), nothing, Getter(&Button::Value), Setter(&Button::LetValue),
          Store(&Button::m_value) },
        { "CustomClick", Integer, Fixed(0), Fixed(0), Getter(&Button::CustomClick), Setter(&Button::LetCustomClick),
          Store(&Button::m_customClick) },
        { "Image", Picture, nothing, nothing,
          [](const Button& button) { return button.StoredPicture("Image", button.m_picture); },
          [](Button& button, const Setting& value) { button.SetPicture(button.LoadStoredPicture("Image", value)); },
          [](Button& button, const Setting& value) { button.m_picture = button.LoadStoredPicture("Image", value); } },
        // Pixels, where PictureSize takes the index of a size.
        { "ImgSize", Integer, Fixed(kDefaultImageSize), Fixed(kDefaultImageSize), Getter(&Button::ImageSize),
          [](Button& button, const Setting& value) { button.LetPictureSize(forms::FromSetting<std::int32_t>(value) / 8 - 2); },
          Store(&Button::m_imageSize) },
        { "ImgAlign", Integer, Fixed(gxPicLeftEdge), Fixed(gxPicLeftEdge), Getter(&Button::PictureAlign),
          Setter(&Button::LetPictureAlign), Store(&Button::m_pictureAlign) },
        { "cFHover", Colour, FixedColour(kButtonText), FixedColour(kButtonText), ColourOf(&Button::HoverForeColor),
          Setter(&Button::LetHoverForeColor), Store(&Button::m_hoverForeColor) },
        { "Enabled", Boolean, Fixed(true), Fixed(true), Getter(&Button::Enabled), Setter(&Button::LetEnabled),
          [](Button& button, const Setting& value) { button.forms::UserControl::SetEnabled(std::get<bool>(value)); } },
        { "cBack", Colour,
          [](const Button& button) {
              return forms::SettingValue(button.ParentForm() ? button.ParentForm()->BackColor() : Unsigned(kButtonFace));
          },
          nothing, ColourOf(&Button::BackColor), Setter(&Button::LetBackColor), Store(&Button::m_backColor) },
        // Read after "cBack": it defaults to the BackColor just read.
        { "cBHover", Colour, ColourOf(&Button::BackColor), ColourOf(&Button::BackColor),
          ColourOf(&Button::HoverBackColor), Setter(&Button::LetHoverBackColor), Store(&Button::m_hoverBackColor) },
        { "LockHover", Integer, Fixed(gxLockBoth), Fixed(gxLockBoth), Getter(&Button::HoverColorLocks),
          Setter(&Button::LetHoverColorLocks), Store(&Button::m_hoverColorLocks) },
        { "CapStyle", Integer, Fixed(gxFlat), Fixed(gxFlat), Getter(&Button::CaptionStyle),
          Setter(&Button::LetCaptionStyle), Store(&Button::m_captionStyle) },
        // Read through the property, so a stored icon sets the custom pointer; written
        // only for an icon with a handle.
        { "mIcon", Picture, [](const Button& button) { return button.StoredPicture("mIcon", button.MouseIcon()); },
          nothing,
          [](const Button& button) {
              const forms::PictureHandle& icon = button.MouseIcon();
              return icon && icon->Handle() ? button.StoredPicture("mIcon", icon) : Setting();
          },
          [](Button& button, const Setting& value) { button.SetMouseIcon(button.LoadStoredPicture("mIcon", value)); } },
        { "mPointer", Integer, Fixed(forms::vbDefault), Fixed(forms::vbDefault), Getter(&Button::MousePointer),
          Setter(&Button::LetMousePointer) },
    };
    return table;
}

void gxButtons_H::UserControl_Initialize() { SetScaleMode(forms::vbPixels); }

void gxButtons_H::UserControl_InitProperties()
{
    m_userControlTag = HandleText(ContainerHwnd());
    const forms::AmbientProperties ambient = Ambient();
    m_caption = ambient.DisplayName;
    m_captionAlign = gxAlignCenter;
    m_showFocusRect = true;
    m_hoverBackColor = kButtonFace;
    m_hoverForeColor = kButtonText;
    // The host has no MDI forms, so the parent's font is always taken. A copy: the
    // font styles set on the button must not reach the form's own font.
    IgnoringErrors([&] {
        if (ambient.Font)
            forms::UserControl::SetFont(std::make_shared<forms::StdFont>(*ambient.Font));
    });
    m_ambientBackColor = TranslateColor(static_cast<OleColor>(ambient.BackColor));
    m_backColor = kButtonFace;
    RefreshResources("BackColor");
    for (const char* key : { "Caption", "CapAlign", "Focus", "cFHover", "cBHover", "Font" })
        Report(key);
}

void gxButtons_H::UserControl_ReadProperties(const forms::PropertyBag& PropBag)
{
    m_userControlTag = HandleText(ContainerHwnd());
    m_ambientBackColor = TranslateColor(static_cast<OleColor>(Ambient().BackColor));
    DelayDrawing(true);
    Settings().Read(*this, PropBag, kReadOrder);

    IgnoringErrors([&] { RefreshResources("Picture"); });
    IgnoringErrors([&] { RefreshResources("BackColor"); });
    IgnoringErrors([&] { LetCaption(m_caption); });
    if (m_mode == gxOption)
        IgnoringErrors([&] { OptionToggle(1); });
    m_drawingDelayed = false;
    IgnoringErrors([&] { UserControl_Resize(); });
}

void gxButtons_H::UserControl_WriteProperties(forms::PropertyBag& PropBag)
{
    Settings().Write(*this, PropBag, kWriteOrder);
}

void gxButtons_H::UserControl_Show()
{
    if (DesignMode() && m_showFocusRect && Ambient().DisplayAsDefault) {
        m_buttonState = static_cast<std::int16_t>(m_buttonState | bsDefault);
        RedrawButton();
    }
}

void gxButtons_H::UserControl_Resize()
{
    if (m_buffer.BufferDC) {
        DeleteObject(SelectObject(m_buffer.BufferDC, m_buffer.BufferOldBitmap));
        m_buffer.BufferOldBitmap = nullptr;
    }
    PrepareBuffer(true);
    if (!m_drawingDelayed) {
        BuildShapeRegion();
        LayoutCaption(false);
        RedrawButton();
    }
}

void gxButtons_H::UserControl_Paint()
{
    m_drawingDelayed = false;
    RedrawButton();
}

void gxButtons_H::UserControl_Terminate()
{
    if (m_hoverTracking && hWnd()) {
        KillTimer(hWnd(), modGxTimer::kHoverTimerId);
        m_hoverTracking = false;
    }
    for (HRGN* region : { &InnerFrameRegion, &FrameRegion }) {
        if (*region)
            DeleteObject(*region);
        *region = nullptr;
    }
    if (HDC dc = m_buffer.BufferDC) {
        ReleaseDrawingTools(m_buffer);
        DeleteObject(SelectObject(dc, m_buffer.BufferOldFont));
        DeleteObject(SelectObject(dc, m_buffer.BufferOldBitmap));
        DeleteDC(dc);
        m_buffer = BackBuffer {};
    }
    ReleasePicture(m_preparedPicture);
}

// ---------------------------------------------------------------------------
// [SECTION] Helpers

bool gxButtons_H::DesignMode() const { return ParentForm() && !ParentForm()->UserMode(); }

void gxButtons_H::DesignMessage(const std::string& text, const std::string& title) const
{
    if (DesignMode())
        forms::MsgBox(text, forms::vbInformation, title);
}

void gxButtons_H::Report(std::string_view key)
{
    PropertyChanged(key);
    // A program that runs for days changes Enabled without end: keep the recent keys only.
    if (m_reported.size() >= kReportedKept)
        m_reported.erase(m_reported.begin(), m_reported.begin() + kReportedKept / 2);
    m_reported.emplace_back(key);
}

std::string gxButtons_H::StoredFileOf(const std::string& key, const forms::PictureHandle& picture) const
{
    if (auto it = m_storedFiles.find(key); it != m_storedFiles.end() && it->second.picture.lock() == picture)
        return it->second.file;
    std::filesystem::path file = picture->File();
    if (const forms::Form* form = ParentForm(); form && !form->ResourceFolder().empty() && !file.empty()) {
        std::filesystem::path relative = file.lexically_relative(form->ResourceFolder());
        if (!relative.empty() && *relative.begin() != "..")
            file = relative;
    }
    return file.generic_string();
}

forms::PropertyValue gxButtons_H::StoredPicture(const std::string& key, const forms::PictureHandle& picture) const
{
    if (!picture)
        return {};
    return forms::PictureRef { StoredFileOf(key, picture) };
}

forms::PictureHandle gxButtons_H::LoadStoredPicture(const std::string& key, const forms::PropertyValue& value)
{
    const auto* stored = std::get_if<forms::PictureRef>(&value);
    if (!stored)
        return nullptr;
    // A picture whose file cannot be loaded stays stored by name, so saving the layout
    // again keeps it; it has no handle and draws nothing.
    const std::filesystem::path folder = ParentForm() ? ParentForm()->ResourceFolder() : std::filesystem::path();
    auto picture = std::make_shared<forms::StdPicture>();
    picture->LoadFile(folder / stored->file);
    m_storedFiles[key] = PictureSource { picture, stored->file };
    return picture;
}

void RegisterGxButtons_H()
{
    forms::ControlRegistry::Register("gxButtons_H", [] { return std::make_unique<gxButtons_H>(); });
}

} // namespace korvane
