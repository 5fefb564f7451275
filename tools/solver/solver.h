#pragma once

#include <cstdint>
#include <vector>

#include "play/game.h"

struct SolveLimits {
    // Positions taken from the open list before the search gives up; the
    // result depends on this and on nothing else, so it is reproducible.
    std::int64_t maxExpansions = 1'000'000;
    // Seconds of processor time before the search gives up; 0 for none. A
    // search stopped by time is not reproducible, so recordings leave it at 0.
    double maxSeconds = 0;
};

struct SolveResult {
    bool solved = false;
    std::vector<std::uint16_t> inputs;  // the input word of every tick, from the first
    std::int64_t expansions = 0;
    std::int64_t positions = 0;  // settled positions found
    bool outOfTime = false;
    double seconds = 0;  // processor time spent searching
};

// Searches for inputs that take the character of a freshly generated game to
// the goal without dying, by playing the real play step from saved positions.
// Items are used only while their count, as it would stand with the normal
// starting counts, is above 0. The game is left in an unspecified state.
SolveResult Solve(Game& game, const SolveLimits& limits);
