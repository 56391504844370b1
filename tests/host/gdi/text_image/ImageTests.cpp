// Icons and bitmaps through the facade: files written by hand, drawn and copied, checked pixel by pixel.

#include "tests/host/gdi/CanvasSupport.h"

#include "host/raster/image/Codecs.h"

#include <cstdint>
#include <filesystem>
#include <tuple>

using namespace korvane;
using namespace korvane::gdi;
using namespace korvane::gdi::testing;

namespace {

constexpr COLORREF Grey = RGB(128, 128, 128);
constexpr COLORREF White = RGB(255, 255, 255);
constexpr COLORREF Black = RGB(0, 0, 0);
constexpr COLORREF Red = RGB(255, 0, 0);
constexpr COLORREF Green = RGB(0, 255, 0);
constexpr COLORREF Blue = RGB(0, 0, 255);

// A 4 by 4 icon. The right column and bottom row are masked: black there is
// transparent, and the white pixel at (3, 2) inverts what is below it.
const std::vector<COLORREF> IconColour {
    Red, Green, Blue, Black,
    Green, Blue, Red, Black,
    Blue, Red, Green, White,
    Black, Black, Black, Black,
};
// As the mask bitmap reads back: white where masked.
const std::vector<raster::PixelValue> IconMask {
    0, 0, 0, White,
    0, 0, 0, White,
    0, 0, 0, White,
    0, White, White, White,
};

// four.ico and four.cur hold one 24-bit 4 by 4 entry drawn from the tables above, the cursor
// with its hotspot at (1, 2); four.bmp is a 24-bit 2 by 2 bitmap: red, yellow on top, blue, white below.
std::string Data(const char* name) { return (std::filesystem::path(KORVANE_GDI_IMAGE_DATA_DIR) / name).string(); }

// One of the files above, as LoadImageA loads it.
template <class Handle = HICON>
Handle Load(const char* name, UINT type = IMAGE_ICON, int cx = 0, int cy = 0, UINT flags = LR_LOADFROMFILE)
{
    return static_cast<Handle>(LoadImageA(nullptr, Data(name).c_str(), type, cx, cy, flags));
}

using GdiImage = NoLeaks;

TEST_F(GdiImage, LoadedIconDrawsThroughItsMask)
{
    HICON icon = Load("four.ico");

    Canvas canvas(12, 12, Grey);
    EXPECT_TRUE(DrawIconEx(canvas.Dc(), 2, 2, icon, 8, 8, 0, nullptr, DI_NORMAL));
    EXPECT_TRUE(MatchesGolden(canvas, "gdi/icon_doubled"));

    // Natural size, through the viewport origin.
    canvas.Fill(Grey);
    SetViewportOrgEx(canvas.Dc(), 3, 1, nullptr);
    EXPECT_TRUE(DrawIconEx(canvas.Dc(), 2, 4, icon, 0, 0, 0, nullptr, DI_NORMAL));
    SetViewportOrgEx(canvas.Dc(), 0, 0, nullptr);
    EXPECT_TRUE(MatchesGolden(canvas, "gdi/icon_natural_offset"));

    // Each half alone is copied as it is, left; a flicker-free brush shows where the icon is transparent, right.
    canvas.Fill(Grey);
    DrawIconEx(canvas.Dc(), 0, 0, icon, 4, 4, 0, nullptr, DI_MASK);
    DrawIconEx(canvas.Dc(), 4, 0, icon, 4, 4, 0, nullptr, DI_IMAGE);
    HBRUSH yellow = CreateSolidBrush(RGB(255, 255, 0));
    DrawIconEx(canvas.Dc(), 8, 0, icon, 4, 4, 0, yellow, DI_NORMAL);
    DeleteObject(yellow);
    EXPECT_TRUE(MatchesGolden(canvas, "gdi/icon_halves_and_flicker_brush"));

    // DrawIcon uses the system icon size.
    Canvas large(40, 40, Grey);
    EXPECT_TRUE(DrawIcon(large.Dc(), 4, 4, icon));
    EXPECT_TRUE(MatchesGolden(large, "gdi/icon_system_size"));

    EXPECT_FALSE(DrawIconEx(canvas.Dc(), 0, 0, nullptr, 4, 4, 0, nullptr, DI_NORMAL));
    EXPECT_FALSE(DeleteObject(icon)) << "icons are destroyed with DestroyIcon";
    EXPECT_TRUE(DestroyIcon(icon));
    EXPECT_FALSE(DestroyIcon(icon));
}

TEST_F(GdiImage, IconsLoadAtTheAskedSizeAndCursorsKeepTheirHotspot)
{
    const struct {
        const char* file;
        UINT type;
        int size;
        const char* golden;
        DWORD hotspotX, hotspotY; // icons turn about their centre
    } cases[] = { { "four.ico", IMAGE_ICON, 0, "gdi/icon_natural", 2, 2 },
                  { "four.ico", IMAGE_ICON, 8, "gdi/icon_doubled", 4, 4 },
                  { "four.cur", IMAGE_CURSOR, 0, "gdi/icon_natural", 1, 2 } };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " at " + std::to_string(c.size));
        const bool cursor = c.type == IMAGE_CURSOR;
        HICON icon = Load(c.file, c.type, c.size, c.size);
        Canvas canvas(12, 12, Grey);
        DrawIconEx(canvas.Dc(), 2, 2, icon, 0, 0, 0, nullptr, DI_NORMAL);
        EXPECT_TRUE(MatchesGolden(canvas, c.golden));
        ICONINFO info {};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        EXPECT_EQ(std::tuple(info.fIcon, info.xHotspot, info.yHotspot), std::tuple(BOOL { !cursor }, c.hotspotX, c.hotspotY));
        DeleteObject(info.hbmMask);
        DeleteObject(info.hbmColor);
        EXPECT_TRUE(cursor ? DestroyCursor(icon) : DestroyIcon(icon));
    }
    EXPECT_EQ(Load("missing.ico"), nullptr);
    EXPECT_EQ(Load("four.ico", IMAGE_ICON, 0, 0, 0), nullptr) << "resources are not served";
}

TEST_F(GdiImage, IconInfoHandsOutNewBitmapsAndIndirectIconsCopyThem)
{
    HICON icon = Load("four.ico");

    const std::size_t bitmaps = LiveObjectCount(ObjectKind::Bitmap);
    ICONINFO info {};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    EXPECT_EQ(LiveObjectCount(ObjectKind::Bitmap), bitmaps + 2);
    BITMAP mask {};
    BITMAP colour {};
    ASSERT_EQ(GetObjectA(info.hbmMask, sizeof mask, &mask), static_cast<int>(sizeof mask));
    ASSERT_EQ(GetObjectA(info.hbmColor, sizeof colour, &colour), static_cast<int>(sizeof colour));
    EXPECT_EQ(std::tuple(mask.bmWidth, mask.bmHeight, mask.bmBitsPixel, colour.bmBitsPixel), std::tuple(4, 4, WORD { 1 }, WORD { 32 }));
    EXPECT_EQ(ReadPixels(info.hbmMask), IconMask);
    std::vector<COLORREF> colours;
    for (raster::PixelValue pixel : ReadPixels(info.hbmColor))
        colours.push_back(ToColorRef(pixel));
    EXPECT_EQ(colours, IconColour);

    // The rebuilt icon owns copies: it draws the same after its sources are gone.
    HICON rebuilt = CreateIconIndirect(&info);
    EXPECT_TRUE(DeleteObject(info.hbmMask));
    EXPECT_TRUE(DeleteObject(info.hbmColor));
    EXPECT_EQ(LiveObjectCount(ObjectKind::Bitmap), bitmaps);
    Canvas canvas(12, 12, Grey);
    DrawIconEx(canvas.Dc(), 2, 2, rebuilt, 8, 8, 0, nullptr, DI_NORMAL);
    EXPECT_TRUE(MatchesGolden(canvas, "gdi/icon_doubled"));
    EXPECT_TRUE(DestroyIcon(rebuilt));
    EXPECT_TRUE(DestroyIcon(icon));

    ICONINFO noMask {};
    EXPECT_EQ(CreateIconIndirect(&noMask), nullptr);
    EXPECT_FALSE(GetIconInfo(nullptr, &info));
}

TEST_F(GdiImage, MonochromeIconsAndWithAndAndXorMasks)
{
    // AND row 1 1 0 0 above XOR row 0 1 0 1: transparent, inverted, black, white.
    const std::uint8_t bits[] = { 0xC0, 0x00, 0x50, 0x00 };
    HBITMAP masks = CreateBitmap(4, 2, 1, 1, bits);
    ICONINFO info { FALSE, 3, 0, masks, nullptr };
    HCURSOR cursor = CreateIconIndirect(&info);
    DeleteObject(masks);

    Canvas canvas(6, 3, Grey);
    EXPECT_TRUE(DrawIconEx(canvas.Dc(), 1, 1, cursor, 0, 0, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(canvas.Pixels(), (std::vector<COLORREF> { Grey, Grey, Grey, Grey, Grey, Grey, Grey, Grey,
                                                        Grey ^ 0xFFFFFFu, Black, White, Grey, Grey, Grey, Grey, Grey,
                                                        Grey, Grey }));

    ICONINFO back {};
    ASSERT_TRUE(GetIconInfo(cursor, &back));
    EXPECT_EQ(std::tuple(back.fIcon, back.xHotspot, back.hbmColor), std::tuple(FALSE, DWORD { 3 }, HBITMAP {}));
    BITMAP bm {};
    GetObjectA(back.hbmMask, sizeof bm, &bm);
    EXPECT_EQ(bm.bmHeight, 2) << "the AND and XOR masks come back together";
    DeleteObject(back.hbmMask);
    EXPECT_TRUE(DestroyCursor(cursor));
}

TEST_F(GdiImage, CopyImageStretchesBitmapsAndIcons)
{
    const std::uint32_t pixels[] = { 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF };
    HBITMAP original = CreateBitmap(2, 2, 1, 32, pixels);
    HBITMAP stretched = static_cast<HBITMAP>(CopyImage(original, IMAGE_BITMAP, 4, 6, 0));
    std::vector<raster::PixelValue> scaled; // 4 by 6: each pixel becomes 2 by 3
    for (std::size_t i = 0; i < 24; ++i)
        scaled.push_back(pixels[i / 12 * 2 + i % 4 / 2]);
    EXPECT_EQ(ReadPixels(stretched), scaled);

    HBITMAP same = static_cast<HBITMAP>(CopyImage(original, IMAGE_BITMAP, 0, 0, 0));
    ASSERT_NE(same, original);
    EXPECT_EQ(ReadPixels(same), ReadPixels(original));
    EXPECT_EQ(CopyImage(same, IMAGE_BITMAP, 2, 2, LR_COPYRETURNORG), same);
    HBITMAP mono = static_cast<HBITMAP>(CopyImage(same, IMAGE_BITMAP, 0, 0, LR_MONOCHROME | LR_COPYDELETEORG));
    EXPECT_EQ(GetObjectType(same), 0u) << "LR_COPYDELETEORG deletes the original";
    BITMAP bm {};
    GetObjectA(mono, sizeof bm, &bm);
    EXPECT_EQ(bm.bmBitsPixel, 1);
    // As in a block transfer to monochrome, only white stays white; light green does not.
    EXPECT_EQ(ReadPixels(mono), (std::vector<raster::PixelValue> { 0, 0, 0, 0xFFFFFF }));
    EXPECT_EQ(CopyImage(original, IMAGE_ICON, 0, 0, 0), nullptr) << "a bitmap is not an icon";
    DeleteObject(mono);
    DeleteObject(stretched);
    DeleteObject(original);

    HICON icon = Load("four.ico");
    HICON doubled = static_cast<HICON>(CopyImage(icon, IMAGE_ICON, 8, 8, LR_COPYDELETEORG));
    EXPECT_FALSE(DestroyIcon(icon)) << "LR_COPYDELETEORG destroys the original icon";
    Canvas canvas(12, 12, Grey);
    DrawIconEx(canvas.Dc(), 2, 2, doubled, 0, 0, 0, nullptr, DI_NORMAL);
    EXPECT_TRUE(MatchesGolden(canvas, "gdi/icon_doubled"));
    EXPECT_TRUE(DestroyIcon(doubled));
}

TEST_F(GdiImage, BitmapFilesLoadAndScreenshotsRoundTrip)
{
    HBITMAP bmp = Load<HBITMAP>("four.bmp", IMAGE_BITMAP);
    const std::vector<raster::PixelValue> expected { 0xFF0000, 0xFFFF00, 0x0000FF, 0xFFFFFF };
    EXPECT_EQ(ReadPixels(bmp), expected);

    HBITMAP wide = Load<HBITMAP>("four.bmp", IMAGE_BITMAP, 4, 2);
    EXPECT_EQ(ReadPixels(wide), (std::vector<raster::PixelValue> { 0xFF0000, 0xFF0000, 0xFFFF00, 0xFFFF00, 0x0000FF,
                                                                   0x0000FF, 0xFFFFFF, 0xFFFFFF }));
    HBITMAP mono = Load<HBITMAP>("four.bmp", IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_MONOCHROME);
    EXPECT_EQ(ReadPixels(mono), (std::vector<raster::PixelValue> { 0, 0xFFFFFF, 0, 0xFFFFFF }))
        << "loading to monochrome takes the nearer of black and white";
    DeleteObject(mono);
    EXPECT_EQ(Load("four.bmp"), nullptr);

    // A PNG written from a bitmap reads back with the same pixels.
    const std::filesystem::path pngPath = std::filesystem::path(::testing::TempDir()) / "korvane-gdi-four.png";
    EXPECT_TRUE(SaveBitmapPng(bmp, pngPath));
    HBITMAP png = static_cast<HBITMAP>(LoadImageA(nullptr, pngPath.string().c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    EXPECT_EQ(ReadPixels(png), expected);

    Canvas canvas(5, 3, Grey);
    SetPixel(canvas.Dc(), 4, 2, Red);
    const std::filesystem::path shotPath = std::filesystem::path(::testing::TempDir()) / "korvane-gdi-shot.png";
    EXPECT_TRUE(SaveBitmapPng(canvas.Dc(), shotPath));
    auto shot = raster::image::LoadImageFile(shotPath);
    ASSERT_TRUE(shot.Ok()) << shot.Error();
    EXPECT_EQ(std::pair(shot.Value().At(4, 2), shot.Value().At(0, 0)), std::pair(0xFFFF0000u, 0xFF808080u));
    EXPECT_FALSE(SaveBitmapPng(static_cast<HBITMAP>(nullptr), shotPath));
    std::filesystem::remove(pngPath);
    std::filesystem::remove(shotPath);

    DeleteObject(png);
    DeleteObject(wide);
    DeleteObject(bmp);
}

}
