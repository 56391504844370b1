// The control on a headless form: the value model, the off-screen buffer, the
// stored settings and the release of every drawing object.

#include "controls/progress_bar/XP_ProgressBar.h"

#include "host/backends/headless/HeadlessBackend.h"
#include "host/forms/Form.h"
#include "host/gdi/GdiInternal.h"
#include "host/runtime/RuntimeError.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace korvane;

namespace {

// The main window's instance: 329 x 22 pixels, green, smooth, hidden at start.
constexpr const char* kLayout = R"(Form frmTest
    ClientWidth = 6000
    ClientHeight = 3000
    Begin XP_ProgressBar XP_ProgressBar1
        Left = 120
        Top = 1800
        Width = 4935
        Height = 330
        Visible = False
        BrushStyle = 0
        Color = &H0000C000&
        Scrolling = 1
    End
End
)";

class ProgressBarControl : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto backend = std::make_unique<backends::HeadlessBackend>();
        headless = backend.get();
        window::UseBackend(std::move(backend));
        RegisterXP_ProgressBar();
    }
    void TearDown() override
    {
        form.reset();
        window::ResetWindowSystem();
    }

    XP_ProgressBar& Load(const std::string& layout = kLayout, const std::filesystem::path& folder = {})
    {
        forms::LayoutParseResult parsed = forms::ParseLayout(layout);
        EXPECT_TRUE(parsed.form) << parsed.error;
        form = std::make_unique<forms::Form>();
        std::string error;
        EXPECT_TRUE(form->Load(*parsed.form, folder, error)) << error;
        return *form->Get<XP_ProgressBar>("XP_ProgressBar1");
    }

    backends::HeadlessBackend* headless = nullptr;
    std::unique_ptr<forms::Form> form;
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

TEST_F(ProgressBarControl, ValueKeepsWholePercentOfMax)
{
    XP_ProgressBar& bar = Load();
    bar.LetMax(2000);
    bar.LetValue(1234);
    EXPECT_EQ(bar.Percent(), 62);
    EXPECT_EQ(bar.Value(), 1240);

    bar.LetMax(200);
    bar.LetValue(1);
    EXPECT_EQ(bar.Percent(), 0) << "0.5 rounds to even";
    bar.LetValue(3);
    EXPECT_EQ(bar.Percent(), 2) << "1.5 rounds to even";

    bar.LetMax(100);
    bar.LetValue(150);
    EXPECT_EQ(bar.Percent(), 150);
    bar.LetValue(-5);
    EXPECT_EQ(bar.Percent(), -5);

    // Max keeps the percentage and does not repaint.
    bar.LetValue(50);
    form->Show();
    const int presents = headless->PresentCount(form->hWnd());
    bar.LetMax(2000);
    EXPECT_EQ(bar.Value(), 1000);
    EXPECT_EQ(headless->PresentCount(form->hWnd()), presents);
}

TEST_F(ProgressBarControl, ValueFailuresChangeNothing)
{
    XP_ProgressBar& bar = Load();
    bar.LetValue(40);
    EXPECT_EQ(ErrorNumberOf([&] { bar.LetValue(30000000); }), 6) << "Value * 100 overflows";
    EXPECT_EQ(bar.Percent(), 40);
    bar.LetMax(1);
    EXPECT_EQ(ErrorNumberOf([&] { bar.LetValue(21474837); }), 6) << "the percentage leaves 32 bits";
    EXPECT_EQ(bar.Percent(), 40);
    bar.LetMax(0);
    EXPECT_EQ(ErrorNumberOf([&] { bar.LetValue(5); }), 11);
    EXPECT_EQ(bar.Percent(), 40);
    bar.LetMax(100);
    bar.LetValue(10000);
    bar.LetMax(2000000000);
    EXPECT_EQ(ErrorNumberOf([&] { (void)bar.Value(); }), 6) << "100 x 2e9 leaves 32 bits";
}

TEST_F(ProgressBarControl, ColourIsStoredTranslated)
{
    XP_ProgressBar& bar = Load();
    EXPECT_EQ(bar.Color(), 0x00C000u);
    bar.LetColor(0x8000000D);
    EXPECT_EQ(bar.Color(), GetSysColor(COLOR_HIGHLIGHT));
    forms::PropertyBag saved = form->SaveLayout().children.at(0).settings;
    EXPECT_EQ(saved.ReadColor("Color", 0), GetSysColor(COLOR_HIGHLIGHT)) << "the RGB value, not the system colour";
}

TEST_F(ProgressBarControl, EveryAssignmentReachesTheScreen)
{
    XP_ProgressBar& bar = Load();
    form->Show();
    bar.SetVisible(true);
    bar.LetMax(2000);
    const int before = headless->PresentCount(form->hWnd());
    for (std::int32_t i = 0; i <= 2000; ++i)
        bar.LetValue(i);
    EXPECT_GE(headless->PresentCount(form->hWnd()) - before, 2001);
    const raster::Surface* frame = headless->Frame(form->hWnd());
    ASSERT_TRUE(frame);
    // The bar sits at (8, 120); at 100 % the smooth fill reaches the frame.
    EXPECT_EQ(frame->At(8 + 300, 120 + 10), gdi::ToPixel(0x00C000));
    EXPECT_EQ(frame->At(8 + 326, 120 + 10), gdi::ToPixel(0x00C000));
    EXPECT_EQ(frame->At(8 + 327, 120 + 10), gdi::ToPixel(0xEFEFEF));
    EXPECT_EQ(frame->At(8 + 328, 120 + 10), gdi::ToPixel(0x686868));
}

TEST_F(ProgressBarControl, BufferGrowsAndIsKept)
{
    XP_ProgressBar& bar = Load();
    EXPECT_TRUE(bar.UsesBuffer());
    EXPECT_EQ(bar.hdc(), bar.Buffer().BufferDC);
    EXPECT_EQ(bar.Buffer().BufferWidth, 329);
    EXPECT_EQ(bar.Buffer().BufferHeight, 22);

    bar.Move(bar.Left(), bar.Top(), 100 * 15, 10 * 15);
    EXPECT_EQ(bar.Buffer().BufferWidth, 329) << "smaller: the old buffer stays";
    bar.Move(bar.Left(), bar.Top(), 400 * 15, 10 * 15);
    bar.Move(bar.Left(), bar.Top(), 420 * 15, 8 * 15);
    EXPECT_EQ(bar.Buffer().BufferWidth, 420) << "a new buffer has exactly the asked size";
    EXPECT_EQ(bar.Buffer().BufferHeight, 8);
    bar.Move(bar.Left(), bar.Top(), 50 * 15, 5 * 15);
    EXPECT_EQ(bar.Buffer().BufferWidth, 420);
    EXPECT_EQ(bar.Buffer().BufferHeight, 8);

    // pDraw with no size copies the whole buffer.
    bar.LetValue(100);
    HDC screen = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    HDC target = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 420, 8);
    HGDIOBJ old = SelectObject(target, bitmap);
    bar.pDraw(target, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(gdi::ReadColorRefs(target), gdi::ReadColorRefs(bar.hdc()));
    SelectObject(target, old);
    DeleteObject(bitmap);
    DeleteDC(target);
    DeleteDC(screen);
}

TEST_F(ProgressBarControl, ZeroSizeDrawsUnbuffered)
{
    std::string layout = kLayout;
    layout.replace(layout.find("Width = 4935"), 12, "Width = 0");
    XP_ProgressBar& bar = Load(layout);
    EXPECT_FALSE(bar.UsesBuffer());
    EXPECT_EQ(bar.Buffer().BufferDC, nullptr);
    EXPECT_EQ(bar.hdc(), bar.hDC());
    EXPECT_NO_THROW(bar.LetValue(50));
}

TEST_F(ProgressBarControl, SettingsRoundTrip)
{
    XP_ProgressBar& bar = Load();
    EXPECT_TRUE(bar.ChangedProperties().empty()) << "reading the settings is no change";
    bar.LetMax(2000);
    bar.LetValue(1234);
    bar.LetShowText(true);
    bar.LetOrientation(1);
    EXPECT_EQ(bar.ChangedProperties(), (std::set<std::string> { "Max", "Value", "ShowText", "Orientation" }));

    forms::LayoutNode saved = form->SaveLayout();
    std::vector<std::string> keys;
    for (const forms::PropertyBag::Entry& entry : saved.children.at(0).settings.Entries())
        keys.push_back(entry.key);
    const std::vector<std::string> own(keys.end() - 7, keys.end());
    EXPECT_EQ(own, (std::vector<std::string> { "BrushStyle", "Color", "Max", "Orientation", "Scrolling", "ShowText",
                                               "Value" }))
        << "in order; Image and Min are at their defaults";
    EXPECT_EQ(saved.children.at(0).settings.ReadInt("Value", -1), 62) << "the percentage is stored";

    // Loading it back gives the same control, not a rescaled one.
    form.reset();
    XP_ProgressBar& again = Load(forms::WriteLayout(saved));
    EXPECT_EQ(again.Percent(), 62);
    EXPECT_EQ(again.Value(), 1240);
    EXPECT_EQ(again.Max(), 2000);
    EXPECT_EQ(again.Orientation(), 1);
    EXPECT_TRUE(again.ShowText());
    EXPECT_EQ(again.Scrolling(), 1);
    EXPECT_EQ(again.Color(), 0x00C000u);
    EXPECT_EQ(forms::WriteLayout(form->SaveLayout()), forms::WriteLayout(saved));

    // A fresh control stores only what differs from the stored defaults.
    form.reset();
    XP_ProgressBar& fresh = Load("Form f\n    Begin XP_ProgressBar XP_ProgressBar1\n        Width = 300\n        Height = 150\n    End\nEnd\n");
    forms::PropertyBag defaults = form->SaveLayout().children.at(0).settings;
    EXPECT_FALSE(defaults.Contains("Max"));
    EXPECT_FALSE(defaults.Contains("Value"));
    EXPECT_FALSE(defaults.Contains("BrushStyle")) << "a missing BrushStyle loads as the stored default 4";
    EXPECT_EQ(fresh.Max(), 100);
}

TEST_F(ProgressBarControl, PictureSettingSurvivesAMissingFile)
{
    const std::filesystem::path folder = std::filesystem::path(testing::TempDir()) / "progress_bar_picture";
    std::filesystem::create_directories(folder);
    raster::Surface tile(4, 4, raster::SurfaceFormat::Colour32, 0x000080);
    ASSERT_TRUE(backends::SaveSurfacePng(tile, folder / "tile.png"));

    std::string layout = kLayout;
    layout.replace(layout.find("Scrolling = 1"), 13, "Scrolling = 8\n        Image = Picture(\"tile.png\")");
    XP_ProgressBar& bar = Load(layout, folder);
    ASSERT_TRUE(bar.Image());
    EXPECT_EQ(bar.Image()->Type(), forms::StdPicture::Kind::Bitmap);
    bar.LetValue(100);
    EXPECT_EQ(GetPixel(bar.hdc(), 100, 10), 0x800000u) << "tiled with the picture";

    form.reset();
    std::filesystem::remove(folder / "tile.png");
    XP_ProgressBar& missing = Load(layout, folder);
    EXPECT_NO_THROW(missing.LetValue(100));
    EXPECT_EQ(GetPixel(missing.hdc(), 100, 10), 0xFFFFFFu);
    std::optional<forms::PictureRef> kept = form->SaveLayout().children.at(0).settings.ReadPicture("Image");
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->file, "tile.png");
    std::filesystem::remove_all(folder);
}

TEST_F(ProgressBarControl, RepaintsReleaseEverything)
{
    const std::size_t baseline = gdi::LiveObjectCount();
    XP_ProgressBar& bar = Load();
    form->Show();
    bar.SetVisible(true);
    bar.LetBrushStyle(HS_DIAGCROSS);
    bar.LetShowText(true); // makes the font's handle once
    const std::size_t loaded = gdi::LiveObjectCount();
    for (int i = 0; i < 10000; ++i) {
        if (i % 500 == 0)
            bar.LetScrolling(i / 500 % 9);
        if (i % 1000 == 0)
            bar.LetOrientation(i / 1000 % 2);
        bar.LetValue(i % 101);
    }
    EXPECT_EQ(gdi::LiveObjectCount(), loaded);
    form->Unload();
    EXPECT_EQ(bar.Buffer().BufferDC, nullptr) << "Terminate releases the buffer";
    EXPECT_EQ(bar.Buffer().BufferBitmap, nullptr);
    EXPECT_EQ(bar.hdc(), nullptr) << "nothing aims at the deleted buffer";
    form.reset();
    EXPECT_EQ(gdi::LiveObjectCount(), baseline);
}
