// The attribute list ConfigDSN is given: any bytes are parsed as unixODBC passes
// them (KEY=value entries ended by NULs), and an accepted request, written into a
// document and read back, keeps every entry it wrote.
#include "fuzz/FuzzCheck.h"
#include "host/platform/access_setup/DataSourceRequest.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <string_view>

using namespace korvane::platform;
using namespace korvane::platform::setup;
using korvane::fuzz::Require;

namespace {

constexpr std::string_view kExisting = "[ODBC Data Sources]\nOld=Driver\n\n[Old]\nDriver=Driver\n";

// Reading the file trims these from names and values.
std::string_view TrimBlanks(std::string_view text)
{
    auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    auto request = input.ConsumeIntegralInRange<std::uint16_t>(0, 7);
    bool systemMode = input.ConsumeBool();
    std::string driver = input.ConsumeRandomLengthString(64);
    // The list as the installer hands it over: whatever bytes, then the closing NULs.
    std::string attributes = input.ConsumeRemainingBytesAsString();
    attributes.append(2, '\0');

    ParseResult parsed = ParseRequest(request, systemMode, driver.c_str(), attributes.c_str());
    if (!parsed.request)
        return 0;
    const DataSourceRequest& accepted = *parsed.request;
    std::vector<IniDocument::Entry> entries = SectionEntries(accepted);

    IniDocument document = IniDocument::Parse(kExisting);
    document.WriteSection(accepted.dataSource, entries);
    document.SetValue("ODBC Data Sources", accepted.dataSource, accepted.driver);
    IniDocument reloaded = IniDocument::Parse(document.Text());
    for (const IniDocument::Entry& entry : entries)
        Require(reloaded.Value(TrimBlanks(accepted.dataSource), TrimBlanks(entry.key)).value_or("\n") ==
                TrimBlanks(entry.value));
    Require(reloaded.HasSection("Old") || EqualsIgnoringCase(TrimBlanks(accepted.dataSource), "Old"));
    return 0;
}
