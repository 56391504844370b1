#include "tests/support/OdbcSandbox.h"

#include <odbcinst.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace korvane::testing {

namespace {

const char* const kVariables[3] = {"ODBCINI", "ODBCSYSINI", "HOME"};

std::filesystem::path MakeTemporaryFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "korvane-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary folder");
    return pattern;
}

std::string DefaultDriverIni()
{
    std::ostringstream ini;
    ini << '[' << OdbcSandbox::kAccessDriver << "]\nDescription=MDB Tools ODBC driver\nDriver=" << KORVANE_MDBTOOLS_DRIVER
        << "\nSetup=" << KORVANE_SETUP_LIBRARY << '\n';
    return ini.str();
}

} // namespace

OdbcSandbox::OdbcSandbox() : m_root(MakeTemporaryFolder())
{
    std::filesystem::create_directories(m_root / "home");
    std::filesystem::create_directories(m_root / "etc");
    for (int i = 0; i < 3; ++i)
        if (const char* value = std::getenv(kVariables[i]))
            m_saved[i] = value;
    setenv("ODBCINI", UserIni().c_str(), 1);
    setenv("ODBCSYSINI", (m_root / "etc").c_str(), 1);
    setenv("HOME", (m_root / "home").c_str(), 1);
    WriteDriverIni(DefaultDriverIni());
    ForgetUnixOdbcCache();
}

OdbcSandbox::~OdbcSandbox()
{
    for (int i = 0; i < 3; ++i) {
        if (m_saved[i])
            setenv(kVariables[i], m_saved[i]->c_str(), 1);
        else
            unsetenv(kVariables[i]);
    }
    std::error_code ignored;
    std::filesystem::permissions(m_root, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(m_root, ignored);
    ForgetUnixOdbcCache();
}

void OdbcSandbox::WriteDriverIni(const std::string& contents)
{
    WriteFile(DriverIni(), contents);
    ForgetUnixOdbcCache();
}

void OdbcSandbox::ForgetUnixOdbcCache()
{
    // A profile write is what drops unixODBC's cache; this one touches a scratch file.
    std::filesystem::path scratch = MakeTemporaryFolder();
    SQLWritePrivateProfileString("korvane", nullptr, nullptr, (scratch / "cache.ini").c_str());
    std::error_code ignored;
    std::filesystem::remove_all(scratch, ignored);
}

std::filesystem::path OdbcSandbox::CopyTestDatabase(const std::string& folder) const
{
    const std::filesystem::path shared = std::filesystem::path(KORVANE_TESTDATA_DIR) / "DateTestDatabase.mdb";
    if (!std::filesystem::exists(shared))
        return {};
    std::filesystem::create_directories(m_root / folder);
    std::filesystem::copy_file(shared, m_root / folder / "db.mdb");
    return m_root / folder / "db.mdb";
}

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const std::filesystem::path& path, const std::string& contents)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << contents;
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

} // namespace korvane::testing
