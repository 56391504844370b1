#pragma once

#include "host/gdi/WinTypes.h"
#include "host/raster/Surface.h"

#include <filesystem>
#include <memory>
#include <string>

namespace korvane::forms {

// The host's picture object: a bitmap (BMP, PNG and JPEG files load as bitmaps)
// or an icon, owning its GDI handle.
class StdPicture {
public:
    enum class Kind { None = 0, Bitmap = 1, Icon = 3 };

    StdPicture() = default;
    ~StdPicture();
    StdPicture(const StdPicture&) = delete;
    StdPicture& operator=(const StdPicture&) = delete;

    // Loads a file by its contents (an .ico becomes an icon); false, keeping
    // nothing, when it cannot.
    bool LoadFile(const std::filesystem::path& path, std::string* error = nullptr);
    void Clear();

    Kind Type() const { return m_kind; }
    // HBITMAP or HICON as a handle value, 0 for none.
    HANDLE Handle() const { return m_handle; }
    HBITMAP Bitmap() const { return m_kind == Kind::Bitmap ? static_cast<HBITMAP>(m_handle) : nullptr; }
    HICON Icon() const { return m_kind == Kind::Icon ? static_cast<HICON>(m_handle) : nullptr; }
    int WidthPixels() const { return m_width; }
    int HeightPixels() const { return m_height; }
    // Sizes in HIMETRIC (0.01 mm), as the host reports them.
    int Width() const { return m_width * 2540 / 96; }
    int Height() const { return m_height * 2540 / 96; }
    const std::filesystem::path& File() const { return m_file; }

    // The picture's pixels over the button face colour where it is transparent.
    raster::Surface ToSurface() const;

private:
    Kind m_kind = Kind::None;
    HANDLE m_handle = nullptr;
    int m_width = 0;
    int m_height = 0;
    std::filesystem::path m_file;
};

using PictureHandle = std::shared_ptr<StdPicture>;

} // namespace korvane::forms
