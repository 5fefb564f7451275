#include "board/par.h"

#include <cstdio>
#include <memory>

#include "tools/solver/recording.h"
#include "tools/solver/solver.h"

namespace {

std::unique_ptr<Game> FreshGame(const Assets& art, const GameSettings& settings, bool& made)
{
    auto game = std::make_unique<Game>(art);
    made = NewGame(*game, settings);
    return game;
}

}  // namespace

AutomaticRun PlayAutomatically(const GameSettings& settings, const ParLimits& limits)
{
    const Assets noPictures;
    bool made = false;
    const auto game = FreshGame(noPictures, settings, made);
    if (!made) return {std::nullopt, "no cave can be made from the seed"};
    const std::uint32_t randomState = game->state.RandomState;

    SolveLimits solve;
    solve.maxSeconds = limits.seconds;
    solve.maxMemoryBytes = limits.memoryBytes;
    const SolveResult result = Solve(*game, solve);
    char spent[64];
    std::snprintf(spent, sizeof spent, "%.1f s of search", result.seconds);
    if (!result.solved) {
        const char* why = result.exhausted     ? "the automatic player found no way through the cave"
                          : result.outOfMemory ? "the automatic player ran out of memory"
                          : result.outOfTime   ? "the automatic player ran out of time"
                                               : "the automatic player gave up";
        return {std::nullopt, std::string(why) + " (" + spent + ")"};
    }
    if (result.inputs.size() > MaxRecordedTicks) return {std::nullopt, "the automatic player's way is longer than a run file holds"};

    const PlayOut play = PlayRecording(*FreshGame(noPictures, settings, made), result.inputs);
    if (!play.goalTaken) return {std::nullopt, "the automatic player's way does not play out again"};
    RunFile run;
    run.header = {.settings = settings, .ending = RunEnding::Goal, .ticks = std::uint32_t(play.ticks)};
    run.randomState = randomState;
    run.inputs.assign(result.inputs.begin(), result.inputs.begin() + play.ticks);
    return {run, std::string("found in ") + spent};
}

ParSearch SearchPar(const BoardDay& day, const ParLimits& limits)
{
    const AutomaticRun found = PlayAutomatically(BoardSettings{}.Game(day), limits);
    if (!found.run) return {std::nullopt, found.note};
    try {
        return {CheckRun(*found.run, day), found.note};
    } catch (const Refusal& r) {
        return {std::nullopt, std::string("the automatic player's run is refused: ") + r.what()};
    }
}
