#pragma once

// Internal: the state behind a Font. Every member is guarded by TextMutex(),
// because FreeType faces and the caches must not be touched from two threads.

#include "Font.h"
#include "FontMatcher.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <array>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace korvane::raster::text {

std::mutex& TextMutex();

// One typeface file opened at one pixel size, with its rendered glyphs.
class SizedFace {
public:
    SizedFace(FT_Face face, FaceInfo info, int emSize, int slot);
    ~SizedFace();
    SizedFace(const SizedFace&) = delete;
    SizedFace& operator=(const SizedFace&) = delete;

    FT_Face Handle() const { return m_face; }
    const FaceInfo& Info() const { return m_info; }
    std::uint32_t GlyphIndex(char32_t codePoint) const;
    const Glyph& Render(std::uint32_t glyphIndex);
    int BoldExtra() const { return m_info.syntheticBold ? m_boldExtra : 0; }

private:
    FT_Face m_face;
    FaceInfo m_info;
    int m_slot;
    int m_boldExtra;
    std::unordered_map<std::uint32_t, Glyph> m_glyphs;
};

struct Font::Impl {
    FontSpec fontSpec;
    FontMetrics metrics;
    std::vector<std::unique_ptr<SizedFace>> faces; // faces[0] is the matched face.
    bool cjkFallbackTried = false;
    int cjkFallbackSlot = -1;
    std::array<const Glyph*, 0x80> asciiGlyphs {}; // found without hashing
    std::unordered_map<char32_t, const Glyph*> otherGlyphs;
    Glyph emptyGlyph;

    // Callers hold TextMutex().
    const Glyph& GlyphUnlocked(char32_t codePoint);
    int AdvanceUnlocked(char32_t codePoint) { return GlyphUnlocked(codePoint).advance; }

private:
    const Glyph& Resolve(char32_t codePoint);
    int SlotFor(const MatchedFace& match);
};

}
