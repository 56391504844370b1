#pragma once

// A form on the headless backend, driven as a person would: the mouse on controls
// named as the layout names them, keys, typed text and a virtual clock. Events that
// controls raise are recorded in order; message boxes are answered by script; shell
// launches are recorded instead of run. Every test ends by proving that no window is
// left once the form is unloaded and that no GDI object outlives the form.

#include "host/backends/headless/HeadlessBackend.h"
#include "host/forms/Form.h"
#include "host/forms/MessageBox.h"
#include "host/window/WindowSystem.h"
#include "tests/support/GoldenImage.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace korvane::testing {

using EventList = std::vector<std::string>;
using Settings = std::vector<std::string>; // layout lines, "Key = value" each
using Launch = std::pair<std::string, int>; // a shell command line and its window style
// One move of the person in front of a message box; it queues the input that answers it.
using BoxStep = std::function<void(const forms::MessageBoxInfo&)>;

// A layout block: `kind` `name` at `pixels` (left, top, width, height), its settings, then `inner` blocks.
std::string ControlBlock(std::string_view kind, std::string_view name, RECT pixels, const Settings& settings = {},
    const std::string& inner = "");
// A layout of a form `width` by `height` pixels with its own settings, holding `blocks`.
std::string FormLayout(const std::string& blocks, const Settings& formSettings = {}, int width = 200, int height = 100);

// What one stored key of a control writes after it was read from `stored`, or from nothing.
template <typename ControlType>
forms::PropertyValue ReadAndWrite(ControlType& control, std::string_view key, const forms::PropertyValue* stored)
{
    forms::PropertyBag in, out;
    if (stored)
        in.Set(key, *stored);
    const std::string_view order[] = { key };
    ControlType::Settings().Read(control, in, order);
    ControlType::Settings().Write(control, out, order);
    return out.ReadProperty(key);
}

class FormFixture : public ::testing::Test {
protected:
    // The headless backend on a 1024 x 768 screen, the plain controls registered.
    FormFixture();
    ~FormFixture() override;
    // Unloads the form, then checks that no window and no GDI object is left. A test
    // that overrides it calls it last.
    void TearDown() override;

    // Loads the layout, shows the form and runs what that causes. Pictures the layout
    // names are looked up in ResourceFolder().
    template <typename FormType = forms::Form>
    FormType& Load(std::string_view layoutText)
    {
        auto form = std::make_unique<FormType>();
        FormType& loaded = *form;
        LoadText(std::move(form), layoutText);
        return loaded;
    }
    // Takes a form the test loaded itself (a program's own start-up, say).
    template <typename FormType>
    FormType& Adopt(std::unique_ptr<FormType> form)
    {
        FormType& adopted = *form;
        Keep(std::move(form));
        return adopted;
    }
    // A folder of this test's own for pictures and files; removed afterwards.
    const std::filesystem::path& ResourceFolder();

    forms::Form& TheForm() const;
    HWND FormWindow() const { return TheForm().hWnd(); }
    // A control by name (and control-array index); the test fails when there is none.
    template <typename ControlType = forms::Control>
    ControlType& Get(std::string_view name, std::optional<int> index = std::nullopt) const
    {
        auto* control = dynamic_cast<ControlType*>(TheForm().Find(name, index));
        if (!control)
            throw std::runtime_error("the form has no control " + std::string(name)
                + (index ? "(" + std::to_string(*index) + ")" : "") + " of that kind");
        return *control;
    }
    // The display name of the control that has the focus ("cmdGo", "txt(2)"), else "".
    std::string Focused() const;

    // Screen points: a control's centre, a point of its client area, a form point.
    POINT Centre(std::string_view name, std::optional<int> index = std::nullopt) const { return Centre(Get(name, index)); }
    static POINT Centre(const forms::Control& control) { return Centre(control.hWnd()); }
    static POINT Centre(HWND hwnd);
    POINT At(std::string_view name, int x, int y) const { return At(Get(name), x, y); }
    static POINT At(const forms::Control& control, int x, int y) { return ToScreen(control.hWnd(), x, y); }
    POINT OnForm(int x, int y) const { return ToScreen(FormWindow(), x, y); }

    // The mouse; a name means the control's centre. Each call runs what it causes.
    void Move(POINT at) { Feed(&backends::HeadlessBackend::MoveMouse, at.x, at.y); }
    void Move(std::string_view name, std::optional<int> index = std::nullopt) { Move(Centre(name, index)); }
    void Press(POINT at, backends::MouseButton button = backends::MouseButton::Left)
    {
        m_headless->MoveMouse(at.x, at.y);
        Feed(&backends::HeadlessBackend::PressMouse, button);
    }
    void Press(std::string_view name, std::optional<int> index = std::nullopt) { Press(Centre(name, index)); }
    void Release(POINT at, backends::MouseButton button = backends::MouseButton::Left)
    {
        m_headless->MoveMouse(at.x, at.y);
        Feed(&backends::HeadlessBackend::ReleaseMouse, button);
    }
    void Release(std::string_view name, std::optional<int> index = std::nullopt) { Release(Centre(name, index)); }
    void Click(POINT at)
    {
        Press(at);
        Release(at);
    }
    void Click(std::string_view name, std::optional<int> index = std::nullopt) { Click(Centre(name, index)); }
    // The pointer leaves the program's windows.
    void Leave() { Feed(&backends::HeadlessBackend::LeaveWindows); }

    // The keyboard: a whole key stroke, or its halves to hold a key.
    void Key(unsigned virtualKey, unsigned modifiers = 0) { Feed(&backends::HeadlessBackend::TypeKey, virtualKey, modifiers); }
    void KeyDown(unsigned virtualKey, unsigned modifiers = 0) { Feed(&backends::HeadlessBackend::PressKey, virtualKey, modifiers); }
    void KeyUp(unsigned virtualKey, unsigned modifiers = 0) { Feed(&backends::HeadlessBackend::ReleaseKey, virtualKey, modifiers); }
    void Type(const std::string& utf8) { Feed(&backends::HeadlessBackend::TypeText, utf8); }
    // Moves the virtual clock, firing the timers that fall due on the way.
    void Advance(unsigned ms) { window::AdvanceClock(ms); }

    // The form as the user sees it, or one control's rectangle of it.
    raster::Surface Capture() const { return window::ComposeTopLevel(FormWindow()); }
    raster::Surface Capture(std::string_view name, std::optional<int> index = std::nullopt) const
    {
        return Capture(Get(name, index));
    }
    static raster::Surface Capture(const forms::Control& control);

    // Records each raise of `event` as `name`, with its arguments ("txt.KeyDown(65, 0)"),
    // then calls the handler it had.
    template <typename... Args>
    void Record(std::function<void(Args...)>& event, std::string name)
    {
        event = [this, name = std::move(name), previous = std::move(event)](Args... args) {
            std::ostringstream entry;
            entry << name;
            if constexpr (sizeof...(Args) > 0) {
                const char* separator = "(";
                ((entry << separator << args, separator = ", "), ...);
                entry << ")";
            }
            m_events.push_back(entry.str());
            if (previous)
                previous(std::forward<Args>(args)...);
        };
    }
    // The events recorded since the last call, oldest first.
    EventList TakeEvents() { return std::exchange(m_events, {}); }

    // Scripts the person in front of message boxes: whenever a modal loop would wait
    // while a box is shown, the next step runs. Without steps left the loop gets no
    // input and the box answers OK by itself.
    void ScriptMessageBoxes(std::vector<BoxStep> steps);
    BoxStep Answer(unsigned virtualKey);
    std::size_t MessageBoxStepsLeft() const { return m_boxSteps.size(); }
    // Every box shown while a script was set, as first seen.
    const std::vector<forms::MessageBoxInfo>& MessageBoxesShown() const { return m_boxesShown; }

    const std::vector<Launch>& Launches() const { return m_launches; }
    // GDI objects alive now, of every kind.
    static std::size_t LiveGdiObjects();
    backends::HeadlessBackend& Headless() const { return *m_headless; }

private:
    // Hands one input to the backend, then runs what it causes.
    template <typename... Params, typename... Args>
    void Feed(void (backends::HeadlessBackend::*input)(Params...), Args&&... args)
    {
        (m_headless->*input)(std::forward<Args>(args)...);
        window::DoEvents();
    }
    static POINT ToScreen(HWND hwnd, int x, int y);
    void LoadText(std::unique_ptr<forms::Form> form, std::string_view layoutText);
    void Keep(std::unique_ptr<forms::Form> form);

    backends::HeadlessBackend* m_headless = nullptr;
    std::size_t m_gdiObjects = 0;
    std::unique_ptr<forms::Form> m_form;
    std::filesystem::path m_resources;
    EventList m_events;
    std::vector<BoxStep> m_boxSteps;
    std::vector<forms::MessageBoxInfo> m_boxesShown;
    std::vector<Launch> m_launches;
};

} // namespace korvane::testing
