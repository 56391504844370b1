#pragma once

#include "host/raster/Geometry.h"
#include "host/raster/Result.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace korvane::raster::text {

inline constexpr int kNormalWeight = 400;
inline constexpr int kBoldWeight = 600; // the lightest weight drawn bold

// What a program asks for, shaped like a Win32 LOGFONT.
struct FontSpec {
    // Negative: character (em) height in pixels. Positive: cell height, ascent plus
    // descent. Zero: a 16 pixel cell.
    int height = 0;
    int weight = kNormalWeight;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    // UTF-8; Windows names ("Tahoma", "宋体") are mapped onto installed typefaces.
    std::string faceName;

    bool IsBold() const { return weight >= kBoldWeight; }
    friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

// Pixel metrics, named after TEXTMETRIC. Positions are relative to the baseline.
struct FontMetrics {
    int height = 0; // The cell height, which is also the line height.
    int ascent = 0;
    int descent = 0;
    int internalLeading = 0;
    int emSize = 0;
    int averageCharWidth = 0;
    int underlineOffset = 0; // Rows from the baseline down to the underline's first row.
    int underlineThickness = 1;
    int strikeOutOffset = 0; // Rows from the baseline up to the strike-out's first row.
    int strikeOutThickness = 1;
};

// A rendered glyph: a monochrome mask placed relative to the pen on the baseline.
struct Glyph {
    int left = 0;    // Columns from the pen to the mask's first column.
    int top = 0;     // Rows from the mask's first row down to the baseline.
    int width = 0;
    int height = 0;
    int advance = 0; // How far the pen moves, in whole pixels.
    std::vector<std::uint8_t> mask; // width * height bytes, row by row; 1 is ink.
    int faceSlot = 0; // Which face of the font drew it: 0 is the matched face, others are fallbacks.
    std::uint32_t glyphIndex = 0;

    bool HasInk() const;
    bool InkAt(int x, int y) const { return mask[static_cast<std::size_t>(y * width + x)] != 0; }
};

// Which typeface file a font slot uses, and what is synthesized on top of it.
struct FaceInfo {
    std::string family;
    std::string file;
    int index = 0;
    bool syntheticBold = false;
    bool syntheticItalic = false;
};

// A realized font: a matched face at a pixel size, its fallbacks and a glyph cache.
// Copies share one cache, and creating the same FontSpec again returns the same
// font while a copy lives or it was among the last few made, so callers may
// create fonts as freely as a GDI program does. Glyph
// references stay valid for as long as any copy of the font lives.
class Font {
public:
    static Result<Font> Create(const FontSpec& fontSpec);

    const FontSpec& Description() const;
    const FontMetrics& Metrics() const;
    const FaceInfo& Face(int slot) const;

    // The glyph that will be drawn for `codePoint`, after fallback. Control
    // characters map to an empty glyph that does not advance.
    const Glyph& GlyphFor(char32_t codePoint) const;
    // The matched face's missing-glyph box, for telling a fallback failure apart.
    const Glyph& NotdefGlyph() const;

    // Like GetTextExtentPoint32: advances summed, one cell high, no prefix handling.
    IntSize TextExtent(std::string_view utf8) const;

    friend bool operator==(const Font& a, const Font& b) { return a.m_impl == b.m_impl; }

    struct Impl;
    Impl& Internal() const { return *m_impl; }

private:
    explicit Font(std::shared_ptr<Impl> impl)
        : m_impl(std::move(impl))
    {
    }
    std::shared_ptr<Impl> m_impl;
};

}
