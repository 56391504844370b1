#include "controls/progress_bar/ProgressBarPainter.h"

namespace korvane::progress_bar {

void PaintProgressBar(const BarLook& look, BarGeometry& geometry)
{
    FillRectColor(geometry.ClientRect, look.Scrolling == Dark ? 0x000000 : 0xFFFFFF, look.DrawDC);
    switch (look.Scrolling) {
    case Flat: DrawFlatStyle(look, geometry); break;
    case Etched: DrawEtchedStyle(look, geometry); break;
    case Shaded: DrawShadedStyle(look, geometry); break;
    case Dark: DrawDarkStyle(look, geometry); break;
    case Hatched: DrawHatchStyle(look, geometry); break;
    case Picture: DrawImageStyle(look, geometry); break;
    default:
        ComputeBlockExtent(look, geometry);
        DrawXPFill(look, geometry);
        if (look.Scrolling == Blocks)
            DrawBlockSeparators(look, geometry);
        DrawXPFrame(look, geometry);
        break;
    }
    DrawPercentText(look, geometry);
}

} // namespace korvane::progress_bar
