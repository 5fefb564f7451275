#include "play/actions.h"
#include "play/game.h"
#include "play/tick_probe.h"

void BombCountdown(Game& g)
{
    GameState& s = g.state;
    if (s.Action != ActionBomb) return;
    s.ActionTimer -= 1;
    // A death already under way starts over.
    if (s.ActionTimer < BlastTicks && InBlastReach(s) && s.DeathTimer != 1) s.DeathTimer = 1;
    if (s.ActionTimer == 0) {
        s.Action = ActionNone;
        Blast(g);
    }
}

void Blast(Game& g)
{
    ForEachBlastCell({g.state.ToolX, g.state.ToolY}, [&](std::int32_t column, std::int32_t row) {
        if (CellAt(g.map, column, row) == TileDiggable) g.map[column][row] = TileEmpty;
    });
}
