#include "runs/run_check.h"

#include <memory>

#include "gfx/assets.h"
#include "play/game.h"
#include "screens/run_player.h"

namespace {

void CheckHeaderAgreesWithPlay(const RunHeader& h, bool reached, std::uint32_t ticks)
{
    const std::string says = "not a run file: its header says ";
    const std::string reaches = ", but its play reaches the goal after " + std::to_string(ticks) + " ticks";
    if (reached && h.ending != RunEnding::Goal)
        throw RunFileError(says + (h.ending == RunEnding::Quit ? "it ended with Shift+F2" : "it ended with the window closed") +
                           reaches);
    if (reached && h.ticks != ticks) throw RunFileError(says + std::to_string(h.ticks) + " ticks" + reaches);
    if (!reached && h.ending == RunEnding::Goal && h.Complete())
        throw RunFileError(says + "it reached the goal, but its play ends after " + std::to_string(ticks) +
                           " ticks without it");
}

}  // namespace

void PlayRunTick(Game& game, const RunPlayer& player)
{
    game.clock = ClockAfterTicks(player.TicksPlayed(game));
    player.Tick(game);
}

RunReplay ReplayRun(const RunFile& run)
{
    const Assets noPictures;
    const auto game = std::make_unique<Game>(noPictures);
    const RunPlayer player(run);
    // The cave is made here once: a run read with CaveCheck::Later is checked now.
    const bool made = player.Start(*game);
    CheckCaveMade(run, made, game->state.RandomState);
    while (player.Playing(*game)) PlayRunTick(*game, player);

    const RunReplay replay{.reachedGoal = game->state.Screen == ScreenEnding,
                           .ticks = player.TicksPlayed(*game),
                           .score = game->state.Score,
                           .misses = game->state.Misses};
    CheckHeaderAgreesWithPlay(run.header, replay.reachedGoal, replay.ticks);
    return replay;
}

CheckedRun ReadCheckedRun(const std::string& path)
{
    CheckedRun checked{ReadRunFile(path), {}};
    try {
        checked.replay = ReplayRun(checked.run);
    } catch (const RunFileError& e) {
        throw RunFileError(path + ": " + e.what());
    }
    return checked;
}
