#pragma once

// The repair's steps, shared by the window's repair button and `korvane --repair`:
// probe the user's data sources, remove "Pelwick2006" when listed, add it for the
// chosen database, then open it through the driver manager as the analysis
// application will, so that a data source that cannot be opened is not reported as
// repaired.

#include "host/platform/OdbcDataSource.h"

#include <string>

namespace korvane {

struct RepairReport {
    std::string database;
    bool existed = false;       // the probe listed the data source, so it was removed first
    std::string removeText;     // what the removal said; empty on success
    std::string createText;     // what the add said; empty on success
    platform::DataSourceCheck check;

    bool Succeeded() const { return createText.empty() && check.opened; }
    // For a failed repair: the installer's refusal, or the driver's message and the
    // path of the database it could not open. Lines end with CR LF, as boxes show them.
    std::string FailureMessage() const;
};

RepairReport RepairDataSource(const std::string& database);

// The database the window starts with: db.mdb in the program's folder.
std::string DefaultDatabasePath();

} // namespace korvane
