#include "host/forms/LayoutFile.h"

#include "host/platform/AtomicFile.h"
#include "host/platform/IniDocument.h"

#include <cctype>
#include <charconv>
#include <climits>
#include <cmath>
#include <sstream>

namespace korvane::forms {

using platform::EqualsIgnoringCase;

namespace {

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\r'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

// Reads a quoted string at the start of `text`; the rest stays in `text`.
std::optional<std::string> TakeQuoted(std::string_view& text)
{
    if (text.empty() || text.front() != '"')
        return std::nullopt;
    std::string value;
    for (std::size_t i = 1; i < text.size(); ++i) {
        char c = text[i];
        if (c == '"') {
            text.remove_prefix(i + 1);
            return value;
        }
        if (c == '\\' && i + 1 < text.size()) {
            char escaped = text[++i];
            switch (escaped) {
            case 'n': value += '\n'; break;
            case 'r': value += '\r'; break;
            case 't': value += '\t'; break;
            case '0': value += '\0'; break;
            case '"': value += '"'; break;
            case '\\': value += '\\'; break;
            default: return std::nullopt;
            }
            continue;
        }
        value += c;
    }
    return std::nullopt;
}

std::optional<PropertyValue> ParseNumber(std::string_view text)
{
    if (text.size() > 2 && (text.substr(0, 2) == "&H" || text.substr(0, 2) == "&h" || text.substr(0, 2) == "0x" || text.substr(0, 2) == "0X")) {
        std::string_view digits = text.substr(2);
        if (text[0] == '&' && !digits.empty() && digits.back() == '&')
            digits.remove_suffix(1);
        std::uint64_t value = 0;
        auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
        if (error != std::errc() || end != digits.data() + digits.size() || digits.empty() || value > UINT32_MAX)
            return std::nullopt;
        return static_cast<std::int64_t>(value);
    }
    std::int64_t integer = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), integer);
    if (error == std::errc() && end == text.data() + text.size())
        return integer;
    double real = 0;
    auto [realEnd, realError] = std::from_chars(text.data(), text.data() + text.size(), real);
    if (realError == std::errc() && realEnd == text.data() + text.size() && std::isfinite(real))
        return real;
    return std::nullopt;
}

// The arguments of Name(a, b, ...), each still in the file's syntax.
std::optional<std::vector<std::string>> CallArguments(std::string_view text, std::string_view name)
{
    if (text.size() < name.size() + 2 || !EqualsIgnoringCase(text.substr(0, name.size()), name))
        return std::nullopt;
    text = Trim(text.substr(name.size()));
    if (text.empty() || text.front() != '(' || text.back() != ')')
        return std::nullopt;
    text = text.substr(1, text.size() - 2);
    std::vector<std::string> arguments;
    while (!Trim(text).empty()) {
        text = Trim(text);
        std::string argument;
        if (text.front() == '"') {
            std::string_view rest = text;
            if (!TakeQuoted(rest))
                return std::nullopt;
            argument = std::string(text.substr(0, text.size() - rest.size()));
            text = Trim(rest);
        } else {
            std::size_t comma = text.find(',');
            argument = std::string(Trim(text.substr(0, comma)));
            text = comma == std::string_view::npos ? std::string_view() : text.substr(comma);
            text = Trim(text);
        }
        arguments.push_back(argument);
        if (!text.empty()) {
            if (text.front() != ',')
                return std::nullopt;
            text.remove_prefix(1);
        }
    }
    return arguments;
}

std::string Quote(const std::string& text)
{
    std::string quoted = "\"";
    for (char c : text) {
        switch (c) {
        case '"': quoted += "\\\""; break;
        case '\\': quoted += "\\\\"; break;
        case '\n': quoted += "\\n"; break;
        case '\r': quoted += "\\r"; break;
        case '\t': quoted += "\\t"; break;
        case '\0': quoted += "\\0"; break;
        default: quoted += c;
        }
    }
    return quoted + "\"";
}

void WriteNode(const LayoutNode& node, int depth, std::ostringstream& out)
{
    std::string inner(static_cast<std::size_t>(depth + 1) * 4, ' ');
    for (const PropertyBag::Entry& entry : node.settings.Entries())
        out << inner << entry.key << " = " << FormatLayoutValue(entry.value) << "\n";
    for (const LayoutNode& child : node.children) {
        out << inner << "Begin " << child.kind << " " << child.name;
        if (child.index)
            out << "(" << *child.index << ")";
        out << "\n";
        WriteNode(child, depth + 1, out);
        out << inner << "End\n";
    }
}

bool IsIdentifier(std::string_view text)
{
    if (text.empty())
        return false;
    for (char c : text)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_' || static_cast<unsigned char>(c) >= 0x80))
            return false;
    return true;
}

} // namespace

std::optional<PropertyValue> ParseLayoutValue(std::string_view text)
{
    text = Trim(text);
    if (text.empty())
        return std::nullopt;
    if (text.front() == '"') {
        std::string_view rest = text;
        std::optional<std::string> value = TakeQuoted(rest);
        if (!value || !Trim(rest).empty())
            return std::nullopt;
        return *value;
    }
    if (EqualsIgnoringCase(text, "True"))
        return true;
    if (EqualsIgnoringCase(text, "False"))
        return false;
    if (auto arguments = CallArguments(text, "Picture")) {
        if (arguments->size() != 1)
            return std::nullopt;
        std::string_view quoted = (*arguments)[0];
        std::optional<std::string> file = TakeQuoted(quoted);
        if (!file)
            return std::nullopt;
        return PictureRef { *file };
    }
    if (auto arguments = CallArguments(text, "Font")) {
        if (arguments->empty() || arguments->size() > 7)
            return std::nullopt;
        FontSpec font;
        std::string_view quoted = (*arguments)[0];
        std::optional<std::string> name = TakeQuoted(quoted);
        if (!name)
            return std::nullopt;
        font.name = *name;
        std::vector<PropertyValue> rest;
        for (std::size_t i = 1; i < arguments->size(); ++i) {
            std::optional<PropertyValue> value = ParseLayoutValue((*arguments)[i]);
            if (!value)
                return std::nullopt;
            rest.push_back(*value);
        }
        auto number = [&](std::size_t i, double fallback) { return i < rest.size() ? AsDouble(rest[i]).value_or(fallback) : fallback; };
        auto flag = [&](std::size_t i) { return i < rest.size() && AsBool(rest[i]).value_or(false); };
        font.size = number(0, font.size);
        // A whole number beyond int keeps the default rather than wrapping.
        auto whole = [&](std::size_t i, int fallback) {
            double value = number(i, fallback);
            return value >= INT_MIN && value <= INT_MAX ? static_cast<int>(value) : fallback;
        };
        font.weight = whole(1, font.weight);
        font.charset = whole(2, font.charset);
        font.italic = flag(3);
        font.underline = flag(4);
        font.strikethrough = flag(5);
        return font;
    }
    return ParseNumber(text);
}

std::string FormatLayoutValue(const PropertyValue& value)
{
    struct Formatter {
        std::string operator()(std::monostate) const { return "\"\""; }
        std::string operator()(bool b) const { return b ? "True" : "False"; }
        std::string operator()(std::int64_t i) const { return std::to_string(i); }
        std::string operator()(double d) const
        {
            std::ostringstream out;
            out.precision(17);
            out << d;
            std::string text = out.str();
            if (text.find_first_of(".eE") == std::string::npos)
                text += ".0";
            return text;
        }
        std::string operator()(const std::string& s) const { return Quote(s); }
        std::string operator()(const FontSpec& f) const
        {
            std::ostringstream out;
            out << "Font(" << Quote(f.name) << ", " << (*this)(f.size) << ", " << f.weight << ", " << f.charset << ", "
                << (f.italic ? "True" : "False") << ", " << (f.underline ? "True" : "False") << ", "
                << (f.strikethrough ? "True" : "False") << ")";
            return out.str();
        }
        std::string operator()(const PictureRef& p) const { return "Picture(" + Quote(p.file) + ")"; }
    };
    return std::visit(Formatter {}, value);
}

LayoutParseResult ParseLayout(std::string_view text)
{
    LayoutParseResult result;
    std::vector<LayoutNode> stack;
    int lineNumber = 0;
    bool closed = false;
    auto fail = [&](const std::string& what) {
        result.form.reset();
        result.error = "line " + std::to_string(lineNumber) + ": " + what;
        return result;
    };
    while (!text.empty()) {
        std::size_t newline = text.find('\n');
        std::string_view line = Trim(text.substr(0, newline));
        text = newline == std::string_view::npos ? std::string_view() : text.substr(newline + 1);
        ++lineNumber;
        if (line.empty() || line.front() == '\'')
            continue;
        if (closed)
            return fail("expected nothing after the form's End");

        auto words = [](std::string_view rest) {
            std::size_t space = rest.find_first_of(" \t");
            return std::pair { rest.substr(0, space), space == std::string_view::npos ? std::string_view() : Trim(rest.substr(space)) };
        };
        auto [first, rest] = words(line);
        if (stack.empty()) {
            if (first != "Form" || !IsIdentifier(rest))
                return fail("expected 'Form <name>'");
            LayoutNode form;
            form.kind = "Form";
            form.name = std::string(rest);
            stack.push_back(std::move(form));
            continue;
        }
        if (first == "Begin") {
            auto [kind, name] = words(rest);
            LayoutNode node;
            node.kind = std::string(kind);
            std::size_t open = name.find('(');
            if (open != std::string_view::npos) {
                if (name.back() != ')')
                    return fail("expected an array index from 0 to 32767 in '" + std::string(name) + "'");
                std::string_view digits = name.substr(open + 1, name.size() - open - 2);
                int index = 0;
                auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), index);
                if (error != std::errc() || end != digits.data() + digits.size() || index < 0 || index > 32767)
                    return fail("expected an array index from 0 to 32767 in '" + std::string(name) + "'");
                node.index = index;
                name = name.substr(0, open);
            }
            if (!IsIdentifier(kind) || !IsIdentifier(name))
                return fail("expected 'Begin <kind> <name>[(index)]'");
            node.name = std::string(name);
            stack.push_back(std::move(node));
            continue;
        }
        if (line == "End") {
            LayoutNode node = std::move(stack.back());
            stack.pop_back();
            if (stack.empty()) {
                result.form = std::move(node);
                closed = true;
            } else {
                stack.back().children.push_back(std::move(node));
            }
            continue;
        }
        std::size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            return fail("expected 'Key = value', 'Begin' or 'End'");
        std::string_view key = Trim(line.substr(0, equals));
        // Begin and End open and close blocks: as setting names they would not read back.
        if (!IsIdentifier(key) || key == "Begin" || key == "End")
            return fail("expected a setting name, not '" + std::string(key) + "'");
        std::optional<PropertyValue> value = ParseLayoutValue(line.substr(equals + 1));
        if (!value)
            return fail("expected a value for " + std::string(key) +
                        " (a number, a colour, True or False, a quoted text, Picture(\"file\") or Font(...)), not '" +
                        std::string(Trim(line.substr(equals + 1))) + "'");
        if (stack.back().settings.Contains(key))
            return fail("expected " + std::string(key) + " once, not twice");
        stack.back().settings.Set(key, std::move(*value));
    }
    if (!closed) {
        ++lineNumber;
        return fail(stack.empty() ? "expected 'Form <name>'" : "expected End");
    }
    return result;
}

LayoutParseResult LoadLayoutFile(const std::filesystem::path& path)
{
    std::string contents;
    std::string error;
    switch (platform::ReadFileContents(path.string(), contents, error)) {
    case platform::ReadOutcome::Read: break;
    case platform::ReadOutcome::Missing: return LayoutParseResult { std::nullopt, "no layout file " + path.string() };
    case platform::ReadOutcome::Failed: return LayoutParseResult { std::nullopt, error };
    }
    LayoutParseResult result = ParseLayout(contents);
    if (!result.form)
        result.error = path.string() + ", " + result.error;
    return result;
}

std::string WriteLayout(const LayoutNode& form)
{
    std::ostringstream out;
    out << "Form " << form.name << "\n";
    WriteNode(form, 0, out);
    out << "End\n";
    return out.str();
}

} // namespace korvane::forms
