#include "host/platform/Registry.h"

#include "host/platform/OdbcInstaller.h"

#include "tests/support/OdbcSandbox.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <tuple>

using korvane::testing::OdbcSandbox;
using korvane::testing::WriteFile;

namespace {

constexpr const char* kList = "SOFTWARE\\ODBC\\ODBC.INI\\ODBC Data Sources";

class RegistryView : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(korvane::platform::OpenRegistryKeyCount(), 0); }

    // The value's text, or the registry error as "error N".
    std::string Query(HKEY root, const char* path, const char* name, DWORD bufferSize = 255)
    {
        HKEY key = nullptr;
        if (LONG error = RegOpenKeyExA(root, path, 0, KEY_QUERY_VALUE, &key); error != ERROR_SUCCESS)
            return "error " + std::to_string(error);
        std::string buffer(bufferSize, ' ');
        DWORD size = bufferSize;
        DWORD type = REG_NONE;
        LONG error = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size);
        EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
        if (error != ERROR_SUCCESS)
            return "error " + std::to_string(error);
        EXPECT_EQ(type, REG_SZ);
        return buffer.substr(0, size - 1);
    }

    OdbcSandbox sandbox;
};

} // namespace

TEST_F(RegistryView, ListsUserAndSystemDataSourcesFromTheirOwnFiles)
{
    WriteFile(sandbox.UserIni(), "[ODBC Data Sources]\nListed=Driver A\n\n[OnlySection]\nDriver=Driver B\n");
    WriteFile(sandbox.SystemIni(), "[Machine]\nDriver=Driver C\n");

    // The driver manager's own sections are not data sources.
    const std::tuple<HKEY, const char*, const char*, const char*> cases[] = { { HKEY_CURRENT_USER, kList, "Listed", "Driver A" },
        { HKEY_CURRENT_USER, kList, "onlysection", "Driver B" }, { HKEY_CURRENT_USER, kList, "Machine", "error 2" },
        { HKEY_LOCAL_MACHINE, kList, "Machine", "Driver C" }, { HKEY_LOCAL_MACHINE, kList, "Listed", "error 2" },
        { HKEY_CURRENT_USER, "software\\odbc\\odbc.ini\\OnlySection", "DRIVER", "Driver B" },
        { HKEY_CURRENT_USER, kList, "ODBC Data Sources", "error 2" } };
    for (auto [root, path, name, value] : cases)
        EXPECT_EQ(Query(root, path, name), value) << path << " " << name;
}

TEST_F(RegistryView, TakesTheFilesUnixOdbcNames)
{
    // Without ODBCINI unixODBC names the account's ~/.odbc.ini; only the name is
    // checked, so the real user's file is never read.
    unsetenv("ODBCINI");
    std::optional<std::string> user = korvane::platform::OdbcInstaller::Shared().UserIniPath();
    ASSERT_TRUE(user);
    EXPECT_EQ(std::filesystem::path(*user).filename(), ".odbc.ini");
    EXPECT_EQ(korvane::platform::OdbcInstaller::Shared().SystemIniPath(), sandbox.SystemIni().string());
}

TEST_F(RegistryView, ReportsMissingAndUnreadableListsAsErrors)
{
    EXPECT_EQ(Query(HKEY_CURRENT_USER, kList, "Any"), "error 2"); // no file yet
    WriteFile(sandbox.UserIni(), "[A]\nDriver=d\n");
    EXPECT_EQ(Query(HKEY_CURRENT_USER, "SOFTWARE\\ODBC\\ODBC.INI\\Nope", "Driver"), "error 2");
    EXPECT_EQ(Query(HKEY_CURRENT_USER, "SOFTWARE\\Other", "A"), "error 2");
    EXPECT_EQ(Query(HKEY_CURRENT_USER, kList, "A"), "d");

    std::filesystem::remove(sandbox.UserIni());
    std::filesystem::create_directory(sandbox.UserIni()); // opens, but cannot be read
    EXPECT_EQ(Query(HKEY_CURRENT_USER, kList, "A"), "error 5");
}

TEST_F(RegistryView, DataLargerThanTheBufferIsMoreData)
{
    std::string driver(255, 'x'); // needs 256 bytes with its NUL
    WriteFile(sandbox.UserIni(), "[ODBC Data Sources]\nBig=" + driver + "\nFits=" + driver.substr(1) + "\nEmpty=\n");
    EXPECT_EQ(Query(HKEY_CURRENT_USER, kList, "Big"), "error 234");
    EXPECT_EQ(Query(HKEY_CURRENT_USER, kList, "Fits"), driver.substr(1));
    EXPECT_EQ(Query(HKEY_CURRENT_USER, kList, "Empty"), "");

    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kList, 0, KEY_QUERY_VALUE, &key), ERROR_SUCCESS);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(key, "Big", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 256u);
    RegCloseKey(key);
}

TEST_F(RegistryView, RefusesWritesAndForeignHandles)
{
    WriteFile(sandbox.UserIni(), "[A]\nDriver=d\n");
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kList, 0, KEY_SET_VALUE, &key), ERROR_ACCESS_DENIED);
    EXPECT_EQ(key, nullptr);
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kList, 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
    DWORD size = 4;
    BYTE data[4];
    EXPECT_EQ(RegQueryValueExA(key, "A", nullptr, nullptr, data, &size), ERROR_INVALID_HANDLE);
}
