#include "controls/button/ButtonResources.h"

#include "controls/button/gxButtons_H.h"
#include "host/forms/HostServices.h"
#include "host/runtime/AnsiText.h"
#include "host/runtime/Conversions.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace korvane::button {

namespace {


} // namespace

LOGFONTA ButtonLogFont(const forms::StdFont& font, std::int32_t twipsPerPixelY)
{
    LOGFONTA logFont {};
    // Points are twentieths of a twip's inch: 20 twips a point.
    logFont.lfHeight = host::CLng(-20.0 * font.Size() / twipsPerPixelY);
    logFont.lfWeight = font.Weight();
    logFont.lfItalic = font.Italic() ? 1 : 0;
    logFont.lfUnderline = font.Underline() ? 1 : 0;
    logFont.lfStrikeOut = font.Strikethrough() ? 1 : 0;
    logFont.lfCharSet = DEFAULT_CHARSET;
    const std::string name = host::ToAnsi(font.Name());
    std::memcpy(logFont.lfFaceName, name.c_str(), std::min(name.size() + 1, sizeof logFont.lfFaceName));
    return logFont;
}

FaceColors ComputeFaceColors(std::int32_t buttonStyle, OleColor backColor, OleColor hoverBackColor)
{
    FaceColors colors { backColor, backColor, hoverBackColor, ShiftColor(kWhite, -32) };
    switch (buttonStyle) {
    case gxStyleRounded:
        colors.FaceColor = ShiftColor(backColor, 48, kProportionalBlue);
        colors.FaceColor2 = ShiftColor(colors.FaceColor, -32, kProportionalBlue);
        colors.HoverFaceColor = ShiftColor(hoverBackColor, 48, kProportionalBlue);
        colors.FaceColor3 = ShiftColor(kWhite, -32, kProportionalBlue);
        break;
    case gxStyleFlatFrame:
        colors.FaceColor2 = ShiftColor(kGrey, 12);
        colors.FaceColor3 = ShiftColor(colors.FaceColor2, 31);
        break;
    case gxStyleInverse:
        colors.FaceColor = ShiftColor(backColor, 31);
        colors.FaceColor2 = ShiftColor(kGrey, -16);
        colors.HoverFaceColor = ShiftColor(hoverBackColor, 31);
        colors.FaceColor3 = ShiftColor(kGrey, 16, kProportionalBlue);
        break;
    default: break;
    }
    return colors;
}

PictureMetrics ReadPictureMetrics(HANDLE picture, std::int32_t previousIsIcon)
{
    PictureMetrics metrics { 0, 0, previousIsIcon };
    BITMAP record {};
    GetObjectA(picture, sizeof record, &record);
    // The host's bitmaps keep their bits to themselves, so the handle's kind decides
    // as well: a bitmap must never be taken for an icon that kept the last kind.
    if (record.bmBits || GetObjectType(picture) == OBJ_BITMAP) {
        metrics.isIcon = 0;
    } else {
        ICONINFO info {};
        if (GetIconInfo(static_cast<HICON>(picture), &info)) {
            if (info.hbmColor) {
                GetObjectA(info.hbmColor, sizeof record, &record);
                DeleteObject(info.hbmColor);
                metrics.isIcon = 1;
            }
            // Made for this call and wanted by nobody, with or without a colour bitmap.
            if (info.hbmMask)
                DeleteObject(info.hbmMask);
        }
    }
    metrics.width = record.bmWidth;
    metrics.height = record.bmHeight;
    return metrics;
}

} // namespace korvane::button

namespace korvane {

using namespace button;

namespace {

bool SameWord(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

} // namespace

void gxButtons_H::RefreshResources(std::string_view which)
{
    if (SameWord(which, "Font")) {
        if (!Font())
            return;
        const LOGFONTA logFont = ButtonLogFont(*Font(), forms::Screen::TwipsPerPixelY());
        HFONT font = CreateFontIndirectA(&logFont);
        HGDIOBJ replaced = SelectObject(m_buffer.BufferDC, font);
        if (!replaced) {
            // No buffer to hold it: nothing may be left behind.
            DeleteObject(font);
        } else if (!m_buffer.BufferOldFont) {
            m_buffer.BufferOldFont = replaced; // the DC's own font, never deleted here
        } else {
            DeleteObject(replaced);
        }
    } else if (SameWord(which, "Picture")) {
        if (!m_picture) {
            ReleasePicture(m_preparedPicture);
            m_pictureWidth = 0;
            m_pictureHeight = 0;
            return;
        }
        const PictureMetrics metrics = ReadPictureMetrics(m_picture->Handle(), m_pictureIsIcon);
        m_pictureIsIcon = metrics.isIcon;
        m_pictureWidth = metrics.width;
        m_pictureHeight = metrics.height;
    } else if (SameWord(which, "BackColor")) {
        m_colors = ComputeFaceColors(m_buttonStyle, TranslateColor(m_backColor), TranslateColor(m_hoverBackColor));
    }
}

} // namespace korvane
