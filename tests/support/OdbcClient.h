#pragma once

#include <string>

namespace korvane::testing {

// Connects to the data source through the driver manager and counts the rows of
// the DateTest table; -1 when it cannot connect or query. `firstText` receives
// the fifth column of the first row.
int CountDateTestRows(const std::string& dataSource, std::string* firstText = nullptr);

} // namespace korvane::testing
