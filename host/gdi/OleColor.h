#pragma once

// OLE colours, as controls and forms keep them: an RGB value (0x00BBGGRR), or, with
// bit 31 set, a system colour whose index (COLOR_BTNFACE and the rest) is in the low
// byte. Drawing needs a COLORREF, so every OLE colour goes through TranslateColor.

#include "host/gdi/Gdi.h"

#include <cstdint>

namespace korvane::gdi {

using OleColor = std::uint32_t;

inline constexpr OleColor kSystemColourFlag = 0x80000000u;

// The OLE colour naming a system colour: SystemColour(COLOR_HIGHLIGHT) is 0x8000000D.
constexpr OleColor SystemColour(int index) { return kSystemColourFlag | static_cast<OleColor>(index); }

// A system colour becomes its current RGB value, as OleTranslateColor makes it: only
// the low byte names the colour, so 0x8000010D is the highlight as well. Any other
// value is an RGB value and comes back unchanged.
inline COLORREF TranslateColor(OleColor colour)
{
    if (colour & kSystemColourFlag)
        return GetSysColor(static_cast<int>(colour & 0xFFu));
    return colour;
}

} // namespace korvane::gdi
