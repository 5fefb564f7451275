// What a new cave costs, reachability included, and the reachability search
// alone in the largest cave.
#include <benchmark/benchmark.h>

#include "cave/generator.h"
#include "cave/reachability.h"
#include "core/null_shell.h"

namespace {

void BM_GenerateCave(benchmark::State& state)
{
    const int size = int(state.range(0));
    GameState s;
    CaveMap map{};
    NullShell shell;
    std::uint32_t seed = 1;
    for (auto _ : state) {
        shell.UtcMilliseconds = seed++;
        benchmark::DoNotOptimize(GenerateCave(s, map, shell, size, size, false, 0));
    }
}
BENCHMARK(BM_GenerateCave)->Arg(1)->Arg(50)->Arg(100)->Arg(216)->Unit(benchmark::kMicrosecond);

void BM_CheckReachable216(benchmark::State& state)
{
    GameState s;
    CaveMap map{};
    NullShell shell;
    shell.UtcMilliseconds = 1;
    GenerateCave(s, map, shell, 216, 216, false, 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(CheckReachable(map, s.ReplayBuffer, s.PlayerX / 16, s.PlayerY / 16));
}
BENCHMARK(BM_CheckReachable216)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
