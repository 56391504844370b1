// The set-up library as unixODBC's installer drives it.

#include "tests/support/OdbcSandbox.h"

#include <odbcinst.h>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using korvane::testing::OdbcSandbox;
using korvane::testing::ReadFile;
using korvane::testing::WriteFile;

namespace {

constexpr const char* kDriver = OdbcSandbox::kAccessDriver;

std::string List(std::initializer_list<std::string> entries)
{
    std::string list;
    for (const std::string& entry : entries)
        list += entry + '\0';
    return list;
}

struct InstallerError {
    DWORD code = 0;
    std::string message;
};

InstallerError FirstError()
{
    InstallerError error;
    char message[512] = "";
    WORD length = 0;
    if (SQLInstallerError(1, &error.code, message, sizeof message, &length) != SQL_SUCCESS)
        error.code = 0;
    error.message = message;
    return error;
}

class AccessSetup : public ::testing::Test {
protected:
    BOOL Configure(WORD request, const std::string& attributes, const char* driver = kDriver)
    {
        return SQLConfigDataSource(nullptr, request, driver, attributes.c_str());
    }

    OdbcSandbox sandbox;
};

const std::string kUserFile =
    "# Data sources of this user.\n"
    "[ODBC Data Sources]\n"
    "Books   =  MDBTools ; old\n"
    "\n"
    "[Books]\n"
    "Driver    = MDBTools\n"
    "Database  = /srv/books.mdb\n"
    "\n"
    ";; trailing notes\n"
    "\t\n";

} // namespace

TEST_F(AccessSetup, AddWritesTheSectionAndTheListing)
{
    ASSERT_TRUE(Configure(ODBC_ADD_DSN, List({"DSN=Pelwick2006", "DBQ=/data/db.mdb", "DESCRIPTION=Pelwick data", "Extra=1"})));
    EXPECT_EQ(ReadFile(sandbox.UserIni()),
        "[Pelwick2006]\n"
        "Driver=Microsoft Access Driver (*.mdb)\n"
        "DBQ=/data/db.mdb\n"
        "DESCRIPTION=Pelwick data\n"
        "Extra=1\n"
        "Database=/data/db.mdb\n"
        "[ODBC Data Sources]\n"
        "Pelwick2006=Microsoft Access Driver (*.mdb)\n");
    EXPECT_FALSE(std::filesystem::exists(sandbox.SystemIni()));

    // unixODBC's own reader sees the new data source at once.
    char value[256] = "";
    SQLSetConfigMode(ODBC_USER_DSN);
    SQLGetPrivateProfileString("Pelwick2006", "Database", "", value, sizeof value, "odbc.ini");
    EXPECT_STREQ(value, "/data/db.mdb");
    ASSERT_TRUE(Configure(ODBC_ADD_DSN, List({"dsn=Pelwick2006", "DBQ=/other.mdb"})));
    SQLGetPrivateProfileString("Pelwick2006", "Database", "", value, sizeof value, "odbc.ini");
    EXPECT_STREQ(value, "/other.mdb");
    SQLSetConfigMode(ODBC_BOTH_DSN);
}

TEST_F(AccessSetup, OtherContentSurvivesAddReplaceAndRemoveByteForByte)
{
    WriteFile(sandbox.UserIni(), kUserFile);
    chmod(sandbox.UserIni().c_str(), 0640);

    ASSERT_TRUE(Configure(ODBC_ADD_DSN, List({"DSN=Pelwick2006", "DBQ=/a.mdb"})));
    // The listing goes at the end of its section, the new section at the end of the file.
    std::string added = kUserFile + "[Pelwick2006]\nDriver=Microsoft Access Driver (*.mdb)\nDBQ=/a.mdb\nDatabase=/a.mdb\n";
    added.insert(added.find("\n\n[Books]") + 1, "Pelwick2006=Microsoft Access Driver (*.mdb)\n");
    EXPECT_EQ(ReadFile(sandbox.UserIni()), added);

    ASSERT_TRUE(Configure(ODBC_ADD_DSN, List({"DSN=PELWICK2006", "DBQ=/b.mdb", "DESCRIPTION=x"})));
    std::string replaced = ReadFile(sandbox.UserIni());
    EXPECT_EQ(replaced.substr(0, added.find("[Pelwick2006]")), added.substr(0, added.find("[Pelwick2006]")));
    EXPECT_NE(replaced.find("[PELWICK2006]\nDriver=Microsoft Access Driver (*.mdb)\nDBQ=/b.mdb\nDESCRIPTION=x\nDatabase=/b.mdb\n"),
        std::string::npos) << replaced;
    EXPECT_EQ(replaced.find("/a.mdb"), std::string::npos);

    ASSERT_TRUE(Configure(ODBC_REMOVE_DSN, List({"DSN=Pelwick2006"})));
    EXPECT_EQ(ReadFile(sandbox.UserIni()), kUserFile);
    struct stat info {};
    ASSERT_EQ(stat(sandbox.UserIni().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST_F(AccessSetup, ConfigureChangesOnlyTheGivenKeys)
{
    WriteFile(sandbox.UserIni(), kUserFile);
    ASSERT_TRUE(Configure(ODBC_CONFIG_DSN, List({"DSN=Books", "DBQ=/new.mdb"})));
    std::string changed = ReadFile(sandbox.UserIni());
    EXPECT_NE(changed.find("[Books]\nDriver    = Microsoft Access Driver (*.mdb)\nDatabase  = /new.mdb\nDBQ=/new.mdb\n"),
        std::string::npos) << changed;
}

TEST_F(AccessSetup, SystemRequestsUseTheSystemFile)
{
    WriteFile(sandbox.UserIni(), kUserFile);
    ASSERT_TRUE(Configure(ODBC_ADD_SYS_DSN, List({"DSN=Shared", "DBQ=/s.mdb"})));
    EXPECT_EQ(ReadFile(sandbox.UserIni()), kUserFile);
    EXPECT_NE(ReadFile(sandbox.SystemIni()).find("[Shared]\n"), std::string::npos);
    EXPECT_FALSE(Configure(ODBC_REMOVE_DSN, List({"DSN=Shared"}))) << "a user request does not reach the system file";
    ASSERT_TRUE(Configure(ODBC_REMOVE_SYS_DSN, List({"DSN=Shared"})));
    EXPECT_EQ(ReadFile(sandbox.SystemIni()), "[ODBC Data Sources]\n");
}

TEST_F(AccessSetup, AFileThatCannotBeReplacedStaysAsItWas)
{
    // A folder that is really a file cannot take the temporary file, even for root.
    std::filesystem::path blocker = sandbox.Root() / "blocker";
    WriteFile(blocker, "not a folder");
    setenv("ODBCINI", (blocker / "odbc.ini").c_str(), 1);
    EXPECT_FALSE(Configure(ODBC_ADD_DSN, List({"DSN=Pelwick2006", "DBQ=/x.mdb"})));
    InstallerError error = FirstError();
    EXPECT_EQ(error.code, static_cast<DWORD>(ODBC_ERROR_WRITING_SYSINFO_FAILED));
    EXPECT_NE(error.message.find("blocker"), std::string::npos) << error.message;
    EXPECT_EQ(ReadFile(blocker), "not a folder");

    if (geteuid() != 0) {
        setenv("ODBCINI", sandbox.UserIni().c_str(), 1);
        WriteFile(sandbox.UserIni(), kUserFile);
        chmod((sandbox.Root() / "home").c_str(), 0500);
        EXPECT_FALSE(Configure(ODBC_ADD_DSN, List({"DSN=Pelwick2006", "DBQ=/x.mdb"})));
        chmod((sandbox.Root() / "home").c_str(), 0700);
        EXPECT_EQ(ReadFile(sandbox.UserIni()), kUserFile);
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(sandbox.Root() / "home"), {}), 0 + std::filesystem::exists(sandbox.UserIni()));
}

TEST_F(AccessSetup, ASymbolicLinkStaysALink)
{
    std::filesystem::path real = sandbox.Root() / "real.ini";
    WriteFile(real, kUserFile);
    std::filesystem::create_symlink(real, sandbox.UserIni());
    ASSERT_TRUE(Configure(ODBC_ADD_DSN, List({"DSN=Linked", "DBQ=/x.mdb"})));
    EXPECT_TRUE(std::filesystem::is_symlink(sandbox.UserIni()));
    EXPECT_NE(ReadFile(real).find("[Linked]"), std::string::npos);
}

TEST_F(AccessSetup, RefusedRequestsReportWhyAndWriteNothing)
{
    WriteFile(sandbox.UserIni(), kUserFile);
    const DWORD Refused = ODBC_ERROR_INVALID_KEYWORD_VALUE;
    const DWORD Failed = ODBC_ERROR_REQUEST_FAILED;
    const struct {
        WORD request;
        std::string attributes;
        DWORD error; // 0: any error
        const char* driver = kDriver;
    } cases[] = {
        // What would break the file.
        { ODBC_ADD_DSN, List({"DSN=Bad\nName", "DBQ=/x.mdb"}), Refused },
        { ODBC_ADD_DSN, List({"DSN=Good", "DBQ=/x.mdb\r"}), Refused },
        { ODBC_ADD_DSN, List({"DSN=Good", "DESCRIPTION=two\nlines"}), Refused },
        { ODBC_ADD_DSN, List({"DSN=", "DBQ=/x.mdb"}), Refused },
        { ODBC_ADD_DSN, List({"DBQ=/x.mdb"}), Refused },
        { ODBC_ADD_DSN, List({"DSN=[Evil]", "DBQ=/x.mdb"}), Refused },
        { ODBC_ADD_DSN, List({"DSN=a]b"}), Refused },
        { ODBC_ADD_DSN, List({"DSN=a=b"}), Refused },
        { ODBC_ADD_DSN, List({"DSN=ODBC Data Sources"}), Refused },
        { ODBC_ADD_DSN, List({"DSN=Good", "[Header=1"}), Refused },
        { ODBC_ADD_DSN, List({"DSN=Good", "NoEquals"}), Refused },
        { ODBC_ADD_DSN, List({"DSN=Good"}), 0, "Microsoft Access Driver (*.mdb)\nX" },
        // What is not there to change.
        { ODBC_REMOVE_DSN, List({"DSN=Pelwick2006"}), Failed },
        { ODBC_CONFIG_DSN, List({"DSN=Nowhere", "DBQ=/x.mdb"}), Failed },
        { ODBC_ADD_DSN, List({"DSN=X", "DBQ=/x.mdb"}), 0, "No Such Driver" },
        { ODBC_REMOVE_DEFAULT_DSN, List({"DSN=X"}), ODBC_ERROR_INVALID_REQUEST_TYPE },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.attributes + " for " + c.driver);
        EXPECT_FALSE(Configure(c.request, c.attributes, c.driver));
        InstallerError error = FirstError();
        EXPECT_TRUE(c.error ? error.code == c.error : error.code != 0) << error.code;
        if (c.error == Failed) {
            EXPECT_NE(error.message.find(c.attributes.substr(4, c.attributes.find('\0') - 4)), std::string::npos);
        }
    }
    EXPECT_EQ(ReadFile(sandbox.UserIni()), kUserFile);

    // A driver without a set-up library cannot add anything.
    std::filesystem::remove(sandbox.UserIni());
    sandbox.WriteDriverIni(std::string("[") + kDriver + "]\nDriver=" + "libmdbodbc.so\n");
    EXPECT_FALSE(Configure(ODBC_ADD_DSN, List({"DSN=X", "DBQ=/x.mdb"})));
    EXPECT_FALSE(std::filesystem::exists(sandbox.UserIni()));
}

TEST_F(AccessSetup, ConcurrentWritersAllTakeEffect)
{
    WriteFile(sandbox.UserIni(), kUserFile);
    // What a writer killed before its rename leaves, beside a file of the user's own.
    WriteFile(sandbox.Root() / "home" / ".odbc.ini.korvane-a1B2c3", "[Torn");
    WriteFile(sandbox.Root() / "home" / ".odbc.ini.backup", "kept");
    constexpr int kProcesses = 4;
    auto name = [](int process, int index) { return "Source" + std::to_string(process) + "_" + std::to_string(index); };
    // Then each process removes the even sources of its neighbour and changes the odd ones.
    for (int phase = 0; phase < 2; ++phase) {
        for (int p = 0; p < kProcesses; ++p) {
            if (fork() != 0)
                continue;
            int failed = 0;
            for (int i = 0; i < 50; ++i) {
                std::string dsn = "DSN=" + name(phase ? (p + 1) % kProcesses : p, i);
                failed += phase == 0 ? !Configure(ODBC_ADD_DSN, List({dsn, "DBQ=/db"}))
                        : i % 2      ? !Configure(ODBC_CONFIG_DSN, List({dsn, "DBQ=/new"}))
                                     : !Configure(ODBC_REMOVE_DSN, List({dsn}));
            }
            _exit(failed);
        }
        for (int p = 0, status = 0; p < kProcesses; ++p)
            EXPECT_TRUE(wait(&status) > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    // Taking out exactly the expected sections and listings leaves the file as it was.
    std::string text = ReadFile(sandbox.UserIni());
    for (int p = 0; p < kProcesses; ++p) {
        for (int i = 1; i < 50; i += 2) {
            for (std::string part : { "[" + name(p, i) + "]\nDriver=" + kDriver + "\nDBQ=/new\nDatabase=/new\n",
                     name(p, i) + "=" + kDriver + "\n" }) {
                std::size_t at = text.find(part);
                ASSERT_NE(at, std::string::npos) << part;
                text.erase(at, part.size());
            }
        }
    }
    EXPECT_EQ(text, kUserFile);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(sandbox.Root() / "home"), {}), 2);
    EXPECT_EQ(ReadFile(sandbox.Root() / "home" / ".odbc.ini.backup"), "kept");
}

TEST_F(AccessSetup, ALockedFolderFailsInTime)
{
    WriteFile(sandbox.UserIni(), kUserFile);
    // A lock on another descriptor of the folder stands for a writer that hangs.
    int folder = open((sandbox.Root() / "home").c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_EQ(flock(folder, LOCK_EX), 0);
    EXPECT_FALSE(Configure(ODBC_ADD_DSN, List({"DSN=Pelwick2006"})));
    close(folder);
    InstallerError error = FirstError();
    EXPECT_EQ(error.code, static_cast<DWORD>(ODBC_ERROR_WRITING_SYSINFO_FAILED));
    EXPECT_NE(error.message.find("locked"), std::string::npos) << error.message;
    EXPECT_EQ(ReadFile(sandbox.UserIni()), kUserFile);
}
