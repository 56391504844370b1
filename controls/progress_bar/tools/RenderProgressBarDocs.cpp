// Renders every progress-bar style at 0, 45 and 100 % into PNG files, headless,
// for the control's documentation:
//
//   korvane_progress_bar_docs <output folder>
//
// Each image is the main window's bar (329 x 22, green, caption shown), named
// "<style>-<name>-<percent>.png".

#include "controls/progress_bar/ProgressBarPainter.h"

#include "host/backends/headless/HeadlessBackend.h"
#include "host/gdi/GdiInternal.h"
#include "host/window/WindowSystem.h"

#include <cstdio>
#include <filesystem>
#include <string>

using namespace korvane;
using namespace korvane::progress_bar;

namespace {

constexpr int kWidth = 329;
constexpr int kHeight = 22;

// A memory DC with a bitmap of its own, white to start with.
struct Canvas {
    Canvas(HDC screen, int width, int height)
        : dc(CreateCompatibleDC(screen)), bitmap(CreateCompatibleBitmap(screen, width, height)),
          old(SelectObject(dc, bitmap))
    {
        PatBlt(dc, 0, 0, width, height, WHITENESS);
    }
    ~Canvas()
    {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
};

// An 8 x 8 tile of two blue squares for the picture style.
void DrawTile(HDC dc)
{
    RECT all { 0, 0, 8, 8 };
    FillRectColor(all, 0xF0D8C0, dc);
    RECT first { 0, 0, 4, 4 };
    RECT second { 4, 4, 8, 8 };
    FillRectColor(first, 0xC08040, dc);
    FillRectColor(second, 0xC08040, dc);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);

    window::UseBackend(std::make_unique<backends::HeadlessBackend>());
    const char* names[] = { "blocks", "smooth", "searching", "flat", "etched", "shaded", "dark", "hatched", "picture" };
    int failures = 0;
    {
        HDC screen = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
        Canvas tile(screen, 8, 8);
        DrawTile(tile.dc);
        HFONT font = CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Tahoma");
        for (std::int32_t style = Blocks; style <= Picture; ++style) {
            for (std::int32_t percent : { 0, 45, 100 }) {
                Canvas canvas(screen, kWidth, kHeight);
                BarLook look;
                look.DrawDC = canvas.dc;
                look.Color = 0x00C000;
                look.Scrolling = style;
                look.PercentValue = percent;
                look.BrushStyle = HS_BDIAGONAL;
                look.Image = tile.bitmap;
                look.ShowText = true;
                look.Font = font;
                BarGeometry geometry;
                geometry.ClientRect = RECT { 0, 0, kWidth, kHeight };
                PaintProgressBar(look, geometry);

                const std::string name = std::to_string(style) + "-" + names[style] + "-" + std::to_string(percent) + ".png";
                const raster::Surface* pixels = gdi::SurfaceOf(canvas.dc);
                if (!pixels || !backends::SaveSurfacePng(*pixels, folder / name)) {
                    std::fprintf(stderr, "could not write %s\n", (folder / name).string().c_str());
                    ++failures;
                }
            }
        }
        DeleteObject(font);
        DeleteDC(screen);
    }
    window::ResetWindowSystem();
    return failures == 0 ? 0 : 1;
}
