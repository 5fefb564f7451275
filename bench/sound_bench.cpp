// What sound costs: making every sound of the game at start, and finding a
// tick's sounds from the state before and after it, beside the tick itself.
#include <benchmark/benchmark.h>

#include "bench/tick_loop.h"
#include "gfx/assets.h"
#include "play/game.h"
#include "screens/sound_cues.h"
#include "sound/sound_bank.h"
#include "tests/support/build_assets.h"

namespace {

const SoundBank& Bank()
{
    static const SoundBank bank = SoundBank::Load(FindDataDirectory(""));
    return bank;
}

void BM_RenderEverySound(benchmark::State& state)
{
    std::size_t samples = 0;
    for (auto _ : state) {
        const SoundBank bank = SoundBank::Load(FindDataDirectory(""));
        samples = 0;
        for (const Sound& s : bank.Sounds()) samples += s.samples.size();
        benchmark::DoNotOptimize(samples);
    }
    state.counters["kilobytes"] = double(samples * 2) / 1024;
}
BENCHMARK(BM_RenderEverySound)->Unit(benchmark::kMillisecond);

// The walk of tick_loop.h with its sounds found after every tick.
void BM_PlayTickWalkingHeard(benchmark::State& state)
{
    Game game(BuildTreeAssets());
    StartTheWalk(game);
    SoundCues cues(&Bank());
    std::vector<int> heard;
    int k = 0;
    for (auto _ : state) {
        cues.Before(game.state);
        WalkTick(game, k++);
        heard.clear();
        cues.After(game.state, heard);
        benchmark::DoNotOptimize(heard.data());
    }
}
BENCHMARK(BM_PlayTickWalkingHeard);

// Finding the sounds alone.
void BM_SoundCuesOfATick(benchmark::State& state)
{
    Game game(BuildTreeAssets());
    StartTheWalk(game);
    SoundCues cues(&Bank());
    std::vector<int> heard;
    const GameState before = game.state;
    WalkTick(game, 0);
    for (auto _ : state) {
        cues.Before(before);
        heard.clear();
        cues.After(game.state, heard);
        benchmark::DoNotOptimize(heard.data());
    }
}
BENCHMARK(BM_SoundCuesOfATick);

}  // namespace

BENCHMARK_MAIN();
