#include "host/platform/IniDocument.h"

#include <algorithm>

namespace korvane::platform {

namespace {

std::string_view Trim(std::string_view text)
{
    auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; };
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

} // namespace

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

IniDocument::Line IniDocument::ParseLine(std::string text, std::string ending)
{
    Line line;
    std::string_view body = Trim(text);
    if (body.empty()) {
        line.kind = LineKind::Blank;
    } else if (body.front() == ';' || body.front() == '#') {
        line.kind = LineKind::Comment;
    } else if (body.front() == '[') {
        line.kind = LineKind::Header;
        std::size_t close = body.find(']');
        line.name = std::string(Trim(body.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1)));
    } else if (std::size_t equals = body.find('='); equals != std::string_view::npos) {
        line.kind = LineKind::Entry;
        line.name = std::string(Trim(body.substr(0, equals)));
        line.value = std::string(Trim(body.substr(equals + 1)));
    } else {
        line.kind = LineKind::Other;
        line.name = std::string(body);
    }
    line.text = std::move(text);
    line.ending = std::move(ending);
    return line;
}

IniDocument IniDocument::Parse(std::string_view text)
{
    IniDocument document;
    bool sawEnding = false;
    while (!text.empty()) {
        std::size_t newline = text.find('\n');
        std::string_view raw = text.substr(0, newline);
        std::string ending;
        if (newline == std::string_view::npos) {
            text = {};
        } else {
            text.remove_prefix(newline + 1);
            ending = "\n";
            if (!raw.empty() && raw.back() == '\r') {
                raw.remove_suffix(1);
                ending = "\r\n";
            }
            // New lines follow the file's own convention, taken from its first line.
            if (!sawEnding)
                document.m_newline = ending;
            sawEnding = true;
        }
        document.m_lines.push_back(ParseLine(std::string(raw), std::move(ending)));
    }
    return document;
}

std::string IniDocument::Text() const
{
    std::string text;
    for (const Line& line : m_lines) {
        text += line.text;
        text += line.ending;
    }
    return text;
}

std::vector<std::string> IniDocument::SectionNames() const
{
    std::vector<std::string> names;
    for (const Line& line : m_lines)
        if (line.kind == LineKind::Header)
            names.push_back(line.name);
    return names;
}

std::optional<IniDocument::Span> IniDocument::FindSection(std::string_view name) const
{
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        if (m_lines[i].kind != LineKind::Header || !EqualsIgnoringCase(m_lines[i].name, name))
            continue;
        Span span{i, i + 1};
        for (std::size_t j = i + 1; j < m_lines.size() && m_lines[j].kind != LineKind::Header; ++j)
            if (m_lines[j].kind == LineKind::Entry || m_lines[j].kind == LineKind::Other)
                span.end = j + 1;
        return span;
    }
    return std::nullopt;
}

bool IniDocument::HasSection(std::string_view name) const { return FindSection(name).has_value(); }

std::optional<std::vector<IniDocument::Entry>> IniDocument::Entries(std::string_view section) const
{
    std::optional<Span> span = FindSection(section);
    if (!span)
        return std::nullopt;
    std::vector<Entry> entries;
    for (std::size_t i = span->header + 1; i < span->end; ++i)
        if (m_lines[i].kind == LineKind::Entry)
            entries.push_back({m_lines[i].name, m_lines[i].value});
    return entries;
}

std::optional<std::string> IniDocument::Value(std::string_view section, std::string_view key) const
{
    std::optional<std::vector<Entry>> entries = Entries(section);
    if (!entries)
        return std::nullopt;
    for (const Entry& entry : *entries)
        if (EqualsIgnoringCase(entry.key, key))
            return entry.value;
    return std::nullopt;
}

std::vector<IniDocument::Line> IniDocument::SectionLines(std::string_view name, const std::vector<Entry>& entries) const
{
    std::vector<Line> lines;
    lines.push_back(ParseLine("[" + std::string(name) + "]", m_newline));
    for (const Entry& entry : entries)
        lines.push_back(ParseLine(entry.key + "=" + entry.value, m_newline));
    return lines;
}

void IniDocument::EnsureLastLineEnded()
{
    if (!m_lines.empty() && m_lines.back().ending.empty())
        m_lines.back().ending = m_newline;
}

void IniDocument::WriteSection(std::string_view name, const std::vector<Entry>& entries)
{
    std::vector<Line> lines = SectionLines(name, entries);
    if (std::optional<Span> span = FindSection(name)) {
        // The replaced section's last line keeps its ending, so a file without a
        // final newline stays without one.
        if (span->end == m_lines.size() && m_lines.back().ending.empty())
            lines.back().ending.clear();
        m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(span->header),
            m_lines.begin() + static_cast<std::ptrdiff_t>(span->end));
        m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(span->header), lines.begin(), lines.end());
        return;
    }
    EnsureLastLineEnded();
    m_lines.insert(m_lines.end(), lines.begin(), lines.end());
}

bool IniDocument::RemoveSection(std::string_view name)
{
    bool removed = false;
    while (std::optional<Span> span = FindSection(name)) {
        m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(span->header),
            m_lines.begin() + static_cast<std::ptrdiff_t>(span->end));
        removed = true;
    }
    return removed;
}

void IniDocument::SetValue(std::string_view section, std::string_view key, std::string_view value)
{
    std::optional<Span> span = FindSection(section);
    if (!span) {
        WriteSection(section, {{std::string(key), std::string(value)}});
        return;
    }
    for (std::size_t i = span->header + 1; i < span->end; ++i) {
        Line& line = m_lines[i];
        if (line.kind == LineKind::Entry && EqualsIgnoringCase(line.name, key)) {
            // Keep the key as the file spells it; only the value changes.
            std::size_t equals = line.text.find('=');
            std::string_view before = std::string_view(line.text).substr(0, equals + 1);
            std::string spacing = (equals + 1 < line.text.size() && line.text[equals + 1] == ' ') ? " " : "";
            line = ParseLine(std::string(before) + spacing + std::string(value), line.ending);
            return;
        }
    }
    Line added = ParseLine(std::string(key) + "=" + std::string(value), m_newline);
    std::size_t at = span->end;
    if (at == m_lines.size() && m_lines.back().ending.empty()) {
        m_lines.back().ending = m_newline;
        added.ending.clear();
    }
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(added));
}

bool IniDocument::RemoveValue(std::string_view section, std::string_view key)
{
    std::optional<Span> span = FindSection(section);
    if (!span)
        return false;
    bool removed = false;
    for (std::size_t i = span->end; i-- > span->header + 1;) {
        if (m_lines[i].kind == LineKind::Entry && EqualsIgnoringCase(m_lines[i].name, key)) {
            m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(i));
            removed = true;
        }
    }
    return removed;
}

} // namespace korvane::platform
