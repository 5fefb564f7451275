#pragma once

#include <cstdint>
#include <vector>

#include "cave/cave_map.h"

// Roughly how many ticks of play the way from each cell of the map to the
// goal costs, counting an item spent as so many ticks: walking and falling are
// cheap, going up needs a rope or ladder or a ledge to jump onto, rock needs
// digging, and hard rock is never crossed. Beside it, how many items that way
// spends. A guide for the search, not a promise: it knows nothing of deadly
// falls.
class RouteCost {
public:
    static constexpr std::int32_t Unreachable = 1 << 30;

    RouteCost(const CaveMap& map, int goalColumn, int goalRow);
    std::int32_t At(int column, int row) const { return InsideMap(column, row) ? cells_[column * 256 + row].cost : Unreachable; }
    // Ropes laid and cells dug on the way from the cell.
    int ItemsAt(int column, int row) const { return InsideMap(column, row) ? cells_[column * 256 + row].items : 0; }
    // The cost from the cell for a character with so many uses of the items
    // that dig or lift: each use the way needs beyond them is a detour to
    // find one first.
    std::int32_t Estimate(int column, int row, int toolUses) const;

private:
    struct Cell {
        std::int32_t cost = Unreachable;
        std::uint16_t items = 0;
        // The way from here starts along a rope still to be laid: 1 up, 2 sideways.
        std::uint8_t roping = 0;
    };
    std::vector<Cell> cells_;
};
