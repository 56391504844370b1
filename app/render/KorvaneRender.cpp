// korvane-render: draws the main window, or one control, on the headless backend
// and writes what the screen would show as a PNG, or as a PPM for scripts that
// compare it with a screenshot. Every picture of the project's documentation is made
// with it.

#include "app/frmKorvane.h"
#include "controls/button/gxButtons_H.h"
#include "controls/progress_bar/XP_ProgressBar.h"
#include "controls/text_box/TarvosXPText.h"
#include "host/backends/headless/HeadlessBackend.h"
#include "host/forms/HostServices.h"
#include "host/forms/StoredSettings.h"
#include "host/forms/controls/PlainControls.h"
#include "host/gdi/Gdi.h"
#include "host/gdi/OleColor.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace {

using namespace korvane;

const char* const kHelp = R"(Usage:
  korvane-render window [--resources FOLDER] [--screen WxH] [--script FILE]
                 --out FILE.png
  korvane-render control KIND --size WxH [--set KEY=VALUE]... [--state STATE]
                 [--screen WxH] [--script FILE] --out FILE.png
  korvane-render --help

window   the main window after its load, after the script if one is given, with
         whatever is on top of it (a message box, say), as the screen shows it.
control  one control of KIND (XP_ProgressBar, TarvosXPText or gxButtons_H) at (0, 0)
         of a plain form in the button face colour, WxH client pixels, loaded with
         the settings given; the picture is the control's client rectangle.

--resources FOLDER  window only: the folder of frmKorvane.layout and the pictures it
                 names, instead of the program's own (installed beside it, as
                 korvane finds them); a picture the layout names that is missing
                 or cannot be read is refused.
--set KEY=VALUE  a setting as the control stores it; VALUE in the layout file's
                 syntax: 12, &H8000000F& or 0x00C000 colours, True/False, "text",
                 Picture("file.bmp") or a bare file name for picture keys; a
                 picture that is missing or cannot be read is refused.
--state STATE    buttons only, each that state and nothing more: normal, hover (the
                 pointer resting on its centre), pressed (then the left button
                 held), disabled (Enabled False), latched (check-box mode with
                 Value True), default (the form's default button); the focus
                 rests on the form, so no other state shows the default look.
--screen WxH     the screen's size in pixels, 1024x768 unless given; a button's
                 gradient draws in 2-pixel bands when it is wider (or taller)
                 than a quarter of the screen.
--out FILE       the picture as a PNG, or, for a name ending in .ppm, as a binary
                 PPM (P6, 8 bits a channel) whose bytes a script can compare.
--script FILE    one step a line, run in order:
                   move X Y     the pointer to form client pixels X, Y
                   down | up    the left button;  rdown | rup  the right button
                   key NAME     a key: Space, Return, Tab, Escape, Left, Right, Up,
                                Down, Home, End, Delete, Back, F1..F12, a letter or a
                                digit, with Alt+, Ctrl+ or Shift+ before it
                   type TEXT    characters, as an input method gives them
                   wait MS      the clock moves on MS milliseconds, firing timers
                   let KEY V    (control) a setting, named as --set names it,
                                through its property's Let; pictures as --set
                   design       design time (ambient UserMode False) from here on
                 Lines starting with # are comments.
The program's repair runs for real when its button is pressed: point ODBCINI and
ODBCSYSINI at a scratch configuration first.
Exit codes: 0 written, 2 bad usage or input (nothing written), 1 failure.
)";

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Options {
    std::string mode;
    std::string kind;
    int width = 0;
    int height = 0;
    std::vector<std::pair<std::string, std::string>> settings;
    std::string state = "normal";
    std::string script;
    std::string out;
    int screenWidth = 1024;
    int screenHeight = 768;
    std::string resources = ResourceFolder(KORVANE_SOURCE_RESOURCES).string();
};

Options ParseArguments(int argc, char** argv)
{
    Options options;
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty())
        throw UsageError("nothing to do; see --help");
    std::size_t i = 0;
    options.mode = args[i++];
    if (options.mode != "window" && options.mode != "control")
        throw UsageError("unknown command '" + options.mode + "'; see --help");
    if (options.mode == "control") {
        if (i >= args.size())
            throw UsageError("control needs a KIND");
        options.kind = args[i++];
        if (options.kind != "XP_ProgressBar" && options.kind != "TarvosXPText" && options.kind != "gxButtons_H")
            throw UsageError("unknown control kind '" + options.kind + "'");
    }
    auto value = [&](const std::string& flag) {
        if (i >= args.size())
            throw UsageError(flag + " needs a value");
        return args[i++];
    };
    // WxH in pixels.
    auto size = [&](const std::string& flag, int& width, int& height) {
        std::string text = value(flag);
        int w = 0, h = 0;
        char x = 0, extra = 0;
        if (std::sscanf(text.c_str(), "%d%c%d%c", &w, &x, &h, &extra) != 3 || x != 'x' || w <= 0 || h <= 0 || w > 4000 || h > 4000)
            throw UsageError(flag + " wants WxH in pixels, not '" + text + "'");
        width = w;
        height = h;
    };
    while (i < args.size()) {
        std::string flag = args[i++];
        if (flag == "--out") {
            options.out = value(flag);
        } else if (flag == "--script") {
            options.script = value(flag);
        } else if (flag == "--resources" && options.mode == "window") {
            options.resources = value(flag);
        } else if (flag == "--screen") {
            size(flag, options.screenWidth, options.screenHeight);
        } else if (flag == "--size" && options.mode == "control") {
            size(flag, options.width, options.height);
        } else if (flag == "--set" && options.mode == "control") {
            std::string setting = value(flag);
            std::size_t equals = setting.find('=');
            if (equals == std::string::npos || equals == 0)
                throw UsageError("--set wants KEY=VALUE, not '" + setting + "'");
            options.settings.emplace_back(setting.substr(0, equals), setting.substr(equals + 1));
        } else if (flag == "--state" && options.mode == "control") {
            options.state = value(flag);
            static const char* const states[] = {"normal", "hover", "pressed", "disabled", "latched", "default"};
            if (std::find(std::begin(states), std::end(states), options.state) == std::end(states))
                throw UsageError("unknown state '" + options.state + "'");
            if (options.kind != "gxButtons_H" && options.state != "normal")
                throw UsageError("--state is for gxButtons_H");
        } else {
            throw UsageError("unknown option '" + flag + "'");
        }
    }
    if (options.out.empty())
        throw UsageError("--out FILE.png is needed");
    if (options.mode == "control" && options.width == 0)
        throw UsageError("control needs --size WxH");
    return options;
}

// A key name of a script: the virtual key and its modifiers.
std::pair<unsigned, unsigned> ParseKey(std::string name)
{
    unsigned modifiers = 0;
    for (;;) {
        if (name.rfind("Alt+", 0) == 0) {
            modifiers |= backends::ModAlt;
            name = name.substr(4);
        } else if (name.rfind("Ctrl+", 0) == 0) {
            modifiers |= backends::ModControl;
            name = name.substr(5);
        } else if (name.rfind("Shift+", 0) == 0) {
            modifiers |= backends::ModShift;
            name = name.substr(6);
        } else {
            break;
        }
    }
    static const std::map<std::string, unsigned> named = {{"Space", VK_SPACE}, {"Return", VK_RETURN}, {"Enter", VK_RETURN},
        {"Tab", VK_TAB}, {"Escape", VK_ESCAPE}, {"Esc", VK_ESCAPE}, {"Left", VK_LEFT}, {"Right", VK_RIGHT}, {"Up", VK_UP},
        {"Down", VK_DOWN}, {"Home", VK_HOME}, {"End", VK_END}, {"Delete", VK_DELETE}, {"Back", VK_BACK},
        {"Backspace", VK_BACK}};
    if (auto it = named.find(name); it != named.end())
        return {it->second, modifiers};
    if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0])))
        return {static_cast<unsigned>(std::toupper(static_cast<unsigned char>(name[0]))), modifiers};
    if (name.size() >= 2 && name[0] == 'F') {
        int number = std::atoi(name.c_str() + 1);
        if (number >= 1 && number <= 12 && name == "F" + std::to_string(number))
            return {static_cast<unsigned>(VK_F1 + number - 1), modifiers};
    }
    throw UsageError("unknown key '" + name + "'");
}

struct Step {
    int line = 0;
    std::string verb;
    std::string rest;
};

std::vector<Step> ReadScript(const std::string& file)
{
    std::vector<Step> steps;
    if (file.empty())
        return steps;
    std::ifstream in(file);
    if (!in)
        throw UsageError("cannot read the script " + file);
    std::string text;
    int number = 0;
    static const char* const verbs[] = {"move", "down", "up", "rdown", "rup", "key", "type", "wait", "let", "design"};
    while (std::getline(in, text)) {
        ++number;
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        std::size_t start = text.find_first_not_of(" \t");
        if (start == std::string::npos || text[start] == '#')
            continue;
        text = text.substr(start);
        std::size_t space = text.find(' ');
        Step step { number, text.substr(0, space), space == std::string::npos ? "" : text.substr(space + 1) };
        if (std::find(std::begin(verbs), std::end(verbs), step.verb) == std::end(verbs))
            throw UsageError(file + ":" + std::to_string(number) + ": unknown step '" + step.verb + "'");
        if (step.verb == "key")
            ParseKey(step.rest); // refuse bad keys before anything runs
        steps.push_back(step);
    }
    return steps;
}

// A setting's value in the layout file's syntax, or a bare file name for a picture
// key, as a shell user writes it.
std::optional<forms::PropertyValue> ParseSetting(const forms::SettingLookup* table, const std::string& key,
                                                 const std::string& text)
{
    std::optional<forms::PropertyValue> value = forms::ParseLayoutValue(text);
    if (!value && table && table->TypeOf(key) == forms::SettingType::Picture)
        value = forms::PictureRef { text };
    return value;
}

// Drawn without its picture, a control would look settled when it is not.
void RefuseUnreadablePicture(const forms::PropertyValue& value, const std::string& key)
{
    if (const auto* picture = std::get_if<forms::PictureRef>(&value)) {
        std::string why;
        if (!forms::StdPicture().LoadFile(std::filesystem::current_path() / picture->file, &why))
            throw UsageError("cannot read the picture " + picture->file + " for " + key + ": " + why);
    }
}

const forms::SettingLookup* SettingsOf(const forms::Control* control)
{
    auto* user = dynamic_cast<const forms::UserControl*>(control);
    return user ? user->StoredSettingsTable() : nullptr;
}

// Sets a stored setting through its property's Let; false for a key the control does not store.
bool LetProperty(forms::Control& control, const std::string& name, const forms::PropertyValue& value)
{
    auto* user = dynamic_cast<forms::UserControl*>(&control);
    return user && user->LetStoredSetting(name, value);
}

class Renderer {
public:
    Renderer(backends::HeadlessBackend& headless, forms::Form& form, forms::Control* control)
        : m_headless(headless), m_form(form), m_control(control)
    {
    }

    // Runs the steps; a step that opens a modal loop continues from that loop's idle
    // time, so the capture shows what is on top.
    void Run(std::vector<Step> steps)
    {
        m_steps = std::move(steps);
        m_headless.SetIdleHook([this] { return NextStep(); });
        window::DoEvents();
        window::RunModalLoop([this] { return m_done; });
        if (!m_captured)
            Capture();
    }

    korvane::raster::Surface Picture() const { return m_picture; }

private:
    bool NextStep()
    {
        if (m_next >= m_steps.size()) {
            if (!m_captured)
                Capture();
            m_done = true;
            return false;
        }
        const Step& step = m_steps[m_next++];
        Execute(step);
        return true;
    }

    void Execute(const Step& step)
    {
        std::istringstream words(step.rest);
        auto fail = [&](const std::string& what) {
            throw UsageError("script line " + std::to_string(step.line) + ": " + what);
        };
        if (step.verb == "move") {
            int x = 0, y = 0;
            if (!(words >> x >> y))
                fail("move wants X Y");
            POINT point { x, y };
            ClientToScreen(m_form.hWnd(), &point);
            m_headless.MoveMouse(point.x, point.y);
        } else if (step.verb == "down" || step.verb == "up" || step.verb == "rdown" || step.verb == "rup") {
            backends::MouseButton button = step.verb[0] == 'r' ? backends::MouseButton::Right : backends::MouseButton::Left;
            if (step.verb.back() == 'n')
                m_headless.PressMouse(button);
            else
                m_headless.ReleaseMouse(button);
        } else if (step.verb == "key") {
            auto [key, modifiers] = ParseKey(step.rest);
            m_headless.TypeKey(key, modifiers);
        } else if (step.verb == "type") {
            m_headless.TypeText(step.rest);
        } else if (step.verb == "wait") {
            int ms = 0;
            if (!(words >> ms) || ms < 0)
                fail("wait wants milliseconds");
            window::AdvanceClock(static_cast<unsigned>(ms));
        } else if (step.verb == "let") {
            std::string name;
            words >> name >> std::ws;
            std::string rest;
            std::getline(words, rest);
            if (!m_control)
                fail("let needs a control");
            std::optional<forms::PropertyValue> value = ParseSetting(SettingsOf(m_control), name, rest);
            if (!value)
                fail("bad value '" + rest + "'");
            RefuseUnreadablePicture(*value, name);
            if (!LetProperty(*m_control, name, *value))
                fail(m_control->Kind() + " has no property " + name + " to let");
        } else if (step.verb == "design") {
            m_form.SetUserMode(false);
            for (forms::Control* control : m_form.Controls())
                if (auto* user = dynamic_cast<forms::UserControl*>(control))
                    user->NotifyAmbientChanged("UserMode");
        }
    }

    void Capture()
    {
        window::DoEvents();
        raster::Surface screen = window::ComposeScreen();
        RECT rect;
        GetWindowRect(m_control ? m_control->hWnd() : m_form.hWnd(), &rect);
        raster::Surface picture(rect.right - rect.left, rect.bottom - rect.top, raster::SurfaceFormat::Colour32);
        for (int y = 0; y < picture.Height(); ++y)
            for (int x = 0; x < picture.Width(); ++x) {
                int sx = rect.left + x, sy = rect.top + y;
                if (sx >= 0 && sy >= 0 && sx < screen.Width() && sy < screen.Height())
                    picture.Set(x, y, screen.At(sx, sy));
            }
        m_picture = std::move(picture);
        m_captured = true;
    }

    backends::HeadlessBackend& m_headless;
    forms::Form& m_form;
    forms::Control* m_control;
    std::vector<Step> m_steps;
    std::size_t m_next = 0;
    bool m_done = false;
    bool m_captured = false;
    raster::Surface m_picture;
};

// P6 with the header on three lines, then the rows top down as R, G, B bytes.
bool SaveSurfacePpm(const raster::Surface& surface, const std::filesystem::path& path)
{
    std::string bytes = "P6\n" + std::to_string(surface.Width()) + " " + std::to_string(surface.Height()) + "\n255\n";
    for (int y = 0; y < surface.Height(); ++y)
        for (int x = 0; x < surface.Width(); ++x) {
            const raster::PixelValue pixel = surface.At(x, y);
            bytes += static_cast<char>(pixel >> 16 & 0xFF);
            bytes += static_cast<char>(pixel >> 8 & 0xFF);
            bytes += static_cast<char>(pixel & 0xFF);
        }
    std::ofstream out(path, std::ios::binary);
    return out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) && out.flush();
}

forms::LayoutNode ControlForm(const Options& options)
{
    forms::LayoutNode form;
    form.kind = "Form";
    form.name = "frmRender";
    // Room for a slanted button to widen itself: it grows until its face beside the
    // slant (height + 1) is 5 pixels wide.
    const int room = std::max(options.width, options.height + 10);
    form.settings.Set("ClientWidth", std::int64_t { room * forms::kTwipsPerPixel });
    form.settings.Set("ClientHeight", std::int64_t { options.height * forms::kTwipsPerPixel });
    form.settings.Set("BackColor", std::int64_t { gdi::SystemColour(COLOR_BTNFACE) });
    forms::LayoutNode control;
    control.kind = options.kind;
    control.name = "Control1";
    control.settings.Set("Width", std::int64_t { options.width * forms::kTwipsPerPixel });
    control.settings.Set("Height", std::int64_t { options.height * forms::kTwipsPerPixel });
    // The kind's table, from a control made only to be asked.
    const std::unique_ptr<forms::Control> probe = forms::ControlRegistry::Make(options.kind);
    for (const auto& [key, text] : options.settings) {
        std::optional<forms::PropertyValue> value = ParseSetting(SettingsOf(probe.get()), key, text);
        if (!value)
            throw UsageError("bad value for " + key + ": '" + text + "'");
        if (control.settings.Contains(key))
            throw UsageError(key + " is set twice");
        RefuseUnreadablePicture(*value, key);
        control.settings.Set(key, *value);
    }
    if (options.state == "disabled")
        control.settings.Set("Enabled", false);
    if (options.state == "latched") {
        control.settings.Set("Mode", std::int64_t { 1 });
        control.settings.Set("Value", true);
    }
    if (options.state == "default")
        control.settings.Set("Default", true);
    form.children.push_back(std::move(control));
    return form;
}

int Render(const Options& options)
{
    std::vector<Step> steps = ReadScript(options.script);
    auto backend = std::make_unique<backends::HeadlessBackend>(options.screenWidth, options.screenHeight);
    backends::HeadlessBackend& headless = *backend;
    window::UseBackend(std::move(backend));
    // A rendering never opens a browser.
    forms::SetShellLauncher([](const std::string&, int) {});
    raster::Surface picture;
    {
        frmKorvane mainWindow;
        forms::Form controlForm;
        forms::Control* control = nullptr;
        forms::Form* form = &mainWindow;
        std::string error;
        if (options.mode == "window") {
            if (!StartKorvane(mainWindow, options.resources, error))
                throw UsageError(error);
            if (!mainWindow.PictureProblems().empty())
                throw UsageError(mainWindow.PictureProblems().front());
        } else {
            forms::RegisterPlainControls();
            RegisterGxButtons_H();
            RegisterXP_ProgressBar();
            RegisterTarvosXPText();
            forms::LayoutNode layout = ControlForm(options);
            if (!controlForm.Load(layout, std::filesystem::current_path(), error))
                throw UsageError(error);
            control = controlForm.Find("Control1");
            const forms::PropertyBag& given = layout.children.front().settings;
            for (const auto& [key, text] : options.settings)
                if (!given.WasRead(key))
                    throw UsageError(options.kind + " has no setting " + key);
            controlForm.Show();
            form = &controlForm;
            auto* button = dynamic_cast<gxButtons_H*>(control);
            // A button with the focus would show the default look in every state.
            if (button)
                SetFocus(controlForm.hWnd());
            if (button && (options.state == "hover" || options.state == "pressed")) {
                RECT rect;
                GetWindowRect(control->hWnd(), &rect);
                headless.MoveMouse((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
                button->ShowHover(true);
                if (options.state == "pressed") {
                    headless.PressMouse();
                    // The press gives the button the focus, and with it the default
                    // look, which this state leaves out.
                    window::DoEvents();
                    button->SetDisplayAsDefault(false);
                }
            }
            if (button && options.state == "default")
                button->NotifyAmbientChanged("DisplayAsDefault");
        }
        Renderer renderer(headless, *form, control);
        renderer.Run(steps);
        picture = renderer.Picture();
        headless.SetIdleHook(nullptr);
    }
    window::ResetWindowSystem();
    const bool ppm = std::filesystem::path(options.out).extension() == ".ppm";
    if (!(ppm ? SaveSurfacePpm(picture, options.out) : backends::SaveSurfacePng(picture, options.out))) {
        std::fprintf(stderr, "korvane-render: cannot write %s\n", options.out.c_str());
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
        std::fputs(kHelp, stdout);
        return 0;
    }
    try {
        return Render(ParseArguments(argc, argv));
    } catch (const UsageError& error) {
        std::fprintf(stderr, "korvane-render: %s\n", error.what());
        return 2;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "korvane-render: %s\n", error.what());
        return 1;
    }
}
