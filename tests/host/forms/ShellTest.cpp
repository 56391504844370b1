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
    const std::pair<const char*, Words> cases[] = {
        { "explorer http://example.com/a?b=1", { "xdg-open", "http://example.com/a?b=1" } },
        { "EXPLORER   \"/home/a b/file.mdb\"", { "xdg-open", "/home/a b/file.mdb" } },
        { "Explorer mailto:someone@example.com", { "xdg-open", "mailto:someone@example.com" } }, { "explorer", {} },
        { "explorers x", { "explorers", "x" } }, { "odbcad32 -s \"a b\"", { "odbcad32", "-s", "a b" } }, { "", {} },
    };
    for (const auto& [command, words] : cases)
        EXPECT_EQ(ShellArguments(command), words) << command;
}

TEST(Shell, AnInstalledLauncherGetsEveryLaunchUntilRemoved)
{
    std::vector<std::pair<std::string, int>> launches;
    SetShellLauncher([&](const std::string& commandLine, int style) { launches.emplace_back(commandLine, style); });
    Shell("explorer http://example.com", vbNormalFocus);
    Shell("tool a", vbHide);
    SetShellLauncher({});
    EXPECT_EQ(launches, (std::vector<std::pair<std::string, int>> { { "explorer http://example.com", vbNormalFocus }, { "tool a", vbHide } }));
    // The real launcher ignores what cannot start, and returns at once.
    Shell("korvane-no-such-program --flag", vbNormalFocus);
    Shell("", vbNormalFocus);
}
