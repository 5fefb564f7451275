#include <cstdio>

#include "cave/run_file.h"
#include "tools/sim/commands.h"
#include "tools/sim/sim_context.h"
#include "tools/solver/recording.h"
#include "tools/solver/solver.h"

namespace {

// A fresh game in the cave of `options`, as the generator leaves it.
std::unique_ptr<SimContext> FreshGame(const CommonOptions& options, bool beginner)
{
    auto sim = std::make_unique<SimContext>(false);
    CommonOptions o = options;
    o.beginner = beginner;
    GenerateFromOptions(*sim, o);
    return sim;
}

// The demonstration's recording in the plain layout of replay.dat; any other
// solution as a run file, which carries its cave and so can be watched.
void WriteSolution(const std::string& path, bool demonstration, const CommonOptions& options, std::uint32_t randomState,
                   std::vector<std::uint16_t> inputs, int ticks)
{
    std::vector<std::uint8_t> bytes;
    if (demonstration) {
        bytes = ReplayFileImage(randomState, inputs);
    } else {
        RunFile run;
        run.header = {.seed = options.seed,
                      .width = options.width,
                      .height = options.height,
                      .variant = options.variant,
                      .beginner = options.beginner,
                      .speedToDeath = options.speedToDeath,
                      .ending = RunEnding::Goal,
                      .ticks = std::uint32_t(ticks)};
        run.randomState = randomState;
        inputs.resize(std::size_t(ticks));
        run.inputs = std::move(inputs);
        bytes = RunFileBytes(run);
    }
    WriteFileOrFail(path, bytes.data(), bytes.size());
}

}  // namespace

int SolveCommand(const std::vector<std::string>& args)
{
    const Arguments a = ParseArguments(
        args, {{"--demo", false}, {"--out", true}, {"--max-seconds", true}, {"--max-expansions", true}});
    CommonOptions options = a.common;
    if (a.Has("--demo")) {
        // The demonstration's cave, made the normal way from seed 1.
        options.width = options.height = 100;
        options.variant = 0;
        options.seed = 1;
        options.speedToDeath = 11;
    }
    SolveLimits limits;
    limits.maxSeconds = double(a.Number("--max-seconds", 0, 86'400).value_or(0));
    limits.maxExpansions = a.Number("--max-expansions", 1, 100'000'000).value_or(limits.maxExpansions);

    // The search plays with the normal starting counts, so that every item it
    // uses is there in beginner mode too.
    SimContext sim(false);
    CommonOptions normal = options;
    normal.beginner = false;
    const bool generated = GenerateFromOptions(sim, normal);
    const std::uint32_t randomState = sim.game->state.RandomState;

    SolveResult result;
    if (generated) result = Solve(*sim.game, limits);

    // The recording must play out the same from a fresh start, with either counts.
    PlayOut play;
    bool solved = result.solved && result.inputs.size() <= MaxRecordedTicks;
    if (solved) {
        play = PlayRecording(*FreshGame(options, false)->game, result.inputs);
        const PlayOut beginner = PlayRecording(*FreshGame(options, true)->game, result.inputs);
        solved = play.goalTaken && play.deaths == 0 && !play.usedEmptySlot && beginner.goalTaken &&
                 beginner.deaths == 0 && beginner.ticks == play.ticks;
    }
    if (solved)
        if (auto path = a.Text("--out")) WriteSolution(*path, a.Has("--demo"), options, randomState, result.inputs, play.ticks);

    std::printf("{\"solved\":%s,\"ticks\":%d,\"items_used\":%d,\"seconds\":%.2f,\"score\":%d,\"expansions\":%lld,"
                "\"positions\":%lld,\"generated\":%s,\"out_of_time\":%s}\n",
                solved ? "true" : "false", solved ? play.ticks : 0, solved ? play.itemsUsed : 0, result.seconds,
                solved ? play.score : 0, (long long)result.expansions, (long long)result.positions,
                generated ? "true" : "false", result.outOfTime ? "true" : "false");
    return 0;
}
