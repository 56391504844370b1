#include "tests/support/FormFixture.h"

#include "host/forms/HostServices.h"
#include "host/forms/controls/PlainControls.h"
#include "host/gdi/GdiInternal.h"

#include <unistd.h>

#include <stdexcept>

namespace korvane::testing {

std::string ControlBlock(std::string_view kind, std::string_view name, RECT pixels, const Settings& settings,
    const std::string& inner)
{
    const auto twips = [](LONG value) { return std::to_string(value * forms::kTwipsPerPixel); };
    std::string text = "Begin " + std::string(kind) + " " + std::string(name) + "\nLeft = " + twips(pixels.left)
        + "\nTop = " + twips(pixels.top) + "\nWidth = " + twips(pixels.right) + "\nHeight = " + twips(pixels.bottom) + "\n";
    for (const std::string& setting : settings)
        text += setting + "\n";
    return text + inner + "End\n";
}

std::string FormLayout(const std::string& blocks, const Settings& formSettings, int width, int height)
{
    std::string text = "Form frmTest\nClientWidth = " + std::to_string(width * forms::kTwipsPerPixel)
        + "\nClientHeight = " + std::to_string(height * forms::kTwipsPerPixel) + "\n";
    for (const std::string& setting : formSettings)
        text += setting + "\n";
    return text + blocks + "End\n";
}

FormFixture::FormFixture()
{
    auto backend = std::make_unique<backends::HeadlessBackend>(1024, 768);
    m_headless = backend.get();
    window::UseBackend(std::move(backend));
    forms::RegisterPlainControls();
    forms::SetShellLauncher([this](const std::string& command, int style) { m_launches.emplace_back(command, style); });
    m_gdiObjects = gdi::LiveObjectCount();
}

FormFixture::~FormFixture()
{
    if (!m_resources.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(m_resources, ignored);
    }
}

void FormFixture::TearDown()
{
    m_headless->SetIdleHook({});
    if (m_form && m_form->IsLoaded())
        m_form->Unload();
    window::DoEvents();
    EXPECT_EQ(window::LiveWindowCount(), 0u) << "windows are left after the form was unloaded";
    m_form.reset();
    forms::SetShellLauncher({});
    window::ResetWindowSystem();
    std::ostringstream kinds;
    for (auto kind : { gdi::ObjectKind::DeviceContext, gdi::ObjectKind::Bitmap, gdi::ObjectKind::Pen,
             gdi::ObjectKind::Brush, gdi::ObjectKind::Font, gdi::ObjectKind::Region, gdi::ObjectKind::Icon })
        kinds << " " << gdi::LiveObjectCount(kind);
    EXPECT_EQ(gdi::LiveObjectCount(), m_gdiObjects)
        << "GDI objects left alive (DC, bitmap, pen, brush, font, region, icon):" << kinds.str();
}

std::size_t FormFixture::LiveGdiObjects() { return gdi::LiveObjectCount(); }

void FormFixture::LoadText(std::unique_ptr<forms::Form> form, std::string_view layoutText)
{
    forms::LayoutParseResult parsed = forms::ParseLayout(std::string(layoutText));
    if (!parsed.form)
        throw std::runtime_error("the layout does not parse: " + parsed.error);
    std::string error;
    if (!form->Load(*parsed.form, ResourceFolder(), error))
        throw std::runtime_error("the form does not load: " + error);
    form->Show();
    Keep(std::move(form));
}

void FormFixture::Keep(std::unique_ptr<forms::Form> form)
{
    if (m_form && m_form->IsLoaded())
        m_form->Unload();
    m_form = std::move(form);
    window::DoEvents();
}

const std::filesystem::path& FormFixture::ResourceFolder()
{
    if (m_resources.empty()) {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        m_resources = std::filesystem::temp_directory_path()
            / ("korvane-form-" + std::to_string(getpid()) + "-" + (test ? test->name() : "setup"));
        std::filesystem::create_directories(m_resources);
    }
    return m_resources;
}

forms::Form& FormFixture::TheForm() const
{
    if (!m_form)
        throw std::logic_error("no form is loaded");
    return *m_form;
}

std::string FormFixture::Focused() const
{
    // A control may hand the focus to a window of its own inside it.
    for (HWND focus = GetFocus(); focus && focus != FormWindow(); focus = GetParent(focus))
        for (forms::Control* control : TheForm().Controls())
            if (control->hWnd() == focus)
                return control->DisplayName();
    return std::string();
}

POINT FormFixture::Centre(HWND hwnd)
{
    RECT rect {};
    GetWindowRect(hwnd, &rect);
    return { (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2 };
}

POINT FormFixture::ToScreen(HWND hwnd, int x, int y)
{
    POINT point { x, y };
    ClientToScreen(hwnd, &point);
    return point;
}

raster::Surface FormFixture::Capture(const forms::Control& control)
{
    HWND top = window::TopLevelOf(control.hWnd());
    raster::Surface frame = window::ComposeTopLevel(top);
    RECT rect {};
    GetClientRect(control.hWnd(), &rect);
    // The control's client origin in the top-level window's client area.
    POINT origin = ToScreen(control.hWnd(), 0, 0);
    ScreenToClient(top, &origin);
    raster::Surface picture(rect.right, rect.bottom, raster::SurfaceFormat::Colour32);
    for (int y = std::max<int>(0, -origin.y); y < std::min<int>(picture.Height(), frame.Height() - origin.y); ++y)
        for (int x = std::max<int>(0, -origin.x); x < std::min<int>(picture.Width(), frame.Width() - origin.x); ++x)
            picture.Set(x, y, frame.At(origin.x + x, origin.y + y));
    return picture;
}

void FormFixture::ScriptMessageBoxes(std::vector<BoxStep> steps)
{
    m_boxSteps = std::move(steps);
    m_headless->SetIdleHook([this] {
        std::optional<forms::MessageBoxInfo> box = forms::ActiveMessageBox();
        if (!box)
            return false;
        if (m_boxesShown.empty() || m_boxesShown.back().hwnd != box->hwnd)
            m_boxesShown.push_back(*box);
        if (m_boxSteps.empty())
            return false;
        BoxStep step = std::move(m_boxSteps.front());
        m_boxSteps.erase(m_boxSteps.begin());
        step(*box);
        return true;
    });
}

BoxStep FormFixture::Answer(unsigned virtualKey)
{
    return [this, virtualKey](const forms::MessageBoxInfo&) { m_headless->TypeKey(virtualKey); };
}

} // namespace korvane::testing
