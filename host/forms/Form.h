#pragma once

// A window made from a stored layout. Controls are created in file order, each
// given the settings stored for it; then Form_Load runs and the window shows.
// Unloading destroys the window and every control's window, runs their
// termination, and keeps the objects alive until the form object goes, so a
// handler that unloads its own form can still return through its callers.

#include "host/forms/Control.h"
#include "host/forms/LayoutFile.h"
#include "host/forms/StdFont.h"

#include <filesystem>
#include <memory>
#include <vector>

namespace korvane::forms {

class Form : public window::WindowHandler {
public:
    Form();
    ~Form() override;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // Creates the window and its controls from the layout; pictures are found
    // beside the layout file. The window stays hidden until Show.
    bool Load(const LayoutNode& layout, const std::filesystem::path& resourceFolder, std::string& error);
    bool LoadFile(const std::filesystem::path& layoutFile, std::string& error);
    void Show();
    // Unloads the window: Form_Unload, then every control's termination.
    void Unload();
    bool IsLoaded() const { return m_hwnd != nullptr; }

    const std::string& Name() const { return m_name; }
    HWND hWnd() const { return m_hwnd; }
    const std::string& Caption() const { return m_caption; }
    void SetCaption(const std::string& caption);
    std::uint32_t BackColor() const { return m_backColor; }
    const FontRef& Font() const { return m_font; }
    int ClientWidth() const { return m_clientWidth; }   // twips
    int ClientHeight() const { return m_clientHeight; } // twips
    const std::filesystem::path& ResourceFolder() const { return m_resourceFolder; }
    // The pictures the layout names that cannot be read or decoded, one sentence
    // each naming the file; the form loads and draws without them.
    const std::vector<std::string>& PictureProblems() const { return m_pictureProblems; }

    // Run-time (True) or design-time (False) for every control on the form.
    bool UserMode() const { return m_userMode; }
    void SetUserMode(bool userMode);

    Control* Find(std::string_view name, std::optional<int> index = std::nullopt) const;
    template <typename T>
    T* Get(std::string_view name, std::optional<int> index = std::nullopt) const
    {
        return dynamic_cast<T*>(Find(name, index));
    }
    // The elements of a control array, by ascending index.
    std::vector<Control*> Array(std::string_view name) const;
    const std::vector<Control*>& Controls() const { return m_order; }

    // The layout as it would be saved now: every control's WriteProperties.
    LayoutNode SaveLayout();

    std::optional<LRESULT> HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    // The form's own events.
    virtual void Form_Load() {}
    virtual void Form_Unload() {}
    virtual void Form_Click() {}

private:
    friend class Control;
    void CreateControls(const std::vector<LayoutNode>& nodes, Control* container, std::string& error);
    void CheckPictures(const LayoutNode& node);
    bool HandleAccessKey(UINT message, WPARAM key);
    // The focus moved: as for push buttons on Windows, the button with the focus
    // displays as the default, else the form's default button does.
    void FocusMoved();
    void PaintBackground();

    std::string m_name;
    HWND m_hwnd = nullptr;
    std::string m_caption;
    std::uint32_t m_backColor = 0x8000000F;
    FontRef m_font;
    std::vector<std::string> m_pictureProblems;
    int m_clientWidth = 0;
    int m_clientHeight = 0;
    bool m_userMode = true;
    std::filesystem::path m_resourceFolder;
    PropertyBag m_settings;
    std::vector<std::unique_ptr<Control>> m_controls;
    std::vector<Control*> m_order; // file order
};

// COLORREF for an OLE colour: system colours (bit 31 set) through GetSysColor.
std::uint32_t OleColorToColorRef(std::uint32_t oleColor);

} // namespace korvane::forms
