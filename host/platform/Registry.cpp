#include "host/platform/Registry.h"

#include "host/platform/AtomicFile.h"
#include "host/platform/IniDocument.h"
#include "host/platform/OdbcInstaller.h"

#include <cstring>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

struct RegistryKey {
    // Value names in the order the file gives them, with their text data.
    std::vector<std::pair<std::string, std::string>> values;
};

namespace korvane::platform {


namespace {

std::set<RegistryKey*>& OpenKeys()
{
    static std::set<RegistryKey*> keys;
    return keys;
}

std::vector<std::string> SplitPath(const char* path)
{
    std::vector<std::string> parts;
    std::string part;
    for (const char* p = path ? path : ""; *p; ++p) {
        if (*p == '\\') {
            if (!part.empty())
                parts.push_back(part);
            part.clear();
        } else {
            part += *p;
        }
    }
    if (!part.empty())
        parts.push_back(part);
    return parts;
}

// Reads a whole file; the error is a registry code.
LONG ReadFile(const std::string& path, std::string& contents)
{
    std::string reason;
    switch (ReadFileContents(path, contents, reason)) {
    case ReadOutcome::Read: return ERROR_SUCCESS;
    case ReadOutcome::Missing: return ERROR_FILE_NOT_FOUND;
    case ReadOutcome::Failed: break;
    }
    return ERROR_ACCESS_DENIED;
}

void AddValue(RegistryKey& key, const std::string& name, const std::string& data)
{
    for (auto& [existing, value] : key.values)
        if (EqualsIgnoringCase(existing, name))
            return;
    key.values.emplace_back(name, data);
}

constexpr const char* kDataSourcesSection = "ODBC Data Sources";

// The DSN list: entries under [ODBC Data Sources] first, then sections not listed there.
void FillDataSources(RegistryKey& key, const IniDocument& document)
{
    if (auto listed = document.Entries(kDataSourcesSection))
        for (const IniDocument::Entry& entry : *listed)
            AddValue(key, entry.key, entry.value);
    for (const std::string& name : document.SectionNames()) {
        if (EqualsIgnoringCase(name, kDataSourcesSection) || EqualsIgnoringCase(name, "ODBC"))
            continue;
        AddValue(key, name, document.Value(name, "Driver").value_or(""));
    }
}

LONG OpenOdbcKey(HKEY root, const std::vector<std::string>& parts, std::unique_ptr<RegistryKey>& key)
{
    static const char* const kPrefix[] = {"SOFTWARE", "ODBC", "ODBC.INI"};
    for (std::size_t i = 0; i < parts.size() && i < 3; ++i)
        if (!EqualsIgnoringCase(parts[i], kPrefix[i]))
            return ERROR_FILE_NOT_FOUND;
    key = std::make_unique<RegistryKey>();
    if (parts.size() <= 3)
        return ERROR_SUCCESS;
    if (parts.size() > 4)
        return ERROR_FILE_NOT_FOUND;

    OdbcInstaller& installer = OdbcInstaller::Shared();
    std::optional<std::string> path = root == HKEY_LOCAL_MACHINE ? installer.SystemIniPath() : installer.UserIniPath();
    if (!path)
        return ERROR_FILE_NOT_FOUND;
    std::string contents;
    if (LONG error = ReadFile(*path, contents); error != ERROR_SUCCESS)
        return error;
    IniDocument document = IniDocument::Parse(contents);

    if (EqualsIgnoringCase(parts[3], kDataSourcesSection)) {
        FillDataSources(*key, document);
        return ERROR_SUCCESS;
    }
    std::optional<std::vector<IniDocument::Entry>> settings = document.Entries(parts[3]);
    if (!settings || EqualsIgnoringCase(parts[3], "ODBC"))
        return ERROR_FILE_NOT_FOUND;
    for (const IniDocument::Entry& entry : *settings)
        AddValue(*key, entry.key, entry.value);
    return ERROR_SUCCESS;
}

} // namespace

int OpenRegistryKeyCount() { return static_cast<int>(OpenKeys().size()); }

} // namespace korvane::platform

using namespace korvane::platform;

LONG RegOpenKeyExA(HKEY root, const char* subKey, DWORD options, REGSAM access, HKEY* result)
{
    if (!result || options != 0)
        return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    if (access & (KEY_SET_VALUE | KEY_CREATE_SUB_KEY))
        return ERROR_ACCESS_DENIED;
    if (root != HKEY_CURRENT_USER && root != HKEY_LOCAL_MACHINE)
        return OpenKeys().count(root) ? ERROR_FILE_NOT_FOUND : ERROR_INVALID_HANDLE;

    std::unique_ptr<RegistryKey> key;
    if (LONG error = OpenOdbcKey(root, SplitPath(subKey), key); error != ERROR_SUCCESS)
        return error;
    *result = key.release();
    OpenKeys().insert(*result);
    return ERROR_SUCCESS;
}

LONG RegQueryValueExA(HKEY key, const char* valueName, DWORD* reserved, DWORD* type, BYTE* data, DWORD* dataSize)
{
    if (!OpenKeys().count(key))
        return ERROR_INVALID_HANDLE;
    if (reserved || (data && !dataSize))
        return ERROR_INVALID_PARAMETER;
    std::string name = valueName ? valueName : "";
    for (const auto& [existing, text] : key->values) {
        if (!EqualsIgnoringCase(existing, name))
            continue;
        DWORD needed = static_cast<DWORD>(text.size() + 1);
        if (type)
            *type = REG_SZ;
        if (!dataSize)
            return ERROR_SUCCESS;
        if (!data) {
            *dataSize = needed;
            return ERROR_SUCCESS;
        }
        if (*dataSize < needed) {
            *dataSize = needed;
            return ERROR_MORE_DATA;
        }
        std::memcpy(data, text.c_str(), needed);
        *dataSize = needed;
        return ERROR_SUCCESS;
    }
    return ERROR_FILE_NOT_FOUND;
}

LONG RegCloseKey(HKEY key)
{
    if (!OpenKeys().erase(key))
        return ERROR_INVALID_HANDLE;
    delete key;
    return ERROR_SUCCESS;
}
