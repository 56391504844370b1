#include "host/forms/StoredSettings.h"

#include "host/platform/IniDocument.h"

namespace korvane::forms {

PropertyValue ReadSettingValue(const PropertyBag& bag, std::string_view key, SettingType type,
                               const PropertyValue& fallback)
{
    switch (type) {
    case SettingType::Boolean: return bag.ReadBool(key, std::get<bool>(fallback));
    case SettingType::Integer:
        return std::int64_t { bag.ReadInt(key, static_cast<std::int32_t>(std::get<std::int64_t>(fallback))) };
    case SettingType::Colour:
        return std::int64_t { bag.ReadColor(key, static_cast<std::uint32_t>(std::get<std::int64_t>(fallback))) };
    case SettingType::Double: return bag.ReadDouble(key, std::get<double>(fallback));
    case SettingType::Text: return bag.ReadString(key, std::get<std::string>(fallback));
    case SettingType::Font:
        if (std::optional<FontSpec> font = bag.ReadFont(key))
            return *font;
        return fallback;
    case SettingType::Picture:
        if (std::optional<PictureRef> picture = bag.ReadPicture(key))
            return *picture;
        return fallback;
    }
    return fallback;
}

bool SameSettingKey(std::string_view a, std::string_view b) { return platform::EqualsIgnoringCase(a, b); }

} // namespace korvane::forms
