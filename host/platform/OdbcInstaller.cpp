#include "host/platform/OdbcInstaller.h"

#include "host/runtime/RuntimeError.h"

#include <dlfcn.h>

#include <cstdio>

#include <vector>

namespace korvane::platform {

using namespace korvane::host;

namespace {

// unixODBC writes up to its ODBC_FILENAME_MAX (4096) plus a terminator into path
// buffers, so anything smaller overruns.
constexpr std::size_t kPathBufferSize = 4096 * 2;

template <typename Function>
Function Bind(void* entryPoint)
{
    return reinterpret_cast<Function>(entryPoint);
}

} // namespace

OdbcInstaller::OdbcInstaller(std::string libraryName) : m_libraryName(std::move(libraryName)) {}

OdbcInstaller::~OdbcInstaller() { Unload(); }

OdbcInstaller& OdbcInstaller::Shared()
{
    static OdbcInstaller shared;
    return shared;
}

std::string OdbcInstaller::ReplaceSharedLibrary(std::string libraryName)
{
    OdbcInstaller& shared = Shared();
    shared.Unload();
    std::swap(shared.m_libraryName, libraryName);
    return libraryName;
}

void OdbcInstaller::Unload()
{
    if (m_library)
        dlclose(m_library);
    m_library = nullptr;
}

void* OdbcInstaller::Library()
{
    if (!m_library) {
        m_library = dlopen(m_libraryName.c_str(), RTLD_NOW | RTLD_GLOBAL);
        if (!m_library)
            Raise(ErrorNumber::FileNotFound, "File not found: " + m_libraryName);
    }
    return m_library;
}

void* OdbcInstaller::EntryPoint(const char* name)
{
    void* entryPoint = dlsym(Library(), name);
    if (!entryPoint)
        Raise(ErrorNumber::EntryPointNotFound,
            std::string("Can't find DLL entry point ") + name + " in " + m_libraryName);
    return entryPoint;
}

int OdbcInstaller::SQLConfigDataSource(void* hwndParent, std::uint16_t request, const char* driver, const char* attributes)
{
    using Function = int (*)(void*, std::uint16_t, const char*, const char*);
    return Bind<Function>(EntryPoint("SQLConfigDataSource"))(hwndParent, request, driver, attributes);
}

int OdbcInstaller::SQLWriteFileDSN(const char* fileName, const char* appName, const char* keyName, const char* value)
{
    using Function = int (*)(const char*, const char*, const char*, const char*);
    return Bind<Function>(EntryPoint("SQLWriteFileDSN"))(fileName, appName, keyName, value);
}

int OdbcInstaller::SQLManageDataSources(void* hwnd)
{
    // unixODBC reads its window argument as a record naming the user-interface
    // plug-in; an empty name lets it pick the configured one, and it then hands the
    // plug-in no window of ours.
    struct InstallerWindow {
        char plugin[FILENAME_MAX];
        void* window;
    };
    InstallerWindow parent {};
    parent.window = hwnd;
    using Function = int (*)(InstallerWindow*);
    return Bind<Function>(EntryPoint("SQLManageDataSources"))(&parent);
}

int OdbcInstaller::SQLInstallerError(std::uint16_t index, std::uint32_t* errorCode, std::string* message)
{
    using Function = short (*)(std::uint16_t, std::uint32_t*, char*, std::uint16_t, std::uint16_t*);
    std::vector<char> buffer(1024, '\0');
    std::uint16_t length = 0;
    short result = Bind<Function>(EntryPoint("SQLInstallerError"))(
        index, errorCode, buffer.data(), static_cast<std::uint16_t>(buffer.size()), &length);
    if (message)
        *message = buffer.data();
    return result;
}

std::optional<std::string> OdbcInstaller::UserIniPath()
{
    using Function = int (*)(char*, int);
    try {
        std::vector<char> buffer(kPathBufferSize, '\0');
        if (!Bind<Function>(EntryPoint("_odbcinst_UserINI"))(buffer.data(), 0))
            return std::nullopt;
        return std::string(buffer.data());
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
}

std::optional<std::string> OdbcInstaller::SystemIniPath()
{
    using Function = int (*)(char*, int);
    try {
        std::vector<char> buffer(kPathBufferSize, '\0');
        if (!Bind<Function>(EntryPoint("_odbcinst_SystemINI"))(buffer.data(), 0))
            return std::nullopt;
        return std::string(buffer.data());
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
}

} // namespace korvane::platform
