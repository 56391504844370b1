#pragma once

// The button's outlines: the window region of each of the nine shapes (the
// control's BuildShapeRegion, in ButtonShapes.cpp), the clip and ring a face starts
// from, and the frame drawn round an oval or picture outline on the control itself.
// Ovals and picture outlines keep two border regions, 1 and 2 pixels inside the
// outline, that confine the face and leave the ring or frame around it.

#include "controls/button/ButtonPipeline.h"

namespace korvane::button {

// Decides whether the face paints (DrawCode 0: not at all) and sets the back
// buffer's clip; 1 paints plainly, 3 leaves an outline to frame, 4 has painted the
// gradient ring. The first of ring, pressed ring and frame that applies is the only
// one drawn: a hovered style-5 oval paints its ring and stops there.
void PrepareFaceClip(const ButtonLook& look, BackBuffer& buffer, RedrawWork& work);

// Frames the outline on the control's DC, after the copy of the back buffer, in
// EdgeColors(12) as the face left it (the hover colour for a hovered picture outline).
void FrameOutline(const ButtonLook& look, const RedrawWork& work, HDC controlDC);

// Carves a picture outline from the picture selected in `picture`: every run of
// pixels whose channels all lie within 3 of the key colour at (0, 0) is removed from
// `windowRegion`, grown by 1 pixel from `frameRegion` and by 2 from
// `innerFrameRegion`, which start as the whole control. A run that reaches the
// picture's right edge ends at the control's.
void CarvePictureOutline(HDC picture, SIZE pictureSize, SIZE controlSize, HRGN windowRegion, HRGN& frameRegion,
                         HRGN& innerFrameRegion);

} // namespace korvane::button
