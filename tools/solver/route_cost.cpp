#include "tools/solver/route_cost.h"

#include <algorithm>
#include <functional>
#include <queue>

namespace {

// Ticks of play for each way of getting from one cell to the next.
constexpr std::int32_t WalkCost = 4;
constexpr std::int32_t FallCost = 2;
constexpr std::int32_t ClimbCost = 4;
constexpr std::int32_t LedgeJumpCost = 12;
constexpr std::int32_t RopeCost = 16;  // a cell up or across with nothing to hold: a part of a rope
constexpr std::int32_t DigCost = 40;   // a cell of diggable rock: a part of a pickaxe or a bomb
constexpr std::int32_t ScarcityCost = 100;  // the detour to find an item the way needs

bool Solid(const CaveMap& map, int x, int y) { return ClassOf(map[x][y]) == ClassSolid; }
bool Holds(const CaveMap& map, int x, int y)
{
    const std::uint8_t k = ClassOf(map[x][y]);
    return k == ClassClimbable || k == ClassHangBar;
}
// Whether a character in the cell can walk out of it sideways.
bool Carried(const CaveMap& map, int x, int y) { return Solid(map, x, y + 1) || Holds(map, x, y); }

enum Roping : std::uint8_t { NoRope = 0, RopeUp = 1, RopeAcross = 2 };

}  // namespace

RouteCost::RouteCost(const CaveMap& map, int goalColumn, int goalRow) : cells_(256 * 256)
{
    using Entry = std::pair<std::int32_t, int>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> open;
    if (goalColumn < 1 || goalColumn > 254 || goalRow < 1 || goalRow > 254) return;
    cells_[goalColumn * 256 + goalRow].cost = 0;
    open.push({0, goalColumn * 256 + goalRow});
    // From the goal backward: for each cell, the ways into it from its neighbours.
    const auto offer = [&](int x, int y, const Cell& to, std::int32_t moveCost, std::uint8_t roping) {
        if (x < 1 || x > 254 || y < 1 || y > 254 || map[x][y] == TileHardRock) return;
        Cell& from = cells_[x * 256 + y];
        const std::int32_t cost = to.cost + moveCost;
        if (cost >= from.cost) return;
        from.cost = cost;
        from.items = std::uint16_t(to.items + (roping != NoRope && roping != to.roping));
        from.roping = roping;
        open.push({cost, x * 256 + y});
    };
    while (!open.empty()) {
        const auto [d, cell] = open.top();
        open.pop();
        if (d != cells_[cell].cost) continue;
        const int x = cell / 256, y = cell % 256;
        Cell to = cells_[cell];
        const bool rock = map[x][y] == TileDiggable;
        const std::int32_t entry = rock ? DigCost : 0;
        to.items += rock;
        for (int side : {-1, +1}) {
            const bool carried = Carried(map, x + side, y);
            offer(x + side, y, to, entry + (carried ? WalkCost : RopeCost), carried ? NoRope : RopeAcross);
        }
        offer(x, y - 1, to, entry + FallCost, NoRope);
        const bool held = Holds(map, x, y) || Holds(map, x, y + 1);
        offer(x, y + 1, to, entry + (held ? ClimbCost : RopeCost), held ? NoRope : RopeUp);
        // A jump from the cell below and beside onto this one, standing on a ledge.
        if (!rock)
            for (int side : {-1, +1}) {
                const int fx = x - side, fy = y + 1;  // where the jump starts
                if (fx < 1 || fx > 254 || fy > 253) continue;
                if (Solid(map, x, y + 1) && Solid(map, fx, fy + 1) && !Solid(map, fx, fy) && !Solid(map, fx, y))
                    offer(fx, fy, to, LedgeJumpCost, NoRope);
            }
    }
}

std::int32_t RouteCost::Estimate(int column, int row, int toolUses) const
{
    const std::int32_t cost = At(column, row);
    if (cost >= Unreachable) return Unreachable;
    return cost + ScarcityCost * std::max(0, ItemsAt(column, row) - toolUses);
}
