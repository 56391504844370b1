#include "SceneRunner.h"

#include "host/gdi/Gdi.h"
#include "host/gdi/GdiInternal.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <regex>
#include <set>

namespace korvane::gdi::test {

namespace {

const std::set<std::string>& Served()
{
    static const std::set<std::string> names = {
        "CreatePen", "ExtCreatePen", "CreateSolidBrush", "CreateHatchBrush", "CreatePatternBrush", "CreateBitmap",
        "CreateCompatibleDC", "CreateDIBSection", "SelectObject", "MoveToEx", "LineTo", "Polyline", "Polygon",
        "Rectangle", "Ellipse", "Arc", "FillRect", "FrameRect", "InvertRect", "DrawFocusRect", "DrawEdge",
        "SetPixelV", "SetPixel", "GetPixel", "SetBkColor", "SetTextColor", "SetBkMode", "SetROP2",
        "SetStretchBltMode", "PatBlt", "BitBlt", "StretchBlt", "CreateRectRgn", "CreateEllipticRgn",
        "CreatePolygonRgn", "CreateRoundRectRgn", "CombineRgn", "FillRgn", "IntersectClipRect", "ExcludeClipRect",
        "GetClipBox", "SelectClipRgn", "SetViewportOrgEx",
    };
    return names;
}

const std::map<std::string, long long>& Names()
{
    static const std::map<std::string, long long> names = {
        { "TRUE", 1 }, { "FALSE", 0 }, { "NULL", 0 }, { "ERROR", ERROR }, { "NULLREGION", NULLREGION },
        { "SIMPLEREGION", SIMPLEREGION }, { "COMPLEXREGION", COMPLEXREGION }, { "TRANSPARENT", TRANSPARENT },
        { "OPAQUE", OPAQUE }, { "ALTERNATE", ALTERNATE }, { "WINDING", WINDING }, { "SRCCOPY", SRCCOPY },
        { "RGN_AND", RGN_AND }, { "RGN_OR", RGN_OR }, { "RGN_XOR", RGN_XOR }, { "RGN_DIFF", RGN_DIFF },
        { "RGN_COPY", RGN_COPY }, { "PS_SOLID", PS_SOLID }, { "PS_DASH", PS_DASH }, { "PS_DOT", PS_DOT },
        { "PS_DASHDOT", PS_DASHDOT }, { "PS_DASHDOTDOT", PS_DASHDOTDOT }, { "PS_NULL", PS_NULL },
        { "PS_INSIDEFRAME", PS_INSIDEFRAME }, { "PS_COSMETIC|PS_ALTERNATE", PS_COSMETIC | PS_ALTERNATE },
        { "CLR_INVALID", static_cast<long long>(CLR_INVALID) },
    };
    return names;
}

const std::map<std::string, int>& StockNames()
{
    static const std::map<std::string, int> names = {
        { "WHITE_BRUSH", WHITE_BRUSH }, { "BLACK_BRUSH", BLACK_BRUSH }, { "NULL_BRUSH", NULL_BRUSH },
        { "WHITE_PEN", WHITE_PEN },     { "BLACK_PEN", BLACK_PEN },     { "NULL_PEN", NULL_PEN },
    };
    return names;
}

const std::map<std::string, int>& ColourNames()
{
    static const std::map<std::string, int> names = {
        { "COLOR_BTNFACE", COLOR_BTNFACE }, { "COLOR_3DSHADOW", COLOR_3DSHADOW }, { "COLOR_WINDOW", COLOR_WINDOW },
        { "COLOR_HIGHLIGHT", COLOR_HIGHLIGHT },
    };
    return names;
}

RECT ParseRect(const std::string& raw)
{
    std::string text = raw;
    std::size_t brace = text.find('{');
    std::size_t end = text.find('}');
    RECT r {};
    if (brace == std::string::npos || end == std::string::npos)
        return r;
    std::vector<std::string> parts = SplitTopLevel(text.substr(brace + 1, end - brace - 1));
    if (parts.size() == 4)
        r = { static_cast<LONG>(*ParseNumber(parts[0])), static_cast<LONG>(*ParseNumber(parts[1])),
              static_cast<LONG>(*ParseNumber(parts[2])), static_cast<LONG>(*ParseNumber(parts[3])) };
    return r;
}

std::vector<POINT> ParsePoints(const std::string& text)
{
    std::vector<POINT> points;
    static const std::regex point(R"(\((-?\d+),\s*(-?\d+)\))");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), point); it != std::sregex_iterator(); ++it)
        points.push_back({ std::stoi((*it)[1]), std::stoi((*it)[2]) });
    return points;
}

}

SceneRunner::SceneRunner(const SceneScript& script)
    : m_script(script)
{
    HDC dc = CreateCompatibleDC(nullptr);
    BITMAPINFO info {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = script.width;
    info.bmiHeader.biHeight = -script.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    HBITMAP canvas = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, nullptr, nullptr, 0);
    SelectObject(dc, canvas);
    SurfaceOf(canvas)->Fill(ToPixel(script.clearColour));
    m_handles["dc"] = dc;
    m_canvas = canvas;
    m_dcs.push_back(dc);
}

SceneRunner::~SceneRunner()
{
    for (void* dc : m_dcs)
        DeleteDC(static_cast<HDC>(dc));
    DeleteObject(m_canvas);
    for (void* h : m_created)
        DeleteObject(h);
}

std::vector<std::string> SceneRunner::UnsupportedCalls(const SceneScript& script)
{
    std::vector<std::string> missing;
    for (const SceneCall& call : script.calls) {
        if (!Served().count(call.function) && std::find(missing.begin(), missing.end(), call.function) == missing.end())
            missing.push_back(call.function);
    }
    return missing;
}

void* SceneRunner::Handle(const std::string& raw)
{
    std::string text = raw;
    static const std::regex stock(R"(^GetStockObject\((\w+)\)$)");
    static const std::regex sysBrush(R"(^\(HBRUSH\)\((\w+)\+1\)$)");
    std::smatch m;
    if (std::regex_match(text, m, stock))
        return GetStockObject(StockNames().at(m[1]));
    if (std::regex_match(text, m, sysBrush))
        return reinterpret_cast<void*>(static_cast<std::intptr_t>(ColourNames().at(m[1]) + 1));
    if (text == "NULL")
        return nullptr;
    auto it = m_handles.find(text);
    if (it == m_handles.end()) {
        m_problems.push_back("unknown handle " + text);
        return nullptr;
    }
    return it->second;
}

long long SceneRunner::Value(const SceneArgument& argument)
{
    if (argument.value)
        return *argument.value;
    auto it = Names().find(argument.text);
    if (it != Names().end())
        return it->second;
    m_problems.push_back("cannot read argument " + argument.text);
    return 0;
}

int SceneRunner::Int(const SceneCall& call, std::size_t index)
{
    if (index >= call.arguments.size()) {
        m_problems.push_back("line " + std::to_string(call.line) + ": missing argument");
        return 0;
    }
    return static_cast<int>(Value(call.arguments[index]));
}

void SceneRunner::Check(const SceneCall& call, long long actual)
{
    if (call.result.empty())
        return;
    std::string first = SplitTopLevel(call.result).front();
    SceneArgument expected { first, ParseNumber(first) };
    if (!expected.value && first.back() == ')') {
        std::size_t paren = first.rfind(" (");
        if (paren != std::string::npos)
            expected.value = ParseNumber(first.substr(paren + 2, first.size() - paren - 3));
    }
    long long want = expected.value ? *expected.value : Value(expected);
    if (want != actual) {
        m_problems.push_back("line " + std::to_string(call.line) + ": " + call.function + " returned "
                             + std::to_string(actual) + ", GDI returned " + call.result);
    }
}

void SceneRunner::Run()
{
    WritePixels(-1);
    for (std::size_t i = 0; i < m_script.calls.size(); ++i) {
        Execute(m_script.calls[i]);
        CheckRegions(static_cast<int>(i));
        WritePixels(static_cast<int>(i));
    }
}

void SceneRunner::WritePixels(int afterCall)
{
    for (const ScenePixelWrite& write : m_script.pixelWrites) {
        if (write.afterCall != afterCall)
            continue;
        HDC dc = static_cast<HDC>(Handle(write.dc));
        if (write.rawMemory) {
            // The DIB word is 0xAARRGGBB; the surface keeps no alpha, as GetPixel shows.
            if (raster::Surface* surface = SurfaceOf(dc))
                surface->Set(write.x, write.y, write.value);
        } else {
            SetPixelV(dc, write.x, write.y, write.value);
        }
    }
}

void SceneRunner::CheckRegions(int afterCall)
{
    for (const SceneRegionCheck& check : m_script.regionChecks) {
        if (check.afterCall != afterCall)
            continue;
        HRGN rgn = static_cast<HRGN>(Handle(check.region));
        DWORD size = GetRegionData(rgn, 0, nullptr);
        std::vector<char> buffer(size);
        auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
        GetRegionData(rgn, size, data);
        std::vector<std::vector<long long>> actual;
        for (DWORD i = 0; i < data->rdh.nCount; ++i) {
            RECT r;
            std::memcpy(&r, data->Buffer + i * sizeof(RECT), sizeof(RECT));
            actual.push_back({ r.left, r.top, r.right, r.bottom });
        }
        if (actual != check.rects) {
            std::string text = check.region + " has " + std::to_string(actual.size()) + " rects, GDI lists "
                + std::to_string(check.rects.size());
            for (std::size_t k = 0; k < std::max(actual.size(), check.rects.size()); ++k) {
                auto show = [](const std::vector<std::vector<long long>>& rects, std::size_t index) {
                    if (index >= rects.size())
                        return std::string("-");
                    const auto& r = rects[index];
                    return "{" + std::to_string(r[0]) + "," + std::to_string(r[1]) + "," + std::to_string(r[2]) + ","
                        + std::to_string(r[3]) + "}";
                };
                if (k >= actual.size() || k >= check.rects.size() || actual[k] != check.rects[k]) {
                    text += "; first difference at rect " + std::to_string(k) + ": ours " + show(actual, k) + ", GDI "
                        + show(check.rects, k);
                    break;
                }
            }
            m_problems.push_back(text);
        }
    }
}

void SceneRunner::Execute(const SceneCall& call)
{
    const std::string& f = call.function;
    const auto& args = call.arguments;
    auto dc = [&](std::size_t i) { return static_cast<HDC>(Handle(args.at(i).text)); };
    auto keep = [&](void* h) {
        if (!call.assignTo.empty())
            m_handles[call.assignTo] = h;
        if (f == "CreateCompatibleDC")
            m_dcs.push_back(h);
        else
            m_created.push_back(h);
        if (!h)
            m_problems.push_back("line " + std::to_string(call.line) + ": " + f + " failed");
    };
    auto colour = [&](std::size_t i) { return static_cast<COLORREF>(Int(call, i)); };

    if (f == "CreatePen") {
        keep(CreatePen(Int(call, 0), Int(call, 1), colour(2)));
    } else if (f == "ExtCreatePen") {
        static const std::regex brush(R"(LOGBRUSH\{(\w+), (0x[0-9A-Fa-f]+), (\d+)\})");
        std::smatch m;
        LOGBRUSH lb { BS_SOLID, 0, 0 };
        if (std::regex_search(args.at(2).text, m, brush))
            lb.lbColor = static_cast<COLORREF>(*ParseNumber(m[2]));
        keep(ExtCreatePen(static_cast<DWORD>(Int(call, 0)), static_cast<DWORD>(Int(call, 1)), &lb, 0, nullptr));
    } else if (f == "CreateSolidBrush") {
        keep(CreateSolidBrush(colour(0)));
    } else if (f == "CreateHatchBrush") {
        keep(CreateHatchBrush(Int(call, 0), colour(1)));
    } else if (f == "CreatePatternBrush") {
        keep(CreatePatternBrush(static_cast<HBITMAP>(Handle(args.at(0).text))));
    } else if (f == "CreateBitmap") {
        int width = Int(call, 0);
        int height = Int(call, 1);
        int bits = Int(call, 3);
        if (bits == 1) {
            keep(CreateBitmap(width, height, 1, 1, call.monoBits.data()));
        } else {
            std::vector<std::uint32_t> words;
            for (std::uint32_t c : call.colourBits)
                words.push_back(ToPixel(c));
            keep(CreateBitmap(width, height, 1, 32, words.data()));
        }
    } else if (f == "CreateCompatibleDC") {
        keep(CreateCompatibleDC(nullptr));
    } else if (f == "CreateDIBSection") {
        static const std::regex size(R"(biWidth=(-?\d+), biHeight=(-?\d+))");
        std::smatch m;
        BITMAPINFO info {};
        if (std::regex_search(args.at(1).text, m, size)) {
            info.bmiHeader.biWidth = std::stoi(m[1]);
            info.bmiHeader.biHeight = std::stoi(m[2]);
        }
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        keep(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, nullptr, nullptr, 0));
    } else if (f == "SelectObject") {
        if (!SelectObject(dc(0), Handle(args.at(1).text)))
            m_problems.push_back("line " + std::to_string(call.line) + ": SelectObject failed");
    } else if (f == "MoveToEx") {
        Check(call, MoveToEx(dc(0), Int(call, 1), Int(call, 2), nullptr));
    } else if (f == "LineTo") {
        Check(call, LineTo(dc(0), Int(call, 1), Int(call, 2)));
    } else if (f == "Polyline" || f == "Polygon") {
        std::vector<POINT> points = ParsePoints(args.at(1).text);
        int count = static_cast<int>(points.size());
        Check(call, f == "Polyline" ? Polyline(dc(0), points.data(), count) : Polygon(dc(0), points.data(), count));
    } else if (f == "Rectangle" || f == "Ellipse") {
        auto fn = f == "Rectangle" ? &Rectangle : &Ellipse;
        Check(call, fn(dc(0), Int(call, 1), Int(call, 2), Int(call, 3), Int(call, 4)));
    } else if (f == "Arc") {
        Check(call, Arc(dc(0), Int(call, 1), Int(call, 2), Int(call, 3), Int(call, 4), Int(call, 5), Int(call, 6),
                        Int(call, 7), Int(call, 8)));
    } else if (f == "FillRect" || f == "FrameRect") {
        RECT r = ParseRect(args.at(1).text);
        HBRUSH brush = static_cast<HBRUSH>(Handle(args.at(2).text));
        Check(call, f == "FillRect" ? FillRect(dc(0), &r, brush) : FrameRect(dc(0), &r, brush));
    } else if (f == "InvertRect" || f == "DrawFocusRect") {
        RECT r = ParseRect(args.at(1).text);
        Check(call, f == "InvertRect" ? InvertRect(dc(0), &r) : DrawFocusRect(dc(0), &r));
    } else if (f == "DrawEdge") {
        RECT r = ParseRect(args.at(1).text);
        BOOL ok = DrawEdge(dc(0), &r, static_cast<UINT>(Int(call, 2)), static_cast<UINT>(Int(call, 3)));
        Check(call, ok);
        std::size_t after = call.result.find("rc afterwards = ");
        if (after != std::string::npos) {
            RECT expected = ParseRect(call.result.substr(after));
            if (!EqualRect(&expected, &r))
                m_problems.push_back("line " + std::to_string(call.line) + ": BF_ADJUST rectangle differs");
        }
    } else if (f == "SetPixelV") {
        Check(call, SetPixelV(dc(0), Int(call, 1), Int(call, 2), colour(3)));
    } else if (f == "SetPixel") {
        COLORREF result = SetPixel(dc(0), Int(call, 1), Int(call, 2), colour(3));
        // Outside the surface GDI reports -1 or the colour depending on the version; only
        // in-range results are compared.
        if (result != CLR_INVALID)
            Check(call, result);
    } else if (f == "GetPixel") {
        COLORREF result = GetPixel(dc(0), Int(call, 1), Int(call, 2));
        // Outside the clip Windows reports CLR_INVALID where the reference's GDI read the pixel.
        if (!(result == CLR_INVALID && ClipOf(dc(0))))
            Check(call, result);
    } else if (f == "SetBkColor") {
        SetBkColor(dc(0), colour(1));
    } else if (f == "SetTextColor") {
        SetTextColor(dc(0), colour(1));
    } else if (f == "SetBkMode") {
        SetBkMode(dc(0), Int(call, 1));
    } else if (f == "SetROP2") {
        SetROP2(dc(0), Int(call, 1));
    } else if (f == "SetStretchBltMode") {
        SetStretchBltMode(dc(0), Int(call, 1));
    } else if (f == "PatBlt") {
        Check(call, PatBlt(dc(0), Int(call, 1), Int(call, 2), Int(call, 3), Int(call, 4), static_cast<DWORD>(Int(call, 5))));
    } else if (f == "BitBlt") {
        Check(call, BitBlt(dc(0), Int(call, 1), Int(call, 2), Int(call, 3), Int(call, 4), dc(5), Int(call, 6), Int(call, 7),
                           static_cast<DWORD>(Int(call, 8))));
    } else if (f == "StretchBlt") {
        Check(call, StretchBlt(dc(0), Int(call, 1), Int(call, 2), Int(call, 3), Int(call, 4), dc(5), Int(call, 6),
                               Int(call, 7), Int(call, 8), Int(call, 9), static_cast<DWORD>(Int(call, 10))));
    } else if (f == "CreateRectRgn") {
        keep(CreateRectRgn(Int(call, 0), Int(call, 1), Int(call, 2), Int(call, 3)));
    } else if (f == "CreateEllipticRgn") {
        keep(CreateEllipticRgn(Int(call, 0), Int(call, 1), Int(call, 2), Int(call, 3)));
    } else if (f == "CreateRoundRectRgn") {
        keep(CreateRoundRectRgn(Int(call, 0), Int(call, 1), Int(call, 2), Int(call, 3), Int(call, 4), Int(call, 5)));
    } else if (f == "CreatePolygonRgn") {
        std::vector<POINT> points = ParsePoints(args.at(0).text);
        keep(CreatePolygonRgn(points.data(), static_cast<int>(points.size()), Int(call, 2)));
    } else if (f == "CombineRgn") {
        Check(call, CombineRgn(static_cast<HRGN>(Handle(args.at(0).text)), static_cast<HRGN>(Handle(args.at(1).text)),
                               static_cast<HRGN>(Handle(args.at(2).text)), Int(call, 3)));
    } else if (f == "FillRgn") {
        Check(call, FillRgn(dc(0), static_cast<HRGN>(Handle(args.at(1).text)), static_cast<HBRUSH>(Handle(args.at(2).text))));
    } else if (f == "IntersectClipRect" || f == "ExcludeClipRect") {
        auto fn = f == "IntersectClipRect" ? &IntersectClipRect : &ExcludeClipRect;
        Check(call, fn(dc(0), Int(call, 1), Int(call, 2), Int(call, 3), Int(call, 4)));
    } else if (f == "GetClipBox") {
        RECT r {};
        Check(call, GetClipBox(dc(0), &r));
        std::size_t rc = call.result.find("rc = ");
        if (rc != std::string::npos) {
            RECT expected = ParseRect(call.result.substr(rc));
            if (!EqualRect(&expected, &r))
                m_problems.push_back("line " + std::to_string(call.line) + ": GetClipBox rectangle differs");
        }
    } else if (f == "SelectClipRgn") {
        Check(call, SelectClipRgn(dc(0), static_cast<HRGN>(Handle(args.at(1).text))));
    } else if (f == "SetViewportOrgEx") {
        Check(call, SetViewportOrgEx(dc(0), Int(call, 1), Int(call, 2), nullptr));
    } else {
        m_problems.push_back("line " + std::to_string(call.line) + ": " + f + " is not replayed");
    }
}

RgbImage SceneRunner::Result() const
{
    RgbImage image;
    image.width = m_script.width;
    image.height = m_script.height;
    image.pixels = ReadPixels(static_cast<HBITMAP>(m_canvas));
    return image;
}

}
