#include "tests/support/OdbcClient.h"

#include <sql.h>
#include <sqlext.h>

namespace korvane::testing {

int CountDateTestRows(const std::string& dataSource, std::string* firstText)
{
    SQLHENV environment = SQL_NULL_HENV;
    SQLHDBC connection = SQL_NULL_HDBC;
    SQLHSTMT statement = SQL_NULL_HSTMT;
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &environment);
    SQLSetEnvAttr(environment, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLAllocHandle(SQL_HANDLE_DBC, environment, &connection);
    int rows = -1;
    std::string name = dataSource; // a copy the driver manager may take as writable
    if (SQL_SUCCEEDED(SQLConnect(connection, reinterpret_cast<SQLCHAR*>(name.data()), SQL_NTS, nullptr, 0, nullptr, 0))) {
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

} // namespace korvane::testing
