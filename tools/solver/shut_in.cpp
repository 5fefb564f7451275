#include "tools/solver/shut_in.h"

#include <algorithm>

#include "play/tick_probe.h"

namespace {

bool Open(const CaveMap& map, int column, int row) { return ClassAt(map, column, row) != ClassSolid; }

bool WayOn(std::uint8_t tile) { return tile == TileGoal || tile == Bomb || tile == Pickaxe || tile == Drill; }

}  // namespace

bool ShutInCheck::ShutIn(const CaveMap& map, int column, int row)
{
    // Standing half in rock, as the potion's long step can leave it: not judged.
    if (!Open(map, column, row)) return false;
    if (++round_ == 0) {
        std::fill(seen_.begin(), seen_.end(), 0);
        round_ = 1;
    }
    stack_.clear();
    stack_.push_back(std::uint16_t(column * 256 + row));
    seen_[column * 256 + row] = round_;
    while (!stack_.empty()) {
        const int cell = stack_.back(), x = cell / 256, y = cell % 256;
        stack_.pop_back();
        if (WayOn(map[x][y])) return false;
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy) {
                const int a = x + dx, b = y + dy;
                if (!Open(map, a, b) || seen_[a * 256 + b] == round_) continue;
                seen_[a * 256 + b] = round_;
                stack_.push_back(std::uint16_t(a * 256 + b));
            }
    }
    return true;
}
