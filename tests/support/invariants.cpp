#include "tests/support/invariants.h"

#include "play/game.h"

#include <algorithm>
#include <cstring>

namespace {

// The first cell of columns x0..x1, rows y0..y1 that holds no tile code.
std::string BrokenCell(const CaveMap& map, int x0, int x1, int y0, int y1)
{
    for (int x = x0; x <= x1; ++x) {
        const auto rows = map[x].begin();
        const auto bad = std::find_if(rows + y0, rows + y1 + 1, [](std::uint8_t tile) { return tile >= TileCodeCount; });
        if (bad != rows + y1 + 1)
            return "tile " + std::to_string(*bad) + " at " + std::to_string(x) + "," + std::to_string(bad - rows);
    }
    return "";
}

// Everything but the map.
std::string BrokenState(const GameState& s)
{
    const int column = s.PlayerX / CellSize, row = s.PlayerY / CellSize;
    if (s.PlayerX < 0 || s.PlayerY < 0 || column < 9 || column > 244 || row < 9 || row > 244)
        return "the character left the cave at " + std::to_string(s.PlayerX) + "," + std::to_string(s.PlayerY);
    for (int i = 0; i < 6; ++i)
        if (s.Inventory[i] > 9) return "count " + std::to_string(s.Inventory[i]) + " in slot " + std::to_string(i);
    if (s.Misses < 0 || s.Misses > 99) return "misses " + std::to_string(s.Misses);
    if (s.SelectedSlot > 5) return "slot " + std::to_string(s.SelectedSlot);
    if (s.Action > 11) return "action " + std::to_string(s.Action);
    if (s.DeathTimer < 0 || s.DeathTimer > 60) return "death timer " + std::to_string(s.DeathTimer);
    if (s.GhostTimer < 0 || s.GhostTimer > 20) return "ghost timer " + std::to_string(s.GhostTimer);
    if (s.Screen > 2) return "screen " + std::to_string(s.Screen);
    if (s.Score < 0) return "score " + std::to_string(s.Score);
    return "";
}

}  // namespace

std::string BrokenInvariant(const Game& g, bool wholeMap)
{
    const GameState& s = g.state;
    constexpr int Reach = 24;  // a rope runs at most 10 cells, a drill through the core
    const int cx = s.PlayerX / CellSize, cy = s.PlayerY / CellSize;
    const int x0 = wholeMap ? 0 : std::max(0, cx - Reach), x1 = wholeMap ? 255 : std::min(255, cx + Reach);
    const int y0 = wholeMap ? 0 : std::max(0, cy - Reach), y1 = wholeMap ? 255 : std::min(255, cy + Reach);
    if (std::string broken = BrokenCell(g.map, x0, x1, y0, y1); !broken.empty()) return broken;
    return BrokenState(s);
}

std::string BrokenInvariantSince(const Game& g, const CaveMap& before)
{
    for (int x = 0; x < 256; ++x) {
        if (std::memcmp(g.map[x].data(), before[x].data(), sizeof before[x]) == 0) continue;
        if (std::string broken = BrokenCell(g.map, x, x, 0, 255); !broken.empty()) return broken;
    }
    return BrokenState(g.state);
}
