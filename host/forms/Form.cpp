#include "host/forms/Form.h"

#include "host/forms/StdPicture.h"
#include "host/forms/UserControl.h"
#include "host/gdi/Gdi.h"
#include "host/gdi/OleColor.h"
#include "host/platform/IniDocument.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <functional>

namespace korvane::forms {

std::uint32_t OleColorToColorRef(std::uint32_t oleColor) { return gdi::TranslateColor(oleColor); }

Form::Form() : m_font(std::make_shared<StdFont>()) {}

Form::~Form()
{
    if (m_hwnd)
        Unload();
}

bool Form::LoadFile(const std::filesystem::path& layoutFile, std::string& error)
{
    LayoutParseResult parsed = LoadLayoutFile(layoutFile);
    if (!parsed.form) {
        error = parsed.error;
        return false;
    }
    return Load(*parsed.form, layoutFile.parent_path(), error);
}

bool Form::Load(const LayoutNode& layout, const std::filesystem::path& resourceFolder, std::string& error)
{
    if (m_hwnd) {
        error = "the form is loaded already";
        return false;
    }
    m_name = layout.name;
    m_resourceFolder = resourceFolder;
    m_pictureProblems.clear();
    CheckPictures(layout);
    m_settings = layout.settings;
    m_caption = m_settings.ReadString("Caption", m_name);
    m_clientWidth = m_settings.ReadInt("ClientWidth", 4800);
    m_clientHeight = m_settings.ReadInt("ClientHeight", 3600);
    m_backColor = m_settings.ReadColor("BackColor", 0x8000000F);
    if (std::optional<FontSpec> font = m_settings.ReadFont("Font"))
        m_font = std::make_shared<StdFont>(*font);

    int width = static_cast<int>(std::lround(m_clientWidth / static_cast<double>(kTwipsPerPixel)));
    int height = static_cast<int>(std::lround(m_clientHeight / static_cast<double>(kTwipsPerPixel)));
    raster::IntRect screen = window::CurrentBackend().ScreenBounds();
    int left = m_settings.Contains("ClientLeft") ? m_settings.ReadInt("ClientLeft", 0) / kTwipsPerPixel
                                                 : screen.left + (screen.Width() - width) / 2;
    int top = m_settings.Contains("ClientTop") ? m_settings.ReadInt("ClientTop", 0) / kTwipsPerPixel
                                               : screen.top + (screen.Height() - height) / 2;
    window::WindowCreateInfo info;
    info.rect = raster::IntRect { left, top, left + width, top + height };
    info.title = m_caption;
    info.visible = false;
    info.handler = this;
    m_hwnd = window::CreateHostWindow(info);
    PaintBackground();
    if (std::optional<PictureRef> icon = m_settings.ReadPicture("Icon")) {
        StdPicture picture;
        if (picture.LoadFile(m_resourceFolder / icon->file))
            window::SetWindowIcon(m_hwnd, picture.ToSurface());
    }

    CreateControls(layout.children, nullptr, error);
    if (!error.empty()) {
        Unload();
        return false;
    }
    for (Control* control : m_order)
        control->Loaded();
    Form_Load();
    return true;
}

void Form::CreateControls(const std::vector<LayoutNode>& nodes, Control* container, std::string& error)
{
    for (const LayoutNode& node : nodes) {
        std::unique_ptr<Control> control = ControlRegistry::Make(node.kind);
        if (!control) {
            error = "unknown control kind " + node.kind + " of " + node.name;
            return;
        }
        if (Find(node.name, node.index)) {
            error = "two controls are named " + node.name + (node.index ? "(" + std::to_string(*node.index) + ")" : "");
            return;
        }
        Control* made = control.get();
        m_controls.push_back(std::move(control));
        m_order.push_back(made);
        made->Create(*this, container, node);
        CreateControls(node.children, made, error);
        if (!error.empty())
            return;
    }
}

void Form::CheckPictures(const LayoutNode& node)
{
    for (const PropertyBag::Entry& entry : node.settings.Entries()) {
        const auto* picture = std::get_if<PictureRef>(&entry.value);
        std::string why;
        if (picture && !StdPicture().LoadFile(m_resourceFolder / picture->file, &why)) {
            std::string owner = node.name + (node.index ? "(" + std::to_string(*node.index) + ")" : "");
            m_pictureProblems.push_back(
                "the picture " + picture->file + " of " + owner + "." + entry.key + " is left out: " + why);
        }
    }
    for (const LayoutNode& child : node.children)
        CheckPictures(child);
}

void Form::PaintBackground()
{
    HDC dc = window::GetWindowDC(m_hwnd);
    RECT rect;
    GetClientRect(m_hwnd, &rect);
    HBRUSH brush = CreateSolidBrush(OleColorToColorRef(m_backColor));
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
    ReleaseDC(m_hwnd, dc);
}

void Form::Show()
{
    if (!m_hwnd)
        return;
    ShowWindow(m_hwnd, SW_SHOWNORMAL);
    for (Control* control : m_order)
        control->FormShown();
    // The first tab stop takes the focus, as a dialog's does.
    if (!GetFocus() || window::TopLevelOf(GetFocus()) != m_hwnd) {
        if (HWND first = window::NextTabStop(m_hwnd, true))
            ::SetFocus(first);
        else
            ::SetFocus(m_hwnd);
    }
    UpdateWindow(m_hwnd);
}

void Form::Unload()
{
    if (!m_hwnd)
        return;
    Form_Unload();
    for (auto it = m_order.rbegin(); it != m_order.rend(); ++it)
        (*it)->Unloaded();
    HWND hwnd = m_hwnd;
    m_hwnd = nullptr;
    for (Control* control : m_order) {
        window::SetWindowHandler(control->m_hwnd, nullptr);
        control->m_hwnd = nullptr;
    }
    window::SetWindowHandler(hwnd, nullptr);
    DestroyWindow(hwnd);
}

void Form::SetCaption(const std::string& caption)
{
    m_caption = caption;
    if (m_hwnd)
        SetWindowTextA(m_hwnd, caption.c_str());
}

void Form::SetUserMode(bool userMode) { m_userMode = userMode; }

Control* Form::Find(std::string_view name, std::optional<int> index) const
{
    for (Control* control : m_order)
        if (platform::EqualsIgnoringCase(control->Name(), name) && control->Index() == index)
            return control;
    return nullptr;
}

std::vector<Control*> Form::Array(std::string_view name) const
{
    std::vector<Control*> elements;
    for (Control* control : m_order)
        if (platform::EqualsIgnoringCase(control->Name(), name) && control->Index())
            elements.push_back(control);
    std::sort(elements.begin(), elements.end(), [](Control* a, Control* b) { return *a->Index() < *b->Index(); });
    return elements;
}

LayoutNode Form::SaveLayout()
{
    LayoutNode root;
    root.kind = "Form";
    root.name = m_name;
    root.settings = m_settings;
    // Children are nested under their containers, in creation order.
    std::function<void(LayoutNode&, Control*)> addChildren = [&](LayoutNode& parent, Control* container) {
        for (Control* control : m_order) {
            if (control->Container() != container)
                continue;
            LayoutNode node;
            node.kind = control->Kind();
            node.name = control->Name();
            node.index = control->Index();
            node.settings = control->SaveSettings();
            addChildren(node, control);
            parent.children.push_back(std::move(node));
        }
    };
    addChildren(root, nullptr);
    return root;
}

bool Form::HandleAccessKey(UINT message, WPARAM key)
{
    auto usable = [](Control* control) { return control->hWnd() && window::CanTakeInput(control->hWnd()); };
    if (message == WM_KEYDOWN && (key == VK_RETURN || key == VK_ESCAPE)) {
        for (Control* control : m_order) {
            if (usable(control) && ((key == VK_RETURN && control->Default()) || (key == VK_ESCAPE && control->Cancel()))) {
                control->OnAccessKey(key == VK_RETURN ? '\r' : 0x1B);
                return true;
            }
        }
        return false;
    }
    if (message != WM_SYSKEYDOWN || key == VK_MENU)
        return false;
    char wanted = static_cast<char>(std::toupper(static_cast<int>(key & 0xFF)));
    std::vector<Control*> matches;
    for (Control* control : m_order)
        if (usable(control) && control->AccessKey() && std::toupper(control->AccessKey()) == wanted)
            matches.push_back(control);
    if (matches.empty())
        return false;
    std::stable_sort(matches.begin(), matches.end(), [](Control* a, Control* b) { return a->TabIndex() < b->TabIndex(); });
    if (matches.size() == 1) {
        matches.front()->OnAccessKey(static_cast<unsigned char>(wanted));
        return true;
    }
    // A key several controls share cannot say which one the user means, so, as the
    // Windows dialog manager does, it only moves the focus to the next of them after
    // the focused control in tab order, and clicks none: pressing it again goes on.
    const HWND focus = GetFocus();
    auto focused = std::find_if(m_order.begin(), m_order.end(), [&](Control* control) { return control->hWnd() == focus; });
    const int after = focused == m_order.end() ? -1 : (*focused)->TabIndex();
    auto next = std::find_if(matches.begin(), matches.end(), [&](Control* control) { return control->TabIndex() > after; });
    Control* chosen = next == matches.end() ? matches.front() : *next;
    if (chosen->CanTakeFocus())
        chosen->SetFocus();
    else
        chosen->OnAccessKey(static_cast<unsigned char>(wanted)); // a label hands the focus on
    return true;
}

void Form::FocusMoved()
{
    auto button = [](Control* control) {
        auto* userControl = dynamic_cast<UserControl*>(control);
        return userControl && userControl->DefaultCancel() ? userControl : nullptr;
    };
    const HWND focus = GetFocus();
    Control* focused = nullptr;
    for (Control* control : m_order)
        if (button(control) && control->hWnd() && control->hWnd() == focus)
            focused = control;
    for (Control* control : m_order)
        if (UserControl* userControl = button(control))
            userControl->SetDisplayAsDefault(focused ? control == focused : control->Default());
}

std::optional<LRESULT> Form::HandleMessage(HWND, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (HandleAccessKey(message, wParam))
            return 0;
        return std::nullopt;
    case WM_LBUTTONUP: Form_Click(); return 0;
    case WM_CLOSE:
        Unload();
        return 0;
    default: return std::nullopt;
    }
}

} // namespace korvane::forms
