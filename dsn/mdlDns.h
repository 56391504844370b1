#pragma once

#include <string>

// Answers whether a data source of a given name is registered, from the
// registry's list of ODBC data sources. Reads only.
namespace korvane::mdlDns {

// True when the value dsnName exists under the data-source list of the hive and
// its data fits the 255-byte probe buffer. Exactly "HM" selects the machine's
// list; every other selector the current user's.
bool DSNExists(const std::string& dsnName, const std::string& hive);

// Reads valueName under keyPath into buffer, whose length in characters is the
// byte size offered. On success the buffer starts with the data and its NUL,
// followed by what the read did not overwrite. Every failure gives false.
bool QueryRegValue(std::string& keyPath, std::string& valueName, std::string& buffer, std::string& hive);

} // namespace korvane::mdlDns
