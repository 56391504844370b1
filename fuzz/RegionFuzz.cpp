// Regions built from random rectangles, ellipses, rounded rectangles and polygons,
// then combined, moved and asked about; every handle is deleted at the end.
#include "host/gdi/Gdi.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstdint>
#include <vector>

namespace {

// Shapes are scanned row by row, so their size stays within what a window holds,
// and a round makes a bounded number of steps; rectangles and offsets take any value.
constexpr int kShapeExtent = 256;
constexpr int kMostPoints = 24;
constexpr int kMostSteps = 24;

int ShapeCoordinate(FuzzedDataProvider& input) { return input.ConsumeIntegralInRange(-kShapeExtent, kShapeExtent); }

HRGN MakeRegion(FuzzedDataProvider& input)
{
    switch (input.ConsumeIntegralInRange(0, 4)) {
    case 0:
        return CreateRectRgn(input.ConsumeIntegral<int>(), input.ConsumeIntegral<int>(), input.ConsumeIntegral<int>(),
                             input.ConsumeIntegral<int>());
    case 1:
        return CreateEllipticRgn(ShapeCoordinate(input), ShapeCoordinate(input), ShapeCoordinate(input),
                                 ShapeCoordinate(input));
    case 2:
        return CreateRoundRectRgn(ShapeCoordinate(input), ShapeCoordinate(input), ShapeCoordinate(input),
                                  ShapeCoordinate(input), ShapeCoordinate(input), ShapeCoordinate(input));
    default: {
        int polygons = input.ConsumeIntegralInRange(1, 4);
        std::vector<INT> counts;
        std::vector<POINT> points;
        for (int i = 0; i < polygons; ++i) {
            int count = input.ConsumeIntegralInRange(0, kMostPoints / polygons);
            counts.push_back(count);
            for (int j = 0; j < count; ++j)
                points.push_back({ ShapeCoordinate(input), ShapeCoordinate(input) });
        }
        int mode = input.ConsumeIntegralInRange(0, 3);
        return CreatePolyPolygonRgn(points.data(), counts.data(), polygons, mode);
    }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    std::array<HRGN, 3> regions {};
    for (HRGN& region : regions)
        region = MakeRegion(input);

    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(32, 32, 1, 32, nullptr);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HBRUSH brush = CreateSolidBrush(RGB(10, 20, 30));

    for (int step = 0; step < kMostSteps && input.remaining_bytes() > 0; ++step) {
        HRGN& target = regions[input.ConsumeIntegralInRange<std::size_t>(0, regions.size() - 1)];
        HRGN a = regions[input.ConsumeIntegralInRange<std::size_t>(0, regions.size() - 1)];
        HRGN b = regions[input.ConsumeIntegralInRange<std::size_t>(0, regions.size() - 1)];
        switch (input.ConsumeIntegralInRange(0, 6)) {
        case 0: CombineRgn(target, a, b, input.ConsumeIntegralInRange(0, 6)); break;
        case 1: OffsetRgn(target, input.ConsumeIntegral<int>(), input.ConsumeIntegral<int>()); break;
        case 2: {
            RECT box;
            GetRgnBox(target, &box);
            PtInRegion(target, input.ConsumeIntegral<int>(), input.ConsumeIntegral<int>());
            RectInRegion(target, &box);
            EqualRgn(a, b);
            break;
        }
        case 3: {
            DWORD needed = GetRegionData(target, 0, nullptr);
            std::vector<std::uint8_t> buffer(needed);
            GetRegionData(target, needed, reinterpret_cast<LPRGNDATA>(buffer.data()));
            break;
        }
        case 4:
            FillRgn(dc, target, brush);
            FrameRgn(dc, target, brush, input.ConsumeIntegralInRange(-4, 8), input.ConsumeIntegralInRange(-4, 8));
            InvertRgn(dc, target);
            break;
        case 5:
            SelectClipRgn(dc, target);
            ExtSelectClipRgn(dc, a, input.ConsumeIntegralInRange(0, 6));
            PatBlt(dc, 0, 0, 32, 32, PATINVERT);
            SelectClipRgn(dc, nullptr);
            break;
        default: {
            DeleteObject(target);
            target = MakeRegion(input);
            break;
        }
        }
    }

    for (HRGN region : regions)
        DeleteObject(region);
    DeleteObject(brush);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return 0;
}
