#include "FontInternal.h"

#include "host/runtime/Utf8.h"

#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace korvane::raster::text {
namespace {

constexpr int kDefaultCellHeight = 16;
// FreeType's OS/2 table version for a font that has none.
constexpr FT_UShort kMissingOs2Table = 0xFFFF;
// A grey or colour glyph pixel is ink from half coverage up.
constexpr unsigned char kInkCoverage = 128;

FT_Library Library()
{
    // One library for the process, guarded like every face by TextMutex().
    static FT_Library library = [] {
        FT_Library created = nullptr;
        if (FT_Init_FreeType(&created) != 0)
            return static_cast<FT_Library>(nullptr);
        return created;
    }();
    return library;
}

int RoundDiv(long numerator, long denominator)
{
    return static_cast<int>(std::lround(static_cast<double>(numerator) / static_cast<double>(denominator)));
}

// Windows sizes TrueType fonts from usWinAscent/usWinDescent rather than from hhea.
struct DesignExtent {
    long ascent;
    long descent;
};

DesignExtent WindowsExtent(FT_Face face)
{
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->version != kMissingOs2Table && os2->usWinAscent + os2->usWinDescent > 0)
        return { os2->usWinAscent, os2->usWinDescent };
    if (face->ascender - face->descender > 0)
        return { face->ascender, -face->descender };
    return { face->units_per_EM * 4L / 5, face->units_per_EM / 5L };
}

struct FaceDeleter {
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using FacePtr = std::unique_ptr<FT_FaceRec_, FaceDeleter>;

FacePtr OpenFile(const MatchedFace& match)
{
    FT_Library library = Library();
    if (!library)
        return nullptr;
    FT_Face face = nullptr;
    if (FT_New_Face(library, match.file.c_str(), match.index, &face) != 0)
        return nullptr;
    return FacePtr(face);
}

// Styles are read from the file itself: fontconfig reports the style it was
// asked for once its own synthesis rules apply.
FaceInfo DescribeFace(FT_Face face, const MatchedFace& match, const FontSpec& fontSpec)
{
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    const bool isBold = (face->style_flags & FT_STYLE_FLAG_BOLD) != 0
        || (os2 && os2->version != kMissingOs2Table && os2->usWeightClass >= kBoldWeight);
    const bool isItalic = (face->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
    return FaceInfo { match.family, match.file, match.index, fontSpec.IsBold() && !isBold, fontSpec.italic && !isItalic };
}

// The em size that gives the requested LOGFONT height, and the metrics that go with it.
FontMetrics ComputeMetrics(FT_Face face, const FontSpec& fontSpec)
{
    FontMetrics metrics;
    const int requested = fontSpec.height == 0 ? kDefaultCellHeight : fontSpec.height;
    if (!FT_IS_SCALABLE(face)) {
        metrics.emSize = std::abs(requested);
        return metrics;
    }
    const long unitsPerEm = face->units_per_EM;
    const DesignExtent extent = WindowsExtent(face);
    const long designCell = extent.ascent + extent.descent;
    if (requested > 0) {
        metrics.emSize = std::max(1, RoundDiv(requested * unitsPerEm, designCell));
        metrics.ascent = RoundDiv(extent.ascent * requested, designCell);
        metrics.descent = requested - metrics.ascent;
    } else {
        metrics.emSize = -requested;
        metrics.ascent = RoundDiv(extent.ascent * metrics.emSize, unitsPerEm);
        metrics.descent = RoundDiv(extent.descent * metrics.emSize, unitsPerEm);
    }
    metrics.height = metrics.ascent + metrics.descent;
    metrics.internalLeading = std::max(0, metrics.height - metrics.emSize);

    auto scale = [&](long units) { return RoundDiv(units * metrics.emSize, unitsPerEm); };
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->version != kMissingOs2Table)
        metrics.averageCharWidth = scale(os2->xAvgCharWidth);

    // Both rules must stay inside the cell so an opaque background covers them.
    metrics.underlineThickness = std::max(1, scale(face->underline_thickness));
    const int underlineCentre = scale(-face->underline_position);
    metrics.underlineOffset = std::max(1, underlineCentre - metrics.underlineThickness / 2);
    metrics.underlineOffset
        = std::max(0, std::min(metrics.underlineOffset, metrics.descent - metrics.underlineThickness));

    if (os2 && os2->version != kMissingOs2Table && os2->yStrikeoutSize > 0) {
        metrics.strikeOutThickness = std::max(1, scale(os2->yStrikeoutSize));
        metrics.strikeOutOffset = scale(os2->yStrikeoutPosition);
    } else {
        metrics.strikeOutThickness = metrics.underlineThickness;
        metrics.strikeOutOffset = metrics.emSize / 4 + metrics.strikeOutThickness;
    }
    metrics.strikeOutOffset = std::clamp(metrics.strikeOutOffset, metrics.strikeOutThickness, metrics.ascent);
    return metrics;
}

void FillBitmapOnlyMetrics(FT_Face face, FontMetrics& metrics)
{
    metrics.ascent = static_cast<int>(face->size->metrics.ascender >> 6);
    metrics.descent = static_cast<int>(-face->size->metrics.descender >> 6);
    metrics.height = metrics.ascent + metrics.descent;
    metrics.emSize = std::min(metrics.emSize, metrics.height);
    metrics.internalLeading = metrics.height - metrics.emSize;
    metrics.underlineOffset = std::max(0, std::min(1, metrics.descent - 1));
    metrics.strikeOutOffset = std::max(1, metrics.ascent / 3);
}

// Smears each row `extra` pixels to the right.
void EmboldenMask(Glyph& glyph, int extra)
{
    if (glyph.width == 0 || glyph.height == 0)
        return;
    const int width = glyph.width + extra;
    std::vector<std::uint8_t> mask(static_cast<std::size_t>(width * glyph.height), 0);
    for (int y = 0; y < glyph.height; ++y)
        for (int x = 0; x < glyph.width; ++x)
            if (glyph.InkAt(x, y))
                for (int dx = 0; dx <= extra; ++dx)
                    mask[static_cast<std::size_t>(y * width + x + dx)] = 1;
    glyph.width = width;
    glyph.mask = std::move(mask);
}

// Slants rows by the same 0.2126 shear the outline path uses, pivoting on the baseline.
void ShearMask(Glyph& glyph)
{
    if (glyph.width == 0 || glyph.height == 0)
        return;
    auto shift = [&](int y) { return static_cast<int>(std::floor((glyph.top - y - 0.5) * 0.2126 + 0.5)); };
    const int most = std::max(shift(0), shift(glyph.height - 1));
    const int least = std::min(shift(0), shift(glyph.height - 1));
    const int width = glyph.width + most - least;
    std::vector<std::uint8_t> mask(static_cast<std::size_t>(width * glyph.height), 0);
    for (int y = 0; y < glyph.height; ++y) {
        const int offset = shift(y) - least;
        for (int x = 0; x < glyph.width; ++x)
            mask[static_cast<std::size_t>(y * width + x + offset)] = glyph.mask[static_cast<std::size_t>(y * glyph.width + x)];
    }
    glyph.left += least;
    glyph.width = width;
    glyph.mask = std::move(mask);
}

std::mutex g_textMutex;

}

std::mutex& TextMutex()
{
    return g_textMutex;
}

bool Glyph::HasInk() const
{
    return std::any_of(mask.begin(), mask.end(), [](std::uint8_t bit) { return bit != 0; });
}

SizedFace::SizedFace(FT_Face face, FaceInfo info, int emSize, int slot)
    : m_face(face)
    , m_info(std::move(info))
    , m_slot(slot)
    , m_boldExtra(std::max(1, emSize / 32))
{
    if (FT_IS_SCALABLE(m_face)) {
        FT_Set_Pixel_Sizes(m_face, 0, static_cast<FT_UInt>(emSize));
    } else if (m_face->num_fixed_sizes > 0) {
        // A bitmap-only face offers fixed strikes; take the one nearest the request.
        int best = 0;
        for (int i = 1; i < m_face->num_fixed_sizes; ++i) {
            if (std::abs(m_face->available_sizes[i].height - emSize)
                < std::abs(m_face->available_sizes[best].height - emSize))
                best = i;
        }
        FT_Select_Size(m_face, best);
    }
}

SizedFace::~SizedFace()
{
    FT_Done_Face(m_face);
}

std::uint32_t SizedFace::GlyphIndex(char32_t codePoint) const
{
    return FT_Get_Char_Index(m_face, codePoint);
}

const Glyph& SizedFace::Render(std::uint32_t glyphIndex)
{
    if (auto found = m_glyphs.find(glyphIndex); found != m_glyphs.end())
        return found->second;

    Glyph glyph;
    glyph.faceSlot = m_slot;
    glyph.glyphIndex = glyphIndex;
    if (FT_Load_Glyph(m_face, glyphIndex, FT_LOAD_TARGET_MONO) == 0) {
        FT_GlyphSlot slot = m_face->glyph;
        const bool fromOutline = slot->format == FT_GLYPH_FORMAT_OUTLINE;
        if (fromOutline) {
            if (m_info.syntheticBold) {
                // Windows' simulated bold is one pixel wider and keeps the left edge in place.
                FT_Outline_EmboldenXY(&slot->outline, m_boldExtra * 64, 0);
                FT_Outline_Translate(&slot->outline, m_boldExtra * 32, 0);
            }
            if (m_info.syntheticItalic) {
                FT_Matrix shear { 0x10000, 0x0366A, 0, 0x10000 };
                FT_Outline_Transform(&slot->outline, &shear);
            }
        }
        if (slot->format != FT_GLYPH_FORMAT_BITMAP)
            FT_Render_Glyph(slot, FT_RENDER_MODE_MONO);
        if (slot->format == FT_GLYPH_FORMAT_BITMAP) {
            const FT_Bitmap& bitmap = slot->bitmap;
            glyph.width = static_cast<int>(bitmap.width);
            glyph.height = static_cast<int>(bitmap.rows);
            glyph.left = slot->bitmap_left;
            glyph.top = slot->bitmap_top;
            glyph.mask.assign(static_cast<std::size_t>(glyph.width) * static_cast<std::size_t>(glyph.height), 0);
            const unsigned char* row = bitmap.buffer;
            if (bitmap.pitch < 0 && glyph.height > 0)
                row -= static_cast<std::ptrdiff_t>(bitmap.pitch) * (glyph.height - 1);
            for (int y = 0; y < glyph.height && row; ++y, row += bitmap.pitch) {
                for (int x = 0; x < glyph.width; ++x) {
                    bool ink = false;
                    switch (bitmap.pixel_mode) {
                    case FT_PIXEL_MODE_MONO:
                        ink = (row[x >> 3] & (0x80 >> (x & 7))) != 0;
                        break;
                    case FT_PIXEL_MODE_GRAY:
                        ink = row[x] >= kInkCoverage;
                        break;
                    case FT_PIXEL_MODE_BGRA:
                        ink = row[x * 4 + 3] >= kInkCoverage;
                        break;
                    default:
                        ink = row[x] != 0;
                        break;
                    }
                    glyph.mask[static_cast<std::size_t>(y * glyph.width + x)] = ink ? 1 : 0;
                }
            }
        }
        // Embedded bitmaps are what small CJK sizes look best with, so they are
        // kept and styled as Windows styles bitmap fonts.
        if (!fromOutline && m_info.syntheticBold)
            EmboldenMask(glyph, m_boldExtra);
        if (!fromOutline && m_info.syntheticItalic)
            ShearMask(glyph);
        glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6) + BoldExtra();
    }
    return m_glyphs.emplace(glyphIndex, std::move(glyph)).first->second;
}

const Glyph& Font::Impl::GlyphUnlocked(char32_t codePoint)
{
    if (codePoint < asciiGlyphs.size()) {
        const Glyph*& cached = asciiGlyphs[codePoint];
        if (!cached)
            cached = &Resolve(codePoint);
        return *cached;
    }
    if (auto found = otherGlyphs.find(codePoint); found != otherGlyphs.end())
        return *found->second;
    const Glyph& glyph = Resolve(codePoint);
    otherGlyphs.emplace(codePoint, &glyph);
    return glyph;
}

int Font::Impl::SlotFor(const MatchedFace& match)
{
    for (std::size_t i = 0; i < faces.size(); ++i) {
        if (faces[i]->Info().file == match.file && faces[i]->Info().index == match.index)
            return static_cast<int>(i);
    }
    FacePtr face = OpenFile(match);
    if (!face)
        return -1;
    const int slot = static_cast<int>(faces.size());
    FaceInfo info = DescribeFace(face.get(), match, fontSpec);
    faces.push_back(std::make_unique<SizedFace>(face.release(), std::move(info), metrics.emSize, slot));
    return slot;
}

const Glyph& Font::Impl::Resolve(char32_t codePoint)
{
    if (codePoint < 0x20 || codePoint == 0x7F)
        return emptyGlyph;
    SizedFace& primary = *faces.front();
    if (std::uint32_t index = primary.GlyphIndex(codePoint))
        return primary.Render(index);

    // Chinese is the script the program needs most, so its fallback is found once and kept.
    if (!cjkFallbackTried) {
        cjkFallbackTried = true;
        if (auto match = MatchCjkFace(fontSpec.IsBold(), fontSpec.italic))
            cjkFallbackSlot = SlotFor(*match);
    }
    if (cjkFallbackSlot >= 0) {
        SizedFace& cjk = *faces[static_cast<std::size_t>(cjkFallbackSlot)];
        if (std::uint32_t index = cjk.GlyphIndex(codePoint))
            return cjk.Render(index);
    }
    if (auto match = MatchFaceForCharacter(codePoint, fontSpec.IsBold(), fontSpec.italic)) {
        const int slot = SlotFor(*match);
        if (slot >= 0) {
            SizedFace& face = *faces[static_cast<std::size_t>(slot)];
            if (std::uint32_t index = face.GlyphIndex(codePoint))
                return face.Render(index);
        }
    }
    return primary.Render(0);
}

Result<Font> Font::Create(const FontSpec& fontSpec)
{
    std::lock_guard lock(TextMutex());
    // Realized fonts are kept after their last user lets go: programs recreate the
    // same few fonts on every paint, and their glyph caches are what makes that cheap.
    // Past a bound, the longest-kept font nobody holds goes, so that a program making
    // ever new fonts does not grow without end.
    constexpr std::size_t kMostKeptFonts = 64;
    static std::vector<std::shared_ptr<Impl>> realized;
    for (const auto& impl : realized) {
        if (impl->fontSpec == fontSpec)
            return Font(impl);
    }

    auto match = MatchFace(fontSpec.faceName, fontSpec.IsBold(), fontSpec.italic);
    if (!match)
        return Failure { "no installed typeface matches \"" + fontSpec.faceName + "\"" };
    FacePtr face = OpenFile(*match);
    if (!face)
        return Failure { "FreeType cannot open " + match->file };

    auto impl = std::make_shared<Impl>();
    impl->fontSpec = fontSpec;
    impl->metrics = ComputeMetrics(face.get(), fontSpec);
    FaceInfo info = DescribeFace(face.get(), *match, fontSpec);
    FT_Face handle = face.release();
    impl->faces.push_back(std::make_unique<SizedFace>(handle, std::move(info), impl->metrics.emSize, 0));
    if (!FT_IS_SCALABLE(handle))
        FillBitmapOnlyMetrics(handle, impl->metrics);
    if (impl->metrics.averageCharWidth <= 0)
        impl->metrics.averageCharWidth = impl->GlyphUnlocked(U'x').advance;
    else
        impl->metrics.averageCharWidth += impl->faces.front()->BoldExtra();
    if (realized.size() >= kMostKeptFonts) {
        auto idle = std::find_if(realized.begin(), realized.end(), [](const auto& kept) { return kept.use_count() == 1; });
        if (idle != realized.end())
            realized.erase(idle);
    }
    realized.push_back(impl);
    return Font(impl);
}

const FontSpec& Font::Description() const
{
    return m_impl->fontSpec;
}

const FontMetrics& Font::Metrics() const
{
    return m_impl->metrics;
}

const FaceInfo& Font::Face(int slot) const
{
    std::lock_guard lock(TextMutex());
    return m_impl->faces.at(static_cast<std::size_t>(slot))->Info();
}

const Glyph& Font::GlyphFor(char32_t codePoint) const
{
    std::lock_guard lock(TextMutex());
    return m_impl->GlyphUnlocked(codePoint);
}

const Glyph& Font::NotdefGlyph() const
{
    std::lock_guard lock(TextMutex());
    return m_impl->faces.front()->Render(0);
}

IntSize Font::TextExtent(std::string_view utf8) const
{
    std::lock_guard lock(TextMutex());
    int width = 0;
    for (std::size_t offset = 0; offset < utf8.size();)
        width += m_impl->AdvanceUnlocked(host::DecodeUtf8(utf8, offset));
    return { width, m_impl->metrics.height };
}

}
