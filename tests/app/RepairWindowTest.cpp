// The main window driven headless against the real driver manager, the project's
// set-up library and the Access driver, each test in a private ODBC configuration.

#include "app/frmKorvane.h"

#include "controls/button/gxButtons_H.h"
#include "controls/progress_bar/XP_ProgressBar.h"
#include "controls/text_box/TarvosXPText.h"
#include "host/backends/headless/HeadlessBackend.h"
#include "host/forms/HostServices.h"
#include "host/forms/MessageBox.h"
#include "host/gdi/GdiInternal.h"
#include "host/platform/OdbcInstaller.h"
#include "tests/support/OdbcClient.h"
#include "tests/support/OdbcSandbox.h"

#include <gtest/gtest.h>

using namespace korvane;
using korvane::testing::OdbcSandbox;
using korvane::testing::ReadFile;
using korvane::testing::WriteFile;

namespace {

struct ShownBox {
    std::string prompt;
    int style = 0;
    std::string title;
    bool buttonEnabled = true;
    bool barVisible = false;
    std::int32_t barValue = -1;
    int mousePointer = -1;
};

class RepairWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto backend = std::make_unique<backends::HeadlessBackend>(1024, 768);
        headless = backend.get();
        window::UseBackend(std::move(backend));
        forms::SetShellLauncher([this](const std::string& command, int style) { launches.emplace_back(command, style); });
        // Whoever shows a message box gets it answered with Enter, after a look at the window.
        headless->SetIdleHook([this] {
            std::optional<forms::MessageBoxInfo> box = forms::ActiveMessageBox();
            if (!box)
                return false;
            if (box->hwnd == lastBox)
                return ++waits < 100; // answered already; give up if the Enter never lands
            lastBox = box->hwnd;
            ShownBox shown { box->prompt, box->style, box->title };
            if (auto* button = form.Get<gxButtons_H>("cmdgxButtons", 1))
                shown.buttonEnabled = button->Enabled();
            if (auto* bar = form.Get<XP_ProgressBar>("XP_ProgressBar1")) {
                shown.barVisible = bar->Visible();
                shown.barValue = bar->Value();
            }
            shown.mousePointer = forms::Screen::MousePointer();
            boxes.push_back(shown);
            headless->TypeKey(VK_RETURN);
            return true;
        });
        std::string error;
        ASSERT_TRUE(StartKorvane(form, KORVANE_APP_FOLDER, error)) << error;
        window::DoEvents();
    }

    void TearDown() override
    {
        form.Unload();
        window::ResetWindowSystem();
        forms::SetShellLauncher({});
    }

    void UseDatabaseCopy()
    {
        std::filesystem::path data = korvane::testing::TestDataFolder();
        ASSERT_FALSE(data.empty()) << "the shared test database is missing";
        std::filesystem::path folder = sandbox.Root() / "分析 数据";
        std::filesystem::create_directories(folder);
        database = folder / "db.mdb";
        std::filesystem::copy_file(data / "DateTestDatabase.mdb", database);
        form.Get<TarvosXPText>("txtMdbpath")->LetText(database.string());
    }

    OdbcSandbox sandbox;
    backends::HeadlessBackend* headless = nullptr;
    frmKorvane form;
    std::vector<std::pair<std::string, int>> launches;
    std::vector<ShownBox> boxes;
    HWND lastBox = nullptr;
    int waits = 0;
    std::filesystem::path database;
};

const std::string kLaunch = std::string("explorer ") + frmKorvane::kPublisherAddress;

} // namespace

TEST_F(RepairWindow, LoadFillsThePathFromTheProgramsFolder)
{
    auto* path = form.Get<TarvosXPText>("txtMdbpath");
    ASSERT_NE(path, nullptr);
    EXPECT_EQ(path->Text(), forms::App::PathText() + "/db.mdb");
    EXPECT_EQ(headless->Title(form.hWnd()), "ODBC数据源修复工具Korvane Version 3.0");
    RECT client;
    GetClientRect(form.hWnd(), &client);
    EXPECT_EQ(client.right, 430);
    EXPECT_EQ(client.bottom, 213);
    EXPECT_FALSE(form.Get<XP_ProgressBar>("XP_ProgressBar1")->Visible());
}

TEST_F(RepairWindow, RepairAddsTheDataSourceThatTheDriverReads)
{
    UseDatabaseCopy();
    WriteFile(sandbox.UserIni(), "; other data sources stay\n[Other]\nDriver=x\n");
    form.cmdgxButtons_Click(1);

    std::string file = ReadFile(sandbox.UserIni());
    EXPECT_EQ(file.rfind("; other data sources stay\n[Other]\nDriver=x\n", 0), 0u) << file;
    EXPECT_NE(file.find("DBQ=" + database.string() + "\nDESCRIPTION=rovozuvizodezad数据源\n"), std::string::npos) << file;
    std::string first;
    EXPECT_EQ(korvane::testing::CountDateTestRows("Pelwick2006", &first), 6);
    EXPECT_EQ(first, "Hello");

    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].prompt, "数据源修复完毕，请运行zoravudevarev!");
    EXPECT_EQ(boxes[0].style, 64);
    EXPECT_EQ(boxes[0].title, "完成");
    // While the box is open: the button disabled, the bar full and shown, the pointer back.
    EXPECT_FALSE(boxes[0].buttonEnabled);
    EXPECT_TRUE(boxes[0].barVisible);
    EXPECT_EQ(boxes[0].barValue, 2000);
    EXPECT_EQ(boxes[0].mousePointer, 0);
    // Afterwards: the bar hidden, the button enabled, the address launched once.
    EXPECT_FALSE(form.Get<XP_ProgressBar>("XP_ProgressBar1")->Visible());
    EXPECT_TRUE(form.Get<gxButtons_H>("cmdgxButtons", 1)->Enabled());
    EXPECT_EQ(launches, (std::vector<std::pair<std::string, int>>{{kLaunch, 6}}));
    const auto& cursors = headless->CursorHistory();
    ASSERT_GE(cursors.size(), 2u);
    EXPECT_EQ(cursors[cursors.size() - 2], backends::CursorShape::Wait);
}

TEST_F(RepairWindow, AnExistingDataSourceIsRemovedBeforeTheAdd)
{
    UseDatabaseCopy();
    WriteFile(sandbox.UserIni(), "[ODBC Data Sources]\nPelwick2006=Microsoft Access Driver (*.mdb)\n\n[Pelwick2006]\nDriver=Microsoft Access Driver (*.mdb)\nDBQ=/old.mdb\n\n[Other]\nDriver=x\n");
    form.cmdgxButtons_Click(1);
    std::string file = ReadFile(sandbox.UserIni());
    // Removal dropped the old section; the add appended the new one at the end.
    EXPECT_EQ(file.find("/old.mdb"), std::string::npos) << file;
    EXPECT_LT(file.find("[Other]"), file.find("[Pelwick2006]")) << file;
    EXPECT_EQ(korvane::testing::CountDateTestRows("Pelwick2006"), 6);
}

TEST_F(RepairWindow, TheBarShowsEveryValue)
{
    UseDatabaseCopy();
    int before = headless->PresentCount(form.hWnd());
    form.cmdgxButtons_Click(1);
    EXPECT_GE(headless->PresentCount(form.hWnd()) - before, 2001);
}

TEST_F(RepairWindow, AnEmptyPathStillCreatesTheDataSource)
{
    form.Get<TarvosXPText>("txtMdbpath")->LetText("");
    form.cmdgxButtons_Click(1);
    std::string file = ReadFile(sandbox.UserIni());
    EXPECT_NE(file.find("[Pelwick2006]\nDriver=Microsoft Access Driver (*.mdb)\nDBQ=\n"), std::string::npos) << file;
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "完成");
}

TEST_F(RepairWindow, ARefusedCreationIsReportedInsteadOfSuccess)
{
    UseDatabaseCopy();
    sandbox.WriteDriverIni("[Some Other Driver]\nDriver=libnothing.so\n");
    form.cmdgxButtons_Click(1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].style, 16);
    EXPECT_EQ(boxes[0].title, "错误");
    EXPECT_EQ(boxes[0].prompt, "错误: \r\n无效的属性值\r\n");
    EXPECT_TRUE(form.Get<gxButtons_H>("cmdgxButtons", 1)->Enabled());
    EXPECT_EQ(launches.size(), 1u);
}

TEST_F(RepairWindow, AMissingAdministratorIsExplained)
{
    form.cmdgxButtons_Click(0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].style, 64);
    EXPECT_NE(boxes[0].prompt.find(sandbox.UserIni().string()), std::string::npos) << boxes[0].prompt;
    EXPECT_EQ(launches, (std::vector<std::pair<std::string, int>>{{kLaunch, 6}}));
}

TEST_F(RepairWindow, ARunTimeErrorIsShownAndTheProgramGoesOn)
{
    host::OdbcInstaller::ReplaceSharedLibrary("libkorvane-no-such-library.so");
    form.cmdgxButtons_Click(0);
    host::OdbcInstaller::ReplaceSharedLibrary(host::OdbcInstaller::kDefaultLibrary);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].style, 16);
    EXPECT_NE(boxes[0].prompt.find("53"), std::string::npos);
    EXPECT_TRUE(form.IsLoaded());
    EXPECT_EQ(launches.size(), 1u);
}

TEST_F(RepairWindow, TheLabelAndTheExitButtonLaunchTheAddress)
{
    form.Label1_Click();
    EXPECT_EQ(launches.size(), 1u);
    form.cmdgxButtons_Click(7);
    EXPECT_EQ(launches.size(), 2u);
    form.cmdgxButtons_Click(2);
    EXPECT_EQ(launches.size(), 3u);
    EXPECT_EQ(launches.back(), std::make_pair(kLaunch, 6));
    EXPECT_FALSE(form.IsLoaded());
    EXPECT_EQ(window::RunMessageLoop(), 0); // nothing is left to run
}

TEST_F(RepairWindow, TheRepairButtonWorksFromTheMouse)
{
    UseDatabaseCopy();
    auto* button = form.Get<gxButtons_H>("cmdgxButtons", 1);
    RECT rect;
    GetWindowRect(button->hWnd(), &rect);
    headless->MoveMouse((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    headless->PressMouse();
    headless->ReleaseMouse();
    window::DoEvents();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "完成");
    EXPECT_EQ(korvane::testing::CountDateTestRows("Pelwick2006"), 6);
}
