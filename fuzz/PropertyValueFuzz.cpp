// One value in the layout syntax: it parses or is refused, formats back to the same
// value, and converts as the property bag's typed reads convert it.
#include "fuzz/FuzzCheck.h"
#include "host/forms/LayoutFile.h"
#include "host/forms/PropertyBag.h"

#include <cmath>
#include <cstdint>
#include <string_view>

using namespace korvane::forms;
using korvane::fuzz::Require;

namespace {

// NaN never equals itself, so compare it by kind.
bool SameValue(const PropertyValue& a, const PropertyValue& b)
{
    const double* x = std::get_if<double>(&a);
    const double* y = std::get_if<double>(&b);
    if (x && y && std::isnan(*x))
        return std::isnan(*y);
    return a == b;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::optional<PropertyValue> value = ParseLayoutValue(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!value)
        return 0;
    std::optional<PropertyValue> again = ParseLayoutValue(FormatLayoutValue(*value));
    Require(again && SameValue(*value, *again));

    PropertyBag bag;
    bag.Set("Value", *value);
    (void)bag.ReadInt("Value", 0);
    (void)bag.ReadColor("Value", 0);
    (void)bag.ReadDouble("Value", 0);
    (void)bag.ReadBool("Value", false);
    (void)bag.ReadString("Value", "");
    (void)bag.ReadFont("Value");
    (void)bag.ReadPicture("Value");
    bag.WriteProperty("Value", *value, {});
    return 0;
}
