#pragma once

#include "host/forms/PropertyBag.h"
#include "host/gdi/WinTypes.h"

#include <memory>

namespace korvane::forms {

// The host's font object: a description and the GDI font made from it. The handle
// is made on first use and remade after any change; the object deletes it.
class StdFont {
public:
    StdFont() = default;
    explicit StdFont(FontSpec fontSpec) : m_spec(std::move(fontSpec)) {}
    ~StdFont();
    StdFont(const StdFont& other) : m_spec(other.m_spec) {}
    StdFont& operator=(const StdFont& other);

    const FontSpec& Description() const { return m_spec; }
    void SetDescription(const FontSpec& fontSpec);

    const std::string& Name() const { return m_spec.name; }
    void SetName(const std::string& name);
    double Size() const { return m_spec.size; }
    void SetSize(double points);
    bool Bold() const { return m_spec.weight >= 600; }
    void SetBold(bool bold);
    bool Italic() const { return m_spec.italic; }
    void SetItalic(bool italic);
    bool Underline() const { return m_spec.underline; }
    void SetUnderline(bool underline);
    bool Strikethrough() const { return m_spec.strikethrough; }
    void SetStrikethrough(bool strikethrough);
    int Weight() const { return m_spec.weight; }
    int Charset() const { return m_spec.charset; }

    // The font as a GDI object, owned by this object.
    HFONT Handle();
    LOGFONTA LogFont() const;

    // The host's default: "宋体" 9 pt, character set 134.
    static FontSpec DefaultSpec() { return FontSpec {}; }

private:
    void Changed();

    FontSpec m_spec;
    HFONT m_handle = nullptr;
};

using FontRef = std::shared_ptr<StdFont>;

} // namespace korvane::forms
