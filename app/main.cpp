// Korvane's start: the main window is the start-up object; the program ends when
// it is unloaded and the running handler has returned. Arguments are for the
// terminal and open no window.

#include "app/CommandLine.h"
#include "app/frmKorvane.h"
#include "host/backends/sdl/SdlBackend.h"
#include "host/forms/HostServices.h"
#include "host/forms/controls/TextBox.h"
#include "host/window/WindowSystem.h"

#include <cstdio>
#include <iostream>

int main(int argc, char** argv)
{
    if (argc > 1)
        return korvane::RunCommandLine(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
    std::unique_ptr<korvane::backends::SdlBackend> backend = korvane::backends::SdlBackend::Create();
    if (!backend) {
        std::fprintf(stderr, "korvane: no display is available to open the window on\n");
        return 1;
    }
    korvane::window::UseBackend(std::move(backend));
    korvane::forms::SetClipboardFunctions(
        { &korvane::backends::SdlBackend::ClipboardText, &korvane::backends::SdlBackend::SetClipboardText });
    int exitCode = 0;
    {
        korvane::frmKorvane form;
        std::string error;
        if (!korvane::StartKorvane(form, korvane::ResourceFolder(KORVANE_SOURCE_RESOURCES).string(), error)) {
            std::fprintf(stderr, "korvane: %s\n", error.c_str());
            exitCode = 1;
        } else {
            // The window works without a picture, so it goes on, but not silently.
            for (const std::string& problem : form.PictureProblems())
                std::fprintf(stderr, "korvane: %s\n", problem.c_str());
            exitCode = korvane::window::RunMessageLoop();
        }
    }
    korvane::window::ResetWindowSystem();
    return exitCode;
}
