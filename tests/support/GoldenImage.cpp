#include "tests/support/GoldenImage.h"

#include "host/backends/headless/HeadlessBackend.h"
#include "host/gdi/GdiInternal.h"
#include "host/raster/image/Codecs.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <set>
#include <sstream>

namespace korvane::testing {
namespace {

namespace fs = std::filesystem;

constexpr raster::PixelValue kColourBits = 0xFFFFFF;

fs::path DumpPath(std::string_view name, const char* what)
{
    return fs::path(KORVANE_TEST_DUMP_DIR) / (std::string(name) + "." + what + ".png");
}

std::string DescribeColour(raster::PixelValue pixel)
{
    char text[32];
    std::snprintf(text, sizeof text, "RGB(%u, %u, %u)", (pixel >> 16) & 0xFFu, (pixel >> 8) & 0xFFu, pixel & 0xFFu);
    return text;
}

bool Save(const raster::Surface& surface, const fs::path& path)
{
    std::error_code ignored;
    fs::create_directories(path.parent_path(), ignored);
    return backends::SaveSurfacePng(surface, path);
}

std::string DumpName(std::string_view name)
{
    if (!name.empty())
        return std::string(name);
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    return test ? std::string(test->test_suite_name()) + "/" + test->name() : "unnamed";
}

// `expectedFile` is copied as the expected dump when there is one, so the dump is the golden itself.
::testing::AssertionResult Report(const raster::Surface& actual, const raster::Surface& expected,
    const std::string& name, const fs::path& expectedFile)
{
    std::ostringstream message;
    // Pictures of one size get a diff: the differing pixels red, the equal ones a faded copy of the expected picture.
    raster::Surface diff;
    if (actual.Width() != expected.Width() || actual.Height() != expected.Height()) {
        message << "size " << actual.Width() << "x" << actual.Height() << ", expected " << expected.Width() << "x"
                << expected.Height();
    } else {
        diff = raster::Surface(expected.Width(), expected.Height(), raster::SurfaceFormat::Colour32);
        long differing = 0;
        POINT first {};
        for (int y = 0; y < expected.Height(); ++y) {
            for (int x = 0; x < expected.Width(); ++x) {
                raster::PixelValue wanted = expected.At(x, y) & kColourBits;
                raster::PixelValue faded = 0;
                for (int shift = 0; shift < 24; shift += 8)
                    faded |= ((((wanted >> shift) & 0xFFu) + 3 * 0xFFu) / 4) << shift;
                bool same = (actual.At(x, y) & kColourBits) == wanted;
                diff.Set(x, y, same ? faded : 0xFF0000);
                if (!same && differing++ == 0)
                    first = { x, y };
            }
        }
        if (differing == 0)
            return ::testing::AssertionSuccess();
        message << differing << " of " << static_cast<long>(expected.Width()) * expected.Height()
                << " pixels differ; the first at (" << first.x << ", " << first.y << ") is "
                << DescribeColour(actual.At(first.x, first.y)) << ", expected " << DescribeColour(expected.At(first.x, first.y));
    }
    Save(actual, DumpPath(name, "actual"));
    std::error_code ignored;
    if (!expectedFile.empty())
        fs::copy_file(expectedFile, DumpPath(name, "expected"), fs::copy_options::overwrite_existing, ignored);
    else
        Save(expected, DumpPath(name, "expected"));
    if (diff.Width() > 0)
        Save(diff, DumpPath(name, "diff"));
    message << "\n  pictures: " << DumpPath(name, "{actual,expected,diff}").string();
    return ::testing::AssertionFailure() << name << ": " << message.str();
}

// The PNG's colours without their alpha; nothing when it cannot be read.
std::optional<raster::Surface> LoadPicture(const fs::path& file)
{
    auto image = raster::image::LoadImageFile(file);
    if (!image)
        return std::nullopt;
    const raster::image::Image& pixels = image.Value();
    raster::Surface picture(pixels.Width(), pixels.Height(), raster::SurfaceFormat::Colour32);
    for (int y = 0; y < pixels.Height(); ++y)
        for (int x = 0; x < pixels.Width(); ++x)
            picture.Set(x, y, pixels.At(x, y) & kColourBits);
    return picture;
}

template <typename Test>
int CountPixels(const raster::Surface& surface, RECT rect, Test test)
{
    int count = 0;
    for (int y = std::max<int>(0, rect.top); y < std::min<int>(surface.Height(), rect.bottom); ++y)
        for (int x = std::max<int>(0, rect.left); x < std::min<int>(surface.Width(), rect.right); ++x)
            count += test(surface.At(x, y) & kColourBits);
    return count;
}

} // namespace

::testing::AssertionResult MatchesPicture(const raster::Surface& actual, const std::filesystem::path& file,
    std::string_view name)
{
    std::optional<raster::Surface> expected = LoadPicture(file);
    if (!expected)
        return ::testing::AssertionFailure() << "cannot read the picture " << file.string();
    return Report(actual, *expected, DumpName(name), file);
}

::testing::AssertionResult SamePixels(const raster::Surface& actual, const raster::Surface& expected,
    std::string_view name)
{
    return Report(actual, expected, DumpName(name), {});
}

::testing::AssertionResult MatchesGolden(const raster::Surface& actual, std::string_view name)
{
    const fs::path golden = fs::path(KORVANE_GOLDEN_DIR) / (std::string(name) + ".png");
    const std::optional<raster::Surface> expected = LoadPicture(golden);
    if (const char* update = std::getenv("KORVANE_UPDATE_GOLDENS"); update && std::string_view(update) == "1") {
        // A golden written earlier in this run is one that another picture must match.
        static std::set<fs::path> written;
        if (expected && (written.contains(golden) || Report(actual, *expected, std::string(name), golden)))
            return Report(actual, *expected, std::string(name), golden);
        written.insert(golden);
        if (!Save(actual, golden))
            return ::testing::AssertionFailure() << "cannot write the golden " << golden.string();
        std::printf("[ GOLDEN   ] %s %s\n", expected ? "rewrote" : "wrote", golden.string().c_str());
        ::testing::Test::RecordProperty("golden_written", std::string(name));
        return ::testing::AssertionSuccess();
    }
    if (!expected)
        return ::testing::AssertionFailure() << "no golden " << golden.string()
                                             << "; run with KORVANE_UPDATE_GOLDENS=1 to write it";
    return Report(actual, *expected, std::string(name), golden);
}

COLORREF PixelAt(const raster::Surface& surface, int x, int y) { return gdi::ToColorRef(surface.At(x, y)); }

int CountColour(const raster::Surface& surface, RECT rect, COLORREF colour)
{
    const raster::PixelValue wanted = gdi::ToPixel(colour);
    return CountPixels(surface, rect, [&](raster::PixelValue pixel) { return pixel == wanted; });
}

int Ink(const raster::Surface& surface, RECT rect, COLORREF background)
{
    const raster::PixelValue paper = gdi::ToPixel(background);
    return CountPixels(surface, rect, [&](raster::PixelValue pixel) { return pixel != paper; });
}

} // namespace korvane::testing
