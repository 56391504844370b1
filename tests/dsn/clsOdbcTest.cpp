#include "dsn/clsOdbc.h"

#include "host/platform/OdbcInstaller.h"
#include "host/runtime/RuntimeError.h"
#include "tests/support/OdbcSandbox.h"

#include <gtest/gtest.h>

using korvane::clsOdbc;
using korvane::platform::OdbcInstaller;
using korvane::testing::OdbcSandbox;
using korvane::testing::ReadFile;
using korvane::testing::WriteFile;

namespace {

const std::string kNul(1, '\0');
const std::string kRepairList = "DSN=Pelwick2006" + kNul + "DBQ=/data/db.mdb" + kNul + "DESCRIPTION=Pelwick" + kNul;

class ExecuteDSN : public ::testing::Test {
protected:
    void TearDown() override { OdbcInstaller::ReplaceSharedLibrary(OdbcInstaller::kDefaultLibrary); }

    bool UserFileHas(const std::string& text) { return ReadFile(sandbox.UserIni()).find(text) != std::string::npos; }

    OdbcSandbox sandbox;
    clsOdbc odbc;
};

class ExecuteFileDSN : public ExecuteDSN {};

} // namespace

TEST_F(ExecuteDSN, RejectsRequestCodesOutsideOneToSixBeforeAnythingElse)
{
    odbc.ODBC_DRIVER_NAME("Microsoft Access Driver (*.mdb)");
    odbc.ODBC_ATTRIBUTES(kRepairList);
    for (int request : {0, 7, -1, 65537})
        EXPECT_EQ(odbc.ExecuteDSN(request, 1, kRepairList), "无效的 DSN 类型");
    // Even a missing installer is not reached.
    OdbcInstaller::ReplaceSharedLibrary("libkorvane-no-such-library.so");
    EXPECT_EQ(odbc.ExecuteDSN(7, 1, kRepairList), "无效的 DSN 类型");
    EXPECT_FALSE(std::filesystem::exists(sandbox.UserIni()));
}

TEST_F(ExecuteDSN, ChecksTheDriverBeforeTheAttributes)
{
    odbc.ODBC_DRIVER_NAME("Microsoft Access Driver (*.mdb)");
    EXPECT_EQ(odbc.ExecuteDSN(1, 3, kRepairList), "未知驱动器\r\n需要指定一个正确的驱动器");
    EXPECT_EQ(odbc.ExecuteDSN(1, -1, ""), "未知驱动器\r\n需要指定一个正确的驱动器");

    clsOdbc fresh;
    EXPECT_EQ(fresh.ExecuteDSN(1, 0, ""), "需要首先初始化 ODBC_DRIVER_NAME");
    EXPECT_EQ(fresh.ExecuteDSN(1, 1, ""), "需要首先初始化 ODBC_ATTRIBUTES");
    EXPECT_FALSE(std::filesystem::exists(sandbox.UserIni()));
}

TEST_F(ExecuteDSN, ArgumentsWinOverTheSettings)
{
    odbc.ODBC_DRIVER_NAME("SQL Server");
    odbc.ODBC_ATTRIBUTES("DSN=FromSetting" + kNul + "DBQ=/setting.mdb" + kNul);
    ASSERT_EQ(odbc.ExecuteDSN(1, 1, kRepairList), "");
    EXPECT_TRUE(UserFileHas("[Pelwick2006]\nDriver=Microsoft Access Driver (*.mdb)\nDBQ=/data/db.mdb\nDESCRIPTION=Pelwick\n"));
    EXPECT_FALSE(UserFileHas("FromSetting"));

    // Driver type 0 and an empty list take the settings, which the arguments left as they were.
    odbc.ODBC_DRIVER_NAME("Microsoft Access Driver (*.mdb)");
    ASSERT_EQ(odbc.ExecuteDSN(1, 0, ""), "");
    EXPECT_TRUE(UserFileHas("[FromSetting]\nDriver=Microsoft Access Driver (*.mdb)\nDBQ=/setting.mdb\n"));

    ASSERT_EQ(odbc.ExecuteDSN(3, 1, "DSN=Pelwick2006" + kNul), "");
    EXPECT_FALSE(UserFileHas("Pelwick2006"));
}

TEST_F(ExecuteDSN, AnInstallerRefusalEndsInALineBreak)
{
    EXPECT_EQ(odbc.ExecuteDSN(3, 1, "DSN=NotThere" + kNul), "错误: \r\n无效的属性值\r\n");
    EXPECT_EQ(odbc.ExecuteDSN(1, 2, kRepairList), "错误: \r\n无效的属性值\r\n"); // no such driver here
}

TEST_F(ExecuteDSN, AMissingInstallerBecomesTheTrappedErrorText)
{
    OdbcInstaller::ReplaceSharedLibrary("libkorvane-no-such-library.so");
    EXPECT_EQ(odbc.ExecuteDSN(1, 1, kRepairList),
        "错误: 53\r\n源代码: Korvane\r\n描述: File not found: libkorvane-no-such-library.so");

    // A library that is there but lacks the entry point.
    OdbcInstaller::ReplaceSharedLibrary("libm.so.6");
    EXPECT_EQ(odbc.ExecuteDSN(1, 1, kRepairList),
        "错误: 453\r\n源代码: Korvane\r\n描述: Can't find DLL entry point SQLConfigDataSource in libm.so.6");

    OdbcInstaller::ReplaceSharedLibrary(OdbcInstaller::kDefaultLibrary);
    EXPECT_EQ(odbc.ExecuteDSN(1, 1, kRepairList), "");
}

TEST_F(ExecuteFileDSN, WritesTheDriverThenEachPieceInOrder)
{
    std::filesystem::path file = sandbox.Root() / "pelwick.dsn";
    EXPECT_EQ(odbc.ExecuteFileDSN(file.string(), 1, "DSN=Pelwick2006|DBQ=C:=odd=path"), "");
    const std::string written = ReadFile(file);
    std::size_t after = 0;
    for (const char* piece : { "DRIVER=Microsoft Access Driver (*.mdb)", "DSN=Pelwick2006", "DBQ=C:=odd=path" }) {
        after = written.find(piece, after);
        ASSERT_NE(after, std::string::npos) << piece << " in order in " << written;
    }
}

TEST_F(ExecuteFileDSN, APieceWithoutEqualsRaisesAfterTheEarlierPieces)
{
    std::filesystem::path file = sandbox.Root() / "broken.dsn";
    try {
        odbc.ExecuteFileDSN(file.string(), 1, "UID=me|oops|PWD=x");
        FAIL() << "no error raised";
    } catch (const korvane::host::RuntimeError& error) {
        EXPECT_EQ(error.Number(), 5);
    }
    std::string written = ReadFile(file);
    EXPECT_NE(written.find("UID=me"), std::string::npos) << written;
    EXPECT_EQ(written.find("PWD"), std::string::npos) << written;
}
