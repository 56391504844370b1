#pragma once

// The caption layer: where the caption goes (the control's LayoutCaption, in
// ButtonCaption.cpp) and how it is drawn over the face, flat, embossed or engraved,
// in the hover colour under the pointer and shadowed when disabled. The picture
// takes its place in this layer, before the text, once pictures are drawn.

#include "controls/button/ButtonPipeline.h"

#include <string>

namespace korvane::button {

// The caption as DrawTextA takes it: "||" becomes a line break.
std::string CaptionText(std::string_view caption);

// Draws the caption in look.CaptionRect on the face colour; capColor is the caption
// colour a face asks for (-1: the usual one). Clears `checkable` where a disabled
// caption is drawn with a white shadow.
void DrawCaption(const ButtonLook& look, BackBuffer& buffer, OleColor faceColor, OleColor capColor, bool valueOn,
                 bool& checkable);

} // namespace korvane::button
