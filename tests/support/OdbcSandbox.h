#pragma once

#include <filesystem>
#include <optional>
#include <string>

// A private ODBC configuration for one test: ODBCINI, ODBCSYSINI and HOME point
// into a fresh temporary folder whose odbcinst.ini registers the Access driver
// with the project's own set-up library. The real user's files are never read.
namespace korvane::testing {

class OdbcSandbox {
public:
    static constexpr const char* kAccessDriver = "Microsoft Access Driver (*.mdb)";

    OdbcSandbox();
    ~OdbcSandbox();
    OdbcSandbox(const OdbcSandbox&) = delete;
    OdbcSandbox& operator=(const OdbcSandbox&) = delete;

    const std::filesystem::path& Root() const { return m_root; }
    std::filesystem::path UserIni() const { return m_root / "home" / "odbc.ini"; }
    std::filesystem::path SystemIni() const { return m_root / "etc" / "odbc.ini"; }
    std::filesystem::path DriverIni() const { return m_root / "etc" / "odbcinst.ini"; }

    // Replaces the driver list, which at first registers the Access driver.
    void WriteDriverIni(const std::string& contents);

    // A copy of the shared test database as `folder`/db.mdb under Root(); empty when that database is missing.
    std::filesystem::path CopyTestDatabase(const std::string& folder = "分析 数据") const;

    // unixODBC remembers what it read from its files for a while; each test starts afresh.
    static void ForgetUnixOdbcCache();

private:
    std::filesystem::path m_root;
    std::optional<std::string> m_saved[3]; // ODBCINI, ODBCSYSINI and HOME as they were
};

std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const std::string& contents);

} // namespace korvane::testing
