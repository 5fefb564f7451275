// What a new cave costs, reachability included, and the reachability search
// alone in the largest cave.
#include <benchmark/benchmark.h>

#include "cave/generator.h"
#include "cave/reachability.h"

namespace {

void BM_GenerateCave(benchmark::State& state)
{
    const int size = int(state.range(0));
    GameState s;
    CaveMap map{};
    std::uint32_t seed = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(GenerateCave(s, map, {.width = size, .height = size, .seed = seed++}));
    }
}
BENCHMARK(BM_GenerateCave)->Arg(1)->Arg(50)->Arg(100)->Arg(216)->Unit(benchmark::kMicrosecond);

void BM_CheckReachable216(benchmark::State& state)
{
    GameState s;
    CaveMap map{};
    GenerateCave(s, map, {.width = 216, .height = 216, .seed = 1});
    for (auto _ : state)
        benchmark::DoNotOptimize(CheckReachable(map, s.ReplayBuffer, s.PlayerX / 16, s.PlayerY / 16));
}
BENCHMARK(BM_CheckReachable216)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
