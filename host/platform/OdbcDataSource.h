#pragma once

#include <string>
#include <vector>

// Opens a data source through unixODBC's driver manager the way a client program
// does, so a repair can prove that what it wrote actually reaches the database.
namespace korvane::platform {

struct DataSourceCheck {
    bool opened = false;
    // The tables the driver lists when opened; otherwise the driver manager's and
    // driver's messages, one diagnostic a line.
    std::vector<std::string> tables;
    std::string message;
};

// Connects to the named data source with no user or password, lists its tables
// and disconnects.
DataSourceCheck OpenDataSource(const std::string& dataSourceName);

} // namespace korvane::platform
