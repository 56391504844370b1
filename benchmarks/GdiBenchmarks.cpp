// The facade's hot paths beside the memory operations they should approach:
// solid FillRect and same-format SRCCOPY BitBlt against memset/memcpy of the same bytes
// (goal: within 1.5x), Rectangle, and a pen created, used for 100 pixels and deleted
// (goal: 0.2 us). Areas are a caption-sized 329x22 and a button-sized 184x25.

#include "host/gdi/Gdi.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

struct Canvas {
    Canvas(int width, int height)
    {
        dc = CreateCompatibleDC(nullptr);
        BITMAPINFO info {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, nullptr, nullptr, 0);
        old = SelectObject(dc, bitmap);
    }
    ~Canvas()
    {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
};

void BM_FillRectSolid(benchmark::State& state)
{
    int w = static_cast<int>(state.range(0));
    int h = static_cast<int>(state.range(1));
    Canvas canvas(w, h);
    HBRUSH brush = CreateSolidBrush(RGB(236, 233, 216));
    RECT r { 0, 0, w, h };
    for (auto _ : state)
        benchmark::DoNotOptimize(FillRect(canvas.dc, &r, brush));
    state.SetBytesProcessed(state.iterations() * w * h * 4);
    DeleteObject(brush);
}

// A single pixel: what every FillRect pays before it writes anything.
void BM_FillRectFixedCost(benchmark::State& state)
{
    Canvas canvas(8, 8);
    HBRUSH brush = CreateSolidBrush(RGB(236, 233, 216));
    RECT r { 3, 3, 4, 4 };
    for (auto _ : state)
        benchmark::DoNotOptimize(FillRect(canvas.dc, &r, brush));
    DeleteObject(brush);
}

void BM_MemsetSameBytes(benchmark::State& state)
{
    std::size_t bytes = static_cast<std::size_t>(state.range(0) * state.range(1) * 4);
    std::vector<unsigned char> buffer(bytes);
    for (auto _ : state) {
        std::memset(buffer.data(), static_cast<int>(state.iterations() & 0xFF), bytes);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<long long>(bytes));
}

void BM_BitBltSrcCopy(benchmark::State& state)
{
    int w = static_cast<int>(state.range(0));
    int h = static_cast<int>(state.range(1));
    Canvas source(w, h);
    Canvas dest(w, h);
    for (auto _ : state)
        benchmark::DoNotOptimize(BitBlt(dest.dc, 0, 0, w, h, source.dc, 0, 0, SRCCOPY));
    state.SetBytesProcessed(state.iterations() * w * h * 4);
}

void BM_MemcpySameBytes(benchmark::State& state)
{
    std::size_t bytes = static_cast<std::size_t>(state.range(0) * state.range(1) * 4);
    std::vector<unsigned char> from(bytes, 1);
    std::vector<unsigned char> to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<long long>(bytes));
}

void BM_Rectangle(benchmark::State& state)
{
    int w = static_cast<int>(state.range(0));
    int h = static_cast<int>(state.range(1));
    Canvas canvas(w, h);
    HBRUSH brush = CreateSolidBrush(RGB(255, 255, 255));
    HGDIOBJ old = SelectObject(canvas.dc, brush);
    for (auto _ : state)
        benchmark::DoNotOptimize(Rectangle(canvas.dc, 0, 0, w, h));
    SelectObject(canvas.dc, old);
    DeleteObject(brush);
}

void BM_PenCreateLineDelete(benchmark::State& state)
{
    Canvas canvas(128, 8);
    for (auto _ : state) {
        HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 128));
        HGDIOBJ old = SelectObject(canvas.dc, pen);
        MoveToEx(canvas.dc, 2, 3, nullptr);
        LineTo(canvas.dc, 102, 3);
        SelectObject(canvas.dc, old);
        DeleteObject(pen);
    }
}

void Areas(benchmark::internal::Benchmark* b)
{
    b->Args({ 329, 22 })->Args({ 184, 25 });
}

}

BENCHMARK(BM_FillRectSolid)->Apply(Areas);
BENCHMARK(BM_FillRectFixedCost);
BENCHMARK(BM_MemsetSameBytes)->Apply(Areas);
BENCHMARK(BM_BitBltSrcCopy)->Apply(Areas);
BENCHMARK(BM_MemcpySameBytes)->Apply(Areas);
BENCHMARK(BM_Rectangle)->Apply(Areas);
BENCHMARK(BM_PenCreateLineDelete);
