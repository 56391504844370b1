// The button's redraw as the program runs it: RedrawButton paints the back buffer,
// copies it to the control and has the host show it, headless. Each case stands
// beside a memset of the same number of pixel bytes, the floor of any repaint.
//
// Goals: the main window's element 0 within 15 us without its caption and 20 us
// with it; a plain style-0 button within 1 us; style 2 within 4 us; a gradient
// within 8 us.

#include "controls/button/gxButtons_H.h"

#include "host/backends/headless/HeadlessBackend.h"
#include "host/forms/Form.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

using namespace korvane;

namespace {

struct Case {
    const char* name;
    int width;
    int height;
    const char* settings; // layout lines of the button
};

// The main window's element 0 is the first two; the others are the plain looks.
const Case kCases[] = {
    { "element 0", 184, 25,
      "        Shape = 2\n        BackStyle = 2\n        Gradient = 2\n        cGradient = &H00000000&\n"
      "        cFore = &H000000FF&\n        cFHover = &H000000FF&\n        cBhover = &H00000000&\n"
      "        CapStyle = 2\n        Font = Font(\"宋体\", 9, 400, 134, False, False, False)\n" },
    { "element 0 with caption", 184, 25,
      "        Caption = \"ODBC数据源管理器(&E)\"\n        Shape = 2\n        BackStyle = 2\n        Gradient = 2\n"
      "        cGradient = &H00000000&\n        cFore = &H000000FF&\n        cFHover = &H000000FF&\n"
      "        cBhover = &H00000000&\n        CapStyle = 2\n"
      "        Font = Font(\"宋体\", 9, 400, 134, False, False, False)\n" },
    { "style 0", 75, 23, "" },
    { "style 2", 75, 23, "        BackStyle = 2\n" },
    { "gradient", 100, 30, "        Gradient = 1\n        cGradient = &H00FF8000&\n        cBhover = &H00FF8000&\n" },
};

// A shown form holding one button, on the headless backend.
class BenchForm {
public:
    explicit BenchForm(const Case& c)
    {
        window::UseBackend(std::make_unique<backends::HeadlessBackend>());
        RegisterGxButtons_H();
        const std::string text = "Form frmBench\n    ClientWidth = 6000\n    ClientHeight = 3000\n"
                                 "    Begin gxButtons_H cmdBench\n        Width = "
            + std::to_string(c.width * forms::kTwipsPerPixel) + "\n        Height = "
            + std::to_string(c.height * forms::kTwipsPerPixel) + "\n" + c.settings + "    End\nEnd\n";
        forms::LayoutParseResult parsed = forms::ParseLayout(text);
        std::string error;
        m_form.Load(*parsed.form, {}, error);
        m_form.Show();
        // At rest, as the main window's buttons mostly are: without the focus, so
        // without the default look.
        SetFocus(m_form.hWnd());
        window::DoEvents();
    }
    ~BenchForm()
    {
        m_form.Unload();
        window::ResetWindowSystem();
    }
    BenchForm(const BenchForm&) = delete;
    BenchForm& operator=(const BenchForm&) = delete;

    gxButtons_H& Button() { return *m_form.Get<gxButtons_H>("cmdBench"); }

private:
    forms::Form m_form;
};

void BM_RedrawButton(benchmark::State& state)
{
    const Case& c = kCases[state.range(0)];
    BenchForm form(c);
    gxButtons_H& button = form.Button();
    for (auto _ : state)
        button.RedrawButton();
    state.SetLabel(c.name);
}
BENCHMARK(BM_RedrawButton)->DenseRange(0, std::size(kCases) - 1)->Unit(benchmark::kMicrosecond);

void BM_MemsetSameBytes(benchmark::State& state)
{
    const Case& c = kCases[state.range(0)];
    std::vector<unsigned char> pixels(static_cast<std::size_t>(c.width * c.height * 4));
    for (auto _ : state) {
        std::memset(pixels.data(), static_cast<int>(state.iterations() & 0xFF), pixels.size());
        benchmark::DoNotOptimize(pixels.data());
        benchmark::ClobberMemory();
    }
    state.SetLabel(c.name);
}
BENCHMARK(BM_MemsetSameBytes)->DenseRange(0, std::size(kCases) - 1)->Unit(benchmark::kMicrosecond);

} // namespace
