#pragma once

// Reads the call lists that accompany the GDI reference pictures: the canvas, the calls
// in order with their arguments and recorded results, the region rectangles GDI
// reported along the way, and what the program wrote to pixels outside GDI.

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace korvane::gdi::test {

struct SceneCall {
    int line = 0;
    std::string assignTo; // "pen1" in "pen1 = CreatePen(...)"
    std::string function;
    std::vector<std::string> arguments; // as written, trimmed
    std::string result;                 // text after "->", trimmed
    std::vector<std::uint8_t> monoBits;    // rows listed under the call as bytes
    std::vector<std::uint32_t> colourBits; // rows listed under the call as COLORREFs
};

struct SceneRegionCheck {
    int afterCall = 0; // index of the call after which the data was listed
    std::string region;
    std::vector<std::vector<long long>> rects;
};

// Pixels the program set outside GDI, or by calls a remark summarises.
struct SceneWrite {
    enum class Kind {
        Colour,  // SetPixelV(dc, x, y, value)
        DibWord, // the 0xAARRGGBB word `value` stored in the DIB memory
        Bits,    // the bits the last GetBitmapBits read, one pixel each: 0 -> `zero`, 1 -> `value`
    };
    Kind kind = Kind::Colour;
    int afterCall = 0;
    std::string dc = "dc";
    int x = 0;
    int y = 0;
    std::uint32_t value = 0;
    std::uint32_t zero = 0;
};

struct SceneScript {
    std::string name;
    int width = 0;
    int height = 0;
    std::uint32_t clearColour = 0xFFFFFF; // COLORREF
    std::vector<SceneCall> calls;
    std::vector<SceneRegionCheck> regionChecks;
    std::vector<SceneWrite> writes;

    static std::optional<SceneScript> Load(const std::string& path, std::string& error);
    static std::optional<SceneScript> Read(std::istream& in, const std::string& path, std::string& error);
};

// Splits "a, (b, c), {d}" at top-level commas.
std::vector<std::string> SplitTopLevel(const std::string& text);
// "12", "-3", "0xFF", and "NAME (value)" or "A | B (value)" by the value in parentheses.
std::optional<long long> ParseNumber(const std::string& text);

}
