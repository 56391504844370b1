#include "app/CommandLine.h"

#include "app/Repair.h"
#include "app/frmKorvane.h"

#include <optional>
#include <ostream>

namespace korvane {

namespace {

constexpr const char* kUsage = "Usage: korvane [--repair [--database PATH]] | --help | --version\n";

void PrintHelp(std::ostream& out)
{
    out << kUsage
        << "\n"
           "Repairs the current user's ODBC data source \"" << frmKorvane::kDsnName << "\" for the\n"
           "Access database of the analysis application. Without arguments it opens its window.\n"
           "\n"
           "  --repair         remove and add the data source without a window, then open it\n"
           "                   through the driver manager; exit status 0 when it opens, 1 when not\n"
           "  --database PATH  the Access database for --repair (default: "
        << DefaultDatabasePath() << ")\n"
           "  --help           show this help\n"
           "  --version        show the version\n";
}

int Refuse(std::ostream& err, const std::string& reason)
{
    err << "korvane: " << reason << "\n" << kUsage;
    return kExitUsage;
}

// Lines broken as a terminal shows them.
std::string TerminalText(const std::string& text)
{
    std::string lines;
    for (char c : text) {
        if (c != '\r')
            lines += c;
    }
    return lines;
}

int Repair(const std::string& database, std::ostream& out, std::ostream& err)
{
    out << "Database: " << database << "\n";
    RepairReport report = RepairDataSource(database);
    const std::string name = std::string("\"") + frmKorvane::kDsnName + "\"";
    if (!report.existed)
        out << name << " was not listed; nothing to remove.\n";
    else if (report.removeText.empty())
        out << "Removed " << name << ".\n";
    else
        out << "Removing " << name << " failed: " << TerminalText(report.removeText) << "\n";
    if (report.createText.empty())
        out << "Added " << name << " for the " << frmKorvane::kDriver << ".\n";
    if (!report.Succeeded()) {
        err << "korvane: " << TerminalText(report.FailureMessage()) << "\n";
        return kExitFailure;
    }
    out << "Opened " << name << " through the driver manager; tables:";
    for (const std::string& table : report.check.tables)
        out << " " << table;
    out << "\n" << frmKorvane::kDoneMessage << "\n";
    return kExitSuccess;
}

} // namespace

int RunCommandLine(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err)
{
    if (arguments.size() == 1 && arguments[0] == "--help") {
        PrintHelp(out);
        return kExitSuccess;
    }
    if (arguments.size() == 1 && arguments[0] == "--version") {
        out << "korvane " << KORVANE_VERSION << "\n";
        return kExitSuccess;
    }
    bool repair = false;
    std::optional<std::string> database;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "--repair" && !repair) {
            repair = true;
        } else if (arguments[i] == "--database" && !database) {
            if (i + 1 == arguments.size())
                return Refuse(err, "--database needs a path");
            database = arguments[++i];
        } else {
            return Refuse(err, "unknown or repeated argument '" + arguments[i] + "'");
        }
    }
    if (!repair)
        return Refuse(err, "--database is used only with --repair");
    return Repair(database.value_or(DefaultDatabasePath()), out, err);
}

} // namespace korvane
