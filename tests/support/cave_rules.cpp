#include "tests/support/cave_rules.h"

#include <cmath>
#include <cstdlib>
#include <vector>

std::string BrokenCaveRule(const CaveMap& map, const GameState& s, const GenerationReport& r, bool ok, int w, int h,
                           int variant)
{
    auto at = [](int x, int y) { return "at " + std::to_string(x) + "," + std::to_string(y); };
    if (ok != (!r.searchGaveUp && r.startFound && r.goalReachable)) return "the result does not match its reasons";
    if (r.searchGaveUp) return "";  // the map was left half made; nothing more is promised

    bool allowed[256] = {};
    for (int t : {0, 1, 2, 3, 4, 28, 29, 30, 31}) allowed[t] = true;
    // The items a cave may hide; the second character's caves never hide its wand.
    const std::vector<int> items[3] = {{Bomb, Rope, Pickaxe, Potion, Compass, Parachute},
                                       {Bomb, Rope, Pickaxe, Compass, Bird},
                                       {Pistol, Bomb, Rope, Drill, Compass, Jet}};
    for (int t : items[variant]) allowed[t] = true;
    int goals = 0;
    for (int x = 0; x < 256; ++x)
        for (int y = 0; y < 256; ++y) {
            const std::uint8_t t = map[x][y];
            if (!allowed[t]) return "tile " + std::to_string(t) + " " + at(x, y);
            if ((x < 10 || x > w + 28 || y < 10 || y > h + 28) && t != TileHardRock) return "no hard rock " + at(x, y);
            goals += t == TileGoal;
        }
    if (goals != 1) return std::to_string(goals) + " exits";
    if (!ok) return "";

    const int x = s.PlayerX / 16, y = s.PlayerY / 16;
    const int separation = int(std::nearbyint(std::sqrt(double(w) * h) * 80 / 216));
    if (map[x][y] != TileEmpty) return "the start is not empty";
    if (ClassOf(map[x][y + 1]) != ClassSolid) return "the start does not stand on rock";
    if (std::abs(s.PlayerX - s.GoalX) <= separation * 16 || std::abs(s.PlayerY - s.GoalY) <= separation * 16)
        return "the start is too near the exit";
    return "";
}
