#pragma once

#include "host/platform/IniDocument.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What a ConfigDSN call asks for, checked before anything is written.
namespace korvane::platform::setup {

enum class Action { Add, Configure, Remove };
enum class Scope { User, System };

struct DataSourceRequest {
    Action action = Action::Add;
    Scope scope = Scope::User;
    std::string driver;
    std::string dataSource;
    // Every attribute but DSN, in the order given; a repeated key keeps its first
    // place and its last value.
    std::vector<IniDocument::Entry> attributes;
};

struct ParseResult {
    std::optional<DataSourceRequest> request;
    std::uint32_t errorCode = 0; // an ODBC_ERROR_* code when the request is refused
    std::string error;
};

// Requests 1 to 3 act on the user file unless the installer's config mode says
// system; 4 to 6 always act on the system file. `attributes` is a list of
// KEY=value entries, each ended by a NUL, the list ended by another NUL.
ParseResult ParseRequest(std::uint16_t request, bool systemMode, const char* driver, const char* attributes);

// The lines of the data source's section: Driver first, then the attributes as
// given, then Database, which the Access driver reads, mirroring DBQ.
std::vector<IniDocument::Entry> SectionEntries(const DataSourceRequest& request);

} // namespace korvane::platform::setup
