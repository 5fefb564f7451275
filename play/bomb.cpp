#include "play/actions.h"
#include "play/game.h"

namespace {
constexpr int DangerTicks = 20;  // the last ticks of the fuse, and the blast
constexpr int BlastReach = 28;   // pixels from the bomb's cell
}

void BombCountdown(Game& g)
{
    GameState& s = g.state;
    if (s.Action != ActionBomb) return;
    s.ActionTimer -= 1;
    if (s.ActionTimer < DangerTicks) {
        const std::int64_t dx = s.PlayerX - s.ToolX * CellSize, dy = s.PlayerY - s.ToolY * CellSize;
        // A death already under way starts over.
        if (dx * dx + dy * dy <= BlastReach * BlastReach && s.DeathTimer != 1) s.DeathTimer = 1;
    }
    if (s.ActionTimer == 0) {
        s.Action = ActionNone;
        Blast(g);
    }
}

void Blast(Game& g)
{
    const GameState& s = g.state;
    auto clear = [&](int column, int row) {
        if (column >= 0 && column < 256 && row >= 0 && row < 256 && g.map[column][row] == TileDiggable)
            g.map[column][row] = TileEmpty;
    };
    for (int i = -2; i <= 2; ++i)
        for (int j = -1; j <= 1; ++j) clear(s.ToolX + i, s.ToolY + j);
    for (int i = -1; i <= 1; ++i)
        for (int j = -2; j <= 2; ++j) clear(s.ToolX + i, s.ToolY + j);
}
