#include "SceneScript.h"

#include <cctype>
#include <fstream>
#include <regex>
#include <sstream>

namespace korvane::gdi::test {

namespace {

std::string Trim(const std::string& s)
{
    std::size_t a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos)
        return {};
    std::size_t b = s.find_last_not_of(" \t\r");
    return s.substr(a, b - a + 1);
}

bool StartsWith(const std::string& s, const std::string& prefix) { return s.rfind(prefix, 0) == 0; }

}

std::optional<long long> ParseNumber(const std::string& raw)
{
    std::string text = Trim(raw);
    if (text.empty())
        return std::nullopt;
    std::size_t i = 0;
    bool negative = false;
    if (text[0] == '-') {
        negative = true;
        i = 1;
    }
    if (i >= text.size())
        return std::nullopt;
    int base = 10;
    if (text.compare(i, 2, "0x") == 0 || text.compare(i, 2, "0X") == 0) {
        base = 16;
        i += 2;
    }
    if (i >= text.size())
        return std::nullopt;
    long long value = 0;
    for (; i < text.size(); ++i) {
        int c = std::tolower(static_cast<unsigned char>(text[i]));
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else
            return std::nullopt;
        value = value * base + digit;
    }
    return negative ? -value : value;
}

std::vector<std::string> SplitTopLevel(const std::string& text)
{
    std::vector<std::string> parts;
    int depth = 0;
    bool quoted = false;
    std::string current;
    for (char c : text) {
        if (c == '"')
            quoted = !quoted;
        if (!quoted) {
            if (c == '(' || c == '[' || c == '{')
                ++depth;
            else if (c == ')' || c == ']' || c == '}')
                --depth;
            else if (c == ',' && depth == 0) {
                parts.push_back(Trim(current));
                current.clear();
                continue;
            }
        }
        current += c;
    }
    if (!Trim(current).empty())
        parts.push_back(Trim(current));
    return parts;
}

std::optional<SceneScript> SceneScript::Load(const std::string& path, std::string& error)
{
    std::ifstream in(path);
    if (!in) {
        error = "cannot open " + path;
        return std::nullopt;
    }
    SceneScript script;
    std::string line;
    bool inCalls = false;
    int lineNumber = 0;
    SceneRegionCheck* openCheck = nullptr;
    std::string pixelRowsDc; // set while a remark lists SetPixelV rows
    int pixelRow = 0;
    static const std::regex sizePattern(R"(^size:\s*(\d+)x(\d+))");
    static const std::regex clearPattern(R"(^clear: every pixel preset to (0x[0-9A-Fa-f]+))");
    static const std::regex regionPattern(R"(region data of (\w+) )");
    static const std::regex rectPattern(R"(^\{(-?\d+), (-?\d+), (-?\d+), (-?\d+)\}$)");
    static const std::regex setPixelRowsPattern(R"(set with SetPixelV\((\w+), x, y, colour\))");
    static const std::regex pixelRowPattern(R"(^row (\d+):((?:\s+0x[0-9A-Fa-f]+)+)\s*$)");
    static const std::regex rawWritePattern(R"(writes (0x[0-9A-Fa-f]+) .*into the DIB memory at \((\d+),\s*(\d+)\))");
    static const std::regex bytesPattern(R"(\(bytes ((?:0x[0-9A-Fa-f]{2},?)+)\))");
    static const std::regex callPattern(R"(^(?:(\w+) = )?(\w+)\((.*)\)(?:\s*->\s*(.*))?$)");
    while (std::getline(in, line)) {
        ++lineNumber;
        std::string text = Trim(line);
        std::smatch m;
        if (!inCalls) {
            if (std::regex_search(text, m, sizePattern)) {
                script.width = std::stoi(m[1]);
                script.height = std::stoi(m[2]);
            } else if (std::regex_search(text, m, clearPattern)) {
                script.clearColour = static_cast<std::uint32_t>(*ParseNumber(m[1]));
            } else if (StartsWith(text, "scene:")) {
                script.name = Trim(text.substr(6));
            } else if (text == "calls:") {
                inCalls = true;
            }
            continue;
        }
        if (text.empty())
            continue;
        int callIndex = static_cast<int>(script.calls.size()) - 1;
        if (text[0] == '#') {
            std::string remark = Trim(text.substr(1));
            if (std::regex_search(remark, m, regionPattern)) {
                script.regionChecks.push_back({ callIndex, m[1], {} });
                openCheck = &script.regionChecks.back();
                continue;
            }
            if (openCheck && std::regex_match(remark, m, rectPattern)) {
                openCheck->rects.push_back({ std::stoll(m[1]), std::stoll(m[2]), std::stoll(m[3]), std::stoll(m[4]) });
                continue;
            }
            openCheck = nullptr;
            if (std::regex_search(remark, m, setPixelRowsPattern)) {
                pixelRowsDc = m[1];
                continue;
            }
            if (!pixelRowsDc.empty() && std::regex_match(remark, m, pixelRowPattern)) {
                pixelRow = std::stoi(m[1]);
                std::istringstream colours(m[2].str());
                std::string word;
                int x = 0;
                while (colours >> word)
                    script.pixelWrites.push_back({ callIndex, pixelRowsDc, x++, pixelRow,
                                                   static_cast<std::uint32_t>(*ParseNumber(word)), false });
                continue;
            }
            pixelRowsDc.clear();
            if (std::regex_search(remark, m, rawWritePattern)) {
                script.pixelWrites.push_back({ callIndex, "dc", std::stoi(m[2]), std::stoi(m[3]),
                                               static_cast<std::uint32_t>(*ParseNumber(m[1])), true });
            }
            continue;
        }
        openCheck = nullptr;
        pixelRowsDc.clear();
        if (StartsWith(text, "row ") && !script.calls.empty()) {
            SceneCall& call = script.calls.back();
            if (std::regex_search(text, m, bytesPattern)) {
                for (const std::string& byte : SplitTopLevel(m[1]))
                    call.monoBits.push_back(static_cast<std::uint8_t>(*ParseNumber(byte)));
            } else {
                std::istringstream words(text.substr(text.find(':') + 1));
                std::string word;
                while (words >> word)
                    call.colourBits.push_back(static_cast<std::uint32_t>(*ParseNumber(word)));
            }
            continue;
        }
        // Calls may carry a trailing description after the closing parenthesis and
        // before "->"; cut it so the argument list ends at the matching parenthesis.
        std::string head = text;
        std::string result;
        std::size_t arrow = text.rfind(" -> ");
        if (arrow != std::string::npos) {
            head = Trim(text.substr(0, arrow));
            result = Trim(text.substr(arrow + 4));
        }
        std::size_t open = head.find('(');
        if (open == std::string::npos) {
            error = path + ":" + std::to_string(lineNumber) + ": not a call: " + text;
            return std::nullopt;
        }
        int depth = 0;
        std::size_t close = std::string::npos;
        for (std::size_t i = open; i < head.size(); ++i) {
            if (head[i] == '(')
                ++depth;
            else if (head[i] == ')' && --depth == 0) {
                close = i;
                break;
            }
        }
        if (close == std::string::npos) {
            error = path + ":" + std::to_string(lineNumber) + ": unbalanced call: " + text;
            return std::nullopt;
        }
        SceneCall call;
        call.line = lineNumber;
        std::string prefix = Trim(head.substr(0, open));
        std::size_t equals = prefix.find(" = ");
        if (equals != std::string::npos) {
            call.assignTo = Trim(prefix.substr(0, equals));
            prefix = Trim(prefix.substr(equals + 3));
        }
        call.function = prefix;
        call.result = result;
        for (const std::string& part : SplitTopLevel(head.substr(open + 1, close - open - 1))) {
            SceneArgument argument { part, ParseNumber(part) };
            // "NAME (value)" and "A | B (value)" carry their value in the parentheses.
            if (!argument.value && !part.empty() && part.back() == ')') {
                std::size_t paren = part.rfind(" (");
                if (paren != std::string::npos)
                    argument.value = ParseNumber(part.substr(paren + 2, part.size() - paren - 3));
            }
            call.arguments.push_back(argument);
        }
        script.calls.push_back(std::move(call));
    }
    if (script.width <= 0 || script.height <= 0) {
        error = path + ": no scene size";
        return std::nullopt;
    }
    return script;
}

}
