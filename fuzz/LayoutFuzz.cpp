// A layout file as any text: parsing never fails badly, and what parses is written
// back so that it reads as the same form.
#include "fuzz/FuzzCheck.h"
#include "host/forms/LayoutFile.h"

#include <cstdint>
#include <string_view>

using namespace korvane::forms;
using korvane::fuzz::Require;

namespace {

bool SameNode(const LayoutNode& a, const LayoutNode& b)
{
    if (a.kind != b.kind || a.name != b.name || a.index != b.index || a.settings != b.settings ||
        a.children.size() != b.children.size())
        return false;
    for (std::size_t i = 0; i < a.children.size(); ++i)
        if (!SameNode(a.children[i], b.children[i]))
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    LayoutParseResult parsed = ParseLayout(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!parsed.form)
        return 0;
    LayoutParseResult again = ParseLayout(WriteLayout(*parsed.form));
    Require(again.form && SameNode(*parsed.form, *again.form));
    return 0;
}
