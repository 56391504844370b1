#pragma once

// The button's derived drawing resources, rebuilt one kind at a time by the
// control's RefreshResources (ButtonResources.cpp): the font selected into the back
// buffer, the picture's size and kind, and the face colours of the current style.
// The rules themselves are pure functions here, so a test checks them directly.

#include "controls/button/ButtonPipeline.h"
#include "host/forms/StdFont.h"

namespace korvane::button {

// The LOGFONT the buffer's font is made from: the height in pixels from the point
// size (negative: a character height, rounded half to even), weight and styles of
// the font, DEFAULT_CHARSET, and the face name's first 32 bytes (its NUL is lost
// when the name is longer than 31 bytes).
LOGFONTA ButtonLogFont(const forms::StdFont& font, std::int32_t twipsPerPixelY);

// The face colours of a style from BackColor and HoverBackColor, both translated.
FaceColors ComputeFaceColors(std::int32_t buttonStyle, OleColor backColor, OleColor hoverBackColor);

struct PictureMetrics {
    std::int32_t width = 0; // of the bitmap, or of an icon's colour bitmap
    std::int32_t height = 0;
    std::int32_t isIcon = 0;
};

// The size and kind of a picture's handle; an icon without a colour bitmap keeps
// `previousIsIcon` and has no size.
PictureMetrics ReadPictureMetrics(HANDLE picture, std::int32_t previousIsIcon);

} // namespace korvane::button
