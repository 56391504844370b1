#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// An odbc.ini-style file held line by line, so that editing one section keeps
// every other byte — comments, blank lines, spacing, order, line endings — as it was.
//
// A section runs from its "[name]" line to its last entry line; comments and blank
// lines after that belong to whatever follows, so removing a section leaves the
// lead-in of the next one alone. Names and keys compare without regard to case.
namespace korvane::platform {

class IniDocument {
public:
    struct Entry {
        std::string key;
        std::string value;
    };

    static IniDocument Parse(std::string_view text);
    std::string Text() const;

    std::vector<std::string> SectionNames() const;
    bool HasSection(std::string_view name) const;
    // Entries of the first section of that name, in file order.
    std::optional<std::vector<Entry>> Entries(std::string_view section) const;
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;

    // Replaces the first section of that name in place, or appends it at the end.
    void WriteSection(std::string_view name, const std::vector<Entry>& entries);
    // Removes every section of that name; false when there was none.
    bool RemoveSection(std::string_view name);
    // Sets a key in place, or adds it after the section's last entry; a missing
    // section is appended.
    void SetValue(std::string_view section, std::string_view key, std::string_view value);
    // Removes every line of that key in the section; false when there was none.
    bool RemoveValue(std::string_view section, std::string_view key);

private:
    enum class LineKind { Blank, Comment, Header, Entry, Other };
    struct Line {
        std::string text; // without its line ending
        std::string ending;
        LineKind kind = LineKind::Other;
        std::string name; // section name of a header, key of an entry
        std::string value;
    };
    struct Span {
        std::size_t header;
        std::size_t end; // one past the last line that belongs to the section
    };

    static Line ParseLine(std::string text, std::string ending);
    std::optional<Span> FindSection(std::string_view name) const;
    std::vector<Line> SectionLines(std::string_view name, const std::vector<Entry>& entries) const;
    void EnsureLastLineEnded();

    std::vector<Line> m_lines;
    std::string m_newline = "\n";
};

bool EqualsIgnoringCase(std::string_view a, std::string_view b);

} // namespace korvane::platform
