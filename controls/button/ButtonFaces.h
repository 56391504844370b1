#pragma once

// The face painters: one per ButtonStyle, each painting the whole face into the
// back buffer in the same layer order (background, caption and picture, edges,
// style extras, focus mark), and the two engines they share: DrawBevel, which draws
// up to three rings of 1-pixel edges from a table of twelve colours, and
// DrawFocusMark. A style is therefore mostly a table of edge colours by face state.

#include "controls/button/ButtonPipeline.h"

namespace korvane::button {

// Paints the face of look.ButtonStyle; a style outside 0..7 paints nothing and
// leaves DrawCode 0, so the previous image stays.
void PaintFace(const ButtonLook& look, BackBuffer& buffer, RedrawWork& work);

// Fills work.EdgePoints for the shape and draws the rings in work.EdgeColors
// (indices 1..4 inner, 5..8 middle, 9..12 outer; each left, top, right, bottom).
// A negative colour leaves its edge undrawn. outerPenStyle >= 0 is the pen style
// of the outer ring; -1 keeps it solid.
void DrawBevel(const ButtonLook& look, BackBuffer& buffer, RedrawWork& work, std::int32_t outerPenStyle);

// The focus mark of the default look: along the slanted edges of a diagonal shape,
// else a rectangle round the caption (aroundCaption) or inside the face, dotted or
// solid. Nothing without bsDefault. Overwrites work.EdgePoints 0..4 on diagonal shapes.
void DrawFocusMark(const ButtonLook& look, BackBuffer& buffer, RedrawWork& work, OleColor colour, bool solid,
                   bool aroundCaption);

} // namespace korvane::button
