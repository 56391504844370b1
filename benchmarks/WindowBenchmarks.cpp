// Start-up of a small form to its first presented frame on the headless backend;
// the goal is well under 250 ms (the "goal_ms" counter), reported per run.

#include "host/backends/headless/HeadlessBackend.h"
#include "host/gdi/Gdi.h"
#include "host/window/WindowSystem.h"

#include <benchmark/benchmark.h>

using namespace korvane;

namespace {

void Fill(HWND hwnd, COLORREF colour)
{
    RECT rect;
    GetClientRect(hwnd, &rect);
    HDC dc = window::GetWindowDC(hwnd);
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
    ReleaseDC(hwnd, dc);
}

// A form as the set-up dialog looks: a caption strip, two fields and two buttons.
void FormStartUpToFirstFrame(benchmark::State& state)
{
    for (auto _ : state) {
        auto owned = std::make_unique<backends::HeadlessBackend>(1024, 768);
        backends::HeadlessBackend* headless = owned.get();
        window::UseBackend(std::move(owned));

        window::WindowCreateInfo info;
        info.rect = { 100, 100, 100 + 480, 100 + 320 };
        info.title = "Data source";
        HWND form = window::CreateHostWindow(info);
        Fill(form, RGB(236, 233, 216));
        const raster::IntRect children[] = { { 0, 0, 480, 40 }, { 20, 60, 460, 84 }, { 20, 100, 460, 124 },
                                             { 260, 270, 350, 300 }, { 370, 270, 460, 300 } };
        COLORREF colour = RGB(255, 255, 255);
        for (const raster::IntRect& rect : children) {
            window::WindowCreateInfo child;
            child.parent = form;
            child.rect = rect;
            Fill(window::CreateHostWindow(child), colour);
            colour -= RGB(16, 16, 16);
        }
        window::DoEvents();
        if (headless->PresentCount(form) == 0)
            state.SkipWithError("the form never presented a frame");
        benchmark::DoNotOptimize(headless->Frame(form));
        window::ResetWindowSystem();
    }
    state.counters["goal_ms"] = 250;
}
BENCHMARK(FormStartUpToFirstFrame)->Unit(benchmark::kMillisecond);

// A control repainting part of a form in a tight loop: one compose and present per step.
void RepaintStep(benchmark::State& state)
{
    window::UseBackend(std::make_unique<backends::HeadlessBackend>(1024, 768));
    window::WindowCreateInfo info;
    info.rect = { 0, 0, 480, 320 };
    HWND form = window::CreateHostWindow(info);
    window::WindowCreateInfo bar;
    bar.parent = form;
    bar.rect = { 20, 140, 460, 160 };
    HWND progress = window::CreateHostWindow(bar);
    window::DoEvents();
    BYTE level = 0;
    for (auto _ : state) {
        Fill(progress, RGB(0, level++, 0));
        window::PresentWindow(progress, raster::IntRect { 0, 0, 440, 20 });
    }
    window::ResetWindowSystem();
}
BENCHMARK(RepaintStep)->Unit(benchmark::kMicrosecond);

} // namespace
