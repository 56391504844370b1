#pragma once

// The outline steps of the pipeline: the clip and ring a face starts from, and the
// frame drawn round a shaped button on the control itself. Every button is a
// rectangle for now: the slanted, oval and picture outlines fill these in, and the
// control's BuildShapeRegion (ButtonShapes.cpp) gives the window its region.

#include "controls/button/ButtonPipeline.h"

namespace korvane::button {

// Decides whether the face paints (DrawCode 0: not at all) and sets the back
// buffer's clip; 1 paints plainly, 3 and 4 leave an outline for FrameOutline.
void PrepareFaceClip(const ButtonLook& look, BackBuffer& buffer, RedrawWork& work);

// Frames the outline on the control's DC, after the copy of the back buffer.
void FrameOutline(const ButtonLook& look, const RedrawWork& work, HDC controlDC);

} // namespace korvane::button
