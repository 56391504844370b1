#pragma once

// Reads the call lists that accompany the GDI reference pictures: the canvas, the calls
// in order with their arguments and recorded results, and the region rectangles GDI
// reported along the way.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace korvane::gdi::test {

struct SceneArgument {
    std::string text;              // as written, trimmed
    std::optional<long long> value; // a number, or the value in "NAME (value)"
};

struct SceneCall {
    int line = 0;
    std::string assignTo;               // "pen1" in "pen1 = CreatePen(...)"
    std::string function;
    std::vector<SceneArgument> arguments;
    std::string result;                 // text after "->", trimmed
    std::vector<std::uint8_t> monoBits; // CreateBitmap(..., 1, bits) rows, as listed
    std::vector<std::uint32_t> colourBits; // CreateBitmap(..., 32, bits) as COLORREFs
};

struct SceneRegionCheck {
    int afterCall = 0; // index of the call after which the data was listed
    std::string region;
    std::vector<std::vector<long long>> rects;
};

struct ScenePixelWrite { // pixels set outside GDI, or by calls a remark summarises
    int afterCall = 0;
    std::string dc;
    int x = 0;
    int y = 0;
    std::uint32_t value = 0;
    bool rawMemory = false; // a 0xAARRGGBB DIB word rather than a COLORREF
};

struct SceneScript {
    std::string name;
    int width = 0;
    int height = 0;
    std::uint32_t clearColour = 0xFFFFFF; // COLORREF
    std::vector<SceneCall> calls;
    std::vector<SceneRegionCheck> regionChecks;
    std::vector<ScenePixelWrite> pixelWrites;

    static std::optional<SceneScript> Load(const std::string& path, std::string& error);
};

// Splits "a, (b, c), {d}" at top-level commas.
std::vector<std::string> SplitTopLevel(const std::string& text);
std::optional<long long> ParseNumber(const std::string& text);

}
