// korvane-render as a reader of the documentation runs it.

#include "host/raster/image/Codecs.h"
#include "tests/support/OdbcSandbox.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <tuple>
#include <utility>

using korvane::testing::OdbcSandbox;
using korvane::testing::WriteFile;
namespace image = korvane::raster::image;

namespace {

class RenderTool : public ::testing::Test {
protected:
    // Runs in the sandbox's folder, where bare picture names are looked for.
    int Run(const std::string& arguments)
    {
        std::string command = "cd '" + sandbox.Root().string() + "' && " + KORVANE_RENDER + " " + arguments + " >'" +
                              Out("out.txt") + "' 2>&1";
        int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string Out(const std::string& name) { return (sandbox.Root() / name).string(); }
    image::Image Load(const std::string& name)
    {
        korvane::raster::Result<image::Image> loaded = image::LoadImageFile(Out(name));
        EXPECT_TRUE(loaded.Ok()) << loaded.Error();
        return loaded.Ok() ? loaded.Value() : image::Image();
    }
    std::string Said() { return korvane::testing::ReadFile(sandbox.Root() / "out.txt"); }

    OdbcSandbox sandbox;
};

} // namespace

TEST_F(RenderTool, TheMainWindowWithItsBannerAndAScriptedRepair)
{
    ASSERT_EQ(Run("window --out main.png"), 0) << Said();
    image::Image main = Load("main.png");
    ASSERT_EQ(std::pair(main.Width(), main.Height()), std::pair(430, 213));
    // The banner starts two pixels above and left of the client area, blue at its left.
    image::Image banner = image::LoadImageFile(std::string(KORVANE_APP_FOLDER) + "/resources/banner.bmp").Value();
    EXPECT_EQ(main.At(3, 3) & 0xFFFFFFu, banner.At(5, 5) & 0xFFFFFFu);

    // The same picture as a PPM: its header, then each pixel's red, green and blue.
    ASSERT_EQ(Run("window --out main.ppm"), 0) << Said();
    std::string rgb = "P6\n430 213\n255\n";
    for (std::uint32_t pixel : main.Pixels())
        rgb += { static_cast<char>(pixel >> 16 & 0xFF), static_cast<char>(pixel >> 8 & 0xFF), static_cast<char>(pixel & 0xFF) };
    EXPECT_TRUE(korvane::testing::ReadFile(Out("main.ppm")) == rgb);

    // On a screen less than four times as wide as the first two array buttons their
    // gradients draw in 2-pixel bands.
    ASSERT_EQ(Run("window --screen 512x384 --out small.png"), 0) << Said();
    image::Image small = Load("small.png");
    EXPECT_NE(main.At(20, 164), main.At(21, 164));
    EXPECT_EQ(small.At(20, 164), small.At(21, 164));
    EXPECT_EQ(small.At(400, 164), main.At(400, 164)); // the exit button is narrow enough

    // Pressing the repair button ends under the message box, which the picture shows.
    WriteFile(Out("repair.txt"), "# press the repair button\nmove 253 164\ndown\nup\n");
    ASSERT_EQ(Run("window --script repair.txt --out done.png"), 0) << Said();
    EXPECT_NE(Load("done.png").Pixels(), main.Pixels());
    EXPECT_NE(korvane::testing::ReadFile(sandbox.UserIni()).find("[Pelwick2006]"), std::string::npos);
}

TEST_F(RenderTool, ControlPicturesFollowSettingsScriptsAndStates)
{
    WriteFile(Out("let.txt"), "let value 50\n"); // keys compare without regard to case
    WriteFile(Out("hover.txt"), "move 60 12\nwait 60\n");
    WriteFile(Out("press.txt"), "move 60 12\nwait 60\ndown\n");
    ASSERT_TRUE(image::SavePng(image::Image(4, 4, 0xFF000080), Out("tile.png")).Ok());
    const std::string bar = "control XP_ProgressBar --size 200x18 --set Color=0x00C000 ";
    const std::string picture = "control XP_ProgressBar --size 60x18 --set Scrolling=8 --set Value=100 ";
    const std::string button = "control gxButtons_H --size 120x25 --set Caption='\"OK\"' ";
    const std::pair<const char*, std::string> pictures[] = {
        { "empty", bar + "--set Value=0" }, { "half", bar + "--set Value=50" }, { "let", bar + "--script let.txt" },
        { "normal", button }, { "pressed", button + "--state pressed" }, { "disabled", button + "--state disabled" },
        { "hover", button + "--script hover.txt" }, { "press", button + "--script press.txt" }, { "plain", picture },
        { "tiled", picture + "--set Image=tile.png" }, { "quoted", picture + "--set 'Image=Picture(\"tile.png\")'" },
        { "default", button + "--state default" }, { "green", button + "--set cBHover=0x00FF00 --state hover" },
    };
    for (const auto& [name, arguments] : pictures)
        ASSERT_EQ(Run(arguments + " --out " + name + ".png"), 0) << arguments << "\n" << Said();
    EXPECT_EQ(Load("empty.png").Width(), 200);

    // Two pictures, and whether they are the same.
    const std::tuple<const char*, const char*, bool> pairs[] = {
        { "empty", "half", false },     { "half", "let", true },       { "normal", "pressed", false },
        { "normal", "disabled", false }, { "hover", "press", false },  { "press", "pressed", false },
        { "plain", "tiled", false },     { "tiled", "quoted", true },     { "normal", "default", false },
        { "normal", "green", false },
    };
    // A scripted press also gives the button the focus and so the default look,
    // which --state pressed leaves out.
    for (const auto& [a, b, same] : pairs)
        EXPECT_EQ(Load(std::string(a) + ".png").Pixels() == Load(std::string(b) + ".png").Pixels(), same) << a << " and " << b;

    // The only control of its form has the focus, so its border has the focus colour, RGB(231, 150, 0).
    ASSERT_EQ(Run("control TarvosXPText --size 146x24 --set 'Text=\"数据\"' --out box.png"), 0) << Said();
    image::Image box = Load("box.png");
    EXPECT_EQ(std::pair(box.At(0, 12) & 0xFFFFFFu, box.At(145, 12) & 0xFFFFFFu), std::pair(0xE79600u, 0xE79600u));
}

TEST_F(RenderTool, RefusesWhatItDoesNotKnowAndWritesNothing)
{
    WriteFile(Out("bad.txt"), "jump 1 2\n");
    WriteFile(Out("let.txt"), "let Colour 1\n");
    WriteFile(Out("letpicture.txt"), "let Image missing.bmp\n");
    // The main window's layout with one of its pictures cut short.
    std::filesystem::copy(KORVANE_APP_FOLDER, Out("cut"), std::filesystem::copy_options::recursive);
    std::filesystem::resize_file(Out("cut") + "/resources/banner.bmp", 100);
    const std::string refused[] = {
        "",
        "picture --out x.png",
        "control Spinner --size 10x10 --out x.png",
        "control XP_ProgressBar --size 10 --out x.png",
        "window --screen 1024 --out x.png",
        "control XP_ProgressBar --size 10x10 --set Colour=1 --out x.png",
        "control XP_ProgressBar --size 10x10 --set Value=oops --out x.png",
        "control XP_ProgressBar --size 10x10 --script let.txt --out x.png",
        "control XP_ProgressBar --size 10x10 --state hover --out x.png",
        "control TarvosXPText --size 10x10 --set Value=3 --out x.png", // stored, but never read
        "control gxButtons_H --size 10x10 --set Image=missing.bmp --out x.png",
        "control gxButtons_H --size 10x10 --set mIcon=bad.txt --out x.png", // not a picture
        "control XP_ProgressBar --size 10x10 --set Image=missing.bmp --out x.png",
        "control XP_ProgressBar --size 10x10 --script letpicture.txt --out x.png",
        "window --script bad.txt --out x.png",
        "window --resources nowhere --out x.png",
        "window",
    };
    for (const std::string& arguments : refused) {
        EXPECT_EQ(Run(arguments), 2) << arguments << "\n" << Said();
        EXPECT_FALSE(std::filesystem::exists(Out("x.png"))) << arguments;
    }
    EXPECT_EQ(Run("window --resources cut --out x.png"), 2);
    EXPECT_NE(Said().find("the picture resources/banner.bmp of Picture1.Picture is left out"), std::string::npos) << Said();
    EXPECT_FALSE(std::filesystem::exists(Out("x.png")));
    EXPECT_EQ(Run("--help"), 0);
    EXPECT_NE(Said().find("korvane-render window"), std::string::npos);
}
