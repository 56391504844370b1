#pragma once

#include <cstdint>
#include <string>

namespace korvane {

// Adds, changes and removes ODBC data sources through the installer. Every
// outcome is a text: empty for success, otherwise a message for a person.
// An instance serves one operation of its caller.
class clsOdbc {
public:
    // Write-only settings used when ExecuteDSN is given driver type 0 or an
    // empty attribute list.
    void ODBC_DRIVER_NAME(std::string value) { m_ODBC_DRIVER_NAME = std::move(value); }
    void ODBC_ATTRIBUTES(std::string value) { m_ODBC_ATTRIBUTES = std::move(value); }

    // request: 1 to 6, the installer's add, configure and remove codes for user
    // and system data sources. driverType: 1 Access, 2 SQL Server, 0 the
    // ODBC_DRIVER_NAME setting. attributes: KEY=value entries, each followed by
    // one NUL. Never raises.
    std::string ExecuteDSN(std::int32_t request, std::int32_t driverType, std::string attributes);

    // Writes a file data source: the DRIVER key, then each KEY=value piece of the
    // "|"-separated attribute list. A piece without "=" raises invalid procedure
    // call after the earlier pieces are written.
    std::string ExecuteFileDSN(std::string fileName, std::int32_t driverType, std::string attributes);

private:
    static std::string GetDriverName(std::int32_t driverType);

    std::string m_ODBC_DRIVER_NAME;
    std::string m_ODBC_ATTRIBUTES;
};

} // namespace korvane
