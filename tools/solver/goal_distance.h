#pragma once

#include <cstdint>
#include <vector>

#include "cave/cave_map.h"

// How many cells a cell of the map lies from the goal, counting only cells
// that are not hard rock, with diggable rock dearer than open cave: a guide
// for the search, not a promise. Unreachable cells hold Unreachable.
class GoalDistance {
public:
    static constexpr std::int32_t Unreachable = 1 << 30;

    GoalDistance(const CaveMap& map, int goalColumn, int goalRow);
    std::int32_t At(int column, int row) const
    {
        return column >= 0 && column < 256 && row >= 0 && row < 256 ? cells_[column * 256 + row] : Unreachable;
    }

private:
    std::vector<std::int32_t> cells_;
};
