#include "host/forms/PropertyBag.h"

#include "host/platform/IniDocument.h"
#include "host/runtime/Conversions.h"
#include "host/runtime/RuntimeError.h"

#include <algorithm>
#include <cmath>

namespace korvane::forms {

using platform::EqualsIgnoringCase;

namespace {

// A number beyond the 64-bit range (or not a number) has no integer value.
std::optional<std::int64_t> RoundToInteger(double real)
{
    constexpr double kLimit = 9223372036854775808.0; // 2^63
    double rounded = std::nearbyint(real);
    if (!(rounded >= -kLimit && rounded < kLimit))
        return std::nullopt;
    return static_cast<std::int64_t>(rounded);
}

// The number a text starts with; one beyond a double's range does not convert.
std::optional<double> TextNumber(const std::string& text)
{
    try {
        return host::Val(text);
    } catch (const host::RuntimeError&) {
        return std::nullopt;
    }
}

} // namespace

std::optional<std::int64_t> AsInteger(const PropertyValue& value)
{
    if (auto* integer = std::get_if<std::int64_t>(&value))
        return *integer;
    if (auto* boolean = std::get_if<bool>(&value))
        return *boolean ? -1 : 0; // the host's True is -1
    if (auto* real = std::get_if<double>(&value))
        return RoundToInteger(*real);
    if (auto* text = std::get_if<std::string>(&value)) {
        std::optional<double> number = TextNumber(*text);
        return number ? RoundToInteger(*number) : std::nullopt;
    }
    return std::nullopt;
}

std::optional<double> AsDouble(const PropertyValue& value)
{
    if (auto* real = std::get_if<double>(&value))
        return *real;
    if (auto* text = std::get_if<std::string>(&value))
        return TextNumber(*text);
    if (auto integer = AsInteger(value))
        return static_cast<double>(*integer);
    return std::nullopt;
}

std::optional<bool> AsBool(const PropertyValue& value)
{
    if (auto* boolean = std::get_if<bool>(&value))
        return *boolean;
    if (auto* text = std::get_if<std::string>(&value)) {
        if (EqualsIgnoringCase(*text, "True"))
            return true;
        if (EqualsIgnoringCase(*text, "False"))
            return false;
    }
    if (auto real = AsDouble(value))
        return *real != 0;
    return std::nullopt;
}

std::optional<std::string> AsString(const PropertyValue& value)
{
    if (auto* text = std::get_if<std::string>(&value))
        return *text;
    if (auto* boolean = std::get_if<bool>(&value))
        return std::string(*boolean ? "True" : "False");
    if (auto* integer = std::get_if<std::int64_t>(&value))
        return std::to_string(*integer);
    if (auto* real = std::get_if<double>(&value)) {
        std::string text = std::to_string(*real);
        text.erase(text.find_last_not_of('0') + 1);
        if (!text.empty() && text.back() == '.')
            text.pop_back();
        return text;
    }
    if (auto* picture = std::get_if<PictureRef>(&value))
        return picture->file;
    return std::nullopt;
}

bool PropertyBag::WasRead(std::string_view key) const
{
    return std::any_of(m_readKeys.begin(), m_readKeys.end(), [&](const std::string& read) { return EqualsIgnoringCase(read, key); });
}

const PropertyBag::Entry* PropertyBag::Find(std::string_view key) const
{
    if (!WasRead(key))
        m_readKeys.emplace_back(key);
    for (const Entry& entry : m_entries)
        if (EqualsIgnoringCase(entry.key, key))
            return &entry;
    return nullptr;
}

bool PropertyBag::Contains(std::string_view key) const
{
    return std::any_of(m_entries.begin(), m_entries.end(), [&](const Entry& entry) { return EqualsIgnoringCase(entry.key, key); });
}

PropertyValue PropertyBag::ReadProperty(std::string_view key, const PropertyValue& defaultValue) const
{
    const Entry* entry = Find(key);
    return entry ? entry->value : defaultValue;
}

void PropertyBag::WriteProperty(std::string_view key, const PropertyValue& value, const PropertyValue& defaultValue)
{
    if (value == defaultValue) {
        Remove(key);
        return;
    }
    Set(key, value);
}

void PropertyBag::Set(std::string_view key, PropertyValue value)
{
    for (Entry& entry : m_entries) {
        if (EqualsIgnoringCase(entry.key, key)) {
            entry.value = std::move(value);
            return;
        }
    }
    m_entries.push_back(Entry { std::string(key), std::move(value) });
}

void PropertyBag::Remove(std::string_view key)
{
    std::erase_if(m_entries, [&](const Entry& entry) { return EqualsIgnoringCase(entry.key, key); });
}

std::int32_t PropertyBag::ReadInt(std::string_view key, std::int32_t defaultValue) const
{
    const Entry* entry = Find(key);
    if (!entry)
        return defaultValue;
    std::optional<std::int64_t> value = AsInteger(entry->value);
    if (!value || *value < INT32_MIN || *value > INT32_MAX)
        return defaultValue;
    return static_cast<std::int32_t>(*value);
}

std::uint32_t PropertyBag::ReadColor(std::string_view key, std::uint32_t defaultValue) const
{
    const Entry* entry = Find(key);
    if (!entry)
        return defaultValue;
    std::optional<std::int64_t> value = AsInteger(entry->value);
    // Colours are 32-bit patterns: &H8000000F& and -2147483633 name the same one.
    if (!value || *value < INT32_MIN || *value > static_cast<std::int64_t>(UINT32_MAX))
        return defaultValue;
    return static_cast<std::uint32_t>(*value);
}

double PropertyBag::ReadDouble(std::string_view key, double defaultValue) const
{
    const Entry* entry = Find(key);
    return entry ? AsDouble(entry->value).value_or(defaultValue) : defaultValue;
}

bool PropertyBag::ReadBool(std::string_view key, bool defaultValue) const
{
    const Entry* entry = Find(key);
    return entry ? AsBool(entry->value).value_or(defaultValue) : defaultValue;
}

std::string PropertyBag::ReadString(std::string_view key, const std::string& defaultValue) const
{
    const Entry* entry = Find(key);
    return entry ? AsString(entry->value).value_or(defaultValue) : defaultValue;
}

std::optional<FontSpec> PropertyBag::ReadFont(std::string_view key) const
{
    const Entry* entry = Find(key);
    if (!entry)
        return std::nullopt;
    if (auto* font = std::get_if<FontSpec>(&entry->value))
        return *font;
    return std::nullopt;
}

std::optional<PictureRef> PropertyBag::ReadPicture(std::string_view key) const
{
    const Entry* entry = Find(key);
    if (!entry)
        return std::nullopt;
    if (auto* picture = std::get_if<PictureRef>(&entry->value))
        return *picture;
    if (auto* file = std::get_if<std::string>(&entry->value); file && !file->empty())
        return PictureRef { *file };
    return std::nullopt;
}

} // namespace korvane::forms
