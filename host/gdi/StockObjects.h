#pragma once

#include "host/gdi/WinTypes.h"

namespace korvane::gdi {

// Stock objects and system-colour brushes, created on first use and never freed.
class StockObjects {
public:
    static const StockObjects& Get();

    HGDIOBJ Object(int index) const;
    HBRUSH SysColourBrush(int index) const;
    HBITMAP DefaultBitmap() const { return m_defaultBitmap; }

private:
    StockObjects();

    HGDIOBJ m_objects[DC_PEN + 1] {};
    HBRUSH m_sysBrushes[31] {};
    HBITMAP m_defaultBitmap = nullptr;
};

DWORD SysColour(int index);

}
