#pragma once

#include "Font.h"
#include "host/raster/Geometry.h"

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace korvane::raster::text {

// DrawText format bits, with the Win32 values so the facade passes them through.
enum DrawTextFormat : unsigned {
    FormatLeft = 0x0,
    FormatCenter = 0x1,
    FormatRight = 0x2,
    FormatVCenter = 0x4,     // Only with FormatSingleLine.
    FormatBottom = 0x8,      // Only with FormatSingleLine.
    FormatWordBreak = 0x10,
    FormatSingleLine = 0x20,
    FormatNoClip = 0x100,
    FormatCalcRect = 0x400,
    FormatNoPrefix = 0x800,
};

struct PlacedGlyph {
    const Glyph* glyph = nullptr;
    IntPoint origin; // Where the mask's top-left pixel goes.
};

struct TextLine {
    std::size_t begin = 0; // Byte range of the input this line shows, without its line break.
    std::size_t end = 0;
    IntRect cell;          // The line's text cell: its advance width by one line height.
};

// Everything DrawText would put on the surface, in surface coordinates.
struct TextLayout {
    explicit TextLayout(Font layoutFont)
        : font(std::move(layoutFont))
    {
    }

    // With FormatCalcRect, the rectangle the text needs (left and top kept);
    // otherwise the rectangle that was passed in.
    IntRect rect;
    // DrawText's return value: the text height, or with FormatVCenter/FormatBottom
    // on a single line, the distance from rect.top to the bottom of the text.
    int height = 0;
    // Where the caller must clip; empty with FormatNoClip.
    std::optional<IntRect> clip;
    std::vector<TextLine> lines;
    // Nothing below is filled with FormatCalcRect, which draws nothing.
    std::vector<PlacedGlyph> glyphs;
    std::vector<IntRect> rules;       // Underline, strike-out and the accelerator underline, in text colour.
    std::vector<IntRect> backgrounds; // What an OPAQUE background mode fills: each line's cell.
    // Byte offset of the character the '&' prefix underlines, if any.
    std::optional<std::size_t> accelerator;
    Font font; // Keeps the glyphs alive.

    // The union of glyph masks, rules and backgrounds.
    IntRect InkBounds() const;
};

// Lays out UTF-8 text as DrawTextA does with `format`.
TextLayout Layout(const Font& font, std::string_view utf8, IntRect rect, unsigned format);

}
