// Fonts and text output: LOGFONTA to the text engine, DrawTextA and TextOutA onto DC surfaces.

#include "host/gdi/GdiText.h"

#include "host/gdi/Gdi.h"
#include "host/gdi/GdiInternal.h"
#include "host/raster/text/Font.h"
#include "host/raster/text/TextLayout.h"
#include "host/raster/text/TextPainter.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <string_view>

using namespace korvane;
using namespace korvane::gdi;
namespace text = korvane::raster::text;

namespace {

// What a FontObject's engine slot holds: the realized font and metrics derived from it.
struct FontEngine {
    explicit FontEngine(text::Font realized)
        : font(std::move(realized))
    {
    }
    text::Font font;
    int maxCharWidth = -1; // Filled on the first GetTextMetricsA.
    bool fixedPitch = false;
};

constexpr unsigned SupportedFormats = DT_CENTER | DT_RIGHT | DT_VCENTER | DT_BOTTOM | DT_WORDBREAK | DT_SINGLELINE
                                    | DT_NOCLIP | DT_CALCRECT | DT_NOPREFIX;

int NormalWeight(LONG weight) { return weight <= 0 ? FW_NORMAL : static_cast<int>(weight); }

std::string FaceNameOf(const LOGFONTA& logFont)
{
    return std::string(logFont.lfFaceName, strnlen(logFont.lfFaceName, LF_FACESIZE));
}

text::FontSpec SpecOf(const LOGFONTA& logFont)
{
    text::FontSpec fontSpec;
    fontSpec.height = static_cast<int>(logFont.lfHeight);
    fontSpec.weight = NormalWeight(logFont.lfWeight);
    fontSpec.italic = logFont.lfItalic != 0;
    fontSpec.underline = logFont.lfUnderline != 0;
    fontSpec.strikeOut = logFont.lfStrikeOut != 0;
    fontSpec.faceName = FaceNameOf(logFont);
    return fontSpec;
}

// GDI never fails to create a font over an unknown face name, so an unmatched face
// falls back to the default one with the same size and style.
std::shared_ptr<FontEngine> Realize(const LOGFONTA& logFont)
{
    text::FontSpec fontSpec = SpecOf(logFont);
    auto font = text::Font::Create(fontSpec);
    if (!font && !fontSpec.faceName.empty()) {
        fontSpec.faceName.clear();
        font = text::Font::Create(fontSpec);
    }
    if (!font)
        return nullptr;
    return std::make_shared<FontEngine>(std::move(font.Value()));
}

// Stock fonts are registered without an engine; they get one when first drawn with.
FontEngine* EngineOf(FontObject& font)
{
    if (!font.engine)
        font.engine = Realize(font.logFont);
    return static_cast<FontEngine*>(font.engine.get());
}

FontEngine* SelectedEngine(const DcObject& dc)
{
    FontObject* font = dc.state.fontObject;
    return font ? EngineOf(*font) : nullptr;
}

// Writes a layout onto the DC's surface through its clip, text colour and background mode.
void PaintText(DcObject& dc, const text::TextLayout& layout)
{
    raster::Surface& surface = *dc.surface;
    raster::Painter painter(surface, dc.state.clip ? &*dc.state.clip : nullptr);
    // Monochrome surfaces take the nearest of black and white.
    struct Sink {
        raster::Surface& surface;
        raster::PixelValue text;
        raster::PixelValue background;
        void operator()(const text::InkSpan& span) const
        {
            raster::PixelValue value = span.kind == text::InkKind::Text ? text : background;
            raster::FillPixels(surface.Row(span.y) + span.x, static_cast<std::size_t>(span.length), value);
        }
        void InkRow(int y, int left, int right, const std::uint8_t* ink) const
        {
            raster::PixelValue* row = surface.Row(y) + left;
            for (int i = 0; i < right - left; ++i)
                row[i] = ink[i] != 0 ? text : row[i];
        }
    };
    const Sink sink { surface, surface.Quantize(ToPixel(dc.state.textColour)), surface.Quantize(ToPixel(dc.state.bkColour)) };
    const text::BackgroundMode mode
        = dc.state.bkMode == OPAQUE ? text::BackgroundMode::Opaque : text::BackgroundMode::Transparent;
    // Clip rectangles are already within the surface, so spans never leave it.
    for (const raster::IntRect& clip : painter.ClipRects())
        text::PaintLayout(layout, clip, mode, sink);
}

void MeasurePitch(FontEngine& engine)
{
    if (engine.maxCharWidth >= 0)
        return;
    int widest = 0;
    int narrowest = 0;
    for (char32_t c = 0x20; c < 0x7F; ++c) {
        int advance = engine.font.GlyphFor(c).advance;
        widest = std::max(widest, advance);
        narrowest = c == 0x20 ? advance : std::min(narrowest, advance);
    }
    engine.maxCharWidth = widest;
    engine.fixedPitch = widest == narrowest;
}

}

HFONT CreateFontIndirectA(const LOGFONTA* logFont)
{
    if (!logFont)
        return nullptr;
    LOGFONTA stored = *logFont;
    stored.lfFaceName[LF_FACESIZE - 1] = '\0';
    std::shared_ptr<FontEngine> engine = Realize(stored);
    if (!engine)
        return nullptr;
    return RegisterFont(stored, std::move(engine));
}

HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                  DWORD quality, DWORD pitchAndFamily, LPCSTR faceName)
{
    LOGFONTA logFont {};
    logFont.lfHeight = height;
    logFont.lfWidth = width;
    logFont.lfEscapement = escapement;
    logFont.lfOrientation = orientation;
    logFont.lfWeight = weight;
    logFont.lfItalic = static_cast<BYTE>(italic);
    logFont.lfUnderline = static_cast<BYTE>(underline);
    logFont.lfStrikeOut = static_cast<BYTE>(strikeOut);
    logFont.lfCharSet = static_cast<BYTE>(charSet);
    logFont.lfOutPrecision = static_cast<BYTE>(outPrecision);
    logFont.lfClipPrecision = static_cast<BYTE>(clipPrecision);
    logFont.lfQuality = static_cast<BYTE>(quality);
    logFont.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
    if (faceName)
        std::strncpy(logFont.lfFaceName, faceName, LF_FACESIZE - 1);
    return CreateFontIndirectA(&logFont);
}

int DrawTextA(HDC hdc, LPCSTR textIn, int count, LPRECT rect, UINT format)
{
    DcObject* dc = LookupDc(hdc);
    if (!dc || !dc->surface || !textIn || !rect)
        return 0;
    FontEngine* engine = SelectedEngine(*dc);
    if (!engine)
        return 0;
    std::string_view utf8 = count < 0 ? std::string_view(textIn) : std::string_view(textIn, static_cast<std::size_t>(count));
    const POINT origin = dc->state.viewportOrigin;
    // Within the coordinate space the layout's sums stay in range.
    for (std::int64_t value : { std::int64_t { rect->left } + origin.x, std::int64_t { rect->right } + origin.x,
                                std::int64_t { rect->top } + origin.y, std::int64_t { rect->bottom } + origin.y })
        if (value < -kCoordinateLimit || value > kCoordinateLimit)
            return 0;
    const raster::IntRect area { rect->left + origin.x, rect->top + origin.y, rect->right + origin.x,
                            rect->bottom + origin.y };
    const text::TextLayout layout = text::Layout(engine->font, utf8, area, format & SupportedFormats);
    if (format & DT_CALCRECT) {
        rect->left = layout.rect.left - origin.x;
        rect->top = layout.rect.top - origin.y;
        rect->right = layout.rect.right - origin.x;
        rect->bottom = layout.rect.bottom - origin.y;
        return layout.height;
    }
    PaintText(*dc, layout);
    return layout.height;
}

BOOL TextOutA(HDC hdc, int x, int y, LPCSTR textIn, int count)
{
    DcObject* dc = LookupDc(hdc);
    if (!dc || !dc->surface || !textIn || count < 0)
        return FALSE;
    FontEngine* engine = SelectedEngine(*dc);
    if (!engine)
        return FALSE;
    std::string_view utf8(textIn, static_cast<std::size_t>(count));
    const raster::IntSize extent = engine->font.TextExtent(utf8);
    const POINT p = ToDevice(*dc, x, y);
    const raster::IntRect area { p.x, p.y, p.x + extent.cx, p.y + extent.cy };
    PaintText(*dc, text::Layout(engine->font, utf8, area,
                                text::FormatSingleLine | text::FormatNoClip | text::FormatNoPrefix));
    return TRUE;
}

BOOL GetTextExtentPoint32A(HDC hdc, LPCSTR textIn, int count, LPSIZE size)
{
    DcObject* dc = LookupDc(hdc);
    if (!dc || !size || count < 0 || (!textIn && count > 0))
        return FALSE;
    FontEngine* engine = SelectedEngine(*dc);
    if (!engine)
        return FALSE;
    const raster::IntSize extent = engine->font.TextExtent(count ? std::string_view(textIn, static_cast<std::size_t>(count))
                                                            : std::string_view());
    size->cx = extent.cx;
    size->cy = extent.cy;
    return TRUE;
}

BOOL GetTextMetricsA(HDC hdc, LPTEXTMETRICA metrics)
{
    DcObject* dc = LookupDc(hdc);
    if (!dc || !metrics)
        return FALSE;
    FontObject* font = dc->state.fontObject;
    FontEngine* engine = font ? EngineOf(*font) : nullptr;
    if (!engine)
        return FALSE;
    MeasurePitch(*engine);
    const text::FontMetrics& m = engine->font.Metrics();
    const LOGFONTA& log = font->logFont;
    *metrics = {};
    metrics->tmHeight = m.height;
    metrics->tmAscent = m.ascent;
    metrics->tmDescent = m.descent;
    metrics->tmInternalLeading = m.internalLeading;
    metrics->tmExternalLeading = 0;
    metrics->tmAveCharWidth = m.averageCharWidth;
    metrics->tmMaxCharWidth = engine->maxCharWidth;
    metrics->tmWeight = NormalWeight(log.lfWeight);
    metrics->tmDigitizedAspectX = 96;
    metrics->tmDigitizedAspectY = 96;
    metrics->tmFirstChar = 0x1E;
    metrics->tmLastChar = 0xFF;
    metrics->tmDefaultChar = 0x1F;
    metrics->tmBreakChar = 0x20;
    metrics->tmItalic = log.lfItalic ? 1 : 0;
    metrics->tmUnderlined = log.lfUnderline ? 1 : 0;
    metrics->tmStruckOut = log.lfStrikeOut ? 1 : 0;
    // The engine draws outline faces; the low bit set means variable pitch.
    metrics->tmPitchAndFamily = static_cast<BYTE>((log.lfPitchAndFamily & 0xF0) | TMPF_VECTOR | TMPF_TRUETYPE
                                                  | (engine->fixedPitch ? 0 : TMPF_FIXED_PITCH));
    metrics->tmCharSet = log.lfCharSet;
    return TRUE;
}

int GetTextFaceA(HDC hdc, int count, LPSTR faceName)
{
    DcObject* dc = LookupDc(hdc);
    FontObject* font = dc ? dc->state.fontObject : nullptr;
    if (!font)
        return 0;
    std::string name = FaceNameOf(font->logFont);
    if (name.empty()) {
        if (FontEngine* engine = EngineOf(*font))
            name = engine->font.Face(0).family;
    }
    if (!faceName)
        return static_cast<int>(name.size()) + 1;
    if (count <= 0)
        return 0;
    std::size_t n = std::min(name.size(), static_cast<std::size_t>(count - 1));
    std::memcpy(faceName, name.data(), n);
    faceName[n] = '\0';
    return static_cast<int>(n) + 1;
}
