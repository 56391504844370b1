#include "SceneScript.h"

#include <charconv>
#include <fstream>
#include <regex>
#include <sstream>

namespace korvane::gdi::test {

namespace {

std::string Trim(const std::string& s)
{
    std::size_t a = s.find_first_not_of(" \t\r");
    return a == std::string::npos ? std::string() : s.substr(a, s.find_last_not_of(" \t\r") - a + 1);
}

std::uint32_t Word(const std::string& text) { return static_cast<std::uint32_t>(ParseNumber(text).value_or(0)); }

// Reads a remark; returns false when it is none of the kinds a replay needs.
bool ReadRemark(const std::string& remark, SceneScript& script, int callIndex, std::string& pixelRowsDc)
{
    static const std::regex regionData(R"(region data of (\w+) )");
    static const std::regex rect(R"(^\{(-?\d+), (-?\d+), (-?\d+), (-?\d+)\}$)");
    static const std::regex setPixelRows(R"(set with SetPixelV\((\w+), x, y, colour\))");
    static const std::regex pixelRow(R"(^row (\d+):((?:\s+0x[0-9A-Fa-f]+)+)\s*$)");
    static const std::regex dibWord(R"(writes (0x[0-9A-Fa-f]+) .*into the DIB memory at \((\d+),\s*(\d+)\))");
    static const std::regex bitsCopy(R"(\bbits\b.*\binto the (?:canvas|DIB memory)\b.*\bat \((\d+),\s*(\d+)\))");
    static const std::regex bitColour(R"(\b([01]) bits? (?:as|become|->|=) (0x[0-9A-Fa-f]+))");
    std::smatch m;
    if (std::regex_search(remark, m, regionData)) {
        script.regionChecks.push_back({ callIndex, m[1], {} });
        return true;
    }
    if (!script.regionChecks.empty() && script.regionChecks.back().afterCall == callIndex
        && std::regex_match(remark, m, rect)) {
        script.regionChecks.back().rects.push_back({ std::stoll(m[1]), std::stoll(m[2]), std::stoll(m[3]), std::stoll(m[4]) });
        return true;
    }
    if (std::regex_search(remark, m, setPixelRows)) {
        pixelRowsDc = m[1];
        return true;
    }
    if (!pixelRowsDc.empty() && std::regex_match(remark, m, pixelRow)) {
        std::istringstream colours(m[2].str());
        int x = 0;
        for (std::string word; colours >> word;)
            script.writes.push_back({ SceneWrite::Kind::Colour, callIndex, pixelRowsDc, x++, std::stoi(m[1]), Word(word) });
        return true;
    }
    if (std::regex_search(remark, m, dibWord)) {
        script.writes.push_back({ SceneWrite::Kind::DibWord, callIndex, "dc", std::stoi(m[2]), std::stoi(m[3]), Word(m[1]) });
        return true;
    }
    if (std::regex_search(remark, m, bitsCopy)) {
        SceneWrite write { SceneWrite::Kind::Bits, callIndex, "dc", std::stoi(m[1]), std::stoi(m[2]), 0xFFFFFF, 0 };
        for (auto it = std::sregex_iterator(remark.begin(), remark.end(), bitColour); it != std::sregex_iterator(); ++it)
            ((*it)[1] == "1" ? write.value : write.zero) = Word((*it)[2]);
        script.writes.push_back(write);
        return true;
    }
    return false;
}

}

std::optional<long long> ParseNumber(const std::string& raw)
{
    std::string text = Trim(raw);
    std::size_t paren = text.rfind(" (");
    if (!text.empty() && text.back() == ')' && paren != std::string::npos)
        text = text.substr(paren + 2, text.size() - paren - 3);
    bool negative = text.starts_with('-');
    int base = text.compare(negative, 2, "0x") == 0 ? 16 : 10;
    const char* begin = text.data() + negative + (base == 16 ? 2 : 0);
    const char* end = text.data() + text.size();
    long long value = 0;
    auto [stop, error] = std::from_chars(begin, end, value, base);
    if (begin == end || error != std::errc() || stop != end)
        return std::nullopt;
    return negative ? -value : value;
}

std::vector<std::string> SplitTopLevel(const std::string& text)
{
    std::vector<std::string> parts;
    int depth = 0;
    bool quoted = false;
    std::string current;
    for (char c : text) {
        quoted ^= c == '"';
        if (!quoted) {
            depth += (c == '(' || c == '[' || c == '{') - (c == ')' || c == ']' || c == '}');
            if (c == ',' && depth == 0) {
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
    return Read(in, path, error);
}

std::optional<SceneScript> SceneScript::Read(std::istream& in, const std::string& path, std::string& error)
{
    static const std::regex size(R"(^size:\s*(\d+)x(\d+))");
    static const std::regex clear(R"(^clear: every pixel preset to (0x[0-9A-Fa-f]+))");
    static const std::regex bytes(R"(\(bytes ((?:0x[0-9A-Fa-f]{2},?)+)\))");
    SceneScript script;
    bool inCalls = false;
    int lineNumber = 0;
    std::string pixelRowsDc; // set while a remark lists SetPixelV rows
    for (std::string line; std::getline(in, line);) {
        ++lineNumber;
        std::string text = Trim(line);
        std::smatch m;
        if (!inCalls) {
            if (std::regex_search(text, m, size)) {
                script.width = std::stoi(m[1]);
                script.height = std::stoi(m[2]);
            } else if (std::regex_search(text, m, clear)) {
                script.clearColour = Word(m[1]);
            } else if (text.starts_with("scene:")) {
                script.name = Trim(text.substr(6));
            }
            inCalls = text == "calls:";
            continue;
        }
        if (text.empty())
            continue;
        if (text[0] == '#') {
            if (!ReadRemark(Trim(text.substr(1)), script, static_cast<int>(script.calls.size()) - 1, pixelRowsDc))
                pixelRowsDc.clear();
            continue;
        }
        pixelRowsDc.clear();
        if (text.starts_with("row ") && !script.calls.empty()) {
            SceneCall& call = script.calls.back();
            std::istringstream words(std::regex_search(text, m, bytes) ? m[1].str() : text.substr(text.find(':') + 1));
            for (std::string word; std::getline(words, word, m.empty() ? ' ' : ',');) {
                if (word.empty())
                    continue;
                if (m.empty())
                    call.colourBits.push_back(Word(word));
                else
                    call.monoBits.push_back(static_cast<std::uint8_t>(Word(word)));
            }
            continue;
        }
        // A call may carry a description between its closing parenthesis and "->".
        SceneCall call;
        call.line = lineNumber;
        std::string head = text;
        if (std::size_t arrow = text.rfind(" -> "); arrow != std::string::npos) {
            head = Trim(text.substr(0, arrow));
            call.result = Trim(text.substr(arrow + 4));
        }
        std::size_t open = head.find('(');
        std::size_t close = open;
        for (int depth = 0; close < head.size(); ++close) {
            depth += (head[close] == '(') - (head[close] == ')');
            if (depth == 0)
                break;
        }
        if (open == std::string::npos || close >= head.size()) {
            error = path + ":" + std::to_string(lineNumber) + ": not a call: " + text;
            return std::nullopt;
        }
        call.function = Trim(head.substr(0, open));
        if (std::size_t equals = call.function.find(" = "); equals != std::string::npos) {
            call.assignTo = Trim(call.function.substr(0, equals));
            call.function = Trim(call.function.substr(equals + 3));
        }
        call.arguments = SplitTopLevel(head.substr(open + 1, close - open - 1));
        script.calls.push_back(std::move(call));
    }
    if (script.width <= 0 || script.height <= 0) {
        error = path + ": no scene size";
        return std::nullopt;
    }
    return script;
}

}
