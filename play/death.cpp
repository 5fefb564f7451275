#include "play/death.h"

#include "play/actions.h"
#include "play/game.h"

void DeathCount(Game& g)
{
    GameState& s = g.state;
    s.DeathTimer += 1;
    if (s.DeathTimer <= DeathTicks) return;

    s.DeathTimer = 0;
    s.PlayerX = s.RespawnX;
    s.PlayerY = s.RespawnY;
    s.FallSpeed = 0;
    // The bird and the jet are lost; a parachute or a burning fuse carries on.
    if (s.Action == ActionBird || s.Action == ActionJet) s.Action = ActionNone;
    if (s.Misses < MaxMisses) s.Misses += 1;
    DrawStatusBar(g);
}
