#include "dsn/mdlDns.h"

#include "host/platform/Registry.h"
#include "tests/support/OdbcSandbox.h"

#include <gtest/gtest.h>

using namespace korvane::mdlDns;
using korvane::testing::OdbcSandbox;
using korvane::testing::WriteFile;

namespace {

class DsnProbe : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(korvane::platform::OpenRegistryKeyCount(), 0); }
    OdbcSandbox sandbox;
};

} // namespace

TEST_F(DsnProbe, OnlyExactlyHmSelectsTheMachineList)
{
    WriteFile(sandbox.UserIni(), "[ODBC Data Sources]\nMine=Microsoft Access Driver (*.mdb)\n");
    WriteFile(sandbox.SystemIni(), "[Shared]\nDriver=MDBTools\n");
    EXPECT_TRUE(DSNExists("Mine", "HC"));
    EXPECT_FALSE(DSNExists("Shared", "HC"));
    EXPECT_TRUE(DSNExists("Shared", "HM"));
    EXPECT_FALSE(DSNExists("Mine", "HM"));
    EXPECT_FALSE(DSNExists("Shared", "hm"));
    EXPECT_FALSE(DSNExists("Shared", "HM "));
    EXPECT_TRUE(DSNExists("Mine", ""));
}

TEST_F(DsnProbe, MissingListsAndOversizedDataAreAbsent)
{
    EXPECT_FALSE(DSNExists("Pelwick2006", "HC"));
    WriteFile(sandbox.UserIni(), "[ODBC Data Sources]\nLong=" + std::string(255, 'd') + "\nEdge=" + std::string(254, 'd')
            + "\nEmpty=\n");
    EXPECT_FALSE(DSNExists("Long", "HC"));
    EXPECT_TRUE(DSNExists("Edge", "HC"));
    EXPECT_TRUE(DSNExists("Empty", "HC"));
    EXPECT_FALSE(DSNExists("Pelwick2006", "HC"));
}

TEST_F(DsnProbe, QueryRegValueLeavesDataThenNulThenTheUntouchedBuffer)
{
    WriteFile(sandbox.UserIni(), "[ODBC Data Sources]\nPelwick2006=Access\n");
    std::string keyPath = "SOFTWARE\\ODBC\\ODBC.INI\\ODBC Data Sources";
    std::string name = "Pelwick2006";
    std::string hive = "HC";
    std::string buffer(12, ' ');
    ASSERT_TRUE(QueryRegValue(keyPath, name, buffer, hive));
    EXPECT_EQ(buffer, std::string("Access") + '\0' + "     ");

    std::string small(6, ' ');
    EXPECT_FALSE(QueryRegValue(keyPath, name, small, hive));
    EXPECT_EQ(small, "      ");
}
