// Replays every reference scene through the facade and compares the result with GDI's
// picture pixel for pixel, with zero tolerance. On a mismatch the first differing pixel
// is logged and actual, expected and diff PNGs are written to the build folder.

#include "PngFiles.h"
#include "SceneRunner.h"
#include "SceneScript.h"

#include "host/gdi/GdiInternal.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>

namespace korvane::gdi::test {
namespace {

std::string ReferenceDir() { return KORVANE_GDI_REFERENCE_DIR; }

// Scenes whose calls are served but whose pixels are known not to match yet. A mismatch
// there skips with the reason; a match passes, so fixing one shows up at once.
const std::map<std::string, std::string>& KnownDifferences()
{
    static const std::map<std::string, std::string> known = {
        { "pens_wide", "diagonal wide pens are swept with a disc; GDI fills a polygon with round caps" },
        { "pens_styles", "PS_ALTERNATE and wide styled pens differ" },
    };
    return known;
}

std::string Hex(std::uint32_t rgb)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02X,%02X,%02X", (rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
    return text;
}

void ReplayScene(const std::string& name)
{
    std::filesystem::path dir = ReferenceDir();
    std::filesystem::path script = dir / (name + ".txt");
    std::filesystem::path picture = dir / (name + ".png");
    if (!std::filesystem::exists(script) || !std::filesystem::exists(picture))
        GTEST_SKIP() << "reference data not found in " << dir;

    std::string error;
    std::optional<SceneScript> scene = SceneScript::Load(script.string(), error);
    ASSERT_TRUE(scene) << error;
    std::vector<std::string> unsupported = SceneRunner::UnsupportedCalls(*scene);
    if (!unsupported.empty()) {
        std::string list;
        for (const std::string& f : unsupported)
            list += (list.empty() ? "" : ", ") + f;
        GTEST_SKIP() << name << " uses calls the facade does not serve yet: " << list;
    }
    RgbImage expected;
    ASSERT_TRUE(LoadPng(picture.string(), expected)) << "cannot read " << picture;
    ASSERT_EQ(expected.width, scene->width);
    ASSERT_EQ(expected.height, scene->height);

    std::size_t liveBefore = LiveObjectCount();
    RgbImage actual;
    std::vector<std::string> problems;
    {
        SceneRunner runner(*scene);
        runner.Run();
        actual = runner.Result();
        problems = runner.Problems();
    }
    EXPECT_EQ(LiveObjectCount(), liveBefore) << name << " left GDI objects alive";

    ASSERT_EQ(actual.pixels.size(), expected.pixels.size());
    RgbImage diff = expected;
    std::size_t differing = 0;
    std::size_t first = 0;
    for (std::size_t i = 0; i < actual.pixels.size(); ++i) {
        bool same = actual.pixels[i] == expected.pixels[i];
        diff.pixels[i] = same ? 0xFFFFFF : 0xFF0000;
        if (!same && differing++ == 0)
            first = i;
    }
    auto known = KnownDifferences().find(name);
    if (known != KnownDifferences().end() && (differing > 0 || !problems.empty()))
        GTEST_SKIP() << name << ": " << differing << " pixels differ, " << problems.size()
                     << " results differ; known: " << known->second;
    for (const std::string& problem : problems)
        ADD_FAILURE() << name << ": " << problem;
    if (differing == 0)
        return;
    std::filesystem::path out = std::filesystem::path(KORVANE_SCENE_OUTPUT_DIR);
    std::filesystem::create_directories(out);
    SavePng((out / (name + ".actual.png")).string(), actual);
    SavePng((out / (name + ".expected.png")).string(), expected);
    SavePng((out / (name + ".diff.png")).string(), diff);
    int x = static_cast<int>(first % static_cast<std::size_t>(actual.width));
    int y = static_cast<int>(first / static_cast<std::size_t>(actual.width));
    ADD_FAILURE() << name << ": " << differing << " pixels differ; first at (" << x << "," << y << "): ours RGB "
                  << Hex(actual.pixels[first]) << ", GDI RGB " << Hex(expected.pixels[first]) << " (PNGs in " << out
                  << ")";
}

#define KORVANE_SCENE(Group, Name) \
    TEST(Group, Name) { ReplayScene(#Name); }

KORVANE_SCENE(ReferenceLines, lines_hv)
KORVANE_SCENE(ReferenceLines, lines_diag)
KORVANE_SCENE(ReferenceLines, lines_polyline)
KORVANE_SCENE(ReferenceLines, lines_offscreen)
KORVANE_SCENE(ReferenceLines, lines_rop2)
KORVANE_SCENE(ReferencePens, pens_dot_transparent)
KORVANE_SCENE(ReferencePens, pens_dot_opaque)
KORVANE_SCENE(ReferencePens, pens_styles)
KORVANE_SCENE(ReferencePens, pens_wide)
KORVANE_SCENE(ReferenceShapes, rect_rectangle)
KORVANE_SCENE(ReferenceShapes, rect_fillframe)
KORVANE_SCENE(ReferenceShapes, roundrect)
KORVANE_SCENE(ReferenceShapes, ellipse)
KORVANE_SCENE(ReferenceShapes, polygon_fill)
KORVANE_SCENE(ReferenceRegions, rgn_ellipse_0_0_20_20)
KORVANE_SCENE(ReferenceRegions, rgn_ellipse_0_0_60_25)
KORVANE_SCENE(ReferenceRegions, rgn_ellipse_2_2_58_23)
KORVANE_SCENE(ReferenceRegions, rgn_poly_A)
KORVANE_SCENE(ReferenceRegions, rgn_poly_B)
KORVANE_SCENE(ReferenceRegions, rgn_corners_diff)
KORVANE_SCENE(ReferenceRegions, rgn_combine_diff)
KORVANE_SCENE(ReferenceRegions, rgn_roundrect)
KORVANE_SCENE(ReferenceRegions, rgn_poly_star)
KORVANE_SCENE(ReferenceRegions, clip_rects)
KORVANE_SCENE(ReferenceBrushes, hatch_opaque)
KORVANE_SCENE(ReferenceBrushes, hatch_transparent)
KORVANE_SCENE(ReferenceBrushes, hatch_ops_transparent)
KORVANE_SCENE(ReferenceBrushes, pattern_color_8x8)
KORVANE_SCENE(ReferenceBrushes, pattern_color_5x3)
KORVANE_SCENE(ReferenceBrushes, pattern_mono_8x8)
KORVANE_SCENE(ReferenceEdges, drawedge_etched)
KORVANE_SCENE(ReferenceEdges, drawedge_sunkenouter)
KORVANE_SCENE(ReferenceEdges, drawedge_sunken)
KORVANE_SCENE(ReferenceEdges, drawedge_raised)
KORVANE_SCENE(ReferenceEdges, drawedge_flags)
KORVANE_SCENE(ReferenceEdges, drawframecontrol_push)
KORVANE_SCENE(ReferenceEdges, focus_white)
KORVANE_SCENE(ReferenceBlits, blt_rops)
KORVANE_SCENE(ReferenceBlits, blt_mono_to_color)
KORVANE_SCENE(ReferenceBlits, stretch_checker_bow)
KORVANE_SCENE(ReferenceBlits, stretch_checker_coc)
KORVANE_SCENE(ReferenceBlits, stretch_unique_bow)
KORVANE_SCENE(ReferencePixels, pixel_oob)
KORVANE_SCENE(ReferencePixels, gradient_rect)
KORVANE_SCENE(ReferencePixels, exttextout_opaque)
KORVANE_SCENE(ReferencePixels, viewport_org)

}
}
