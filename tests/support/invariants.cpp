#include "tests/support/invariants.h"

#include "play/game.h"

#include <algorithm>

std::string BrokenInvariant(const Game& g, bool wholeMap)
{
    const GameState& s = g.state;
    constexpr int Reach = 24;  // a rope runs at most 10 cells, a drill through the core
    const int cx = s.PlayerX / CellSize, cy = s.PlayerY / CellSize;
    const int x0 = wholeMap ? 0 : std::max(0, cx - Reach), x1 = wholeMap ? 255 : std::min(255, cx + Reach);
    const int y0 = wholeMap ? 0 : std::max(0, cy - Reach), y1 = wholeMap ? 255 : std::min(255, cy + Reach);
    for (int x = x0; x <= x1; ++x)
        for (int y = y0; y <= y1; ++y)
            if (g.map[x][y] >= TileCodeCount)
                return "tile " + std::to_string(g.map[x][y]) + " at " + std::to_string(x) + "," + std::to_string(y);
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
