#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace korvane::gdi::test {

// 8-bit RGB PNG files as 0x00RRGGBB pixels, top row first.
struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

bool LoadPng(const std::string& path, RgbImage& image);
bool SavePng(const std::string& path, const RgbImage& image);

}
