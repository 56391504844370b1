#include "SceneRunner.h"

#include "host/gdi/Gdi.h"
#include "host/gdi/GdiInternal.h"

#include <algorithm>
#include <cstring>
#include <regex>
#include <type_traits>

namespace korvane::gdi::test {

namespace {

#define KORVANE_NAME(name) { #name, static_cast<long long>(name) }

// Names a scene writes without their value in parentheses.
const std::map<std::string, long long> Names = {
    { "TRUE", 1 }, { "FALSE", 0 }, { "NULL", 0 }, { "PS_COSMETIC|PS_ALTERNATE", PS_COSMETIC | PS_ALTERNATE },
    KORVANE_NAME(ERROR), KORVANE_NAME(NULLREGION), KORVANE_NAME(SIMPLEREGION), KORVANE_NAME(COMPLEXREGION),
    KORVANE_NAME(TRANSPARENT), KORVANE_NAME(OPAQUE), KORVANE_NAME(ALTERNATE), KORVANE_NAME(WINDING),
    KORVANE_NAME(SRCCOPY), KORVANE_NAME(PATCOPY), KORVANE_NAME(DIB_RGB_COLORS), KORVANE_NAME(BS_SOLID),
    KORVANE_NAME(RGN_AND), KORVANE_NAME(RGN_OR), KORVANE_NAME(RGN_XOR), KORVANE_NAME(RGN_DIFF), KORVANE_NAME(RGN_COPY),
    KORVANE_NAME(PS_SOLID), KORVANE_NAME(PS_DASH), KORVANE_NAME(PS_DOT), KORVANE_NAME(PS_DASHDOT),
    KORVANE_NAME(PS_DASHDOTDOT), KORVANE_NAME(PS_NULL), KORVANE_NAME(PS_INSIDEFRAME), KORVANE_NAME(CLR_INVALID),
    KORVANE_NAME(WHITE_BRUSH), KORVANE_NAME(LTGRAY_BRUSH), KORVANE_NAME(GRAY_BRUSH), KORVANE_NAME(DKGRAY_BRUSH),
    KORVANE_NAME(BLACK_BRUSH), KORVANE_NAME(NULL_BRUSH), KORVANE_NAME(WHITE_PEN), KORVANE_NAME(BLACK_PEN),
    KORVANE_NAME(NULL_PEN), KORVANE_NAME(COLOR_BTNFACE), KORVANE_NAME(COLOR_BTNSHADOW), KORVANE_NAME(COLOR_BTNHIGHLIGHT),
    KORVANE_NAME(COLOR_BTNTEXT), KORVANE_NAME(COLOR_3DFACE), KORVANE_NAME(COLOR_3DSHADOW), KORVANE_NAME(COLOR_3DLIGHT),
    KORVANE_NAME(COLOR_3DHILIGHT), KORVANE_NAME(COLOR_3DDKSHADOW), KORVANE_NAME(COLOR_WINDOW),
    KORVANE_NAME(COLOR_WINDOWTEXT), KORVANE_NAME(COLOR_HIGHLIGHT), KORVANE_NAME(COLOR_GRAYTEXT),
};

#undef KORVANE_NAME

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

}

// One call: each argument is read from the scene's text by the type the facade takes.
class SceneRunner::Call {
public:
    Call(SceneRunner& runner, const SceneCall& call)
        : m_runner(runner)
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
            std::memcpy(m_bits.data(), m_call.monoBits.data(), m_call.monoBits.size());
            std::transform(m_call.colourBits.begin(), m_call.colourBits.end(), std::back_inserter(m_bits), ToPixel);
            return m_bits.empty() ? nullptr : m_bits.data();
        } else if constexpr (std::is_same_v<T, const LOGBRUSH*>) {
            static const std::regex logBrush(R"(\{(\w+), (\w+), (\w+)\})");
            std::smatch m;
            if (std::regex_search(text, m, logBrush))
                m_brush = { static_cast<UINT>(Value(m[1])), static_cast<COLORREF>(Value(m[2])), 0 };
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
            return static_cast<T>(Value(text));
        }
    }

    // A handle the call made, kept for the rest of the scene; or the object SelectObject replaced.
    std::optional<long long> Made(void* handle)
    {
        if (!handle)
            Problem(m_call.function + " failed");
        if (m_call.function == "SelectObject")
            return std::nullopt;
        (m_call.function == "CreateCompatibleDC" ? m_runner.m_dcs : m_runner.m_objects).push_back(handle);
        if (!m_call.assignTo.empty())
            m_runner.m_handles[m_call.assignTo] = handle;
        return std::nullopt;
    }
    // An object the scene deletes itself.
    template <class T> T Release(std::size_t i)
    {
        void* handle = m_runner.Handle(Text(i));
        for (auto* owned : { &m_runner.m_objects, &m_runner.m_dcs })
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
        m_runner.m_bits = std::move(bits);
        m_runner.m_bitsWidth = info.bmBitsPixel == 1 ? info.bmWidth : 0;
        return read;
    }
    long long Value(const std::string& text) { return m_runner.Value(text); }
    void Problem(const std::string& text) { m_runner.Problem(m_call.line, text); }

private:
    SceneRunner& m_runner;
    const SceneCall& m_call;
    RECT m_rect {};
    bool m_rectWritten = false;
    std::vector<POINT> m_points;
    std::vector<std::uint32_t> m_bits;
    LOGBRUSH m_brush { BS_SOLID, 0, 0 };
    BITMAPINFO m_info {};
};

namespace {

template <class R, class... A, std::size_t... I>
std::optional<long long> Invoke(R (*function)(A...), SceneRunner::Call& call, std::index_sequence<I...>)
{
    R result = function(call.Arg<A>(I)...);
    call.CheckRect();
    if constexpr (std::is_pointer_v<R>)
        return call.Made(result);
    else
        return static_cast<long long>(result);
}

template <class R, class... A> SceneRunner::Handler Serve(R (*function)(A...))
{
    return [function](SceneRunner::Call& call) { return Invoke(function, call, std::index_sequence_for<A...> {}); };
}

}

#define KORVANE_SERVE(function) { #function, Serve(&function) }

const std::map<std::string, SceneRunner::Handler>& SceneRunner::Handlers()
{
    static const std::map<std::string, Handler> handlers = {
        KORVANE_SERVE(CreatePen), KORVANE_SERVE(ExtCreatePen), KORVANE_SERVE(CreateSolidBrush),
        KORVANE_SERVE(CreateHatchBrush), KORVANE_SERVE(CreatePatternBrush), KORVANE_SERVE(CreateBitmap),
        KORVANE_SERVE(CreateCompatibleBitmap), KORVANE_SERVE(CreateCompatibleDC), KORVANE_SERVE(CreateDIBSection),
        KORVANE_SERVE(SelectObject), KORVANE_SERVE(SetBitmapBits), KORVANE_SERVE(SetBkColor),
        KORVANE_SERVE(SetTextColor), KORVANE_SERVE(SetBkMode), KORVANE_SERVE(SetROP2), KORVANE_SERVE(SetStretchBltMode),
        KORVANE_SERVE(SetPolyFillMode), KORVANE_SERVE(SetBrushOrgEx), KORVANE_SERVE(SetViewportOrgEx),
        KORVANE_SERVE(SaveDC), KORVANE_SERVE(RestoreDC), KORVANE_SERVE(SetPixelV), KORVANE_SERVE(MoveToEx),
        KORVANE_SERVE(LineTo), KORVANE_SERVE(Polyline), KORVANE_SERVE(Polygon), KORVANE_SERVE(Rectangle),
        KORVANE_SERVE(Ellipse), KORVANE_SERVE(Arc), KORVANE_SERVE(FillRect), KORVANE_SERVE(FrameRect),
        KORVANE_SERVE(InvertRect), KORVANE_SERVE(DrawFocusRect), KORVANE_SERVE(DrawEdge), KORVANE_SERVE(PatBlt),
        KORVANE_SERVE(BitBlt), KORVANE_SERVE(StretchBlt), KORVANE_SERVE(MaskBlt), KORVANE_SERVE(CreateRectRgn),
        KORVANE_SERVE(CreateEllipticRgn), KORVANE_SERVE(CreateRoundRectRgn), KORVANE_SERVE(CreatePolygonRgn),
        KORVANE_SERVE(CombineRgn), KORVANE_SERVE(OffsetRgn), KORVANE_SERVE(SetRectRgn), KORVANE_SERVE(GetRgnBox),
        KORVANE_SERVE(PtInRegion), KORVANE_SERVE(FillRgn), KORVANE_SERVE(FrameRgn), KORVANE_SERVE(PaintRgn),
        KORVANE_SERVE(InvertRgn), KORVANE_SERVE(SelectClipRgn), KORVANE_SERVE(ExtSelectClipRgn),
        KORVANE_SERVE(IntersectClipRect), KORVANE_SERVE(ExcludeClipRect), KORVANE_SERVE(GetClipBox),
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

SceneRunner::SceneRunner(const SceneScript& script)
    : m_script(script)
{
    HDC dc = CreateCompatibleDC(nullptr);
    BITMAPINFO info {};
    info.bmiHeader = { sizeof(BITMAPINFOHEADER), script.width, -script.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0 };
    m_canvas = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, nullptr, nullptr, 0);
    SelectObject(dc, m_canvas);
    SurfaceOf(static_cast<HBITMAP>(m_canvas))->Fill(ToPixel(script.clearColour));
    m_handles["dc"] = dc;
    m_dcs.push_back(dc);
}

SceneRunner::~SceneRunner()
{
    for (void* dc : m_dcs)
        DeleteDC(static_cast<HDC>(dc));
    DeleteObject(m_canvas);
    for (void* h : m_objects)
        DeleteObject(h);
}

std::vector<std::string> SceneRunner::UnsupportedCalls(const SceneScript& script)
{
    std::vector<std::string> missing;
    for (const SceneCall& call : script.calls) {
        if (!Handlers().count(call.function) && std::find(missing.begin(), missing.end(), call.function) == missing.end())
            missing.push_back(call.function);
    }
    return missing;
}

void SceneRunner::Problem(int line, const std::string& text) { m_problems.push_back("line " + std::to_string(line) + ": " + text); }

void* SceneRunner::Handle(const std::string& text)
{
    static const std::regex stock(R"(^GetStockObject\((\w+)\)$)");
    static const std::regex sysColourBrush(R"(^(?:\(HBRUSH\)\((\w+)\+1\)|GetSysColorBrush\((\w+)\))$)");
    std::smatch m;
    if (std::regex_match(text, m, stock))
        return GetStockObject(static_cast<int>(Value(m[1])));
    if (std::regex_match(text, m, sysColourBrush))
        return m[1].matched ? reinterpret_cast<void*>(static_cast<std::intptr_t>(Value(m[1]) + 1))
                            : GetSysColorBrush(static_cast<int>(Value(m[2])));
    auto it = m_handles.find(text);
    if (text != "NULL" && it == m_handles.end())
        m_problems.push_back("unknown handle " + text);
    return it == m_handles.end() ? nullptr : it->second;
}

long long SceneRunner::Value(const std::string& text)
{
    if (std::optional<long long> value = ParseNumber(text))
        return *value;
    auto it = Names.find(text);
    if (it == Names.end())
        m_problems.push_back("cannot read " + text);
    return it == Names.end() ? 0 : it->second;
}

void SceneRunner::Run()
{
    Write(-1);
    for (std::size_t i = 0; i < m_script.calls.size(); ++i) {
        const SceneCall& scene = m_script.calls[i];
        auto handler = Handlers().find(scene.function);
        if (handler == Handlers().end()) {
            Problem(scene.line, scene.function + " is not replayed");
            continue;
        }
        Call call(*this, scene);
        std::optional<long long> result = handler->second(call);
        if (result && !scene.result.empty() && Value(SplitTopLevel(scene.result).front()) != *result)
            Problem(scene.line, scene.function + " returned " + std::to_string(*result) + ", GDI returned " + scene.result);
        CheckRegions(static_cast<int>(i));
        Write(static_cast<int>(i));
    }
}

void SceneRunner::Write(int afterCall)
{
    for (const SceneWrite& write : m_script.writes) {
        if (write.afterCall != afterCall)
            continue;
        HDC dc = static_cast<HDC>(Handle(write.dc));
        raster::Surface* surface = SurfaceOf(dc);
        if (write.kind == SceneWrite::Kind::Colour)
            SetPixelV(dc, write.x, write.y, write.value);
        else if (write.kind == SceneWrite::Kind::DibWord && surface)
            surface->Set(write.x, write.y, write.value); // the surface keeps no alpha, as GetPixel shows
        if (write.kind != SceneWrite::Kind::Bits || !surface)
            continue;
        if (m_bitsWidth == 0)
            m_problems.push_back("bits copied without a monochrome bitmap read before");
        // Monochrome rows are padded to 16 bits.
        std::size_t stride = static_cast<std::size_t>((m_bitsWidth + 15) / 16 * 2);
        for (std::size_t row = 0; stride > 0 && row < m_bits.size() / stride; ++row) {
            for (int x = 0; x < m_bitsWidth; ++x) {
                bool one = m_bits[row * stride + static_cast<std::size_t>(x / 8)] & (0x80 >> (x % 8));
                surface->Set(write.x + x, write.y + static_cast<int>(row), ToPixel(one ? write.value : write.zero));
            }
        }
    }
}

void SceneRunner::CheckRegions(int afterCall)
{
    for (const SceneRegionCheck& check : m_script.regionChecks) {
        if (check.afterCall != afterCall)
            continue;
        HRGN rgn = static_cast<HRGN>(Handle(check.region));
        std::vector<char> buffer(GetRegionData(rgn, 0, nullptr));
        auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
        GetRegionData(rgn, static_cast<DWORD>(buffer.size()), data);
        std::vector<std::vector<long long>> actual;
        for (DWORD i = 0; i < data->rdh.nCount; ++i) {
            RECT r;
            std::memcpy(&r, data->Buffer + i * sizeof(RECT), sizeof(RECT));
            actual.push_back({ r.left, r.top, r.right, r.bottom });
        }
        std::size_t k = 0;
        while (k < actual.size() && k < check.rects.size() && actual[k] == check.rects[k])
            ++k;
        auto show = [&](const std::vector<std::vector<long long>>& rects) {
            if (k >= rects.size())
                return std::string("-");
            const auto& r = rects[k];
            return Show({ LONG(r[0]), LONG(r[1]), LONG(r[2]), LONG(r[3]) });
        };
        if (actual != check.rects)
            m_problems.push_back(check.region + " has " + std::to_string(actual.size()) + " rects, GDI lists "
                                 + std::to_string(check.rects.size()) + "; first difference at rect " + std::to_string(k)
                                 + ": ours " + show(actual) + ", GDI " + show(check.rects));
    }
}

raster::image::Image SceneRunner::Result() const
{
    raster::image::Image image(m_script.width, m_script.height);
    std::vector<raster::PixelValue> pixels = ReadPixels(static_cast<HBITMAP>(m_canvas));
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x)
            image.Set(x, y, 0xFF000000u | pixels[static_cast<std::size_t>(y * image.Width() + x)]);
    }
    return image;
}

}
