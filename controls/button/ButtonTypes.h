#pragma once

// The button's vocabulary: its enumerations with their gx names, the bs bits of
// ButtonState, the colours it starts from, and the designer's help strings. Every
// other file of the button includes this one and nothing of the control class.

#include "host/gdi/OleColor.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace korvane::button {

// A Long colour: an OLE colour (bit 31 set names a system colour) where a property
// holds it, an RGB value 0x00BBGGRR once translated; -1 means "none" where a
// drawing helper allows it.
using OleColor = std::int32_t;

// The plain colours faces, outlines and pictures draw with.
inline constexpr OleColor kBlack = 0x000000;
inline constexpr OleColor kGrey = 0x808080;
inline constexpr OleColor kWhite = 0xFFFFFF;

inline constexpr OleColor kButtonFace = static_cast<OleColor>(gdi::SystemColour(COLOR_BTNFACE));
inline constexpr OleColor kButtonText = static_cast<OleColor>(gdi::SystemColour(COLOR_BTNTEXT));

enum ButtonStyles : std::int32_t {
    gxStyleStandard = 0,
    gxStyleFramed = 1,
    gxStyleRounded = 2,
    gxStyleFlatFrame = 3,
    gxStyleThin = 4,
    gxStyleHover = 5,
    gxStyleLight = 6,
    gxStyleInverse = 7,
};

enum ButtonModes : std::int32_t { gxCommand = 0, gxCheckBox = 1, gxOption = 2 };

enum CaptionAligns : std::int32_t { gxAlignLeft = 0, gxAlignRight = 1, gxAlignCenter = 2 };

enum CaptionStyles : std::int32_t { gxFlat = 0, gxEmbossed = 1, gxEngraved = 2 };

enum PictureAligns : std::int32_t {
    gxPicLeftEdge = 0,
    gxPicLeftOfCaption = 1,
    gxPicRightEdge = 2,
    gxPicRightOfCaption = 3,
    gxPicTop = 4,
    gxPicBottom = 5,
};

enum GradientModes : std::int32_t {
    gxNoGradient = 0,
    gxGradientLeftToRight = 1,
    gxGradientRightToLeft = 2,
    gxGradientTopToBottom = 3,
    gxGradientBottomToTop = 4,
};

// Which hover colour follows its normal colour.
enum HoverColorLockModes : std::int32_t { gxLockBoth = 0, gxLockFore = 1, gxLockBack = 2, gxLockNone = 3 };

// Bits of the 16-bit ButtonState.
enum ButtonStateBits : std::int16_t {
    bsDefault = 0x0001, // drawn as the container's default button
    bsDown = 0x0002,    // held by the left mouse button or Space
    bsHover = 0x0004,   // the pointer is over the control
    bsShifted = 0x0400, // the window is moved by the CustomClick offset
};

// Pressed: down and hovering, both at once.
inline constexpr std::int16_t kPressedBits = bsDown | bsHover;

// Bits of FontStyle.
enum FontStyleBits : std::int32_t { kFontBold = 2, kFontItalic = 4, kFontUnderline = 8 };

// ButtonShape values without names of their own: 0 rectangle, 1..3 slanted edges,
// 4..6 ovals, 7 and 8 the picture's outline.
inline constexpr std::int32_t kLastRectangularShape = 3;
inline constexpr std::int32_t kFirstPictureShape = 7;

// MousePointer 99: the MouseIcon.
inline constexpr std::int32_t kCustomPointer = 99;

// The designer's description of each property, in the order the control publishes them.
struct PropertyDescription {
    std::string_view name;
    std::string_view description;
};

inline constexpr std::array<PropertyDescription, 25> kPropertyDescriptions { {
    { "ButtonStyle", "Various operating system button styles" },
    { "Mode", "Command button, check box or option button mode" },
    { "Caption", "The caption of the button. Double pipe (||) is a line break." },
    { "CaptionAlign", "Horizontal alignment of caption on the button." },
    { "CaptionStyle", "Flat, Embossed or Engraved effects" },
    { "CustomClick", "Custom shaped buttons only. Moves the button vs the traditional click effect." },
    { "ButtonShape", "Rectangular or various diagonal shapes" },
    { "Picture", "The image used to display on the button." },
    { "PictureAlign", "Alignment of the button image in relation to the caption and/or button." },
    { "Enabled", "Determines if events are fired for this button." },
    { "ShowFocusRect", "Allows or prevents a focus rectangle from being displayed. In design mode, this may always be "
                       "displayed for button set as Default." },
    { "Value", "Applicable to only check box or option button modes: True or False" },
    { "PictureSize", "Various sizes for images used on buttons. Last 2 options center image automatically." },
    { "MousePointer", "Various optional mouse pointers to use when mouse is over the button" },
    { "MouseIcon", "Icon or cursor used to display when mouse is over the button. MousePointer must be set to Custom." },
    { "Font", "Font used to display the caption." },
    { "FontStyle", "Various font attributes that can be changed directly." },
    { "ForeColor", "The color of the caption's font ." },
    { "BackColor", "Button back color. See also ResetDefaultColors" },
    { "GradientColor", "Secondary color used for gradient shades. The BackColor property is the primary color." },
    { "GradientMode", "Various directions to draw the gradient shading." },
    { "ResetDefaultColors", "Resets button's back color and text color to Window's standard. The hover properties are "
                            "also reset." },
    { "HoverColorLocks", "Can ensure the hover colors match the caption and back colors. Click for more options." },
    { "HoverForeColor", "Color of button caption's text when mouse is hovering over it. Affects the HoverLockColors "
                        "property." },
    { "HoverBackColor", "Color of button background when mouse is hovering over it. Affects the HoverLockColors "
                        "property." },
} };

// The help string of a published property; empty for any other name.
constexpr std::string_view DescriptionOf(std::string_view property)
{
    for (const PropertyDescription& entry : kPropertyDescriptions)
        if (entry.name == property)
            return entry.description;
    return {};
}

} // namespace korvane::button
