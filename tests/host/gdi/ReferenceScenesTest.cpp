// Replays every reference scene through the facade and compares the result with GDI's
// picture pixel for pixel, with zero tolerance; a mismatch leaves actual, expected and
// diff PNGs among the test dumps.

#include "SceneRunner.h"

#include "host/gdi/GdiInternal.h"
#include "tests/support/GoldenImage.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace korvane::gdi::test {
namespace {

const std::filesystem::path ReferenceDir = KORVANE_GDI_REFERENCE_DIR;
const std::string NoReference = "reference_data_missing";

// Scenes whose pixels are known not to match yet. A mismatch there skips with the
// reason; a match passes, so fixing one shows up at once.
const std::map<std::string, std::string> KnownDifferences = {
    { "pens_wide", "diagonal wide pens are swept with a disc; GDI fills a polygon with round caps" },
    { "pens_styles", "PS_ALTERNATE and wide styled pens differ" },
};

// The scenes index.txt lists, one test each.
std::vector<std::string> SceneNames()
{
    std::vector<std::string> names;
    std::ifstream index(ReferenceDir / "index.txt");
    for (std::string line; std::getline(index, line);) {
        if (std::string name = line.substr(0, line.find(' ')); !name.empty())
            names.push_back(name);
    }
    return names.empty() ? std::vector<std::string> { NoReference } : names;
}

class ReferenceScene : public ::testing::TestWithParam<std::string> { };

TEST_P(ReferenceScene, MatchesGdi)
{
    const std::string& name = GetParam();
    std::filesystem::path picture = ReferenceDir / (name + ".png");
    if (name == NoReference || !std::filesystem::exists(picture))
        GTEST_SKIP() << "reference data not found in " << ReferenceDir;

    std::ifstream script(ReferenceDir / (name + ".txt"));
    std::size_t liveBefore = LiveObjectCount();
    SceneReplay replay = ReplayScene(script);
    EXPECT_EQ(LiveObjectCount(), liveBefore) << name << " left GDI objects alive";
    if (!replay.unsupported.empty())
        GTEST_SKIP() << name << " uses calls the facade does not serve yet: " << ::testing::PrintToString(replay.unsupported);
    ::testing::AssertionResult same = korvane::testing::MatchesPicture(replay.picture, picture, "gdi-scenes/" + name);
    auto known = KnownDifferences.find(name);
    if (known != KnownDifferences.end() && (!same || !replay.problems.empty()))
        GTEST_SKIP() << same.message() << "; " << replay.problems.size() << " results differ; known: " << known->second;
    for (const std::string& problem : replay.problems)
        ADD_FAILURE() << name << ": " << problem;
    EXPECT_TRUE(same);
}

// Replays a scene written here; every call must be served and agree with its result.
raster::Surface Replay(const std::string& text)
{
    std::istringstream script(text);
    SceneReplay replay = ReplayScene(script);
    EXPECT_TRUE(replay.unsupported.empty()) << text;
    for (const std::string& problem : replay.problems)
        ADD_FAILURE() << problem;
    return replay.picture;
}

// No reference scene frames a region, moves the brush origin or reads bits back yet;
// each must replay exactly like calls that the reference pictures prove.
TEST(SceneReplay, FramedRegionsBrushOriginsAndBitsReadBackMatchProvenCalls)
{
    const std::string start = "size: 40x20\nclear: every pixel preset to 0xFFFFFF\ncalls:\n"
                              "  brush1 = CreateSolidBrush(0x0000FF)\n"
                              "  brush2 = CreateHatchBrush(HS_CROSS (4), 0x000000)\n"
                              "  bitmap1 = CreateBitmap(16, 2, 1, 1, bits)\n"
                              "    row 0: (bytes 0xF0,0x0F)\n"
                              "    row 1: (bytes 0x0F,0xF0)\n";
    raster::Surface replayed = Replay(start
                               + "  rgn1 = CreateRectRgn(2, 2, 12, 10)\n"
                                 "  FrameRgn(dc, rgn1, brush1, 1, 1) -> TRUE\n"
                                 "  rgn2 = CreateRectRgn(14, 2, 26, 12)\n"
                                 "  FrameRgn(dc, rgn2, brush1, 2, 3) -> TRUE\n"
                                 "  SelectObject(dc, brush2)\n"
                                 "  SetBrushOrgEx(dc, 3, 2, NULL) -> TRUE\n"
                                 "  PatBlt(dc, 28, 2, 10, 10, PATCOPY) -> TRUE\n"
                                 "  GetBitmapBits(bitmap1, 8, buffer) -> 4\n"
                                 "    row 0: (bytes 0xF0,0x0F)\n"
                                 "    row 1: (bytes 0x0F,0xF0)\n"
                                 "  # it copies the bits read into the DIB memory at (2, 14), 1 bits as 0x00FF00\n");
    raster::Surface proven = Replay(start
                             + "  FrameRect(dc, {2, 2, 12, 10}, brush1) -> 1\n"
                               "  FillRect(dc, {14, 2, 26, 5}, brush1) -> 1\n"
                               "  FillRect(dc, {14, 9, 26, 12}, brush1) -> 1\n"
                               "  FillRect(dc, {14, 5, 16, 9}, brush1) -> 1\n"
                               "  FillRect(dc, {24, 5, 26, 9}, brush1) -> 1\n"
                               "  memdc1 = CreateCompatibleDC(NULL)\n"
                               "  dib1 = CreateDIBSection(NULL, {biWidth=16, biHeight=-16, biBitCount=32}, DIB_RGB_COLORS, &bits, NULL, 0)\n"
                               "  SelectObject(memdc1, dib1)\n"
                               "  SelectObject(memdc1, brush2)\n"
                               "  PatBlt(memdc1, 0, 0, 16, 16, PATCOPY) -> TRUE\n"
                               "  BitBlt(dc, 28, 2, 10, 10, memdc1, 1, 0, SRCCOPY) -> TRUE\n"
                               "  memdc2 = CreateCompatibleDC(NULL)\n"
                               "  SelectObject(memdc2, bitmap1)\n"
                               "  SetBkColor(dc, 0x00FF00)\n"
                               "  BitBlt(dc, 2, 14, 16, 2, memdc2, 0, 0, SRCCOPY) -> TRUE\n");
    EXPECT_TRUE(korvane::testing::SamePixels(replayed, proven));
}

INSTANTIATE_TEST_SUITE_P(Scenes, ReferenceScene, ::testing::ValuesIn(SceneNames()),
                         [](const ::testing::TestParamInfo<std::string>& scene) { return scene.param; });

}
}
