#pragma once

// The button's picture: fitting it into the face, preparing a bitmap once per drawn
// size (a stretched copy whose near-key pixels are made the key exactly, so the key
// masks them all), and drawing it over the face, transparent on its key colour,
// icons through their own mask, as a grey stencil while the button is disabled.

#include "controls/button/ButtonPipeline.h"

namespace korvane::button {

// The picture prepared at its drawn size, kept by the control between redraws (the
// outline of a picture-shaped button is carved from it as well). Icons have none:
// they are drawn from the picture itself.
struct PreparedPicture {
    HBITMAP PictureWork = nullptr;
    std::int32_t PictureWorkWidth = 0;
    std::int32_t PictureWorkHeight = 0;
};

// A picture's pixel within this much of the key colour, on every channel, is
// taken for the key: near-key pixels left by painting or scaling vanish too.
inline constexpr int kKeyTolerance = 3;
bool IsNearKey(COLORREF colour, COLORREF key);

// The picture's size scaled, up or down, to fit w x h keeping its proportions
// (rounded half to even).
SIZE FitPicture(std::int32_t pictureWidth, std::int32_t pictureHeight, std::int32_t w, std::int32_t h);

// Deletes the prepared bitmap; for a bitmap source makes it again as a w x h copy
// compatible with `dc`, its near-key pixels set to the key, the colour of (0, 0).
void PreparePicture(PreparedPicture& prepared, HANDLE picture, bool isIcon, HDC dc, std::int32_t w, std::int32_t h);
void ReleasePicture(PreparedPicture& prepared);

// Draws look's picture at `rect` (a picture shape: over the whole control) into the
// back buffer, preparing it first when it is missing. Disabled, it is drawn on
// white and stencilled onto the face in grey at the same place.
void DrawPicture(const ButtonLook& look, BackBuffer& buffer, RECT rect);

// Draws the prepared picture at the top-left corner of destRect, w x h (made
// smaller to fit the rectangle), leaving the destination showing through its key
// colour: the key is masked out with SRCAND, the rest painted in with SRCPAINT.
void DrawTransparentImage(HDC destDC, const RECT& destRect, const PreparedPicture& source, std::int32_t w,
                          std::int32_t h);

} // namespace korvane::button
