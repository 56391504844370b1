// The set-up library of the Access driver: unixODBC's SQLConfigDataSource loads it
// and calls ConfigDSN to add, change or remove a data source in odbc.ini.
//
// Edits keep every other byte of the file as it was, because people keep comments
// and other data sources there; unixODBC's own profile writer would drop them.

#include "host/platform/access_setup/DataSourceRequest.h"

#include "host/platform/AtomicFile.h"
#include "host/platform/FileUpdateLock.h"
#include "host/platform/IniDocument.h"

#include <odbcinst.h>

#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

extern "C" {
// unixODBC's resolution of the odbc.ini files; exported but not declared publicly.
BOOL _odbcinst_UserINI(char* fileName, BOOL verify);
BOOL _odbcinst_SystemINI(char* fileName, BOOL verify);
}

using namespace korvane::platform;
using namespace korvane::platform::setup;

namespace {

constexpr const char* kDataSourcesSection = "ODBC Data Sources";
// Long enough to outlast any queue of honest writers, short enough that a program
// that holds the lock and hangs makes the request fail instead of hanging it too.
constexpr std::chrono::seconds kLockWait{5};

// unixODBC's headers leave TRUE and FALSE undefined; BOOL is an int.
BOOL Refuse(DWORD code, const std::string& message)
{
    SQLPostInstallerError(code, message.c_str());
    return 0;
}

std::optional<std::string> IniPath(Scope scope)
{
    // unixODBC fills up to its filename limit plus a terminator.
    std::vector<char> buffer(4096 * 2, '\0');
    BOOL resolved = scope == Scope::System ? _odbcinst_SystemINI(buffer.data(), 0)
                                           : _odbcinst_UserINI(buffer.data(), 0);
    if (!resolved || buffer[0] == '\0')
        return std::nullopt;
    return std::string(buffer.data());
}

// unixODBC keeps what it read from odbc.ini for some seconds; a profile write is
// the only thing that drops that cache. Deleting a section of a throw-away file is
// a write that touches nothing of ours, so the next read sees the new file.
void DropUnixOdbcCache()
{
    const char* base = std::getenv("TMPDIR");
    std::string folderTemplate = std::string(base && *base ? base : "/tmp") + "/korvane-setup-XXXXXX";
    std::vector<char> folder(folderTemplate.begin(), folderTemplate.end());
    folder.push_back('\0');
    if (!mkdtemp(folder.data()))
        return;
    std::string scratch = std::string(folder.data()) + "/cache.ini";
    SQLWritePrivateProfileString("korvane", nullptr, nullptr, scratch.c_str());
    unlink(scratch.c_str());
    rmdir(folder.data());
}

// Applies the request to the document; false with a reason when it cannot.
bool Apply(const DataSourceRequest& request, IniDocument& document, DWORD& code, std::string& reason)
{
    const std::string& name = request.dataSource;
    switch (request.action) {
    case Action::Add:
        document.WriteSection(name, SectionEntries(request));
        document.SetValue(kDataSourcesSection, name, request.driver);
        return true;
    case Action::Configure:
        if (!document.HasSection(name)) {
            code = ODBC_ERROR_REQUEST_FAILED;
            reason = "there is no data source named \"" + name + "\" to change";
            return false;
        }
        for (const IniDocument::Entry& entry : SectionEntries(request))
            document.SetValue(name, entry.key, entry.value);
        document.SetValue(kDataSourcesSection, name, request.driver);
        return true;
    case Action::Remove: {
        bool hadSection = document.RemoveSection(name);
        bool wasListed = document.RemoveValue(kDataSourcesSection, name);
        if (!hadSection && !wasListed) {
            code = ODBC_ERROR_REQUEST_FAILED;
            reason = "there is no data source named \"" + name + "\" to remove";
            return false;
        }
        return true;
    }
    }
    return false;
}

} // namespace

extern "C" __attribute__((visibility("default"))) BOOL INSTAPI ConfigDSN(
    HWND /*hwndParent*/, WORD fRequest, LPCSTR lpszDriver, LPCSTR lpszAttributes)
{
    // unixODBC passes system requests as the user ones with the config mode set.
    UWORD mode = ODBC_BOTH_DSN;
    SQLGetConfigMode(&mode);
    ParseResult parsed = ParseRequest(fRequest, mode == ODBC_SYSTEM_DSN, lpszDriver, lpszAttributes);
    if (!parsed.request)
        return Refuse(parsed.errorCode, parsed.error);
    const DataSourceRequest& request = *parsed.request;

    std::optional<std::string> path = IniPath(request.scope);
    if (!path)
        return Refuse(ODBC_ERROR_GENERAL_ERR, "cannot find the odbc.ini file to change");

    // Held across read, edit and replace, so that concurrent requests all take effect.
    FileUpdateLock lock(*path, kLockWait);
    if (!lock.Held())
        return Refuse(ODBC_ERROR_WRITING_SYSINFO_FAILED, lock.Error());

    std::string contents;
    std::string reason;
    if (ReadFileContents(*path, contents, reason) == ReadOutcome::Failed)
        return Refuse(ODBC_ERROR_REQUEST_FAILED, reason);

    IniDocument document = IniDocument::Parse(contents);
    DWORD code = ODBC_ERROR_GENERAL_ERR;
    if (!Apply(request, document, code, reason))
        return Refuse(code, reason);

    if (std::optional<std::string> failure = ReplaceFileContents(*path, document.Text()))
        return Refuse(ODBC_ERROR_WRITING_SYSINFO_FAILED, *failure);
    DropUnixOdbcCache();
    return 1;
}
