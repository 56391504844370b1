#include "host/gdi/StockObjects.h"

#include "host/gdi/GdiInternal.h"
#include "host/gdi/HandleTable.h"

#include <cstring>

namespace korvane::gdi {

namespace {

// The Windows XP default (blue) scheme, indices 0 to 30.
constexpr COLORREF SysColours[31] = {
    0xC8D0D4, 0x984E00, 0xE35400, 0xDF967A, 0xFFFFFF, 0xFFFFFF, 0x000000, 0x000000,
    0x000000, 0xFFFFFF, 0xC8D0D4, 0xC8D0D4, 0x808080, 0xC56A31, 0xFFFFFF, 0xD8E9EC,
    0x99A8AC, 0x99A8AC, 0x000000, 0xF8E4D8, 0xFFFFFF, 0x646F71, 0xE2EFF1, 0x000000,
    0xE1FFFF, 0xFFFFFF, 0x800000, 0xFF953D, 0xEBB99D, 0xC56A31, 0xD8E9EC,
};

HBRUSH StockBrush(COLORREF colour, bool null = false)
{
    auto brush = std::make_unique<BrushObject>();
    brush->logBrush = { null ? static_cast<UINT>(BS_NULL) : static_cast<UINT>(BS_SOLID), null ? 0 : colour, 0 };
    brush->brush = null ? raster::Brush::Null() : raster::Brush::Solid(ToPixel(colour));
    return static_cast<HBRUSH>(HandleTable::Instance().Add(std::move(brush), true));
}

HPEN StockPen(UINT style, COLORREF colour)
{
    auto pen = std::make_unique<PenObject>(LOGPEN { style, { style == PS_NULL ? 0 : 1, 0 }, colour });
    return static_cast<HPEN>(HandleTable::Instance().Add(std::move(pen), true));
}

HFONT StockFont(const char* face, LONG height, BYTE pitch)
{
    auto font = std::make_unique<FontObject>();
    font->logFont.lfHeight = height;
    font->logFont.lfWeight = 400;
    font->logFont.lfPitchAndFamily = pitch;
    std::strncpy(font->logFont.lfFaceName, face, LF_FACESIZE - 1);
    return static_cast<HFONT>(HandleTable::Instance().Add(std::move(font), true));
}

}

DWORD SysColour(int index)
{
    if (index < 0 || index >= 31)
        return 0;
    return SysColours[index];
}

const StockObjects& StockObjects::Get()
{
    static const StockObjects stock;
    return stock;
}

StockObjects::StockObjects()
{
    m_objects[WHITE_BRUSH] = StockBrush(0xFFFFFF);
    m_objects[LTGRAY_BRUSH] = StockBrush(0xC0C0C0);
    m_objects[GRAY_BRUSH] = StockBrush(0x808080);
    m_objects[DKGRAY_BRUSH] = StockBrush(0x404040);
    m_objects[BLACK_BRUSH] = StockBrush(0x000000);
    m_objects[NULL_BRUSH] = StockBrush(0, true);
    m_objects[WHITE_PEN] = StockPen(PS_SOLID, 0xFFFFFF);
    m_objects[BLACK_PEN] = StockPen(PS_SOLID, 0x000000);
    m_objects[NULL_PEN] = StockPen(PS_NULL, 0);
    m_objects[OEM_FIXED_FONT] = StockFont("Terminal", 12, 1);
    m_objects[ANSI_FIXED_FONT] = StockFont("Courier", 12, 1);
    m_objects[ANSI_VAR_FONT] = StockFont("MS Sans Serif", 12, 2);
    m_objects[SYSTEM_FONT] = StockFont("System", 16, 2);
    m_objects[DEVICE_DEFAULT_FONT] = StockFont("System", 16, 2);
    m_objects[SYSTEM_FIXED_FONT] = StockFont("Fixedsys", 15, 1);
    m_objects[DEFAULT_GUI_FONT] = StockFont("MS Shell Dlg", -11, 2);
    m_objects[DC_BRUSH] = StockBrush(0xFFFFFF);
    m_objects[DC_PEN] = StockPen(PS_SOLID, 0x000000);
    for (int i = 0; i < 31; ++i)
        m_sysBrushes[i] = StockBrush(SysColours[i]);
    auto bitmap = std::make_unique<BitmapObject>();
    bitmap->surface = std::make_shared<raster::Surface>(1, 1, raster::SurfaceFormat::Monochrome, 0);
    m_defaultBitmap = static_cast<HBITMAP>(HandleTable::Instance().Add(std::move(bitmap), true));
}

HGDIOBJ StockObjects::Object(int index) const
{
    if (index < 0 || index > DC_PEN)
        return nullptr;
    return m_objects[index];
}

HBRUSH StockObjects::SysColourBrush(int index) const
{
    if (index < 0 || index >= 31)
        return nullptr;
    return m_sysBrushes[index];
}

}
