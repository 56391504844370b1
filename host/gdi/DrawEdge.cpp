// DrawEdge: the 3-D borders of user32, one pixel per border, in the system colours.

#include "host/gdi/DrawContext.h"
#include "host/gdi/Gdi.h"
#include "host/gdi/GdiInternal.h"
#include "host/gdi/StockObjects.h"
#include "host/raster/Rop.h"

using namespace korvane;
using namespace korvane::gdi;

namespace {

struct BorderColours {
    int topLeft;
    int bottomRight;
};

// Colours of one border. BF_SOFT lightens the top-left of a raised border and darkens
// that of a sunken one; the outer border is the one that takes the darker shadow.
BorderColours ColoursFor(UINT edge, bool outer, UINT flags)
{
    bool soft = flags & BF_SOFT;
    if (flags & BF_MONO)
        return outer ? BorderColours { COLOR_WINDOWFRAME, COLOR_WINDOWFRAME } : BorderColours { COLOR_WINDOW, COLOR_WINDOW };
    if (flags & BF_FLAT)
        return outer ? BorderColours { COLOR_BTNSHADOW, COLOR_BTNSHADOW } : BorderColours { COLOR_BTNFACE, COLOR_BTNFACE };
    if (outer) {
        if (edge & BDR_RAISEDOUTER)
            return { soft ? COLOR_BTNHIGHLIGHT : COLOR_3DLIGHT, COLOR_3DDKSHADOW };
        return { soft ? COLOR_3DDKSHADOW : COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT };
    }
    if (edge & BDR_RAISEDINNER)
        return { soft ? COLOR_3DLIGHT : COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW };
    return { soft ? COLOR_BTNSHADOW : COLOR_3DDKSHADOW, COLOR_3DLIGHT };
}

// Top and left sides first, then bottom and right over them, so the top-right and
// bottom-left corner pixels take the bottom-right colour.
void DrawBorder(DrawContext& context, const raster::IntRect& r, BorderColours colours, UINT flags)
{
    raster::Painter& painter = context.Painter();
    auto fill = [&](raster::IntRect area, int colourIndex) {
        painter.FillRect(area, raster::Pattern::Solid(context.Surface().Quantize(ToPixel(SysColour(colourIndex)))),
                         raster::Rop::PatternCopy);
    };
    if (flags & BF_TOP)
        fill({ r.left, r.top, r.right, r.top + 1 }, colours.topLeft);
    if (flags & BF_LEFT)
        fill({ r.left, r.top, r.left + 1, r.bottom }, colours.topLeft);
    if (flags & BF_BOTTOM)
        fill({ r.left, r.bottom - 1, r.right, r.bottom }, colours.bottomRight);
    if (flags & BF_RIGHT)
        fill({ r.right - 1, r.top, r.right, r.bottom }, colours.bottomRight);
}

raster::IntRect Shrink(const raster::IntRect& r, UINT flags)
{
    return { r.left + ((flags & BF_LEFT) ? 1 : 0), r.top + ((flags & BF_TOP) ? 1 : 0), r.right - ((flags & BF_RIGHT) ? 1 : 0),
             r.bottom - ((flags & BF_BOTTOM) ? 1 : 0) };
}

}

BOOL DrawEdge(HDC hdc, LPRECT rect, UINT edge, UINT flags)
{
    auto context = DrawContext::For(hdc);
    if (!context || !rect)
        return FALSE;
    if (flags & BF_DIAGONAL)
        return FALSE;
    raster::IntRect r = context->ToDevice(*rect);
    bool hasOuter = edge & BDR_OUTER;
    bool hasInner = edge & BDR_INNER;
    if (hasOuter) {
        DrawBorder(*context, r, ColoursFor(edge, true, flags), flags);
        r = Shrink(r, flags);
    }
    if (hasInner) {
        DrawBorder(*context, r, ColoursFor(edge, false, flags), flags);
        r = Shrink(r, flags);
    }
    if ((flags & BF_MIDDLE) && !r.IsEmpty()) {
        int colour = (flags & BF_MONO) ? COLOR_WINDOW : COLOR_BTNFACE;
        context->Painter().FillRect(r, raster::Pattern::Solid(context->Surface().Quantize(ToPixel(SysColour(colour)))),
                                    raster::Rop::PatternCopy);
    }
    if (flags & BF_ADJUST) {
        POINT origin = context->Dc().state.viewportOrigin;
        *rect = { r.left - origin.x, r.top - origin.y, r.right - origin.x, r.bottom - origin.y };
    }
    return TRUE;
}
