#include <cstdio>

#include "runs/run_check.h"
#include "tools/sim/commands.h"
#include "tools/sim/sim_context.h"

namespace {

constexpr double TicksPerSecond = 20;

CheckedRun ReadCheckedRunOrFail(const std::string& path)
{
    try {
        return ReadCheckedRun(path);
    } catch (const RunFileError& e) {
        throw UsageError(e.what());
    }
}

}  // namespace

RunFile ReadRunOrFail(const std::string& path) { return ReadCheckedRunOrFail(path).run; }

void PlayRunTick(SimContext& sim, const RunPlayer& player) { PlayRunTick(*sim.game, player); }

int VerifyCommand(const std::vector<std::string>& args)
{
    if (args.size() != 1 || args[0].rfind("--", 0) == 0) throw UsageError("verify takes one run file and nothing else");
    const CheckedRun checked = ReadCheckedRunOrFail(args[0]);
    const RunReplay& r = checked.replay;
    const RunHeader& h = checked.run.header;
    const GameSettings& s = h.settings;
    // A game played slower than 20 ticks a second says so, after all else.
    const std::string speed = h.speed < RunHeader::FullSpeed ? ",\"speed\":" + std::to_string(h.speed) : "";
    std::printf("{\"reached_goal\":%s,\"complete\":%s,\"ticks\":%u,\"seconds\":%.2f,\"score\":%d,\"misses\":%d,"
                "\"seed\":%u,\"width\":%d,\"height\":%d,\"variant\":%d,\"beginner\":%s,\"speed_to_death\":%d%s}\n",
                r.reachedGoal ? "true" : "false", h.Complete() ? "true" : "false", r.ticks, r.ticks / TicksPerSecond,
                r.score, r.misses, s.seed, s.width, s.height, s.variant, s.beginner ? "true" : "false",
                s.speedToDeath, speed.c_str());
    return r.reachedGoal ? 0 : 1;
}
