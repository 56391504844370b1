#include "dsn/mdlDns.h"

#include "host/platform/Registry.h"
#include "host/runtime/AnsiText.h"

namespace korvane::mdlDns {

// The probe's buffer: 255 characters, so a longer driver name reads as ERROR_MORE_DATA
// and the data source counts as absent.
constexpr std::size_t kProbeBufferLength = 255;

bool DSNExists(const std::string& dsnName, const std::string& hive)
{
    std::string keyPath = "SOFTWARE\\ODBC\\ODBC.INI\\ODBC Data Sources";
    std::string valueName = dsnName;
    std::string buffer(kProbeBufferLength, ' ');
    std::string selector = hive;
    return QueryRegValue(keyPath, valueName, buffer, selector);
}

bool QueryRegValue(std::string& keyPath, std::string& valueName, std::string& buffer, std::string& hive)
{
    HKEY root = hive == "HM" ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
    HKEY key = nullptr;
    std::string ansiPath = host::ToAnsi(keyPath);
    if (RegOpenKeyExA(root, ansiPath.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;

    DWORD size = static_cast<DWORD>(host::CharacterCount(buffer));
    DWORD type = REG_SZ;
    std::string ansiName = host::ToAnsi(valueName);
    std::string bytes = host::ToAnsi(buffer);
    LONG result = RegQueryValueExA(key, ansiName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(bytes.data()), &size);
    buffer = host::FromAnsi(bytes.data(), bytes.size());
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

} // namespace korvane::mdlDns
