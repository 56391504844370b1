#pragma once

// The face painters: one per ButtonStyle, each painting the whole face into the
// back buffer in the same layer order (background, caption and picture, edges,
// style extras, focus mark). Until each style has a painter of its own, every
// style paints the plain face below.

#include "controls/button/ButtonPipeline.h"

namespace korvane::button {

// Paints the face of look.ButtonStyle; a style outside 0..7 paints nothing and
// leaves DrawCode 0, so the previous image stays.
void PaintFace(const ButtonLook& look, BackBuffer& buffer, RedrawWork& work);

// The face of the common skeleton with the system's raised or sunken edge in place
// of a style's bevel, and the plain focus rectangle for the default look.
void PaintPlainFace(const ButtonLook& look, BackBuffer& buffer, RedrawWork& work);

} // namespace korvane::button
