#pragma once

// What MsgBox shows, for tests and headless scripts that must find the box and
// press its buttons: the box's window, its text and the buttons' places.

#include "host/gdi/WinTypes.h"

#include <optional>
#include <string>
#include <vector>

namespace korvane::forms {

struct MessageBoxButton {
    int result = 0;      // vbOK or vbCancel
    std::string caption;
    RECT rect {};        // client coordinates of the box's window
};

struct MessageBoxInfo {
    HWND hwnd = nullptr; // gone once the box is dismissed
    std::string prompt;
    int style = 0;
    std::string title;   // the caption shown, "Korvane" for an empty title
    HWND owner = nullptr;
    std::vector<MessageBoxButton> buttons; // left to right
    std::optional<int> result;             // set when dismissed
};

// The box waiting for an answer right now (the innermost one), if any.
std::optional<MessageBoxInfo> ActiveMessageBox();
// The most recent box shown, dismissed or not; nothing before the first.
std::optional<MessageBoxInfo> LastMessageBox();
void ForgetLastMessageBox();

// The centre of a button in screen coordinates, where a scripted click goes.
POINT MessageBoxButtonCentre(const MessageBoxInfo& box, std::size_t button);

} // namespace korvane::forms
