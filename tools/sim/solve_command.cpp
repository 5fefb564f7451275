#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "cave/generator.h"
#include "cave/run_file.h"
#include "tools/sim/commands.h"
#include "tools/sim/sim_context.h"
#include "tools/solver/recording.h"
#include "tools/solver/solver.h"

namespace {

// A fresh game in the cave of `options`, as the generator leaves it.
std::unique_ptr<SimContext> FreshGame(const GameSettings& options, bool beginner)
{
    auto sim = std::make_unique<SimContext>(false);
    GameSettings o = options;
    o.beginner = beginner;
    NewGame(*sim->game, o);
    return sim;
}

// The demonstration's recording in the plain layout of replay.dat; any other
// solution as a run file, which carries its cave and so can be watched.
void WriteSolution(const std::string& path, bool replace, bool demonstration, const GameSettings& options,
                   std::uint32_t randomState, std::vector<std::uint16_t> inputs, int ticks)
{
    std::vector<std::uint8_t> bytes;
    if (demonstration) {
        bytes = ReplayFileImage(randomState, inputs);
    } else {
        RunFile run;
        run.header = {.settings = options, .ending = RunEnding::Goal, .ticks = std::uint32_t(ticks)};
        run.randomState = randomState;
        inputs.resize(std::size_t(ticks));
        run.inputs = std::move(inputs);
        bytes = RunFileBytes(run);
    }
    WriteFileOrFail(path, bytes.data(), bytes.size(), replace);
}

}  // namespace

int SolveCommand(const std::vector<std::string>& args)
{
    const Arguments a = ParseArguments(args, {{"--demo", false},
                                              {"--out", true},
                                              {"--force", false},
                                              {"--max-seconds", true},
                                              {"--max-expansions", true},
                                              {"--max-memory", true}});
    GameSettings options = a.common;
    SolveLimits limits;
    if (a.Has("--demo")) {
        // The demonstration's cave, made the normal way from its seed.
        options = DemonstrationSettings(options.beginner);
    }
    limits.maxSeconds = double(a.Number("--max-seconds", 0, 86'400).value_or(0));
    limits.maxExpansions = a.Number("--max-expansions", 1, 100'000'000).value_or(limits.maxExpansions);
    const auto megabytes = a.Number("--max-memory", 16, 1'048'576).value_or(std::int64_t(limits.maxMemoryBytes >> 20));
    // No more than a 32-bit build (the browser's) can count.
    limits.maxMemoryBytes = std::size_t(std::min<std::uint64_t>(std::uint64_t(megabytes) << 20, SIZE_MAX));
    a.OnlyWith("--force", "--out");
    const std::optional<std::string> out = a.Text("--out");
    if (out) CheckOutputPath("--out", *out, a.Has("--force"));

    // The search plays with the normal starting counts, so that every item it
    // uses is there in beginner mode too.
    SimContext sim(false);
    GameSettings normal = options;
    normal.beginner = false;
    const bool generated = NewGame(*sim.game, normal);
    const std::uint32_t randomState = sim.game->state.RandomState;

    SolveResult result;
    if (generated) result = Solve(*sim.game, limits);

    // The recording must play out the same from a fresh start, with either counts.
    PlayOut play;
    bool solved = result.solved && result.inputs.size() <= MaxRecordedTicks;
    if (solved) {
        play = PlayRecording(*FreshGame(options, false)->game, result.inputs);
        const PlayOut beginner = PlayRecording(*FreshGame(options, true)->game, result.inputs);
        solved = play.goalTaken && (play.deaths == 0 || !a.Has("--demo")) && !play.usedEmptySlot &&
                 beginner.goalTaken && beginner.deaths == play.deaths && beginner.ticks == play.ticks;
    }
    if (solved && out)
        WriteSolution(*out, a.Has("--force"), a.Has("--demo"), options, randomState, result.inputs, play.ticks);

    std::printf("{\"solved\":%s,\"ticks\":%d,\"items_used\":%d,\"seconds\":%.2f,\"score\":%d,\"expansions\":%lld,"
                "\"positions\":%lld,\"generated\":%s,\"out_of_time\":%s,\"unfinishable\":%s,\"out_of_memory\":%s,"
                "\"misses\":%d,\"out_of_expansions\":%s}\n",
                solved ? "true" : "false", solved ? play.ticks : 0, solved ? play.itemsUsed : 0, result.seconds,
                solved ? play.score : 0, (long long)result.expansions, (long long)result.positions,
                generated ? "true" : "false", result.outOfTime ? "true" : "false",
                result.exhausted ? "true" : "false", result.outOfMemory ? "true" : "false", solved ? play.deaths : 0,
                result.outOfExpansions ? "true" : "false");
    return 0;
}
