#pragma once

// A button on a headless form with every message box recorded, and a back buffer
// without a window for painting a face from a ButtonLook alone.

#include "controls/button/ButtonPipeline.h"
#include "controls/button/gxButtons_H.h"
#include "host/gdi/Gdi.h"
#include "host/gdi/GdiRaster.h"
#include "tests/support/FormFixture.h"

#include <string>
#include <string_view>
#include <vector>

namespace korvane::testing {

// The button face colour the tests paint on, RGB(236, 233, 216).
inline constexpr COLORREF kFace = 0xD8E9EC;

inline std::string ButtonBlock(std::string_view name, RECT pixels, const Settings& settings)
{
    return ControlBlock("gxButtons_H", name, pixels, settings);
}

class ButtonFormTest : public FormFixture {
public:
    // A form holding one button "cmdTest" of `width` by `height` pixels at the form's
    // origin; "resources/" holds the program's pictures.
    gxButtons_H& Load(const Settings& settings = {}, int width = 75, int height = 23, const Settings& formSettings = {})
    {
        FormFixture::Load(FormLayout(ButtonBlock("cmdTest", { 0, 0, width, height }, settings), formSettings));
        return Get<gxButtons_H>("cmdTest");
    }

    forms::PictureHandle Picture(const std::string& file)
    {
        auto picture = std::make_shared<forms::StdPicture>();
        EXPECT_TRUE(picture->LoadFile(ResourceFolder() / "resources" / file)) << file;
        return picture;
    }

    // The prompts of the message boxes shown since the last call.
    std::vector<std::string> TakeMessages()
    {
        std::vector<std::string> prompts;
        for (; m_messagesSeen < MessageBoxesShown().size(); ++m_messagesSeen)
            prompts.push_back(MessageBoxesShown()[m_messagesSeen].prompt);
        return prompts;
    }

protected:
    ButtonFormTest()
    {
        RegisterGxButtons_H();
        ScriptMessageBoxes({});
        std::filesystem::copy(std::filesystem::path(KORVANE_APP_FOLDER) / "resources", ResourceFolder() / "resources");
    }

private:
    std::size_t m_messagesSeen = 0;
};

// A back buffer of its own, made as the control makes one, for painting a face
// from a ButtonLook without a window.
class FaceCanvas {
public:
    FaceCanvas(int width, int height)
    {
        HDC display = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
        buffer.BufferDC = CreateCompatibleDC(display);
        m_bitmap = CreateCompatibleBitmap(display, width, height);
        buffer.BufferOldBitmap = SelectObject(buffer.BufferDC, m_bitmap);
        DeleteDC(display);
        SetBkMode(buffer.BufferDC, 3); // as the control's: no text background over the face
        buffer.BufferOldBrush = SelectObject(buffer.BufferDC, CreateSolidBrush(0));
        buffer.BufferOldPen = SelectObject(buffer.BufferDC, CreatePen(PS_SOLID, 1, 0));
        look.ScaleWidth = width;
        look.ScaleHeight = height;
        look.ScreenWidth = 1024 * 15;
        look.ScreenHeight = 768 * 15;
        look.FaceRight = width;
    }
    ~FaceCanvas()
    {
        button::ReleaseDrawingTools(buffer);
        DeleteObject(SelectObject(buffer.BufferDC, buffer.BufferOldBitmap));
        DeleteDC(buffer.BufferDC);
    }
    FaceCanvas(const FaceCanvas&) = delete;
    FaceCanvas& operator=(const FaceCanvas&) = delete;

    void PaintBackground(button::OleColor& face, button::OleColor& gradient, button::OleColor& hover)
    {
        button::RedrawWork work;
        button::PaintBackground(look, buffer, work, face, gradient, hover);
    }
    const raster::Surface& Pixels() const { return *gdi::BitmapSurface(m_bitmap); }

    button::BackBuffer buffer;
    button::ButtonLook look;

private:
    HBITMAP m_bitmap = nullptr;
};

} // namespace korvane::testing
