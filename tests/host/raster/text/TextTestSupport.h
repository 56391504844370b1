#pragma once

#include "host/raster/text/Font.h"

#include <gtest/gtest.h>

#include <string>

namespace korvane::raster::text::testing {

inline Font MakeFont(const std::string& face, int height, int weight = 400, bool italic = false)
{
    FontSpec fontSpec;
    fontSpec.faceName = face;
    fontSpec.height = height;
    fontSpec.weight = weight;
    fontSpec.italic = italic;
    auto font = Font::Create(fontSpec);
    EXPECT_TRUE(font.Ok()) << font.Error();
    return font.Value();
}

inline int InkCount(const Glyph& glyph)
{
    int count = 0;
    for (auto bit : glyph.mask)
        count += bit;
    return count;
}

inline bool IsCjkFamily(const std::string& family)
{
    return family.find("UMing") != std::string::npos || family.find("CJK") != std::string::npos;
}

}
