#pragma once

// The host's per-instance store of control settings, kept with the window layout.
// Keys compare without regard to case; a value equal to its default is not stored,
// so a bag holds exactly what differs from a control's defaults.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace korvane::forms {

// A font as settings hold it.
struct FontSpec {
    std::string name = "宋体";
    double size = 9; // points
    int weight = 400;
    int charset = 134;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
    friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

// A picture as settings hold it: the file it is loaded from, relative to the layout.
struct PictureRef {
    std::string file;
    friend bool operator==(const PictureRef&, const PictureRef&) = default;
};

using PropertyValue = std::variant<std::monostate, bool, std::int64_t, double, std::string, FontSpec, PictureRef>;

// Conversions as the host's variants make them; a value that cannot convert gives nothing.
std::optional<std::int64_t> AsInteger(const PropertyValue& value);
std::optional<double> AsDouble(const PropertyValue& value);
std::optional<bool> AsBool(const PropertyValue& value);
std::optional<std::string> AsString(const PropertyValue& value);

class PropertyBag {
public:
    struct Entry {
        std::string key;
        PropertyValue value;
        friend bool operator==(const Entry&, const Entry&) = default;
    };

    // The stored value, or the default when the key is absent.
    PropertyValue ReadProperty(std::string_view key, const PropertyValue& defaultValue = {}) const;
    // Stores the value unless it equals the default, in which case the key is removed.
    void WriteProperty(std::string_view key, const PropertyValue& value, const PropertyValue& defaultValue = {});

    // Typed reads; a stored value of another type converts, and one that cannot
    // convert gives the default.
    std::int32_t ReadInt(std::string_view key, std::int32_t defaultValue) const;
    std::uint32_t ReadColor(std::string_view key, std::uint32_t defaultValue) const;
    double ReadDouble(std::string_view key, double defaultValue) const;
    bool ReadBool(std::string_view key, bool defaultValue) const;
    std::string ReadString(std::string_view key, const std::string& defaultValue) const;
    std::optional<FontSpec> ReadFont(std::string_view key) const;
    std::optional<PictureRef> ReadPicture(std::string_view key) const;

    bool Contains(std::string_view key) const;
    void Remove(std::string_view key);
    // Stores without the default rule, as a layout file states it.
    void Set(std::string_view key, PropertyValue value);
    const std::vector<Entry>& Entries() const { return m_entries; }
    bool Empty() const { return m_entries.empty(); }

    // Whether a control asked for the key since the bag was made; a stored key that
    // nobody read is one the control does not know.
    bool WasRead(std::string_view key) const;

    friend bool operator==(const PropertyBag& a, const PropertyBag& b) { return a.m_entries == b.m_entries; }

private:
    const Entry* Find(std::string_view key) const;

    std::vector<Entry> m_entries; // in the order they were first stored
    mutable std::vector<std::string> m_readKeys;
};

} // namespace korvane::forms
