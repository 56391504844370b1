#include "host/platform/access_setup/DataSourceRequest.h"

#include <odbcinst.h>

#include <string_view>

namespace korvane::platform::setup {

namespace {

bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

bool HasOuterSpace(std::string_view text)
{
    // The blanks odbc.ini readers trim: a name ending in one would not be found again.
    auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\f' || c == '\v'; };
    return !text.empty() && (isSpace(text.front()) || isSpace(text.back()));
}

ParseResult Refused(std::uint32_t code, std::string error)
{
    ParseResult result;
    result.errorCode = code;
    result.error = std::move(error);
    return result;
}

} // namespace

ParseResult ParseRequest(std::uint16_t request, bool systemMode, const char* driver, const char* attributes)
{
    DataSourceRequest parsed;
    switch (request) {
    case ODBC_ADD_DSN: parsed.action = Action::Add; break;
    case ODBC_CONFIG_DSN: parsed.action = Action::Configure; break;
    case ODBC_REMOVE_DSN: parsed.action = Action::Remove; break;
    case ODBC_ADD_SYS_DSN: parsed.action = Action::Add; systemMode = true; break;
    case ODBC_CONFIG_SYS_DSN: parsed.action = Action::Configure; systemMode = true; break;
    case ODBC_REMOVE_SYS_DSN: parsed.action = Action::Remove; systemMode = true; break;
    default:
        return Refused(ODBC_ERROR_INVALID_REQUEST_TYPE, "request " + std::to_string(request) + " is not supported");
    }
    parsed.scope = systemMode ? Scope::System : Scope::User;

    parsed.driver = driver ? driver : "";
    if (parsed.driver.empty())
        return Refused(ODBC_ERROR_INVALID_NAME, "no driver was named");
    if (HasLineBreak(parsed.driver))
        return Refused(ODBC_ERROR_INVALID_KEYWORD_VALUE, "the driver name holds a line break");

    bool haveDataSource = false;
    for (const char* entry = attributes; entry && *entry; entry += std::string_view(entry).size() + 1) {
        std::string_view text(entry);
        std::size_t equals = text.find('=');
        if (equals == std::string_view::npos)
            return Refused(ODBC_ERROR_INVALID_KEYWORD_VALUE, "attribute \"" + std::string(text) + "\" has no '='");
        std::string key(text.substr(0, equals));
        std::string value(text.substr(equals + 1));
        if (HasLineBreak(key) || HasLineBreak(value))
            return Refused(ODBC_ERROR_INVALID_KEYWORD_VALUE, "attribute \"" + key + "\" holds a line break");
        // Such keys would read back as a section header, a comment or nothing.
        if (key.empty() || key.front() == '[' || key.front() == ';' || key.front() == '#' || HasOuterSpace(key))
            return Refused(ODBC_ERROR_INVALID_KEYWORD_VALUE, "attribute key \"" + key + "\" is not allowed");

        if (EqualsIgnoringCase(key, "DSN")) {
            parsed.dataSource = value;
            haveDataSource = true;
            continue;
        }
        bool replaced = false;
        for (IniDocument::Entry& existing : parsed.attributes) {
            if (EqualsIgnoringCase(existing.key, key)) {
                existing.value = value;
                replaced = true;
            }
        }
        if (!replaced)
            parsed.attributes.push_back({key, value});
    }

    const std::string& name = parsed.dataSource;
    if (!haveDataSource || name.empty())
        return Refused(ODBC_ERROR_INVALID_KEYWORD_VALUE, "no data source name (DSN=) was given");
    if (name.find_first_of("[]=") != std::string::npos || HasOuterSpace(name))
        return Refused(ODBC_ERROR_INVALID_KEYWORD_VALUE, "the data source name \"" + name + "\" is not allowed");
    // These sections are the driver manager's own.
    if (EqualsIgnoringCase(name, "ODBC Data Sources") || EqualsIgnoringCase(name, "ODBC"))
        return Refused(ODBC_ERROR_INVALID_KEYWORD_VALUE, "\"" + name + "\" is a reserved section name");

    ParseResult result;
    result.request = std::move(parsed);
    return result;
}

std::vector<IniDocument::Entry> SectionEntries(const DataSourceRequest& request)
{
    std::vector<IniDocument::Entry> entries{{"Driver", request.driver}};
    std::optional<std::string> database;
    for (const IniDocument::Entry& attribute : request.attributes) {
        if (EqualsIgnoringCase(attribute.key, "Driver"))
            continue;
        if (EqualsIgnoringCase(attribute.key, "Database")) {
            if (!database)
                database = attribute.value;
            continue;
        }
        if (EqualsIgnoringCase(attribute.key, "DBQ"))
            database = attribute.value;
        entries.push_back(attribute);
    }
    if (database)
        entries.push_back({"Database", *database});
    return entries;
}

} // namespace korvane::platform::setup
