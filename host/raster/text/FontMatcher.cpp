#include "FontMatcher.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <span>
#include <string_view>
#include <memory>
#include <vector>

namespace korvane::raster::text {
namespace {

enum class Acceptance {
    FamilyMustMatch,
    AnyFamily,
};

// Windows names the program uses and the free typefaces that stand in for them.
// A name with no entry goes to fontconfig as it is.
enum class LastResort {
    AnyCjkFace,
    SansSerif,
};

// Spans over named arrays: initializer_list members of a table would point at
// arrays that die with the braces that made them.
struct Substitution {
    std::span<const std::string_view> windowsNames;
    std::span<const std::string_view> families;
    LastResort lastResort;
};

constexpr std::string_view kSongFamilies[] = { "AR PL UMing CN", "AR PL UMing TW", "AR PL UMing HK",
                                               "Noto Serif CJK SC", "Noto Serif CJK TC", "Noto Serif CJK JP" };
constexpr std::string_view kSongNames[] = { "宋体", "SimSun", "新宋体", "NSimSun" };
constexpr std::string_view kHeiNames[] = { "黑体", "SimHei", "微软雅黑", "Microsoft YaHei" };
constexpr std::string_view kHeiFamilies[] = { "Noto Sans CJK SC", "WenQuanYi Micro Hei", "WenQuanYi Zen Hei",
                                              "AR PL UMing CN" };
// An empty name is what a zeroed LOGFONT carries; Windows gives it the system UI face.
constexpr std::string_view kUiNames[] = { "", "Tahoma", "Verdana", "MS Sans Serif", "Arial", "Microsoft Sans Serif",
                                          "MS Shell Dlg", "MS Shell Dlg 2", "Segoe UI" };
constexpr std::string_view kUiFamilies[] = { "DejaVu Sans" };

constexpr std::array kSubstitutions {
    Substitution { kSongNames, kSongFamilies, LastResort::AnyCjkFace },
    Substitution { kHeiNames, kHeiFamilies, LastResort::AnyCjkFace },
    Substitution { kUiNames, kUiFamilies, LastResort::SansSerif },
};

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

// The configuration is loaded once for the process. It is torn down at exit
// because fontconfig otherwise leaves blocks that leak checkers report.
class FontconfigSession {
public:
    FontconfigSession()
        : m_config(FcInitLoadConfigAndFonts())
    {
    }
    ~FontconfigSession()
    {
        if (m_config)
            FcConfigDestroy(m_config);
        FcFini();
    }
    FontconfigSession(const FontconfigSession&) = delete;
    FontconfigSession& operator=(const FontconfigSession&) = delete;

    FcConfig* Get() const { return m_config; }

private:
    FcConfig* m_config;
};

FcConfig* Config()
{
    static FontconfigSession session;
    return session.Get();
}

struct PatternDeleter {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;

struct CharSetDeleter {
    void operator()(FcCharSet* set) const { FcCharSetDestroy(set); }
};

PatternPtr BasePattern(bool bold, bool italic)
{
    PatternPtr pattern(FcPatternCreate());
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
    return pattern;
}

bool HasFamily(FcPattern* font, std::string_view family)
{
    FcChar8* value = nullptr;
    for (int i = 0; FcPatternGetString(font, FC_FAMILY, i, &value) == FcResultMatch; ++i) {
        if (EqualsIgnoringAsciiCase(reinterpret_cast<const char*>(value), family))
            return true;
    }
    return false;
}

bool Covers(FcPattern* font, char32_t codePoint)
{
    FcCharSet* charset = nullptr;
    if (FcPatternGetCharSet(font, FC_CHARSET, 0, &charset) != FcResultMatch)
        return false;
    return FcCharSetHasChar(charset, codePoint) == FcTrue;
}

std::optional<MatchedFace> Describe(FcPattern* font)
{
    FcChar8* file = nullptr;
    if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch)
        return std::nullopt;
    MatchedFace face;
    face.file = reinterpret_cast<const char*>(file);
    FcPatternGetInteger(font, FC_INDEX, 0, &face.index);
    FcChar8* family = nullptr;
    if (FcPatternGetString(font, FC_FAMILY, 0, &family) == FcResultMatch)
        face.family = reinterpret_cast<const char*>(family);
    return face;
}

// Runs fontconfig's matcher on `pattern`; `accept` vets the font it settles on.
template <typename Accept>
std::optional<MatchedFace> Match(FcPattern* pattern, Accept accept)
{
    FcConfig* config = Config();
    if (!config)
        return std::nullopt;
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    PatternPtr font(FcFontMatch(config, pattern, &result));
    if (!font || !accept(font.get()))
        return std::nullopt;
    return Describe(font.get());
}

std::optional<MatchedFace> MatchFamily(std::string_view family, bool bold, bool italic, Acceptance acceptance)
{
    PatternPtr pattern = BasePattern(bold, italic);
    const std::string name(family);
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
    return Match(pattern.get(), [&](FcPattern* font) {
        return acceptance == Acceptance::AnyFamily || HasFamily(font, family);
    });
}

std::optional<MatchedFace> MatchCharacter(char32_t codePoint, const char* language, bool bold, bool italic)
{
    PatternPtr pattern = BasePattern(bold, italic);
    std::unique_ptr<FcCharSet, CharSetDeleter> charset(FcCharSetCreate());
    FcCharSetAddChar(charset.get(), codePoint);
    FcPatternAddCharSet(pattern.get(), FC_CHARSET, charset.get());
    if (language)
        FcPatternAddString(pattern.get(), FC_LANG, reinterpret_cast<const FcChar8*>(language));
    return Match(pattern.get(), [&](FcPattern* font) { return Covers(font, codePoint); });
}

}

std::optional<MatchedFace> MatchFace(std::string_view faceName, bool bold, bool italic)
{
    for (const Substitution& substitution : kSubstitutions) {
        const bool listed = std::any_of(substitution.windowsNames.begin(), substitution.windowsNames.end(),
                                        [&](std::string_view name) { return EqualsIgnoringAsciiCase(name, faceName); });
        if (!listed)
            continue;
        for (std::string_view family : substitution.families) {
            if (auto face = MatchFamily(family, bold, italic, Acceptance::FamilyMustMatch))
                return face;
        }
        // None of the stand-ins is installed; a Chinese face name still needs Chinese glyphs.
        if (substitution.lastResort == LastResort::AnyCjkFace)
            return MatchCjkFace(bold, italic);
        return MatchFamily("sans-serif", bold, italic, Acceptance::AnyFamily);
    }
    return MatchFamily(faceName, bold, italic, Acceptance::AnyFamily);
}

std::optional<MatchedFace> MatchCjkFace(bool bold, bool italic)
{
    for (std::string_view family : kSongFamilies) {
        if (auto face = MatchFamily(family, bold, italic, Acceptance::FamilyMustMatch))
            return face;
    }
    // U+4E2D is the commonest ideograph; a face without it is no CJK face.
    return MatchCharacter(U'\u4E2D', "zh-cn", bold, italic);
}

std::optional<MatchedFace> MatchFaceForCharacter(char32_t codePoint, bool bold, bool italic)
{
    return MatchCharacter(codePoint, nullptr, bold, italic);
}

}
