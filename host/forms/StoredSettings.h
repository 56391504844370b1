#pragma once

// A control's stored settings, declared once in one table: each key with its type, its
// defaults and how it is read, written and Let. ReadProperties and WriteProperties walk
// the table in their own orders; tools set a setting by key through the same entries,
// so no key is spelled or defaulted two ways.
//
//     const forms::StoredSettings<Bar>& Bar::Settings()
//     {
//         static const forms::StoredSettings<Bar> table {
//             { "Max", Integer, Fixed(100), Fixed(100), Getter(&Bar::Max), Setter(&Bar::LetMax) },
//         };
//         return table;
//     }
//     void Bar::UserControl_ReadProperties(const PropertyBag& bag) { Settings().Read(*this, bag, kReadOrder); }

#include "host/forms/PropertyBag.h"
#include "host/forms/StdFont.h"

#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace korvane::forms {

class UserControl;

// How a setting is kept in a bag, and so how a stored value converts when it is read:
// as the bag's typed reads convert it (ReadInt, ReadColor, ReadBool and the rest).
enum class SettingType { Boolean, Integer, Colour, Double, Text, Font, Picture };

// A table holds each type's values in one form: bool; std::int64_t for Integer (a
// 32-bit value) and Colour (a 32-bit pattern, 0 to 0xFFFFFFFF); double; std::string;
// FontSpec; PictureRef, or nothing for no picture.
inline PropertyValue SettingValue(bool value) { return value; }
inline PropertyValue SettingValue(std::int32_t value) { return std::int64_t { value }; }
inline PropertyValue SettingValue(std::uint32_t value) { return std::int64_t { value }; }
inline PropertyValue SettingValue(double value) { return value; }
inline PropertyValue SettingValue(std::string value) { return value; }
inline PropertyValue SettingValue(const char* value) { return std::string(value); }
inline PropertyValue SettingValue(const FontRef& font) { return font->Description(); }
inline PropertyValue SettingValue(std::monostate) { return {}; }

// A value of the table's form as the argument type of a property's Let.
template <typename T>
T FromSetting(const PropertyValue& value)
{
    if constexpr (std::is_same_v<T, bool> || std::is_same_v<T, double> || std::is_same_v<T, std::string>)
        return std::get<T>(value);
    else if constexpr (std::is_same_v<T, FontRef>)
        return std::make_shared<StdFont>(std::get<FontSpec>(value));
    else
        return static_cast<T>(std::get<std::int64_t>(value));
}

// Reads `key` as `type`; `fallback` when the bag lacks it or its value does not convert.
PropertyValue ReadSettingValue(const PropertyBag& bag, std::string_view key, SettingType type,
                               const PropertyValue& fallback);
// Keys compare without regard to case, as the bag compares them.
bool SameSettingKey(std::string_view a, std::string_view b);

// One stored setting of a control of class C. All values are in the table's form.
template <typename C>
struct StoredSetting {
    using Compute = std::function<PropertyValue(const C&)>;
    using Apply = std::function<void(C&, const PropertyValue&)>;

    std::string_view key;
    SettingType type;
    // Taken when the bag lacks the key. Computed as the key is read, so it may come
    // from the ambient properties, the parent form, or a setting read before it.
    Compute readDefault;
    // A value equal to it is not stored. Nothing stores every value but nothing.
    Compute writeDefault;
    // The value stored.
    Compute get;
    // The property's Let. Tools that set the key reach it, with the value converted
    // as reading converts it; reading reaches it too unless `read` is given.
    Apply let;
    // How reading applies the value when it must not go through the Let: a field set
    // directly, without notification or redraw, or a file loaded.
    Apply read = {};
};

// What the host's tools see of a table without knowing the control's class.
class SettingLookup {
public:
    virtual std::optional<SettingType> TypeOf(std::string_view key) const = 0;
    // Sets the key through its entry's Let; false for a key the table lacks.
    virtual bool Let(UserControl& control, std::string_view key, const PropertyValue& value) const = 0;

protected:
    ~SettingLookup() = default;
};

template <typename C>
class StoredSettings final : public SettingLookup {
public:
    using Entry = StoredSetting<C>;
    // Keys in the order a handler reads or writes them. They are looked up without
    // regard to case and written as the order spells them.
    using Order = std::span<const std::string_view>;

    StoredSettings(std::initializer_list<Entry> entries) : m_entries(entries) {}

    const std::vector<Entry>& Entries() const { return m_entries; }

    const Entry* Find(std::string_view key) const
    {
        for (const Entry& entry : m_entries)
            if (SameSettingKey(entry.key, key))
                return &entry;
        return nullptr;
    }

    // Each key is applied before the next is read. A reader that treats some keys
    // apart (ignoring their errors, say) reads them with a call of their own.
    void Read(C& control, const PropertyBag& bag, Order order) const
    {
        for (std::string_view key : order) {
            const Entry& entry = At(key);
            PropertyValue value = ReadSettingValue(bag, key, entry.type, entry.readDefault(control));
            (entry.read ? entry.read : entry.let)(control, value);
        }
    }

    void Write(const C& control, PropertyBag& bag, Order order) const
    {
        for (std::string_view key : order) {
            const Entry& entry = At(key);
            bag.WriteProperty(key, entry.get(control), entry.writeDefault(control));
        }
    }

    std::optional<SettingType> TypeOf(std::string_view key) const override
    {
        const Entry* entry = Find(key);
        return entry ? std::optional(entry->type) : std::nullopt;
    }

    bool Let(UserControl& control, std::string_view key, const PropertyValue& value) const override
    {
        const Entry* entry = Find(key);
        if (!entry)
            return false;
        C& typed = static_cast<C&>(control);
        PropertyBag single;
        single.Set(entry->key, value);
        entry->let(typed, ReadSettingValue(single, entry->key, entry->type, entry->readDefault(typed)));
        return true;
    }

private:
    const Entry& At(std::string_view key) const
    {
        const Entry* entry = Find(key);
        if (!entry)
            throw std::logic_error("no stored setting " + std::string(key));
        return *entry;
    }

    std::vector<Entry> m_entries;
};

// Entry parts for the common cases.

// A default that is the same for every control.
template <typename T>
auto Fixed(T value)
{
    return [stored = SettingValue(value)](const auto&) { return stored; };
}

// A property's Get as the value stored.
template <typename C, typename R>
typename StoredSetting<C>::Compute Getter(R (C::*get)() const)
{
    return [get](const C& control) { return SettingValue((control.*get)()); };
}

// A property's Let as the entry's Let.
template <typename C, typename A>
typename StoredSetting<C>::Apply Setter(void (C::*let)(A))
{
    return [let](C& control, const PropertyValue& value) {
        (control.*let)(FromSetting<std::remove_cvref_t<A>>(value));
    };
}

} // namespace korvane::forms
