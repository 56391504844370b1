#pragma once

// The host's services to the program: the screen's pointer and size, the
// application folder, the modal message box and the shell launch.

#include "host/gdi/WinTypes.h"

#include <filesystem>
#include <functional>
#include <string>

namespace korvane::forms {

namespace Screen {
// The pointer for every window of the program: 11 hourglass, 0 each window's own.
int MousePointer();
void SetMousePointer(int pointer);
int Width();  // twips
int Height(); // twips
int TwipsPerPixelX();
int TwipsPerPixelY();
} // namespace Screen

namespace App {
// The folder of the running program, without a trailing separator except at the
// root of the file system ("/").
std::filesystem::path Path();
std::string PathText();
} // namespace App

// Message box styles and results, as the host numbers them.
enum MsgBoxStyle : int {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
};
enum MsgBoxResult : int { vbOK = 1, vbCancel = 2 };

// Shows a modal message box over the active window (or `owner`), disabled meanwhile,
// and returns when it is dismissed. An empty title shows the program's name.
int MsgBox(const std::string& prompt, int style = vbOKOnly, const std::string& title = "", HWND owner = nullptr);

// Window styles of Shell.
enum AppWinStyle : int { vbHide = 0, vbNormalFocus = 1, vbMinimizedFocus = 2, vbMaximizedFocus = 3, vbNormalNoFocus = 4, vbMinimizedNoFocus = 6 };

// Starts the command line and returns at once; a failure to start is ignored.
// "explorer <address>" opens the address in the user's browser.
void Shell(const std::string& commandLine, int windowStyle);

// Replaces what Shell starts programs with, so tests can record launches
// instead of opening a browser; an empty function restores the real launcher.
using ShellLauncher = std::function<void(const std::string& commandLine, int windowStyle)>;
void SetShellLauncher(ShellLauncher launcher);

} // namespace korvane::forms
