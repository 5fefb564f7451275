// What the board pays to check a submitted run, as CheckSubmission does it:
// ParseRunFile, which makes the cave once to check the seed, and ReplayRun,
// which makes it again and plays every tick. Each repetition is one check,
// so that the statistics give the median and the worst.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>

#include "board/submission.h"
#include "tools/board_load/daily_runs.h"

namespace {

// Its main cave takes the automatic player 1,934 ticks.
const BoardDay Today{2026, 3, 17};

// The automatic player's way through the day's main cave, standing still
// first for as long as it takes to make 2,000 ticks.
std::vector<std::uint8_t> RunOf2000Ticks()
{
    const RunFile run = AutomaticDailyRun(Today, BoardSettings{});
    return RunFileBytes(StandingFirst(run, 2000 - run.header.ticks));
}

// The longest a file holds: 65,520 ticks of keys and buttons pressed at
// random, a new choice every few ticks, ended with Shift+F2. The board plays
// it all before it finds that it does not reach the goal.
std::vector<std::uint8_t> LongestRun()
{
    RunFile run = AutomaticDailyRun(Today, BoardSettings{});
    std::mt19937 random(7);
    run.inputs.clear();
    std::uint16_t keys = 0;
    for (std::uint32_t k = 0; k < RecordedTicks; ++k) {
        if (k % 6 == 0) keys = std::uint16_t(random() % 64);
        run.inputs.push_back(keys);
    }
    run.header.ending = RunEnding::Quit;
    run.header.ticks = RecordedTicks;
    return RunFileBytes(run);
}

void Check(benchmark::State& state, const std::vector<std::uint8_t>& bytes)
{
    for (auto _ : state) {
        try {
            benchmark::DoNotOptimize(CheckSubmission(bytes, Today));
        } catch (const Refusal& r) {
            if (r.status != 422) state.SkipWithError(r.what());
        }
    }
}

double Worst(const std::vector<double>& times) { return *std::max_element(times.begin(), times.end()); }

void BM_CheckSubmission2000Ticks(benchmark::State& state) { Check(state, RunOf2000Ticks()); }
BENCHMARK(BM_CheckSubmission2000Ticks)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(300)
    ->ReportAggregatesOnly(true)->ComputeStatistics("worst", Worst);

void BM_CheckSubmission65520Ticks(benchmark::State& state) { Check(state, LongestRun()); }
BENCHMARK(BM_CheckSubmission65520Ticks)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(30)
    ->ReportAggregatesOnly(true)->ComputeStatistics("worst", Worst);

// The share of making the cave and checking the file, which a run pays
// whatever its length.
void BM_ParseRunFile(benchmark::State& state)
{
    const std::vector<std::uint8_t> bytes = RunOf2000Ticks();
    for (auto _ : state) benchmark::DoNotOptimize(ParseRunFile(bytes));
}
BENCHMARK(BM_ParseRunFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
