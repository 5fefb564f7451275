#include "tools/solver/goal_distance.h"

#include <functional>
#include <queue>

namespace {
constexpr std::int32_t RockCost = 8;  // a cell of diggable rock costs an item, worth a few open cells
}

GoalDistance::GoalDistance(const CaveMap& map, int goalColumn, int goalRow) : cells_(256 * 256, Unreachable)
{
    using Entry = std::pair<std::int32_t, int>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> open;
    if (goalColumn < 0 || goalColumn > 255 || goalRow < 0 || goalRow > 255) return;
    cells_[goalColumn * 256 + goalRow] = 0;
    open.push({0, goalColumn * 256 + goalRow});
    while (!open.empty()) {
        const auto [d, cell] = open.top();
        open.pop();
        if (d != cells_[cell]) continue;
        const int x = cell / 256, y = cell % 256;
        for (const Step& step : StepVectors) {
            const int nx = x + step.dx, ny = y + step.dy;
            if (nx < 0 || nx > 255 || ny < 0 || ny > 255) continue;
            const std::uint8_t tile = map[nx][ny];
            if (tile == TileHardRock) continue;
            const std::int32_t nd = d + (tile == TileDiggable ? RockCost : 1);
            if (nd < cells_[nx * 256 + ny]) {
                cells_[nx * 256 + ny] = nd;
                open.push({nd, nx * 256 + ny});
            }
        }
    }
}
