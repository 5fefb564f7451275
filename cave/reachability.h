#pragma once

#include <cstdint>

#include "cave/cave_map.h"
#include "core/game_state.h"

// Whether the goal lies in the same four-connected region of cells that are not
// hard rock as the cell (x, y). The search keeps its path in the replay buffer
// from word 1 up; a path that would outgrow the buffer counts as unreachable.
bool CheckReachable(const CaveMap& map, ReplayWordBuffer& pathStack, std::int32_t x, std::int32_t y);
