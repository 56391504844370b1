// The main window driven headless against the real driver manager, the project's
// set-up library and the Access driver, each test in a private ODBC configuration.

#include "app/frmKorvane.h"

#include "controls/button/gxButtons_H.h"
#include "controls/progress_bar/XP_ProgressBar.h"
#include "controls/text_box/TarvosXPText.h"
#include "host/forms/HostServices.h"
#include "host/platform/OdbcInstaller.h"
#include "tests/support/FormFixture.h"
#include "tests/support/OdbcClient.h"
#include "tests/support/OdbcSandbox.h"

#include <algorithm>
#include <fstream>
#include <tuple>

using namespace korvane;
using korvane::testing::Launch;
using korvane::testing::OdbcSandbox;
using korvane::testing::ReadFile;
using korvane::testing::WriteFile;

namespace {

// What the window looked like while its message box waited for an answer: the repair
// button enabled, the bar visible, the bar's value and the mouse pointer.
using WhileShown = std::tuple<bool, bool, std::int32_t, int>;

const Launch kLaunch { std::string("explorer ") + frmKorvane::kPublisherAddress, forms::vbMinimizedNoFocus };

class RepairWindow : public korvane::testing::FormFixture {
protected:
    void SetUp() override
    {
        auto form = std::make_unique<frmKorvane>();
        std::string error;
        ASSERT_TRUE(StartKorvane(*form, KORVANE_APP_FOLDER, error)) << error;
        korvane = &Adopt(std::move(form));
        // The first box is answered with Enter after a look at the window.
        ScriptMessageBoxes({ [this](const forms::MessageBoxInfo&) {
            whileShown = { Repair().Enabled(), Bar().Visible(), Bar().Value(), forms::Screen::MousePointer() };
            Headless().TypeKey(VK_RETURN);
        } });
    }

    gxButtons_H& Repair() { return Get<gxButtons_H>("cmdgxButtons", 1); }
    XP_ProgressBar& Bar() { return Get<XP_ProgressBar>("XP_ProgressBar1"); }

    void UseDatabaseCopy()
    {
        database = sandbox.CopyTestDatabase();
        ASSERT_FALSE(database.empty()) << "the shared test database is missing";
        Get<TarvosXPText>("txtMdbpath").LetText(database.string());
    }

    // Exactly one box was shown, and it said this.
    void ExpectOneBox(const std::string& prompt, int style, const std::string& title)
    {
        ASSERT_EQ(MessageBoxesShown().size(), 1u);
        const forms::MessageBoxInfo& box = MessageBoxesShown()[0];
        EXPECT_EQ(std::tie(box.prompt, box.style, box.title), std::tie(prompt, style, title));
    }

    OdbcSandbox sandbox;
    frmKorvane* korvane = nullptr;
    WhileShown whileShown { true, false, -1, -1 };
    std::filesystem::path database;
};

} // namespace

TEST_F(RepairWindow, LoadFillsThePathFromTheProgramsFolder)
{
    EXPECT_EQ(Get<TarvosXPText>("txtMdbpath").Text(), forms::App::PathText() + "/db.mdb");
    EXPECT_EQ(Headless().Title(FormWindow()), "ODBC数据源修复工具Korvane Version 3.0");
    RECT client;
    GetClientRect(FormWindow(), &client);
    EXPECT_EQ(std::tuple(client.right, client.bottom, Bar().Visible()), std::tuple(430, 213, false));
}

TEST_F(RepairWindow, Label2IsOutOfSightLabel6OnTheBannerAndNoPixelBelongsToTwoButtons)
{
    auto onScreen = [this](std::string_view name, std::optional<int> index = std::nullopt) {
        RECT rect;
        GetWindowRect(Get(name, index).hWnd(), &rect);
        return rect;
    };
    RECT client;
    GetClientRect(FormWindow(), &client);
    EXPECT_GE(onScreen("Label2").top, OnForm(0, client.bottom).y);
    const RECT banner = onScreen("Picture1"), label6 = onScreen("Label6");
    EXPECT_TRUE(label6.left >= banner.left && label6.top >= banner.top && label6.right <= banner.right &&
        label6.bottom <= banner.bottom);

    // No pixel belongs to two buttons: each window region, placed on the screen, misses the ones before it.
    HRGN before = CreateRectRgn(0, 0, 0, 0), region = CreateRectRgn(0, 0, 0, 0), shared = CreateRectRgn(0, 0, 0, 0);
    for (int index : { 0, 1, 2 }) {
        EXPECT_NE(GetWindowRgn(Get("cmdgxButtons", index).hWnd(), region), ERROR);
        const RECT at = onScreen("cmdgxButtons", index);
        OffsetRgn(region, at.left, at.top);
        EXPECT_EQ(CombineRgn(shared, before, region, RGN_AND), NULLREGION) << index;
        CombineRgn(before, before, region, RGN_OR);
    }
    for (HRGN owned : { before, region, shared })
        DeleteObject(owned);
}

TEST_F(RepairWindow, TabFollowsTheTabIndexPastLabelsAndTheHiddenBar)
{
    for (forms::Control* control : TheForm().Controls())
        EXPECT_FALSE(control->Default()) << control->DisplayName();
    // Round to where it started; Shift+Tab goes the same round backwards.
    std::vector<std::string> order { "Picture1", "cmdgxButtons(0)", "cmdgxButtons(1)", "cmdgxButtons(2)",
        "cmdgxButtonSelect", "txtMdbpath", "Picture1" };
    Get("Picture1").SetFocus();
    for (bool backwards : { false, true }) {
        std::vector<std::string> seen { Focused() };
        while (seen.size() < order.size()) {
            Key(VK_TAB, backwards ? unsigned { backends::ModShift } : 0u);
            seen.push_back(Focused());
        }
        EXPECT_EQ(seen, order);
        std::reverse(order.begin(), order.end());
    }
}

TEST_F(RepairWindow, TheSharedAccessKeyOnlyMovesTheFocusBetweenItsButtons)
{
    // From where the focus is to where Alt+E takes it: the next button with E in tab order.
    const std::vector<std::pair<std::optional<int>, int>> cases { { std::nullopt, 0 }, { 0, 2 }, { 1, 2 }, { 2, 0 } };
    for (const auto& [from, to] : cases) {
        SCOPED_TRACE(from.value_or(-1));
        (from ? Get("cmdgxButtons", *from) : Get("Picture1")).SetFocus();
        Key('E', backends::ModAlt);
        EXPECT_EQ(Focused(), "cmdgxButtons(" + std::to_string(to) + ")");
        EXPECT_TRUE(Get<gxButtons_H>("cmdgxButtons", to).Ambient().DisplayAsDefault);
    }
    EXPECT_TRUE(MessageBoxesShown().empty());
    EXPECT_TRUE(Launches().empty());
    EXPECT_TRUE(korvane->IsLoaded());
}

TEST_F(RepairWindow, AltFRepairs)
{
    UseDatabaseCopy();
    Key('F', backends::ModAlt);
    EXPECT_NE(ReadFile(sandbox.UserIni()).find("DBQ=" + database.string() + "\n"), std::string::npos);
    ExpectOneBox("数据源修复完毕，请运行zoravudevarev!", forms::vbInformation, "完成");
}

TEST_F(RepairWindow, AClickOnRepairReplacesTheDataSourceWithOneTheDriverReads)
{
    UseDatabaseCopy();
    WriteFile(sandbox.UserIni(),
        "; other data sources stay\n[Other]\nDriver=x\n\n[ODBC Data Sources]\n"
        "Pelwick2006=Microsoft Access Driver (*.mdb)\n\n[Pelwick2006]\n"
        "Driver=Microsoft Access Driver (*.mdb)\nDBQ=/old.mdb\n\n[Last]\nDriver=y\n");
    int presentsBefore = Headless().PresentCount(FormWindow());
    Click("cmdgxButtons", 1);

    // Removal dropped the old section; the add appended the new one at the end.
    std::string file = ReadFile(sandbox.UserIni());
    EXPECT_EQ(file.rfind("; other data sources stay\n[Other]\nDriver=x\n", 0), 0u) << file;
    EXPECT_EQ(file.find("/old.mdb"), std::string::npos) << file;
    EXPECT_LT(file.find("[Last]"), file.find("[Pelwick2006]")) << file;
    EXPECT_NE(file.find("DBQ=" + database.string() + "\nDESCRIPTION=rovozuvizodezad数据源\n"), std::string::npos) << file;
    std::string first;
    EXPECT_EQ(korvane::testing::CountDateTestRows("Pelwick2006", &first), 6);
    EXPECT_EQ(first, "Hello");
    // Every value of the bar reached the screen.
    EXPECT_GE(Headless().PresentCount(FormWindow()) - presentsBefore, 2001);

    ExpectOneBox("数据源修复完毕，请运行zoravudevarev!", forms::vbInformation, "完成");
    // While the box is open: the button disabled, the bar full and shown, the pointer back.
    EXPECT_EQ(whileShown, std::tuple(false, true, 2000, int { forms::vbDefault }));
    // Afterwards: the bar hidden, the button enabled, the address launched once.
    EXPECT_EQ(std::pair(Bar().Visible(), Repair().Enabled()), std::pair(false, true));
    EXPECT_EQ(Launches(), std::vector { kLaunch });
    EXPECT_EQ(Headless().CursorHistory(), std::vector({ backends::CursorShape::Wait, backends::CursorShape::Arrow }));
}

TEST_F(RepairWindow, ADatabaseTheDriverCannotOpenIsReportedAndTheDataSourceStays)
{
    // A missing file, no path at all, and a file that is not an Access database.
    const std::filesystem::path notAccess = sandbox.Root() / "notes.mdb";
    WriteFile(notAccess, "not an Access database\n");
    std::size_t boxes = 0;
    for (const std::string& path : { (sandbox.Root() / "缺少" / "db.mdb").string(), std::string(), notAccess.string() }) {
        SCOPED_TRACE(path);
        ScriptMessageBoxes({ Answer(VK_RETURN) });
        Get<TarvosXPText>("txtMdbpath").LetText(path);
        korvane->cmdgxButtons_Click(1);
        std::string file = ReadFile(sandbox.UserIni());
        EXPECT_NE(file.find("[Pelwick2006]\nDriver=Microsoft Access Driver (*.mdb)\nDBQ=" + path + "\n"), std::string::npos)
            << file;
        ASSERT_EQ(MessageBoxesShown().size(), ++boxes);
        const forms::MessageBoxInfo& box = MessageBoxesShown().back();
        const std::string head = "无法打开数据源 Pelwick2006 的数据库文件：\r\n" + path + "\r\n\r\n";
        EXPECT_EQ(box.prompt.rfind(head, 0), 0u) << box.prompt;
        EXPECT_GT(box.prompt.size(), head.size()) << "the driver's message is missing";
        EXPECT_EQ(std::tuple(box.style, box.title, Repair().Enabled()), std::tuple(int { forms::vbCritical }, "错误", true));
    }
}

TEST_F(RepairWindow, ARefusedCreationIsReportedInsteadOfSuccess)
{
    UseDatabaseCopy();
    sandbox.WriteDriverIni("[Some Other Driver]\nDriver=libnothing.so\n");
    korvane->cmdgxButtons_Click(1);
    ExpectOneBox("错误: \r\n无效的属性值\r\n", forms::vbCritical, "错误");
    EXPECT_TRUE(Repair().Enabled());
    EXPECT_EQ(Launches(), std::vector { kLaunch });
}

TEST_F(RepairWindow, AMissingAdministratorIsExplained)
{
    korvane->cmdgxButtons_Click(0);
    ExpectOneBox("没有安装 ODBC 数据源管理器。\r\n当前用户的数据源保存在文件 " + sandbox.UserIni().string() + " 中。",
        forms::vbInformation, "Korvane");
    EXPECT_EQ(Launches(), std::vector { kLaunch });
}

TEST_F(RepairWindow, ARunTimeErrorIsShownAndTheProgramGoesOn)
{
    platform::OdbcInstaller::ReplaceSharedLibrary("libkorvane-no-such-library.so");
    korvane->cmdgxButtons_Click(0);
    platform::OdbcInstaller::ReplaceSharedLibrary(platform::OdbcInstaller::kDefaultLibrary);
    ExpectOneBox("运行时错误 '53':\r\n\r\nFile not found: libkorvane-no-such-library.so", forms::vbCritical, "Korvane");
    EXPECT_TRUE(korvane->IsLoaded());
    EXPECT_EQ(Launches(), std::vector { kLaunch });
}

TEST_F(RepairWindow, TheLabelAndTheExitButtonLaunchTheAddress)
{
    Click("Label1");
    EXPECT_EQ(Launches(), std::vector { kLaunch });
    Click("cmdgxButtons", 2);
    EXPECT_EQ(Launches(), std::vector(2, kLaunch));
    EXPECT_FALSE(korvane->IsLoaded());
    EXPECT_EQ(window::RunMessageLoop(), 0); // nothing is left to run
}

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer holds freed memory back and finds leaks itself; fewer rounds do.
constexpr int kSoakRounds = 100;
constexpr bool kCheckResidentMemory = false;
#else
constexpr int kSoakRounds = 1000;
constexpr bool kCheckResidentMemory = true;
#endif

TEST_F(RepairWindow, AThousandRepairsLeaveNothingBehind)
{
    // On a memory file system the set-up library's flushes cost nothing; its
    // scratch files go to a folder the test can see.
    if (std::filesystem::is_directory("/dev/shm"))
        setenv("TMPDIR", "/dev/shm", 1);
    OdbcSandbox memory;
    const std::filesystem::path scratch = memory.Root() / "tmp";
    std::filesystem::create_directories(scratch);
    setenv("TMPDIR", scratch.c_str(), 1);
    UseDatabaseCopy();
    // Hidden, the window is not composed anew for each of the bar's 2001 values
    // (composition has tests of its own), and the boxes answer themselves unrecorded.
    ShowWindow(FormWindow(), SW_HIDE);
    Headless().SetIdleHook({});
    forms::SetShellLauncher([](const std::string&, int) {});
    auto usage = [] {
        long pages = 0;
        std::ifstream("/proc/self/statm") >> pages >> pages;
        return std::tuple { pages, std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}), LiveGdiObjects() };
    };
    // The first rounds fill caches: the driver manager's, the allocator's, the fonts'.
    for (int round = 0; round < 20; ++round)
        korvane->cmdgxButtons_Click(1);
    const std::string file = ReadFile(memory.UserIni());
    const auto [pages, descriptors, gdiObjects] = usage();
    for (int round = 0; round < kSoakRounds; ++round) {
        korvane->cmdgxButtons_Click(1);
        ASSERT_EQ(ReadFile(memory.UserIni()), file) << "round " << round;
    }
    // A few bytes lost a round hide in the allocator's noise; a bitmap or a document would not.
    constexpr long kSlackPages = 256;
    const auto [pagesAfter, descriptorsAfter, gdiObjectsAfter] = usage();
    EXPECT_TRUE(!kCheckResidentMemory || pagesAfter <= pages + kSlackPages) << pagesAfter - pages << " pages more";
    EXPECT_EQ(std::pair(descriptorsAfter, gdiObjectsAfter), std::pair(descriptors, gdiObjects));
    unsetenv("TMPDIR");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(memory.UserIni().parent_path()), {}), 1);
    EXPECT_TRUE(std::filesystem::is_empty(scratch));
    EXPECT_EQ(korvane::testing::CountDateTestRows("Pelwick2006"), 6);
}
