// The progress bar's repaint cost: DrawProgressBar (paint into the buffer, copy it
// to the control and present) for each style on the main window's 329 x 22 bar,
// the repair's loop of 2001 Value assignments, and a memset of the bar's bytes.
//
// Goals: every style within 4 us a repaint, the smooth style within 2.5 us, the
// 2001 steps within 5 ms.

#include "controls/progress_bar/XP_ProgressBar.h"

#include "host/backends/headless/HeadlessBackend.h"
#include "host/forms/Form.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

using namespace korvane;

namespace {

constexpr const char* kLayout = R"(Form frmBench
    ClientWidth = 6000
    ClientHeight = 3000
    Begin XP_ProgressBar XP_ProgressBar1
        Left = 120
        Top = 1800
        Width = 4935
        Height = 330
        BrushStyle = 0
        Color = &H0000C000&
        Scrolling = 1
    End
End
)";

// A shown form holding the bar, on the headless backend.
class BenchForm {
public:
    BenchForm()
    {
        window::UseBackend(std::make_unique<backends::HeadlessBackend>());
        RegisterXP_ProgressBar();
        forms::LayoutParseResult parsed = forms::ParseLayout(kLayout);
        std::string error;
        m_form.Load(*parsed.form, {}, error);
        m_form.Show();
    }
    ~BenchForm()
    {
        m_form.Unload();
        window::ResetWindowSystem();
    }
    BenchForm(const BenchForm&) = delete;
    BenchForm& operator=(const BenchForm&) = delete;

    XP_ProgressBar& Bar() { return *m_form.Get<XP_ProgressBar>("XP_ProgressBar1"); }

private:
    forms::Form m_form;
};

void BM_DrawProgressBar(benchmark::State& state)
{
    BenchForm form;
    XP_ProgressBar& bar = form.Bar();
    bar.LetScrolling(static_cast<std::int32_t>(state.range(0)));
    bar.LetValue(45);
    bar.LetShowText(state.range(1) != 0);
    for (auto _ : state)
        bar.DrawProgressBar();
    state.SetLabel(state.range(1) ? "caption" : "no caption");
}
BENCHMARK(BM_DrawProgressBar)->ArgsProduct({ benchmark::CreateDenseRange(0, 8, 1), { 0, 1 } });

void BM_RepairLoop(benchmark::State& state)
{
    BenchForm form;
    XP_ProgressBar& bar = form.Bar();
    bar.LetMax(2000);
    for (auto _ : state) {
        for (std::int32_t i = 0; i <= 2000; ++i)
            bar.LetValue(i);
    }
    state.SetItemsProcessed(state.iterations() * 2001);
}
BENCHMARK(BM_RepairLoop)->Unit(benchmark::kMillisecond);

// The floor of any repaint: a memset of the bar's pixel bytes.
void BM_MemsetBarBytes(benchmark::State& state)
{
    constexpr std::size_t kBarBytes = 329 * 22 * 4;
    std::vector<unsigned char> pixels(kBarBytes);
    for (auto _ : state) {
        std::memset(pixels.data(), static_cast<int>(state.iterations() & 0xFF), pixels.size());
        benchmark::DoNotOptimize(pixels.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MemsetBarBytes);

} // namespace
