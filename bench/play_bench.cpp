// What a play tick costs with its view, in the largest cave, beside a plain
// copy of the 272 by 272 view (our bar is three such copies), and what it
// costs headless, without the view.
#include <benchmark/benchmark.h>
#include <cstring>

#include "bench/tick_loop.h"
#include "core/null_shell.h"
#include "play/game.h"
#include "tests/support/build_assets.h"

namespace {

// The walk of tick_loop.h; the counter reports ticks per second.
void WalkTheCave(benchmark::State& state, const Assets& art)
{
    NullShell shell;
    Game game(art, shell);
    StartTheWalk(game);
    int k = 0;
    for (auto _ : state) WalkTick(game, k++);
    state.counters["ticks"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_PlayTickWalking(benchmark::State& state) { WalkTheCave(state, BuildTreeAssets()); }
BENCHMARK(BM_PlayTickWalking);

// The same tick with no pictures, as the automatic player and the simulator
// play it: the view is not drawn.
void BM_PlayTickWalkingHeadless(benchmark::State& state)
{
    static const Assets noPictures;
    WalkTheCave(state, noPictures);
}
BENCHMARK(BM_PlayTickWalkingHeadless);

void BM_MemcpyOfTheView(benchmark::State& state)
{
    Surface a(272, 272, PixelFormat::Rgb32), b(272, 272, PixelFormat::Rgb32);
    for (auto _ : state) {
        std::memcpy(b.Bits(), a.Bits(), std::size_t(a.Stride()) * a.Height());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MemcpyOfTheView);

}  // namespace

BENCHMARK_MAIN();
