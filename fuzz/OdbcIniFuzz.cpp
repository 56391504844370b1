// An odbc.ini document: any text parses and writes back byte for byte, and edits
// made from the fuzzer's choices read back from the text they produce.
#include "fuzz/FuzzCheck.h"
#include "host/platform/IniDocument.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

using korvane::fuzz::Require;
using korvane::platform::IniDocument;

namespace {

// The file's blanks: a name or value keeps none at its ends, as reading trims them.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }

// Names and values a writer may hold: one line each, and no brackets, '=' or
// comment marks in names.
std::string TakeName(FuzzedDataProvider& input)
{
    std::string name = input.ConsumeRandomLengthString(16);
    std::erase_if(name, [](char c) { return IsBlank(c) || c == '\n' || c == '[' || c == ']' || c == '=' || c == ';' || c == '#'; });
    return name.empty() ? "k" : name;
}

std::string TakeValue(FuzzedDataProvider& input)
{
    std::string value = input.ConsumeRandomLengthString(24);
    std::erase_if(value, [](char c) { return c == '\r' || c == '\n'; });
    while (!value.empty() && IsBlank(value.front()))
        value.erase(value.begin());
    while (!value.empty() && IsBlank(value.back()))
        value.pop_back();
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    std::string text = input.ConsumeRandomLengthString(4096);
    IniDocument document = IniDocument::Parse(text);
    Require(document.Text() == text);
    for (const std::string& name : document.SectionNames())
        (void)document.Entries(name);

    for (int step = 0; step < 8 && input.remaining_bytes() > 0; ++step) {
        std::string section = TakeName(input);
        switch (input.ConsumeIntegralInRange(0, 3)) {
        case 0: {
            std::vector<IniDocument::Entry> entries;
            for (int i = input.ConsumeIntegralInRange(0, 4); i > 0; --i)
                entries.push_back({ TakeName(input), TakeValue(input) });
            document.WriteSection(section, entries);
            Require(document.HasSection(section));
            break;
        }
        case 1:
            document.RemoveSection(section);
            Require(!document.HasSection(section));
            break;
        case 2: {
            std::string key = TakeName(input);
            std::string value = TakeValue(input);
            document.SetValue(section, key, value);
            Require(document.Value(section, key) == value);
            break;
        }
        default: {
            std::string key = TakeName(input);
            document.RemoveValue(section, key);
            Require(!document.Value(section, key));
            break;
        }
        }
        // What was written reads back the same once saved and loaded.
        std::string saved = document.Text();
        IniDocument reloaded = IniDocument::Parse(saved);
        Require(reloaded.Text() == saved);
        Require(reloaded.SectionNames() == document.SectionNames());
        for (const std::string& name : document.SectionNames())
            Require(reloaded.Entries(name)->size() == document.Entries(name)->size());
    }
    return 0;
}
