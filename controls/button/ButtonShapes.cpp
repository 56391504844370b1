#include "controls/button/ButtonShapes.h"

#include "controls/button/gxButtons_H.h"
#include "host/runtime/Conversions.h"

namespace korvane::button {

void PrepareFaceClip(const ButtonLook& /*look*/, BackBuffer& buffer, RedrawWork& work)
{
    work.DrawCode = 1;
    SelectClipRgn(buffer.BufferDC, nullptr);
}

void FrameOutline(const ButtonLook& /*look*/, const RedrawWork& /*work*/, HDC /*controlDC*/) {}

} // namespace korvane::button

namespace korvane {

void gxButtons_H::BuildShapeRegion()
{
    m_faceLeft = 0;
    m_faceRight = host::CLng(ScaleWidth());
    if (m_buffer.BufferDC)
        SelectClipRgn(m_buffer.BufferDC, nullptr);
    for (HRGN* region : { &InnerFrameRegion, &FrameRegion }) {
        if (*region)
            DeleteObject(*region);
        *region = nullptr;
    }
}

} // namespace korvane
