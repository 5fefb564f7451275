#pragma once

#include <cstdint>
#include <string>

#include "cave/run_file.h"

class RunPlayer;
struct Game;

// How a run's game goes when it is played again from its start.
struct RunReplay {
    bool reachedGoal = false;
    std::uint32_t ticks = 0;  // up to and including the tick that took the goal, or every recorded tick
    std::int32_t score = 0;
    std::int32_t misses = 0;
};

struct CheckedRun {
    RunFile run;
    RunReplay replay;
};

// Plays a run that ParseRunFile took again, headless, and checks its header
// against the play: the game wrote how the run ended and its ticks as the
// play went, so a header that the play contradicts was not written by it.
// Throws RunFileError saying what the header claims and what the play gives.
RunReplay ReplayRun(const RunFile& run);

// ReadRunFile, then ReplayRun: a run file checked every way before anything
// watches, races or traces it. Throws RunFileError naming the file.
CheckedRun ReadCheckedRun(const std::string& path);

// One tick of a run's game with the clock of a game played headless: a
// second every 20 ticks.
void PlayRunTick(Game& game, const RunPlayer& player);
