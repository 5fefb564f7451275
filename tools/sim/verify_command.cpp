#include <cstdio>

#include "screens/run_player.h"
#include "tools/sim/commands.h"
#include "tools/sim/sim_context.h"

namespace {

constexpr double TicksPerSecond = 20;

// The game writes how a run ended and its ticks as its play went: a header
// that the play contradicts was not written by it.
void CheckHeaderAgreesWithPlay(const std::string& path, const RunHeader& h, bool reached, std::uint32_t ticks)
{
    const std::string says = path + ": not a run file: its header says ";
    const std::string reaches = ", but its play reaches the goal after " + std::to_string(ticks) + " ticks";
    if (reached && h.ending != RunEnding::Goal)
        throw UsageError(says + (h.ending == RunEnding::Quit ? "it ended with Shift+F2" : "it ended with the window closed") +
                         reaches);
    if (reached && h.ticks != ticks) throw UsageError(says + std::to_string(h.ticks) + " ticks" + reaches);
    if (!reached && h.ending == RunEnding::Goal && h.Complete())
        throw UsageError(says + "it reached the goal, but its play ends after " + std::to_string(ticks) +
                         " ticks without it");
}

}  // namespace

RunFile ReadRunOrFail(const std::string& path)
{
    try {
        return ReadRunFile(path);
    } catch (const RunFileError& e) {
        throw UsageError(e.what());
    }
}

void PlayRunTick(SimContext& sim, const RunPlayer& player)
{
    sim.game->clock = ClockAfterTicks(player.TicksPlayed(*sim.game));
    player.Tick(*sim.game);
}

int VerifyCommand(const std::vector<std::string>& args)
{
    if (args.size() != 1 || args[0].rfind("--", 0) == 0) throw UsageError("verify takes one run file and nothing else");
    const RunPlayer player(ReadRunOrFail(args[0]));
    SimContext sim(false);
    const Game& g = *sim.game;
    player.Start(*sim.game);
    while (player.Playing(g)) PlayRunTick(sim, player);

    const RunHeader& h = player.Run().header;
    const GameSettings& s = h.settings;
    const bool reached = g.state.Screen == ScreenEnding;
    const std::uint32_t ticks = player.TicksPlayed(g);
    CheckHeaderAgreesWithPlay(args[0], h, reached, ticks);
    std::printf("{\"reached_goal\":%s,\"complete\":%s,\"ticks\":%u,\"seconds\":%.2f,\"score\":%d,\"misses\":%d,"
                "\"seed\":%u,\"width\":%d,\"height\":%d,\"variant\":%d,\"beginner\":%s,\"speed_to_death\":%d}\n",
                reached ? "true" : "false", h.Complete() ? "true" : "false", ticks, ticks / TicksPerSecond,
                g.state.Score, g.state.Misses, s.seed, s.width, s.height, s.variant, s.beginner ? "true" : "false",
                s.speedToDeath);
    return reached ? 0 : 1;
}
