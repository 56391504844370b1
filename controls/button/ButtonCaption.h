#pragma once

// The caption layer: where the caption and the picture go (LayoutCaption) and how
// they are drawn over the face: the picture first, then the text, flat, embossed or
// engraved, in the hover colour under the pointer and shadowed when disabled. Text
// goes to DrawTextA as the code page's bytes, measured and drawn alike.

#include "controls/button/ButtonPipeline.h"

#include <string>

namespace korvane::button {

// The caption as DrawTextA takes it: "||" becomes a line break.
std::string CaptionText(std::string_view caption);

struct CaptionLayout {
    RECT CaptionRect {};
    RECT PictureRect {};
    bool ImageChanged = false; // the picture must be prepared again at PictureRect's size
};

// Where look's caption and picture go on its face, the text measured with the font
// selected into `dc`. Sizes 40 and 48 always ask for the picture to be prepared again.
CaptionLayout LayoutCaption(const ButtonLook& look, HDC dc, bool imageChanged);

// Draws the picture, then the caption in look.CaptionRect on the face colour; capColor is the caption
// colour a face asks for (-1: the usual one). Clears `checkable` where a disabled
// caption is drawn with a white shadow.
void DrawCaption(const ButtonLook& look, BackBuffer& buffer, OleColor faceColor, OleColor capColor, bool valueOn,
                 bool& checkable);

} // namespace korvane::button
