#include "SceneRunner.h"

#include "host/gdi/Gdi.h"
#include "host/gdi/GdiInternal.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <functional>
#include <map>
#include <optional>
#include <regex>
#include <sstream>
#include <type_traits>

namespace korvane::gdi::test {

namespace {

std::string Trim(const std::string& s)
{
    std::size_t a = s.find_first_not_of(" \t\r");
    return a == std::string::npos ? std::string() : s.substr(a, s.find_last_not_of(" \t\r") - a + 1);
}

// "12", "-3", "0xFF", and "NAME (value)" or "A | B (value)" by the value in parentheses.
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

// Splits "a, (b, c), {d}" at top-level commas.
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

#define KORVANE_NAME(name) { #name, static_cast<long long>(name) }

// Names a scene writes without their value in parentheses.
const std::map<std::string, long long> Names = {
    { "TRUE", 1 }, { "FALSE", 0 }, { "NULL", 0 }, { "PS_COSMETIC|PS_ALTERNATE", PS_COSMETIC | PS_ALTERNATE },
    KORVANE_NAME(SIMPLEREGION), KORVANE_NAME(COMPLEXREGION), KORVANE_NAME(TRANSPARENT), KORVANE_NAME(OPAQUE),
    KORVANE_NAME(ALTERNATE), KORVANE_NAME(WINDING), KORVANE_NAME(SRCCOPY), KORVANE_NAME(PATCOPY),
    KORVANE_NAME(DIB_RGB_COLORS), KORVANE_NAME(BS_SOLID), KORVANE_NAME(RGN_DIFF), KORVANE_NAME(PS_SOLID),
    KORVANE_NAME(PS_DASH), KORVANE_NAME(PS_DOT), KORVANE_NAME(PS_DASHDOT), KORVANE_NAME(PS_DASHDOTDOT),
    KORVANE_NAME(PS_INSIDEFRAME), KORVANE_NAME(CLR_INVALID), KORVANE_NAME(WHITE_BRUSH), KORVANE_NAME(BLACK_BRUSH),
    KORVANE_NAME(NULL_BRUSH), KORVANE_NAME(BLACK_PEN), KORVANE_NAME(NULL_PEN), KORVANE_NAME(COLOR_BTNFACE),
    KORVANE_NAME(COLOR_BTNTEXT), KORVANE_NAME(COLOR_3DFACE), KORVANE_NAME(COLOR_3DSHADOW), KORVANE_NAME(COLOR_3DLIGHT),
    KORVANE_NAME(COLOR_3DHILIGHT), KORVANE_NAME(COLOR_3DDKSHADOW), KORVANE_NAME(COLOR_WINDOW),
    KORVANE_NAME(COLOR_WINDOWTEXT), KORVANE_NAME(COLOR_HIGHLIGHT), KORVANE_NAME(COLOR_GRAYTEXT),
};

#undef KORVANE_NAME

std::uint32_t Word(const std::string& text) { return static_cast<std::uint32_t>(ParseNumber(text).value_or(0)); }

RECT ParseRect(const std::string& text)
{
    std::size_t open = text.find('{');
    std::vector<std::string> parts;
    if (open != std::string::npos)
        parts = SplitTopLevel(text.substr(open + 1, text.find('}', open) - open - 1));
    auto at = [&](std::size_t i) { return static_cast<LONG>(ParseNumber(parts[i]).value_or(0)); };
    return parts.size() == 4 ? RECT { at(0), at(1), at(2), at(3) } : RECT {};
}

std::string Show(const RECT& r)
{
    return "{" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.right) + ", "
        + std::to_string(r.bottom) + "}";
}

struct SceneCall {
    int line = 0;
    std::string assignTo; // "pen1" in "pen1 = CreatePen(...)"
    std::string function;
    std::vector<std::string> arguments; // as written, trimmed
    std::string result;                 // text after "->", trimmed
    std::vector<std::uint8_t> monoBits;    // rows listed under the call as bytes
    std::vector<std::uint32_t> colourBits; // rows listed under the call as COLORREFs
};

// A call may carry a description between its closing parenthesis and "->".
std::optional<SceneCall> ParseCall(const std::string& text, int line)
{
    SceneCall call;
    call.line = line;
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
    if (open == std::string::npos || close >= head.size())
        return std::nullopt;
    call.function = Trim(head.substr(0, open));
    if (std::size_t equals = call.function.find(" = "); equals != std::string::npos) {
        call.assignTo = Trim(call.function.substr(0, equals));
        call.function = Trim(call.function.substr(equals + 3));
    }
    call.arguments = SplitTopLevel(head.substr(open + 1, close - open - 1));
    return call;
}

// One replay: reads the scene a line at a time and draws as it goes. A call runs once the
// rows of bits listed under it are read.
class Replay {
public:
    explicit Replay(SceneReplay& out)
        : m_out(out)
    {
    }
    ~Replay()
    {
        for (void* dc : dcs)
            DeleteDC(static_cast<HDC>(dc));
        DeleteObject(m_canvas);
        for (void* h : objects)
            DeleteObject(h);
    }
    Replay(const Replay&) = delete;
    Replay& operator=(const Replay&) = delete;

    void Line(const std::string& raw);
    void Finish();
    void* Handle(const std::string& text);
    long long Value(const std::string& text);
    void Problem(int line, const std::string& text) { m_out.problems.push_back("line " + std::to_string(line) + ": " + text); }

    std::map<std::string, void*> handles;
    std::vector<void*> objects; // made by the scene and still alive
    std::vector<void*> dcs;
    std::vector<std::uint8_t> bits; // what the last GetBitmapBits read
    int bitsWidth = 0;              // of that bitmap when it is monochrome, else 0

private:
    void Flush();
    void Remark(const std::string& remark);
    void EndRegionCheck();

    SceneReplay& m_out;
    int m_line = 0;
    int m_width = 0;
    int m_height = 0;
    COLORREF m_clear = 0xFFFFFF;
    HBITMAP m_canvas = nullptr;
    std::optional<SceneCall> m_pending;
    std::string m_pixelRowsDc; // set while a remark lists SetPixelV rows
    std::string m_region;      // set while a remark lists a region's rectangles
    std::vector<std::string> m_regionRects; // as the remarks list them
};

// One call: each argument is read from the scene's text by the type the facade takes.
class Call {
public:
    Call(Replay& replay, const SceneCall& call)
        : m_runner(replay)
        , m_call(call)
    {
    }

    const std::string& Text(std::size_t i)
    {
        static const std::string missing = "NULL";
        if (i < m_call.arguments.size())
            return m_call.arguments[i];
        Problem("missing argument " + std::to_string(i));
        return missing;
    }

    template <class T> T Arg(std::size_t i)
    {
        const std::string& text = Text(i);
        if constexpr (std::is_same_v<T, RECT*> || std::is_same_v<T, const RECT*>) {
            m_rect = ParseRect(text);
            m_rectWritten = !std::is_const_v<std::remove_pointer_t<T>>;
            return &m_rect;
        } else if constexpr (std::is_same_v<T, const POINT*>) {
            static const std::regex point(R"(\((-?\d+),\s*(-?\d+)\))");
            for (auto it = std::sregex_iterator(text.begin(), text.end(), point); it != std::sregex_iterator(); ++it)
                m_points.push_back({ std::stoi((*it)[1]), std::stoi((*it)[2]) });
            return m_points.data();
        } else if constexpr (std::is_same_v<T, const void*>) { // bitmap bits, listed in rows under the call
            m_bits.resize((m_call.monoBits.size() + 3) / 4);
            if (!m_call.monoBits.empty())
                std::memcpy(m_bits.data(), m_call.monoBits.data(), m_call.monoBits.size());
            std::transform(m_call.colourBits.begin(), m_call.colourBits.end(), std::back_inserter(m_bits), ToPixel);
            return m_bits.empty() ? nullptr : m_bits.data();
        } else if constexpr (std::is_same_v<T, const LOGBRUSH*>) {
            static const std::regex logBrush(R"(\{(\w+), (\w+), (\w+)\})");
            std::smatch m;
            if (std::regex_search(text, m, logBrush))
                m_brush = { static_cast<UINT>(m_runner.Value(m[1])), static_cast<COLORREF>(m_runner.Value(m[2])), 0 };
            return &m_brush;
        } else if constexpr (std::is_same_v<T, const BITMAPINFO*>) {
            static const std::regex header(R"(biWidth=(-?\d+), biHeight=(-?\d+).*biBitCount=(\d+))");
            std::smatch m;
            if (std::regex_search(text, m, header))
                m_info.bmiHeader = { sizeof(BITMAPINFOHEADER), std::stoi(m[1]), std::stoi(m[2]), 1,
                                     static_cast<WORD>(std::stoi(m[3])), BI_RGB, 0, 0, 0, 0, 0 };
            return &m_info;
        } else if constexpr (std::is_same_v<T, LPPOINT> || std::is_same_v<T, void**> || std::is_same_v<T, const DWORD*>) {
            return nullptr; // results the scenes do not record
        } else if constexpr (std::is_pointer_v<T>) {
            return static_cast<T>(m_runner.Handle(text));
        } else {
            return static_cast<T>(m_runner.Value(text));
        }
    }

    // A handle the call made, kept for the rest of the scene; or the object SelectObject replaced.
    std::optional<long long> Made(void* handle)
    {
        if (!handle)
            Problem(m_call.function + " failed");
        if (m_call.function != "SelectObject")
            (m_call.function == "CreateCompatibleDC" ? m_runner.dcs : m_runner.objects).push_back(handle);
        if (!m_call.assignTo.empty())
            m_runner.handles[m_call.assignTo] = handle;
        return std::nullopt;
    }
    // An object the scene deletes itself.
    template <class T> T Release(std::size_t i)
    {
        void* handle = m_runner.Handle(Text(i));
        for (auto* owned : { &m_runner.objects, &m_runner.dcs })
            owned->erase(std::remove(owned->begin(), owned->end(), handle), owned->end());
        return static_cast<T>(handle);
    }
    // The rectangle a call wrote, against the one its result lists after '='.
    void CheckRect()
    {
        std::size_t listed = m_call.result.find("= {");
        if (m_rectWritten && listed != std::string::npos) {
            RECT expected = ParseRect(m_call.result.substr(listed));
            if (!EqualRect(&expected, &m_rect))
                Problem(m_call.function + " left " + Show(m_rect) + ", GDI " + Show(expected));
        }
    }
    std::optional<long long> ReadBits()
    {
        HBITMAP bitmap = Arg<HBITMAP>(0);
        std::vector<std::uint8_t> bits(static_cast<std::size_t>(std::max(Arg<int>(1), 0)));
        LONG read = GetBitmapBits(bitmap, Arg<int>(1), Text(2) == "NULL" ? nullptr : bits.data());
        bits.resize(static_cast<std::size_t>(std::max<LONG>(read, 0)));
        if (!m_call.monoBits.empty() && bits != m_call.monoBits)
            Problem("GetBitmapBits read other bits than GDI");
        BITMAP info {};
        GetObjectA(bitmap, sizeof info, &info);
        m_runner.bits = std::move(bits);
        m_runner.bitsWidth = info.bmBitsPixel == 1 ? info.bmWidth : 0;
        return read;
    }
    void Problem(const std::string& text) { m_runner.Problem(m_call.line, text); }

private:
    Replay& m_runner;
    const SceneCall& m_call;
    RECT m_rect {};
    bool m_rectWritten = false;
    std::vector<POINT> m_points;
    std::vector<std::uint32_t> m_bits;
    LOGBRUSH m_brush { BS_SOLID, 0, 0 };
    BITMAPINFO m_info {};
};

// Replays one call; returns what GDI's recorded result is compared with, or nothing.
using Handler = std::function<std::optional<long long>(Call&)>;

template <class R, class... A, std::size_t... I>
std::optional<long long> Invoke(R (*function)(A...), Call& call, std::index_sequence<I...>)
{
    R result = function(call.Arg<A>(I)...);
    call.CheckRect();
    if constexpr (std::is_pointer_v<R>)
        return call.Made(result);
    else
        return static_cast<long long>(result);
}

template <class R, class... A> Handler Serve(R (*function)(A...))
{
    return [function](Call& call) { return Invoke(function, call, std::index_sequence_for<A...> {}); };
}

#define KORVANE_SERVE(function) { #function, Serve(&function) }

const std::map<std::string, Handler>& Handlers()
{
    static const std::map<std::string, Handler> handlers = {
        KORVANE_SERVE(CreatePen), KORVANE_SERVE(ExtCreatePen), KORVANE_SERVE(CreateSolidBrush),
        KORVANE_SERVE(CreateHatchBrush), KORVANE_SERVE(CreatePatternBrush), KORVANE_SERVE(CreateBitmap),
        KORVANE_SERVE(CreateCompatibleDC), KORVANE_SERVE(CreateDIBSection), KORVANE_SERVE(SelectObject),
        KORVANE_SERVE(SetBkColor), KORVANE_SERVE(SetTextColor), KORVANE_SERVE(SetBkMode), KORVANE_SERVE(SetROP2),
        KORVANE_SERVE(SetStretchBltMode), KORVANE_SERVE(SetBrushOrgEx), KORVANE_SERVE(SetViewportOrgEx),
        KORVANE_SERVE(SetPixelV), KORVANE_SERVE(MoveToEx), KORVANE_SERVE(LineTo), KORVANE_SERVE(Polyline),
        KORVANE_SERVE(Polygon), KORVANE_SERVE(Rectangle), KORVANE_SERVE(Ellipse), KORVANE_SERVE(Arc),
        KORVANE_SERVE(FillRect), KORVANE_SERVE(FrameRect), KORVANE_SERVE(InvertRect), KORVANE_SERVE(DrawFocusRect),
        KORVANE_SERVE(DrawEdge), KORVANE_SERVE(PatBlt), KORVANE_SERVE(BitBlt), KORVANE_SERVE(StretchBlt),
        KORVANE_SERVE(CreateRectRgn), KORVANE_SERVE(CreateEllipticRgn), KORVANE_SERVE(CreateRoundRectRgn),
        KORVANE_SERVE(CreatePolygonRgn), KORVANE_SERVE(CombineRgn), KORVANE_SERVE(FillRgn), KORVANE_SERVE(FrameRgn),
        KORVANE_SERVE(SelectClipRgn), KORVANE_SERVE(IntersectClipRect), KORVANE_SERVE(ExcludeClipRect),
        KORVANE_SERVE(GetClipBox),
        { "DeleteObject", [](Call& c) { return DeleteObject(c.Release<HGDIOBJ>(0)); } },
        { "DeleteDC", [](Call& c) { return DeleteDC(c.Release<HDC>(0)); } },
        { "GetBitmapBits", [](Call& c) { return c.ReadBits(); } },
        // Outside the surface GDI versions differ in what SetPixel reports, and outside the
        // clip Windows reports CLR_INVALID where the reference's GDI read the pixel.
        { "SetPixel",
          [](Call& c) -> std::optional<long long> {
              COLORREF previous = SetPixel(c.Arg<HDC>(0), c.Arg<int>(1), c.Arg<int>(2), c.Arg<COLORREF>(3));
              return previous == CLR_INVALID ? std::nullopt : std::optional<long long>(previous);
          } },
        { "GetPixel",
          [](Call& c) -> std::optional<long long> {
              COLORREF pixel = GetPixel(c.Arg<HDC>(0), c.Arg<int>(1), c.Arg<int>(2));
              return pixel == CLR_INVALID && ClipOf(c.Arg<HDC>(0)) ? std::nullopt : std::optional<long long>(pixel);
          } },
    };
    return handlers;
}

#undef KORVANE_SERVE

void Replay::Line(const std::string& raw)
{
    static const std::regex size(R"(^size:\s*(\d+)x(\d+))");
    static const std::regex clear(R"(^clear: every pixel preset to (0x[0-9A-Fa-f]+))");
    static const std::regex bytes(R"(\(bytes ((?:0x[0-9A-Fa-f]{2},?)+)\))");
    std::string text = Trim(raw);
    std::smatch m;
    ++m_line;
    if (!m_canvas) {
        if (std::regex_search(text, m, size)) {
            m_width = std::stoi(m[1]);
            m_height = std::stoi(m[2]);
        } else if (std::regex_search(text, m, clear)) {
            m_clear = Word(m[1]);
        } else if (text == "calls:") {
            HDC dc = CreateCompatibleDC(nullptr);
            BITMAPINFO info {};
            info.bmiHeader = { sizeof(BITMAPINFOHEADER), m_width, -m_height, 1, 32, BI_RGB, 0, 0, 0, 0, 0 };
            m_canvas = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, nullptr, nullptr, 0);
            SelectObject(dc, m_canvas);
            SurfaceOf(m_canvas)->Fill(ToPixel(m_clear));
            handles["dc"] = dc;
            dcs.push_back(dc);
        }
        return;
    }
    if (text.empty())
        return;
    if (text.starts_with("row ") && m_pending) {
        bool mono = std::regex_search(text, m, bytes);
        std::istringstream words(mono ? m[1].str() : text.substr(text.find(':') + 1));
        for (std::string word; std::getline(words, word, mono ? ',' : ' ');) {
            if (mono)
                m_pending->monoBits.push_back(static_cast<std::uint8_t>(Word(word)));
            else if (!word.empty())
                m_pending->colourBits.push_back(Word(word));
        }
        return;
    }
    Flush();
    if (text[0] == '#')
        return Remark(Trim(text.substr(1)));
    EndRegionCheck();
    m_pixelRowsDc.clear();
    m_pending = ParseCall(text, m_line);
    if (!m_pending)
        Problem(m_line, "not a call: " + text);
}

void Replay::Flush()
{
    if (!m_pending)
        return;
    SceneCall scene = std::move(*m_pending);
    m_pending.reset();
    auto handler = Handlers().find(scene.function);
    if (handler == Handlers().end()) {
        if (std::find(m_out.unsupported.begin(), m_out.unsupported.end(), scene.function) == m_out.unsupported.end())
            m_out.unsupported.push_back(scene.function);
        return;
    }
    Call call(*this, scene);
    std::optional<long long> result = handler->second(call);
    if (result && !scene.result.empty() && Value(SplitTopLevel(scene.result).front()) != *result)
        Problem(scene.line, scene.function + " returned " + std::to_string(*result) + ", GDI returned " + scene.result);
}

void Replay::Remark(const std::string& remark)
{
    static const std::regex regionData(R"(region data of (\w+) )");
    static const std::regex rect(R"(^\{-?\d+, -?\d+, -?\d+, -?\d+\}$)");
    static const std::regex setPixelRows(R"(set with SetPixelV\((\w+), x, y, colour\))");
    static const std::regex pixelRow(R"(^row (\d+):((?:\s+0x[0-9A-Fa-f]+)+)\s*$)");
    static const std::regex dibWord(R"(writes (0x[0-9A-Fa-f]+) .*into the DIB memory at \((\d+),\s*(\d+)\))");
    static const std::regex bitsCopy(R"(\bbits\b.*\binto the (?:canvas|DIB memory)\b.*\bat \((\d+),\s*(\d+)\))");
    static const std::regex bitColour(R"(\b([01]) bits? (?:as|become|->|=) (0x[0-9A-Fa-f]+))");
    std::smatch m;
    if (!m_region.empty() && std::regex_match(remark, rect)) {
        m_regionRects.push_back(remark);
        return;
    }
    EndRegionCheck();
    if (std::regex_search(remark, m, regionData)) {
        m_region = m[1];
    } else if (std::regex_search(remark, m, setPixelRows)) {
        m_pixelRowsDc = m[1];
    } else if (!m_pixelRowsDc.empty() && std::regex_match(remark, m, pixelRow)) {
        std::istringstream colours(m[2].str());
        int x = 0;
        for (std::string word; colours >> word;)
            SetPixelV(static_cast<HDC>(Handle(m_pixelRowsDc)), x++, std::stoi(m[1]), Word(word));
    } else if (std::regex_search(remark, m, dibWord)) {
        // The surface keeps no alpha, as GetPixel shows.
        SurfaceOf(m_canvas)->Set(std::stoi(m[2]), std::stoi(m[3]), Word(m[1]));
    } else if (std::regex_search(remark, m, bitsCopy)) {
        // Monochrome rows are padded to 16 bits; 1 bits are white and 0 bits black unless the remark says.
        COLORREF colours[2] = { 0x000000, 0xFFFFFF };
        for (auto it = std::sregex_iterator(remark.begin(), remark.end(), bitColour); it != std::sregex_iterator(); ++it)
            colours[(*it)[1] == "1"] = Word((*it)[2]);
        if (bitsWidth == 0)
            Problem(m_line, "bits copied without a monochrome bitmap read before");
        std::size_t stride = static_cast<std::size_t>((bitsWidth + 15) / 16 * 2);
        for (std::size_t row = 0; stride > 0 && row < bits.size() / stride; ++row) {
            for (int x = 0; x < bitsWidth; ++x) {
                bool one = bits[row * stride + static_cast<std::size_t>(x / 8)] & (0x80 >> (x % 8));
                SurfaceOf(m_canvas)->Set(std::stoi(m[1]) + x, std::stoi(m[2]) + static_cast<int>(row), ToPixel(colours[one]));
            }
        }
    } else {
        m_pixelRowsDc.clear();
    }
}

void Replay::EndRegionCheck()
{
    if (m_region.empty())
        return;
    HRGN rgn = static_cast<HRGN>(Handle(m_region));
    std::vector<char> buffer(GetRegionData(rgn, 0, nullptr));
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    GetRegionData(rgn, static_cast<DWORD>(buffer.size()), data);
    std::vector<std::string> actual;
    for (DWORD i = 0; i < data->rdh.nCount; ++i) {
        RECT r;
        std::memcpy(&r, data->Buffer + i * sizeof(RECT), sizeof(RECT));
        actual.push_back(Show(r));
    }
    auto [ours, gdi] = std::mismatch(actual.begin(), actual.end(), m_regionRects.begin(), m_regionRects.end());
    if (actual != m_regionRects)
        Problem(m_line, m_region + " has " + std::to_string(actual.size()) + " rects, GDI lists "
                    + std::to_string(m_regionRects.size()) + "; first difference: ours "
                    + (ours == actual.end() ? "-" : *ours) + ", GDI " + (gdi == m_regionRects.end() ? "-" : *gdi));
    m_region.clear();
    m_regionRects.clear();
}

void Replay::Finish()
{
    Flush();
    EndRegionCheck();
    if (m_canvas)
        m_out.picture = *SurfaceOf(m_canvas);
}

void* Replay::Handle(const std::string& text)
{
    static const std::regex stock(R"(^GetStockObject\((\w+)\)$)");
    static const std::regex sysColourBrush(R"(^(?:\(HBRUSH\)\((\w+)\+1\)|GetSysColorBrush\((\w+)\))$)");
    std::smatch m;
    if (std::regex_match(text, m, stock))
        return GetStockObject(static_cast<int>(Value(m[1])));
    if (std::regex_match(text, m, sysColourBrush))
        return m[1].matched ? reinterpret_cast<void*>(static_cast<std::intptr_t>(Value(m[1]) + 1))
                            : GetSysColorBrush(static_cast<int>(Value(m[2])));
    auto it = handles.find(text);
    if (text != "NULL" && it == handles.end())
        m_out.problems.push_back("unknown handle " + text);
    return it == handles.end() ? nullptr : it->second;
}

long long Replay::Value(const std::string& text)
{
    if (std::optional<long long> value = ParseNumber(text))
        return *value;
    auto it = Names.find(text);
    if (it == Names.end())
        m_out.problems.push_back("cannot read " + text);
    return it == Names.end() ? 0 : it->second;
}

}

SceneReplay ReplayScene(std::istream& script)
{
    SceneReplay out;
    Replay replay(out);
    for (std::string line; std::getline(script, line);)
        replay.Line(line);
    replay.Finish();
    return out;
}

}
