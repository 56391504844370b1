#include "TextLayout.h"

#include "FontInternal.h"
#include "host/runtime/Utf8.h"

#include <algorithm>
#include <limits>

namespace korvane::raster::text {
namespace {

// One character as DrawText sees it, after '&' prefixes are taken out.
struct Unit {
    char32_t codePoint = 0;
    std::size_t start = 0; // First byte, counting a '&' that prefixes it.
    std::size_t next = 0;  // First byte after it.
    const Glyph* glyph = nullptr;
};

struct LineSpan {
    std::size_t first = 0; // Unit range.
    std::size_t last = 0;
    std::size_t byteBegin = 0;
    std::size_t byteEnd = 0;
    int width = 0;
};

bool IsSpace(char32_t c)
{
    return c == U' ' || c == U'\t';
}

bool IsLineBreak(char32_t c)
{
    return c == U'\r' || c == U'\n';
}

bool IsCjk(char32_t c)
{
    return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7AF) || (c >= 0xF900 && c <= 0xFAFF)
        || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFFEF) || (c >= 0x20000 && c <= 0x3FFFF);
}

// Closing punctuation stays with the character before it, opening punctuation
// with the one after, so a line never starts with "，" or ends with "（".
bool MustNotStartLine(char32_t c)
{
    constexpr std::u32string_view closing = U"、。，．：；？！）」』】〕〉》〗〙〛’”…ー々〜,.;:!?)]}％";
    return closing.find(c) != std::u32string_view::npos || (c >= 0xFF01 && c <= 0xFF0F && c != 0xFF08)
        || c == 0xFF1A || c == 0xFF1B || c == 0xFF1F || c == 0xFF3D || c == 0xFF5D;
}

bool MustNotEndLine(char32_t c)
{
    constexpr std::u32string_view opening = U"（「『【〔〈《〖〘〚‘“([{［｛＄";
    return opening.find(c) != std::u32string_view::npos;
}

bool CanBreakBetween(char32_t before, char32_t after)
{
    if (!IsCjk(before) && !IsCjk(after))
        return false;
    return !MustNotStartLine(after) && !MustNotEndLine(before);
}

class LayoutBuilder {
public:
    LayoutBuilder(Font::Impl& font, std::string_view text, unsigned format)
        : m_font(font)
        , m_text(text)
        , m_format(format)
    {
    }

    static constexpr std::size_t kNoAccelerator = std::numeric_limits<std::size_t>::max();
    std::vector<Unit> units;
    std::size_t acceleratorUnit = kNoAccelerator;

    void Decode()
    {
        const bool prefixes = (m_format & FormatNoPrefix) == 0;
        units.reserve(m_text.size());
        for (std::size_t offset = 0; offset < m_text.size();) {
            const std::size_t start = offset;
            char32_t c = host::DecodeUtf8(m_text, offset);
            bool prefixed = false;
            if (prefixes && c == U'&') {
                // A lone '&' at the end has nothing to underline and is dropped.
                if (offset >= m_text.size())
                    break;
                c = host::DecodeUtf8(m_text, offset);
                prefixed = c != U'&';
            }
            // Only the last prefixed character is underlined, as DrawText keeps one.
            if (prefixed)
                acceleratorUnit = units.size();
            units.push_back({ c, start, offset, &m_font.GlyphUnlocked(c) });
        }
    }

    std::vector<LineSpan> BreakLines(int maxWidth) const
    {
        std::vector<LineSpan> lines;
        if (units.empty())
            return lines;
        const bool singleLine = (m_format & FormatSingleLine) != 0;
        // A single line never wraps, whatever else the format asks.
        const bool wordBreak = (m_format & FormatWordBreak) != 0 && !singleLine;
        std::size_t paragraph = 0;
        while (paragraph < units.size()) {
            std::size_t end = paragraph;
            if (singleLine)
                end = units.size();
            else
                while (end < units.size() && !IsLineBreak(units[end].codePoint))
                    ++end;

            if (wordBreak)
                Wrap(paragraph, end, maxWidth, lines);
            else
                lines.push_back(Span(paragraph, end));

            if (end >= units.size())
                break;
            // CR LF is one break; a lone CR or LF is one too.
            std::size_t after = end + 1;
            if (units[end].codePoint == U'\r' && after < units.size() && units[after].codePoint == U'\n')
                ++after;
            paragraph = after;
        }
        return lines;
    }

private:
    LineSpan Span(std::size_t first, std::size_t last) const
    {
        LineSpan span { first, last, 0, 0, 0 };
        const std::size_t anchor = first < units.size() ? units[first].start : m_text.size();
        span.byteBegin = anchor;
        span.byteEnd = last > first ? units[last - 1].next : anchor;
        for (std::size_t i = first; i < last; ++i)
            span.width += units[i].glyph->advance;
        return span;
    }

    // Fills [first, last) into lines no wider than maxWidth where breaks allow.
    // Spaces at a break belong to neither line; a word too long for a line is
    // cut where it overflows.
    void Wrap(std::size_t first, std::size_t last, int maxWidth, std::vector<LineSpan>& lines) const
    {
        constexpr std::size_t none = std::numeric_limits<std::size_t>::max();
        std::size_t lineStart = first;
        while (true) {
            int width = 0;
            std::size_t breakEnd = none;
            std::size_t breakNext = none;
            std::size_t j = lineStart;
            bool wrapped = false;
            while (j < last) {
                const Unit& unit = units[j];
                if (IsSpace(unit.codePoint)) {
                    if (j > lineStart && !IsSpace(units[j - 1].codePoint))
                        breakEnd = j;
                    width += unit.glyph->advance;
                    ++j;
                    if (breakEnd != none)
                        breakNext = j;
                    continue;
                }
                if (j > lineStart && CanBreakBetween(units[j - 1].codePoint, unit.codePoint)) {
                    breakEnd = j;
                    breakNext = j;
                }
                if (width + unit.glyph->advance > maxWidth && j > lineStart) {
                    if (breakEnd != none) {
                        lines.push_back(Span(lineStart, breakEnd));
                        lineStart = breakNext;
                    } else {
                        lines.push_back(Span(lineStart, j));
                        lineStart = j;
                    }
                    wrapped = true;
                    break;
                }
                width += unit.glyph->advance;
                ++j;
            }
            if (!wrapped) {
                lines.push_back(Span(lineStart, last));
                return;
            }
        }
    }

    Font::Impl& m_font;
    std::string_view m_text;
    unsigned m_format;
};

IntRect MaskRect(const PlacedGlyph& placed)
{
    return { placed.origin.x, placed.origin.y, placed.origin.x + placed.glyph->width,
             placed.origin.y + placed.glyph->height };
}

}

IntRect TextLayout::InkBounds() const
{
    IntRect bounds;
    for (const PlacedGlyph& placed : glyphs)
        bounds = bounds.United(MaskRect(placed));
    for (const IntRect& rule : rules)
        bounds = bounds.United(rule);
    for (const IntRect& background : backgrounds)
        bounds = bounds.United(background);
    return bounds;
}

TextLayout Layout(const Font& font, std::string_view utf8, IntRect rect, unsigned format)
{
    TextLayout layout(font);
    layout.rect = rect;
    if ((format & FormatNoClip) == 0)
        layout.clip = rect;

    std::lock_guard lock(TextMutex());
    Font::Impl& impl = font.Internal();
    const FontMetrics& metrics = impl.metrics;
    const int lineHeight = metrics.height;

    LayoutBuilder builder(impl, utf8, format);
    builder.Decode();
    if (builder.acceleratorUnit != LayoutBuilder::kNoAccelerator)
        layout.accelerator = builder.units[builder.acceleratorUnit].start;
    const std::vector<LineSpan> spans = builder.BreakLines(rect.Width());

    const int count = static_cast<int>(spans.size());
    const bool singleLine = (format & FormatSingleLine) != 0;
    int top = rect.top;
    if (singleLine && (format & FormatVCenter))
        top = rect.top + (rect.Height() - lineHeight) / 2;
    else if (singleLine && (format & FormatBottom))
        top = rect.bottom - lineHeight;
    layout.height = count * lineHeight;
    if (singleLine && (format & (FormatVCenter | FormatBottom)) && count > 0)
        layout.height = top - rect.top + lineHeight;

    if (format & FormatCalcRect) {
        int widest = 0;
        for (const LineSpan& span : spans)
            widest = std::max(widest, span.width);
        layout.rect = { rect.left, rect.top, rect.left + widest, rect.top + count * lineHeight };
        layout.height = count * lineHeight;
    }

    layout.lines.reserve(spans.size());
    for (int index = 0; index < count; ++index) {
        const LineSpan& span = spans[static_cast<std::size_t>(index)];
        int x = rect.left;
        if (format & FormatCenter)
            x = rect.left + (rect.Width() - span.width) / 2;
        else if (format & FormatRight)
            x = rect.right - span.width;
        const int lineTop = top + index * lineHeight;
        const IntRect cell { x, lineTop, x + span.width, lineTop + lineHeight };
        layout.lines.push_back({ span.byteBegin, span.byteEnd, cell });
        if (format & FormatCalcRect)
            continue;

        const int baseline = lineTop + metrics.ascent;
        if (span.width > 0)
            layout.backgrounds.push_back(cell);
        int pen = x;
        for (std::size_t i = span.first; i < span.last; ++i) {
            const Unit& unit = builder.units[i];
            const Glyph& glyph = *unit.glyph;
            if (glyph.width > 0 && glyph.height > 0)
                layout.glyphs.push_back({ &glyph, { pen + glyph.left, baseline - glyph.top } });
            if (builder.acceleratorUnit == i) {
                if (!impl.fontSpec.underline && glyph.advance > 0)
                    layout.rules.push_back({ pen, baseline + metrics.underlineOffset, pen + glyph.advance,
                                             baseline + metrics.underlineOffset + metrics.underlineThickness });
            }
            pen += glyph.advance;
        }
        if (span.width > 0 && impl.fontSpec.underline)
            layout.rules.push_back({ x, baseline + metrics.underlineOffset, x + span.width,
                                     baseline + metrics.underlineOffset + metrics.underlineThickness });
        if (span.width > 0 && impl.fontSpec.strikeOut)
            layout.rules.push_back({ x, baseline - metrics.strikeOutOffset, x + span.width,
                                     baseline - metrics.strikeOutOffset + metrics.strikeOutThickness });
    }
    return layout;
}

}
