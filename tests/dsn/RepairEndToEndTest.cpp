// The repair's DSN round trip against the real driver manager and Access driver:
// add the data source, read the database through it, remove it.

#include "dsn/clsOdbc.h"
#include "dsn/mdlDns.h"

#include "tests/support/OdbcClient.h"
#include "tests/support/OdbcSandbox.h"

#include <gtest/gtest.h>

using korvane::clsOdbc;
using korvane::testing::OdbcSandbox;

TEST(RepairEndToEnd, AddedDataSourceReadsTheDatabaseUntilRemoved)
{
    OdbcSandbox sandbox;
    const std::filesystem::path database = sandbox.CopyTestDatabase("分析 数据 folder");
    if (database.empty())
        GTEST_SKIP() << "the shared test database is not here";

    const std::string nul(1, '\0');
    ASSERT_FALSE(korvane::mdlDns::DSNExists("Pelwick2006", "HC"));
    clsOdbc add;
    add.ODBC_DRIVER_NAME("Microsoft Access Driver (*.mdb)");
    add.ODBC_ATTRIBUTES("DSN=Pelwick2006" + nul + "DBQ=" + database.string() + nul + "DESCRIPTION=Pelwick2006 data" + nul);
    ASSERT_EQ(add.ExecuteDSN(1, 0, ""), "");
    EXPECT_TRUE(korvane::mdlDns::DSNExists("Pelwick2006", "HC"));

    std::string firstText;
    EXPECT_EQ(korvane::testing::CountDateTestRows("Pelwick2006", &firstText), 6);
    EXPECT_EQ(firstText, "Hello");

    clsOdbc remove;
    ASSERT_EQ(remove.ExecuteDSN(3, 1, "DSN=Pelwick2006" + nul), "");
    EXPECT_FALSE(korvane::mdlDns::DSNExists("Pelwick2006", "HC"));
    EXPECT_EQ(korvane::testing::CountDateTestRows("Pelwick2006"), -1);
}
