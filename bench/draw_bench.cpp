// What drawing costs: one cell, a whole view of 18 by 18 cells, beside a plain
// copy of the 272 by 272 view as the yardstick.
#include <benchmark/benchmark.h>
#include <cstring>

#include "gfx/draw.h"
#include "tests/support/build_assets.h"

namespace {


PixelFormat FormatOf(const benchmark::State& state) { return state.range(0) ? PixelFormat::Indexed8 : PixelFormat::Rgb32; }

void BM_DrawCell(benchmark::State& state)
{
    Surface view(272, 272, FormatOf(state));
    int cell = 64;
    for (auto _ : state) {
        DrawCell(BuildTreeAssets(), view, 124, 120, cell);
        cell = cell == 111 ? 64 : cell + 1;
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawCell)->Arg(0)->Arg(1)->ArgName("indexed");

void BM_ViewOf18By18Cells(benchmark::State& state)
{
    Surface view(272, 272, FormatOf(state));
    int shift = 0;
    for (auto _ : state) {
        for (int i = -8; i <= 9; ++i)
            for (int j = -8; j <= 9; ++j) DrawCell(BuildTreeAssets(), view, j * 16 + 128 - shift, i * 16 + 128 - shift, 64 + ((i * 7 + j) & 31));
        shift = (shift + 4) & 15;
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ViewOf18By18Cells)->Arg(0)->Arg(1)->ArgName("indexed");

void BM_SpriteDraw(benchmark::State& state)
{
    Surface view(272, 272, FormatOf(state));
    for (auto _ : state) {
        DrawSprite(BuildTreeAssets(), view, 128, 128, 3);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_SpriteDraw)->Arg(0)->Arg(1)->ArgName("indexed");

void BM_MemcpyOfTheView(benchmark::State& state)
{
    Surface a(272, 272, FormatOf(state)), b(272, 272, FormatOf(state));
    for (auto _ : state) {
        std::memcpy(b.Bits(), a.Bits(), std::size_t(a.Stride()) * a.Height());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MemcpyOfTheView)->Arg(0)->Arg(1)->ArgName("indexed");

}  // namespace

BENCHMARK_MAIN();
