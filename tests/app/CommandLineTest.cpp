// `korvane` with arguments, run as a terminal runs it, against the real driver
// stack in a private ODBC configuration.

#include "tests/support/OdbcClient.h"
#include "tests/support/OdbcSandbox.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

using korvane::testing::OdbcSandbox;
using korvane::testing::ReadFile;

namespace {

struct Outcome {
    int status = -1;
    std::string output; // standard output and error together
};

// No argument the tests pass holds a single quote.
Outcome RunKorvane(const std::vector<std::string>& arguments)
{
    std::string command = "'" KORVANE_PROGRAM "'";
    for (const std::string& argument : arguments)
        command += " '" + argument + "'";
    Outcome run;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        return run;
    char buffer[4096];
    for (std::size_t read; (read = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        run.output.append(buffer, read);
    int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

} // namespace

TEST(CommandLine, HelpAndVersionPrintAndAnythingElseIsRefused)
{
    // The arguments, the exit status, and what the output says.
    const std::tuple<std::vector<std::string>, int, const char*> cases[] = {
        { { "--help" }, 0, "Usage: korvane" },
        { { "--version" }, 0, "korvane 3.0\n" },
        { { "--bad" }, 2, "unknown or repeated argument '--bad'" },
        { { "--repair", "--repair" }, 2, "'--repair'" },
        { { "--help", "--version" }, 2, "'--help'" },
        { { "--repair", "--database" }, 2, "--database needs a path" },
        { { "--database", "/db.mdb" }, 2, "only with --repair" },
    };
    OdbcSandbox sandbox;
    for (const auto& [arguments, status, says] : cases) {
        SCOPED_TRACE(arguments[0]);
        Outcome run = RunKorvane(arguments);
        EXPECT_EQ(run.status, status);
        EXPECT_NE(run.output.find(says), std::string::npos) << run.output;
    }
    // Nothing was repaired on the way.
    EXPECT_FALSE(std::filesystem::exists(sandbox.UserIni()));
}

TEST(CommandLine, RepairWritesADataSourceAClientReads)
{
    OdbcSandbox sandbox;
    const std::filesystem::path database = sandbox.CopyTestDatabase();
    ASSERT_FALSE(database.empty()) << "the shared test database is missing";

    Outcome first = RunKorvane({ "--repair", "--database", database.string() });
    EXPECT_EQ(first.status, 0) << first.output;
    EXPECT_NE(first.output.find("nothing to remove"), std::string::npos) << first.output;
    EXPECT_NE(first.output.find(" DateTest"), std::string::npos) << first.output;
    // A second repair removes the first's data source before adding it again.
    Outcome second = RunKorvane({ "--database", database.string(), "--repair" });
    EXPECT_EQ(second.status, 0) << second.output;
    EXPECT_NE(second.output.find("Removed \"Pelwick2006\""), std::string::npos) << second.output;
    OdbcSandbox::ForgetUnixOdbcCache();
    EXPECT_EQ(korvane::testing::CountDateTestRows("Pelwick2006"), 6);
}

TEST(CommandLine, RepairOfAMissingDatabaseFailsNamingThePathAndKeepsTheDataSource)
{
    OdbcSandbox sandbox;
    std::string missing = (sandbox.Root() / "缺少" / "db.mdb").string();
    Outcome run = RunKorvane({ "--repair", "--database", missing });
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("无法打开数据源 Pelwick2006 的数据库文件：\n" + missing + "\n"), std::string::npos) << run.output;
    EXPECT_NE(ReadFile(sandbox.UserIni()).find("DBQ=" + missing + "\n"), std::string::npos);
}
