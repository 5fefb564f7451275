#pragma once

#include <cstdint>

#include "cave/cave_map.h"
#include "cave/random.h"
#include "core/game_settings.h"
#include "core/game_state.h"

// What a generation found out, for the curious (tools and tests).
struct GenerationReport {
    int startTries = 0;         // tries the start search made, 1..1000
    bool searchGaveUp = false;  // a placement search found no cell in time
    bool startFound = false;
    bool goalReachable = false;
};

// A placement search gives up after this many candidate cells.
constexpr std::int64_t PlacementSearchLimit = 10'000'000;

// Makes a new cave of the settings' width by height cells (1..216 each; other
// values are taken to the nearest end of that range) from their seed, places
// the goal, the items, the treasures and the start, checks that the goal can
// be reached, and resets the play state for a new game. In the demonstration
// the recording is already in the replay buffer: the reachability check and
// the buffer's seed words are left out. Returns true when the cave is fit to
// play.
// The demonstration's cave and game: seed 1, 100 by 100, the first
// character, the usual fatal speed.
inline GameSettings DemonstrationSettings(bool beginner) { return {.beginner = beginner, .seed = DemonstrationSeed}; }

bool GenerateCave(GameState& state, CaveMap& map, const GameSettings& settings, GenerationReport* report = nullptr);

// The density of a cave: the mean of its area and of the area with 20 cells
// added each way, over 48866, as a float. Every count of the generator is
// Count(density, k), the product rounded to the nearest whole number.
float CaveDensity(int width, int height);
int Count(float density, int k);
