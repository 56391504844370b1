#include "host/forms/StdFont.h"

#include "host/gdi/Gdi.h"

#include <cmath>
#include <cstring>

namespace korvane::forms {

StdFont::~StdFont()
{
    if (m_handle)
        DeleteObject(m_handle);
}

StdFont& StdFont::operator=(const StdFont& other)
{
    if (this != &other)
        SetDescription(other.m_spec);
    return *this;
}

void StdFont::Changed()
{
    if (m_handle)
        DeleteObject(m_handle);
    m_handle = nullptr;
}

void StdFont::SetDescription(const FontSpec& fontSpec)
{
    m_spec = fontSpec;
    Changed();
}

void StdFont::SetName(const std::string& name)
{
    m_spec.name = name;
    Changed();
}

void StdFont::SetSize(double points)
{
    m_spec.size = points;
    Changed();
}

void StdFont::SetBold(bool bold)
{
    m_spec.weight = bold ? 700 : 400;
    Changed();
}

void StdFont::SetItalic(bool italic)
{
    m_spec.italic = italic;
    Changed();
}

void StdFont::SetUnderline(bool underline)
{
    m_spec.underline = underline;
    Changed();
}

void StdFont::SetStrikethrough(bool strikethrough)
{
    m_spec.strikethrough = strikethrough;
    Changed();
}

LOGFONTA StdFont::LogFont() const
{
    LOGFONTA logFont {};
    // Points to character height in pixels at 96 dots per inch.
    logFont.lfHeight = -static_cast<LONG>(std::lround(m_spec.size * 96.0 / 72.0));
    logFont.lfWeight = m_spec.weight;
    logFont.lfItalic = m_spec.italic;
    logFont.lfUnderline = m_spec.underline;
    logFont.lfStrikeOut = m_spec.strikethrough;
    logFont.lfCharSet = static_cast<BYTE>(m_spec.charset);
    std::strncpy(logFont.lfFaceName, m_spec.name.c_str(), LF_FACESIZE - 1);
    return logFont;
}

HFONT StdFont::Handle()
{
    if (!m_handle) {
        LOGFONTA logFont = LogFont();
        m_handle = CreateFontIndirectA(&logFont);
    }
    return m_handle;
}

} // namespace korvane::forms
