// The repair's DSN round trip against the real driver manager and Access driver:
// add the data source, read the database through it, remove it.

#include "dsn/clsOdbc.h"
#include "dsn/mdlDns.h"

#include "tests/support/OdbcSandbox.h"

#include <sql.h>
#include <sqlext.h>

#include <gtest/gtest.h>

using korvane::clsOdbc;
using korvane::testing::OdbcSandbox;

namespace {

// Connects to the DSN and counts the rows of DateTest; -1 when it cannot connect.
int CountRows(const char* dsn, std::string* firstText = nullptr)
{
    SQLHENV environment = SQL_NULL_HENV;
    SQLHDBC connection = SQL_NULL_HDBC;
    SQLHSTMT statement = SQL_NULL_HSTMT;
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &environment);
    SQLSetEnvAttr(environment, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLAllocHandle(SQL_HANDLE_DBC, environment, &connection);
    int rows = -1;
    SQLRETURN connected = SQLConnect(connection, reinterpret_cast<SQLCHAR*>(const_cast<char*>(dsn)), SQL_NTS, nullptr, 0, nullptr, 0);
    if (SQL_SUCCEEDED(connected)) {
        SQLAllocHandle(SQL_HANDLE_STMT, connection, &statement);
        SQLCHAR query[] = "SELECT * FROM DateTest";
        if (SQL_SUCCEEDED(SQLExecDirect(statement, query, SQL_NTS))) {
            rows = 0;
            while (SQL_SUCCEEDED(SQLFetch(statement))) {
                if (rows++ == 0 && firstText) {
                    char text[64] = "";
                    SQLLEN length = 0;
                    SQLGetData(statement, 5, SQL_C_CHAR, text, sizeof text, &length);
                    *firstText = text;
                }
            }
        }
        SQLFreeHandle(SQL_HANDLE_STMT, statement);
        SQLDisconnect(connection);
    }
    SQLFreeHandle(SQL_HANDLE_DBC, connection);
    SQLFreeHandle(SQL_HANDLE_ENV, environment);
    return rows;
}

} // namespace

TEST(RepairEndToEnd, AddedDataSourceReadsTheDatabaseUntilRemoved)
{
    std::filesystem::path testData = korvane::testing::TestDataFolder();
    if (testData.empty())
        GTEST_SKIP() << "the shared test database is not here";

    OdbcSandbox sandbox;
    std::filesystem::path folder = sandbox.Root() / "分析 数据 folder";
    std::filesystem::create_directories(folder);
    std::filesystem::path database = folder / "db.mdb";
    std::filesystem::copy_file(testData / "DateTestDatabase.mdb", database);

    const std::string nul(1, '\0');
    ASSERT_FALSE(korvane::mdlDns::DSNExists("Pelwick2006", "HC"));
    clsOdbc add;
    add.ODBC_DRIVER_NAME("Microsoft Access Driver (*.mdb)");
    add.ODBC_ATTRIBUTES("DSN=Pelwick2006" + nul + "DBQ=" + database.string() + nul + "DESCRIPTION=Pelwick2006 data" + nul);
    ASSERT_EQ(add.ExecuteDSN(1, 0, ""), "");
    EXPECT_TRUE(korvane::mdlDns::DSNExists("Pelwick2006", "HC"));

    std::string firstText;
    EXPECT_EQ(CountRows("Pelwick2006", &firstText), 6);
    EXPECT_EQ(firstText, "Hello");

    clsOdbc remove;
    ASSERT_EQ(remove.ExecuteDSN(3, 1, "DSN=Pelwick2006" + nul), "");
    EXPECT_FALSE(korvane::mdlDns::DSNExists("Pelwick2006", "HC"));
    EXPECT_EQ(CountRows("Pelwick2006"), -1);
}
