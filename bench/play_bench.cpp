// What a play tick costs with its view, in the largest cave, beside a plain
// copy of the 272 by 272 view (our bar is three such copies), what it costs
// headless, without the view, and with a race's shadow beside it.
#include <benchmark/benchmark.h>
#include <cstring>

#include "bench/tick_loop.h"
#include "play/game.h"
#include "screens/race.h"
#include "tests/support/build_assets.h"

namespace {

// The walk of tick_loop.h; the counter reports ticks per second.
void WalkTheCave(benchmark::State& state, const Assets& art)
{
    Game game(art);
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

// The walk raced against a recording of the same walk a hundred ticks ahead:
// the shadow's tick and its figure or mark over the view, after each tick.
void BM_PlayTickWalkingRacing(benchmark::State& state)
{
    Game ahead(BuildTreeAssets());
    StartTheWalk(ahead);
    const std::uint32_t randomState = ahead.state.RandomState;
    for (int k = 0; k < 20000; ++k) WalkTick(ahead, k + 100);
    RunFile run;
    run.header.settings = ahead.settings;
    run.header.ticks = 20000;
    run.randomState = randomState;
    run.inputs.assign(ahead.state.ReplayBuffer.begin() + 16, ahead.state.ReplayBuffer.begin() + 16 + 20000);

    Game game(BuildTreeAssets());
    StartTheWalk(game);
    Race race(std::move(run));
    race.Begin();
    int k = 0;
    for (auto _ : state) {
        WalkTick(game, k++);
        race.Tick();
        race.Draw(game);
        if (k == 20000) {
            k = 0;
            race.Begin();
        }
    }
    state.counters["ticks"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PlayTickWalkingRacing);

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
