#include "dsn/mdlDns.h"

#include "host/platform/Registry.h"
#include "tests/support/OdbcSandbox.h"

#include <gtest/gtest.h>

#include <tuple>

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
    const std::tuple<const char*, const char*, bool> cases[] = { { "Mine", "HC", true }, { "Shared", "HC", false },
        { "Shared", "HM", true }, { "Mine", "HM", false }, { "Shared", "hm", false }, { "Shared", "HM ", false }, { "Mine", "", true } };
    for (auto [name, hive, exists] : cases)
        EXPECT_EQ(DSNExists(name, hive), exists) << name << " in '" << hive << "'";
}

TEST_F(DsnProbe, MissingListsAndOversizedDataAreAbsent)
{
    EXPECT_FALSE(DSNExists("Pelwick2006", "HC"));
    WriteFile(sandbox.UserIni(), "[ODBC Data Sources]\nLong=" + std::string(255, 'd') + "\nEdge=" + std::string(254, 'd')
            + "\nEmpty=\n");
    for (auto [name, exists] : { std::pair { "Long", false }, { "Edge", true }, { "Empty", true }, { "Pelwick2006", false } })
        EXPECT_EQ(DSNExists(name, "HC"), exists) << name;
}

TEST_F(DsnProbe, QueryRegValueLeavesDataThenNulThenTheUntouchedBuffer)
{
    WriteFile(sandbox.UserIni(), "[ODBC Data Sources]\nPelwick2006=Access\n");
    std::string keyPath = "SOFTWARE\\ODBC\\ODBC.INI\\ODBC Data Sources", name = "Pelwick2006", hive = "HC";
    std::string buffer(12, ' '), small(6, ' ');
    ASSERT_TRUE(QueryRegValue(keyPath, name, buffer, hive));
    EXPECT_EQ(buffer, std::string("Access") + '\0' + "     ");
    EXPECT_FALSE(QueryRegValue(keyPath, name, small, hive));
    EXPECT_EQ(small, "      ");
}
