#pragma once

// Internal: turns Windows face names into font files through fontconfig.

#include <optional>
#include <string>
#include <string_view>

namespace korvane::raster::text {

struct MatchedFace {
    std::string file;
    int index = 0;
    std::string family;
};

// The face to use for a Windows face name, after the substitution table.
std::optional<MatchedFace> MatchFace(std::string_view faceName, bool bold, bool italic);

// A Song/Ming style face able to show Simplified Chinese, for per-glyph fallback.
std::optional<MatchedFace> MatchCjkFace(bool bold, bool italic);

// Any installed face that has a glyph for `codePoint`.
std::optional<MatchedFace> MatchFaceForCharacter(char32_t codePoint, bool bold, bool italic);

}
