#pragma once

#include <cstdint>
#include <vector>

#include "cave/cave_map.h"

// The items that open rock: the bomb, the pickaxe and the drill.
inline bool OpensRock(std::uint8_t item) { return item == Bomb || item == Pickaxe || item == Drill; }

// Whether a character with nothing left to dig with (no bomb, pickaxe or
// drill) is shut in: the open cells it can reach hold neither the exit nor an
// item that digs, so no play at all takes it to the goal. Without a dig the
// rock stays where it is, and the character only ever passes from an open
// cell to one of the eight around it: it squeezes between two blocks that
// meet at a corner, but never through a block. A position shut in has no way
// on; the search drops it.
class ShutInCheck {
public:
    ShutInCheck() : seen_(256 * 256, 0) {}
    // The character's own cell (column, row) in the cave as it stands now.
    bool ShutIn(const CaveMap& map, int column, int row);

private:
    std::vector<std::uint32_t> seen_;  // the round in which a cell was reached
    std::uint32_t round_ = 0;
    std::vector<std::uint16_t> stack_;
};
