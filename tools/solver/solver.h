#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "play/game.h"

struct SolveLimits {
    // Positions taken from the open list before the search gives up; the
    // result depends on this and on nothing else, so it is reproducible.
    std::int64_t maxExpansions = 2'000'000;
    // Seconds of processor time before the search gives up; 0 for none. A
    // search stopped by time is not reproducible, so recordings leave it at 0.
    double maxSeconds = 0;
    // The memory the search may hold for its positions; at the bound it gives
    // up as it does out of time.
    std::size_t maxMemoryBytes = std::size_t(2048) << 20;
};

struct SolveResult {
    bool solved = false;
    std::vector<std::uint16_t> inputs;  // the input word of every tick, from the first
    std::int64_t expansions = 0;
    std::int64_t positions = 0;  // settled positions found
    bool outOfTime = false;      // stopped by the time or the memory bound
    bool outOfMemory = false;    // stopped by the memory bound
    bool outOfExpansions = false;  // stopped by maxExpansions
    // Every move the search knows was tried from every position it reached:
    // under its model of play the cave cannot be finished.
    bool exhausted = false;
    double seconds = 0;          // processor time spent searching
};

// Searches for inputs that take the character of a freshly generated game to
// the goal, by playing the real play step from saved positions. It loses a
// life only to a bomb in a pocket with no way out, to a ghost that nothing is
// left to drive off, or, once nothing else leads on, to a fall after which
// the character comes back lower down or with an item.
// Items are used only while their count, as it would stand with the normal
// starting counts, is above 0. The game is left in an unspecified state.
SolveResult Solve(Game& game, const SolveLimits& limits);
