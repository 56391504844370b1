#pragma once

#include <cstdint>
#include <optional>
#include <string>

// unixODBC's installer library, bound on first use. Binding late means a machine
// without the library still starts, and the failure surfaces at the call as the
// host's run-time error: 53 for a missing library, 453 for a missing entry point.
namespace korvane::platform {

class OdbcInstaller {
public:
    static constexpr const char* kDefaultLibrary = "libodbcinst.so.2";

    explicit OdbcInstaller(std::string libraryName = kDefaultLibrary);
    ~OdbcInstaller();
    OdbcInstaller(const OdbcInstaller&) = delete;
    OdbcInstaller& operator=(const OdbcInstaller&) = delete;

    // The instance the program's DSN services use.
    static OdbcInstaller& Shared();
    // Points the shared instance at another library and drops its bindings; returns
    // the previous name. Tests use it to reach the missing-library paths.
    static std::string ReplaceSharedLibrary(std::string libraryName);

    // The installer calls, with unixODBC's narrow signatures. Each raises RuntimeError
    // when the library or its entry point cannot be bound.
    int SQLConfigDataSource(void* hwndParent, std::uint16_t request, const char* driver, const char* attributes);
    int SQLWriteFileDSN(const char* fileName, const char* appName, const char* keyName, const char* value);
    int SQLManageDataSources(void* hwnd);
    // The first queued installer error, as SQLInstallerError reports it.
    int SQLInstallerError(std::uint16_t index, std::uint32_t* errorCode, std::string* message);

    // The user and system odbc.ini files as unixODBC itself resolves them, or nothing
    // when the library cannot say.
    std::optional<std::string> UserIniPath();
    std::optional<std::string> SystemIniPath();

    const std::string& LibraryName() const { return m_libraryName; }

private:
    void* Library();
    void* EntryPoint(const char* name);
    void Unload();

    std::string m_libraryName;
    void* m_library = nullptr;
};

} // namespace korvane::platform
