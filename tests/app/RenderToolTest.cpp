// korvane-render as a reader of the documentation runs it.

#include "host/raster/image/Codecs.h"
#include "tests/support/OdbcSandbox.h"

#include <gtest/gtest.h>

#include <cstdlib>

using korvane::testing::OdbcSandbox;
namespace image = korvane::raster::image;

namespace {

class RenderTool : public ::testing::Test {
protected:
    int Run(const std::string& arguments)
    {
        std::string command = std::string(KORVANE_RENDER) + " " + arguments + " >" + (sandbox.Root() / "out.txt").string() + " 2>&1";
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

TEST_F(RenderTool, DrawsTheMainWindowWithItsBanner)
{
    ASSERT_EQ(Run("window --out " + Out("main.png")), 0) << Said();
    image::Image main = Load("main.png");
    ASSERT_EQ(main.Width(), 430);
    ASSERT_EQ(main.Height(), 213);
    // The banner starts two pixels above and left of the client area, blue at its left.
    image::Image banner = image::LoadImageFile(std::string(KORVANE_APP_FOLDER) + "/resources/banner.bmp").Value();
    EXPECT_EQ(main.At(3, 3) & 0xFFFFFFu, banner.At(5, 5) & 0xFFFFFFu);
}

TEST_F(RenderTool, AScriptReachesTheMessageBoxOnTop)
{
    std::string script = Out("repair.txt");
    korvane::testing::WriteFile(script, "# press the repair button\nmove 253 164\ndown\nup\n");
    ASSERT_EQ(Run("window --script " + script + " --out " + Out("done.png")), 0) << Said();
    image::Image before = (Run("window --out " + Out("main.png")), Load("main.png"));
    image::Image after = Load("done.png");
    ASSERT_EQ(after.Width(), before.Width());
    EXPECT_NE(after.Pixels(), before.Pixels());
    EXPECT_NE(korvane::testing::ReadFile(sandbox.UserIni()).find("[Pelwick2006]"), std::string::npos);
}

TEST_F(RenderTool, ControlsRenderTheirSettingsAndStates)
{
    ASSERT_EQ(Run("control XP_ProgressBar --size 200x18 --set Value=0 --out " + Out("empty.png")), 0) << Said();
    ASSERT_EQ(Run("control XP_ProgressBar --size 200x18 --set Value=50 --set Color=0x00C000 --out " + Out("half.png")), 0) << Said();
    image::Image empty = Load("empty.png");
    image::Image half = Load("half.png");
    EXPECT_EQ(empty.Width(), 200);
    EXPECT_EQ(empty.Height(), 18);
    EXPECT_NE(empty.Pixels(), half.Pixels());

    ASSERT_EQ(Run("control gxButtons_H --size 120x25 --set Caption='\"OK\"' --out " + Out("normal.png")), 0) << Said();
    ASSERT_EQ(Run("control gxButtons_H --size 120x25 --set Caption='\"OK\"' --state pressed --out " + Out("pressed.png")), 0) << Said();
    ASSERT_EQ(Run("control gxButtons_H --size 120x25 --set Caption='\"OK\"' --state disabled --out " + Out("disabled.png")), 0) << Said();
    EXPECT_NE(Load("normal.png").Pixels(), Load("pressed.png").Pixels());
    EXPECT_NE(Load("normal.png").Pixels(), Load("disabled.png").Pixels());

    std::string script = Out("let.txt");
    korvane::testing::WriteFile(script, "let Value 50\n");
    ASSERT_EQ(Run("control XP_ProgressBar --size 200x18 --set Color=0x00C000 --script " + script + " --out " + Out("let.png")), 0) << Said();
    EXPECT_EQ(Load("let.png").Pixels(), half.Pixels());
}

TEST_F(RenderTool, TheTextBoxBorderAndAScriptedHoverAndPress)
{
    ASSERT_EQ(Run("control TarvosXPText --size 146x24 --set 'Text=\"数据\"' --out " + Out("box.png")), 0) << Said();
    image::Image box = Load("box.png");
    ASSERT_EQ(box.Width(), 146);
    // The only control of its form has the focus, so its border has the focus colour, RGB(231, 150, 0).
    EXPECT_EQ(box.At(0, 12) & 0xFFFFFFu, 0xE79600u);
    EXPECT_EQ(box.At(145, 12) & 0xFFFFFFu, 0xE79600u);

    std::string hover = Out("hover.txt");
    std::string press = Out("press.txt");
    korvane::testing::WriteFile(hover, "move 60 12\nwait 60\n");
    korvane::testing::WriteFile(press, "move 60 12\nwait 60\ndown\n");
    const std::string button = "control gxButtons_H --size 120x25 --set Caption='\"OK\"' ";
    ASSERT_EQ(Run(button + "--script " + hover + " --out " + Out("hover.png")), 0) << Said();
    ASSERT_EQ(Run(button + "--script " + press + " --out " + Out("press.png")), 0) << Said();
    ASSERT_EQ(Run(button + "--state pressed --out " + Out("state.png")), 0) << Said();
    EXPECT_NE(Load("hover.png").Pixels(), Load("press.png").Pixels());
    EXPECT_EQ(Load("press.png").Pixels(), Load("state.png").Pixels());
}

TEST_F(RenderTool, RefusesWhatItDoesNotKnowAndWritesNothing)
{
    std::string bad = Out("bad.txt");
    korvane::testing::WriteFile(bad, "jump 1 2\n");
    const std::string refused[] = {
        "",
        "picture --out x.png",
        "control Spinner --size 10x10 --out " + Out("x.png"),
        "control XP_ProgressBar --size 10 --out " + Out("x.png"),
        "control XP_ProgressBar --size 10x10 --set Colour=1 --out " + Out("x.png"),
        "control XP_ProgressBar --size 10x10 --set Value=oops --out " + Out("x.png"),
        "control XP_ProgressBar --size 10x10 --state hover --out " + Out("x.png"),
        "window --script " + bad + " --out " + Out("x.png"),
        "window",
    };
    for (const std::string& arguments : refused) {
        EXPECT_EQ(Run(arguments), 2) << arguments << "\n" << Said();
        EXPECT_FALSE(std::filesystem::exists(Out("x.png"))) << arguments;
    }
    EXPECT_EQ(Run("--help"), 0);
    EXPECT_NE(Said().find("korvane-render window"), std::string::npos);
}
