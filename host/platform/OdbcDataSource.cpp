#include "host/platform/OdbcDataSource.h"

#include <sql.h>
#include <sqlext.h>

namespace korvane::platform {

namespace {

// Every diagnostic queued on the handle, "[state] text" a line.
std::string Diagnostics(SQLSMALLINT handleType, SQLHANDLE handle)
{
    std::string text;
    for (SQLSMALLINT record = 1;; ++record) {
        SQLCHAR state[6] = "";
        SQLCHAR message[SQL_MAX_MESSAGE_LENGTH] = "";
        SQLINTEGER nativeError = 0;
        SQLSMALLINT length = 0;
        SQLRETURN result = SQLGetDiagRec(handleType, handle, record, state, &nativeError, message, sizeof message, &length);
        if (!SQL_SUCCEEDED(result))
            break;
        if (!text.empty())
            text += "\n";
        text += "[" + std::string(reinterpret_cast<char*>(state)) + "] " + reinterpret_cast<char*>(message);
    }
    return text;
}

// The handles of one connection, freed in reverse order however the check ends.
class Connection {
public:
    Connection()
    {
        SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &m_environment);
        SQLSetEnvAttr(m_environment, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        SQLAllocHandle(SQL_HANDLE_DBC, m_environment, &m_connection);
    }
    ~Connection()
    {
        if (m_statement)
            SQLFreeHandle(SQL_HANDLE_STMT, m_statement);
        if (m_connected)
            SQLDisconnect(m_connection);
        SQLFreeHandle(SQL_HANDLE_DBC, m_connection);
        SQLFreeHandle(SQL_HANDLE_ENV, m_environment);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    bool Connect(const std::string& name, std::string& message)
    {
        std::vector<SQLCHAR> text(name.begin(), name.end());
        text.push_back(0);
        m_connected = SQL_SUCCEEDED(SQLConnect(m_connection, text.data(), SQL_NTS, nullptr, 0, nullptr, 0));
        if (!m_connected)
            message = Diagnostics(SQL_HANDLE_DBC, m_connection);
        return m_connected;
    }

    bool ListTables(std::vector<std::string>& tables, std::string& message)
    {
        SQLAllocHandle(SQL_HANDLE_STMT, m_connection, &m_statement);
        SQLCHAR kind[] = "TABLE";
        if (!SQL_SUCCEEDED(SQLTables(m_statement, nullptr, 0, nullptr, 0, nullptr, 0, kind, SQL_NTS))) {
            message = Diagnostics(SQL_HANDLE_STMT, m_statement);
            return false;
        }
        while (SQL_SUCCEEDED(SQLFetch(m_statement))) {
            char name[256] = "";
            SQLLEN length = 0;
            // Column 3 of SQLTables' result is TABLE_NAME.
            if (SQL_SUCCEEDED(SQLGetData(m_statement, 3, SQL_C_CHAR, name, sizeof name, &length)))
                tables.emplace_back(name);
        }
        return true;
    }

private:
    SQLHENV m_environment = SQL_NULL_HENV;
    SQLHDBC m_connection = SQL_NULL_HDBC;
    SQLHSTMT m_statement = SQL_NULL_HSTMT;
    bool m_connected = false;
};

} // namespace

DataSourceCheck OpenDataSource(const std::string& dataSourceName)
{
    DataSourceCheck check;
    Connection connection;
    check.opened = connection.Connect(dataSourceName, check.message)
        && connection.ListTables(check.tables, check.message);
    return check;
}

} // namespace korvane::platform
