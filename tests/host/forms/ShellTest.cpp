#include "host/forms/HostServices.h"
#include "host/forms/Shell.h"

#include <gtest/gtest.h>

using namespace korvane::forms;

using Words = std::vector<std::string>;

TEST(Shell, CommandLinesSplitAtSpacesWithQuotesGrouping)
{
    EXPECT_EQ(SplitCommandLine("  notepad   a.txt "), (Words { "notepad", "a.txt" }));
    EXPECT_EQ(SplitCommandLine("\"my tool\" \"two words\" x\"y z\""), (Words { "my tool", "two words", "xy z" }));
    EXPECT_EQ(SplitCommandLine("a \"\" b"), (Words { "a", "", "b" }));
    EXPECT_TRUE(SplitCommandLine("   ").empty());
}

TEST(Shell, ExplorerOpensTheAddressWithTheDesktopsOpener)
{
    EXPECT_EQ(ShellArguments("explorer http://example.com/a?b=1"), (Words { "xdg-open", "http://example.com/a?b=1" }));
    EXPECT_EQ(ShellArguments("EXPLORER   \"/home/a b/file.mdb\""), (Words { "xdg-open", "/home/a b/file.mdb" }));
    EXPECT_EQ(ShellArguments("Explorer mailto:someone@example.com"), (Words { "xdg-open", "mailto:someone@example.com" }));
    EXPECT_TRUE(ShellArguments("explorer").empty());
    EXPECT_EQ(ShellArguments("explorers x"), (Words { "explorers", "x" }));
    EXPECT_EQ(ShellArguments("odbcad32 -s \"a b\""), (Words { "odbcad32", "-s", "a b" }));
    EXPECT_TRUE(ShellArguments("").empty());
}

TEST(Shell, AnInstalledLauncherGetsEveryLaunchUntilRemoved)
{
    std::vector<std::pair<std::string, int>> launches;
    SetShellLauncher([&](const std::string& commandLine, int style) { launches.emplace_back(commandLine, style); });
    Shell("explorer http://example.com", vbNormalFocus);
    Shell("tool a", vbHide);
    SetShellLauncher({});
    ASSERT_EQ(launches.size(), 2u);
    EXPECT_EQ(launches[0], (std::pair<std::string, int> { "explorer http://example.com", vbNormalFocus }));
    EXPECT_EQ(launches[1].second, vbHide);
    // The real launcher ignores what cannot start, and returns at once.
    Shell("korvane-no-such-program --flag", vbNormalFocus);
    Shell("", vbNormalFocus);
}
