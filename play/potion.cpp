#include "play/actions.h"
#include "play/game.h"

void PotionCountdown(Game& g)
{
    GameState& s = g.state;
    if (s.Action != ActionPotion) return;
    s.ActionTimer -= 1;
    if (s.ActionTimer == 0) s.Action = ActionNone;
}
