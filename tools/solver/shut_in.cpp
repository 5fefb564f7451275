#include "tools/solver/shut_in.h"

#include <algorithm>

#include "play/tick_probe.h"

namespace {

bool Open(const CaveMap& map, int column, int row) { return ClassAt(map, column, row) != ClassSolid; }

bool WayOn(std::uint8_t tile) { return tile == TileGoal || OpensRock(tile); }

}  // namespace

bool ShutInCheck::ShutIn(const CaveMap& map, int column, int row)
{
    // Standing half in rock, as the potion's long step can leave it: not judged.
    if (!Open(map, column, row)) return false;
    if (++round_ == 0) {
        std::fill(seen_.begin(), seen_.end(), 0);
        round_ = 1;
    }
    const auto fresh = [&](int x, int y) { return Open(map, x, y) && seen_[x * 256 + y] != round_; };
    // Runs of open cells down a column at a time (a column lies together in
    // memory); the columns on either side are looked at one row further up
    // and down, for the corners.
    stack_.clear();
    stack_.push_back(std::uint16_t(column * 256 + row));
    while (!stack_.empty()) {
        const int x = stack_.back() / 256, y = stack_.back() % 256;
        stack_.pop_back();
        if (seen_[x * 256 + y] == round_) continue;
        int top = y, bottom = y;
        while (fresh(x, top - 1)) --top;
        while (fresh(x, bottom + 1)) ++bottom;
        for (int r = top; r <= bottom; ++r) {
            if (WayOn(map[x][r])) return false;
            seen_[x * 256 + r] = round_;
        }
        for (const int side : {x - 1, x + 1}) {
            bool inRun = false;
            for (int r = top - 1; r <= bottom + 1; ++r) {
                const bool open = fresh(side, r);
                if (open && !inRun) stack_.push_back(std::uint16_t(side * 256 + r));
                inRun = open;
            }
        }
    }
    return true;
}
