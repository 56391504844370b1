#pragma once

// Buttons on a headless form, with every message box answered and recorded, and a
// back buffer without a window for painting a face from a ButtonLook alone.

#include "controls/button/gxButtons_H.h"
#include "host/backends/headless/HeadlessBackend.h"
#include "host/forms/Form.h"
#include "host/forms/MessageBox.h"
#include "host/gdi/Gdi.h"
#include "host/gdi/GdiInternal.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace korvane::testing {

class ButtonFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto backend = std::make_unique<backends::HeadlessBackend>(1024, 768);
        headless = backend.get();
        window::UseBackend(std::move(backend));
        gdiObjects = gdi::LiveObjectCount();
        RegisterGxButtons_H();
        headless->SetIdleHook([this] {
            std::optional<forms::MessageBoxInfo> box = forms::ActiveMessageBox();
            if (!box || box->hwnd == lastBox)
                return false;
            lastBox = box->hwnd;
            messages.push_back(box->prompt);
            headless->TypeKey(VK_RETURN);
            return true;
        });
    }

    void TearDown() override
    {
        form.reset();
        window::ResetWindowSystem();
        EXPECT_EQ(gdi::LiveObjectCount(), gdiObjects);
    }

    // A form holding one button "cmdTest" of `width` by `height` pixels with the
    // settings given as layout lines; pictures are found in the application's folder.
    gxButtons_H& Load(const std::string& settings, int width = 75, int height = 23, const std::string& formSettings = "")
    {
        const std::string text = "Form frmTest\n    ClientWidth = 3000\n    ClientHeight = 1500\n" + formSettings
            + "    Begin gxButtons_H cmdTest\n        Width = " + std::to_string(width * forms::kTwipsPerPixel)
            + "\n        Height = " + std::to_string(height * forms::kTwipsPerPixel) + "\n" + settings + "    End\nEnd\n";
        forms::LayoutParseResult layout = forms::ParseLayout(text);
        EXPECT_TRUE(layout.form) << layout.error;
        form = std::make_unique<forms::Form>();
        std::string error;
        EXPECT_TRUE(form->Load(*layout.form, KORVANE_APP_FOLDER, error)) << error;
        form->Show();
        window::DoEvents();
        return *form->Get<gxButtons_H>("cmdTest");
    }

public:
    forms::PictureHandle Picture(const std::string& file)
    {
        auto picture = std::make_shared<forms::StdPicture>();
        EXPECT_TRUE(picture->LoadFile(std::string(KORVANE_APP_FOLDER) + "/resources/" + file)) << file;
        return picture;
    }

protected:
    // The control's surface pixel as a COLORREF.
    static COLORREF PixelOf(const gxButtons_H& button, int x, int y)
    {
        return gdi::ToColorRef(window::WindowSurface(button.hWnd())->At(x, y));
    }

    backends::HeadlessBackend* headless = nullptr;
    std::unique_ptr<forms::Form> form;
    std::vector<std::string> messages;
    HWND lastBox = nullptr;
    std::size_t gdiObjects = 0;
};

// A back buffer of its own, made as the control makes one, for painting a face
// from a ButtonLook without a window.
class FaceCanvas {
public:
    FaceCanvas(int width, int height)
    {
        HDC display = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
        buffer.BufferDC = CreateCompatibleDC(display);
        buffer.BufferOldBitmap = SelectObject(buffer.BufferDC, CreateCompatibleBitmap(display, width, height));
        DeleteDC(display);
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

    COLORREF At(int x, int y) const { return GetPixel(buffer.BufferDC, x, y); }

    button::BackBuffer buffer;
    button::ButtonLook look;
};

} // namespace korvane::testing
