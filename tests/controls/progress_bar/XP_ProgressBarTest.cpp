// The control on a headless form: the value model, the off-screen buffer, the
// stored settings and the release of every drawing object.

#include "controls/progress_bar/XP_ProgressBar.h"

#include "host/runtime/RuntimeError.h"
#include "tests/host/gdi/CanvasSupport.h"
#include "tests/support/FormFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <tuple>

using namespace korvane;
using forms::PropertyValue;
using korvane::testing::ReadAndWrite;

namespace {

// The main window's instance: 329 x 22 pixels at (8, 120), green, smooth, hidden at start.
const std::string kMainWindowBar = "Left = 120\nTop = 1800\nWidth = 4935\nHeight = 330\nVisible = False\n"
                                   "BrushStyle = 0\nColor = &H0000C000&\nScrolling = 1";

class ProgressBarControl : public korvane::testing::FormFixture {
protected:
    ProgressBarControl() { RegisterXP_ProgressBar(); }

    // A shown form holding one bar with the settings given.
    XP_ProgressBar& Load(const std::string& settings = kMainWindowBar)
    {
        FormFixture::Load("Form frmTest\nClientWidth = 6000\nClientHeight = 3000\nBegin XP_ProgressBar XP_ProgressBar1\n"
            + settings + "\nEnd\nEnd\n");
        return Get<XP_ProgressBar>("XP_ProgressBar1");
    }
};

int ErrorNumberOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const host::RuntimeError& error) {
        return error.Number();
    }
    return 0;
}

} // namespace

TEST_F(ProgressBarControl, ValueKeepsWholePercentOfMaxAndFailuresChangeNothing)
{
    XP_ProgressBar& bar = Load();
    // Max and Value set; the percentage after, the Value read back, and the run-time error raised.
    const std::tuple<std::int32_t, std::int32_t, std::int32_t, std::int32_t, int> cases[] = {
        { 2000, 1234, 62, 1240, 0 }, // 61.7
        { 200, 1, 0, 0, 0 },         // 0.5 rounds to even
        { 200, 3, 2, 4, 0 },         // 1.5 rounds to even
        { 100, 150, 150, 150, 0 },   // not clamped
        { 100, -5, -5, -5, 0 },
        { 100, 30000000, -5, -5, 6 }, // Value * 100 overflows
        { 1, 21474837, -5, 0, 6 },    // the percentage leaves 32 bits
        { 0, 5, -5, 0, 11 },          // division by zero
    };
    for (const auto& [max, value, percent, read, error] : cases) {
        bar.LetMax(max);
        const int raised = ErrorNumberOf([&] { bar.LetValue(value); });
        EXPECT_EQ(std::tuple(raised, bar.Percent(), bar.Value()), std::tuple(error, percent, read)) << value << " of " << max;
    }
    bar.LetMax(100);
    bar.LetValue(10000);
    bar.LetMax(2000000000);
    EXPECT_EQ(ErrorNumberOf([&] { (void)bar.Value(); }), 6) << "100 x 2e9 leaves 32 bits";

    // Max keeps the percentage and does not repaint.
    bar.LetMax(100);
    bar.LetValue(50);
    const int presents = Headless().PresentCount(FormWindow());
    bar.LetMax(2000);
    EXPECT_EQ(bar.Value(), 1000);
    EXPECT_EQ(Headless().PresentCount(FormWindow()), presents);
}

TEST_F(ProgressBarControl, BufferGrowsAndIsKept)
{
    XP_ProgressBar& bar = Load();
    EXPECT_EQ(bar.hdc(), bar.Buffer().BufferDC);
    const int steps[][4] = {
        // width, height, then the buffer's
        { 100, 10, 329, 22 }, // smaller: the old buffer stays
        { 400, 10, 400, 10 }, // a new buffer has exactly the asked size, even the lower height
        { 420, 8, 420, 8 },
        { 50, 5, 420, 8 },
    };
    for (const auto& step : steps) {
        bar.Move(bar.Left(), bar.Top(), step[0] * 15, step[1] * 15);
        EXPECT_EQ(std::pair(bar.Buffer().BufferWidth, bar.Buffer().BufferHeight), std::pair(step[2], step[3])) << step[0] << "x" << step[1];
    }

    // pDraw with no size copies the whole buffer.
    bar.LetValue(100);
    const gdi::testing::Canvas target(420, 8);
    bar.pDraw(target.Dc(), 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(target.Pixels(), gdi::ReadColorRefs(bar.hdc()));

    // Without a size there is no buffer: drawing goes to the control's own DC.
    XP_ProgressBar& flat = Load("Width = 0");
    EXPECT_FALSE(flat.UsesBuffer());
    EXPECT_EQ(flat.hdc(), flat.hDC());
    EXPECT_NO_THROW(flat.LetValue(50));
}

TEST_F(ProgressBarControl, EachStoredSettingRoundTrips)
{
    // Every key: the value read is written back, and read from nothing the default
    // is; set by key, in any case, it goes through its Let, which reports it.
    struct Case {
        std::string_view key;
        PropertyValue value;
        PropertyValue written = value;
        PropertyValue writtenWhenAbsent = {};
    };
    const std::int64_t highlight = GetSysColor(COLOR_HIGHLIGHT);
    const Case cases[] = {
        { "BrushStyle", std::int64_t { HS_BDIAGONAL } },
        // The colour is kept translated, so even the default one is stored.
        { "Color", std::int64_t { 0x8000000D }, highlight, highlight },
        { "Image", forms::PictureRef { "missing.png" } },
        { "Max", std::int64_t { 2000 } },
        { "Min", std::int64_t { 5 } },
        { "Orientation", std::int64_t { 1 } },
        { "Scrolling", std::int64_t { 3 } },
        { "ShowText", true },
        { "Value", std::int64_t { 62 } }, // the percentage, not rescaled through the Max read before it
    };
    const auto& table = XP_ProgressBar::Settings();
    ASSERT_EQ(std::size(cases), table.Entries().size());
    const std::string plain = "Width = 300";
    forms::PropertyBag all, written;
    for (const Case& c : cases) {
        EXPECT_EQ(ReadAndWrite(Load(plain), c.key, &c.value), c.written) << c.key;
        EXPECT_EQ(ReadAndWrite(Load(plain), c.key, nullptr), c.writtenWhenAbsent) << c.key;
        XP_ProgressBar& bar = Load(plain);
        EXPECT_TRUE(bar.ChangedProperties().empty()) << "reading the settings is no change";
        std::string lower(c.key);
        std::transform(lower.begin(), lower.end(), lower.begin(), [](char ch) { return static_cast<char>(std::tolower(ch)); });
        ASSERT_TRUE(bar.LetStoredSetting(lower, c.value)) << c.key;
        EXPECT_EQ(bar.ChangedProperties(), std::set<std::string> { std::string(c.key) });
        EXPECT_EQ(ReadAndWrite(bar, c.key, &c.value), c.written) << c.key;
        all.Set(c.key, c.value);
    }
    EXPECT_FALSE(Load().LetStoredSetting("Colour", std::int64_t { 1 }));

    // All together, in the handlers' orders: the table's keys, each once.
    table.Read(Load(plain), all, XP_ProgressBar::kReadOrder);
    table.Write(Get<XP_ProgressBar>("XP_ProgressBar1"), written, XP_ProgressBar::kWriteOrder);
    ASSERT_EQ(written.Entries().size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(written.Entries()[i].key, XP_ProgressBar::kWriteOrder[i]);
        EXPECT_EQ(written.ReadProperty(cases[i].key), cases[i].written) << cases[i].key;
    }
    EXPECT_EQ(XP_ProgressBar::kWriteOrder, XP_ProgressBar::kReadOrder);
}

TEST_F(ProgressBarControl, PictureSettingSurvivesAMissingFile)
{
    raster::Surface tile(4, 4, raster::SurfaceFormat::Colour32, 0x000080);
    ASSERT_TRUE(backends::SaveSurfacePng(tile, ResourceFolder() / "tile.png"));
    std::string layout = kMainWindowBar;
    layout.replace(layout.find("Scrolling = 1"), 13, "Scrolling = 8\nImage = Picture(\"tile.png\")");
    for (const COLORREF filled : { 0x800000u, 0xFFFFFFu }) { // the file there, then gone
        if (filled == 0xFFFFFF)
            std::filesystem::remove(ResourceFolder() / "tile.png");
        XP_ProgressBar& bar = Load(layout);
        EXPECT_NO_THROW(bar.LetValue(100));
        EXPECT_EQ(GetPixel(bar.hdc(), 100, 10), filled);
        EXPECT_EQ(TheForm().SaveLayout().children.at(0).settings.ReadPicture("Image"), forms::PictureRef { "tile.png" });
    }
}

TEST_F(ProgressBarControl, EveryAssignmentReachesTheScreenAndRepaintsReleaseEverything)
{
    XP_ProgressBar& bar = Load();
    bar.SetVisible(true);
    bar.LetShowText(true); // makes the font's handle once
    const std::size_t loaded = gdi::LiveObjectCount();
    for (int i = 0; i < 1800; ++i) {
        if (i % 100 == 0) {
            bar.LetScrolling(i / 100 % 9);
            bar.LetOrientation(i / 900);
        }
        bar.LetValue(i % 101);
    }
    EXPECT_EQ(gdi::LiveObjectCount(), loaded);

    bar.LetScrolling(1);
    bar.LetOrientation(0);
    bar.LetShowText(false);
    bar.LetMax(2000);
    const int before = Headless().PresentCount(FormWindow());
    for (std::int32_t i = 0; i <= 2000; ++i)
        bar.LetValue(i);
    EXPECT_GE(Headless().PresentCount(FormWindow()) - before, 2001);
    const raster::Surface* frame = Headless().Frame(FormWindow());
    ASSERT_TRUE(frame);
    // The bar sits at (8, 120); at 100 % the smooth fill reaches the frame.
    EXPECT_EQ(std::tuple(frame->At(8 + 326, 130), frame->At(8 + 327, 130), frame->At(8 + 328, 130)),
              std::tuple(gdi::ToPixel(0x00C000), gdi::ToPixel(0xEFEFEF), gdi::ToPixel(0x686868)));

    TheForm().Unload();
    // Terminate releases the buffer, and nothing aims at the deleted buffer.
    EXPECT_EQ(std::pair(bar.Buffer().BufferDC, bar.hdc()), std::pair(HDC {}, HDC {}));
    // The fixture checks that no GDI object is left.
}
