// The wand and the pistol: the character stands and strikes at the ghost.

#include <cstdlib>

#include "play/actions.h"
#include "play/game.h"
#include "play/ghost.h"
#include "play/tick_probe.h"

namespace {

void Strike(Game& g, TickProbe& t, bool ghostInReach, std::int32_t fadeTicks)
{
    GameState& s = g.state;
    t.Pose = 6 + s.BlinkPhase;
    s.ActionTimer -= 1;
    if (s.GhostTimer == GhostActive && ghostInReach) s.GhostTimer = fadeTicks;
    if (s.ActionTimer < 1) s.Action = ActionNone;
}

}  // namespace

void WandBranch(Game& g, TickProbe& t)
{
    const GameState& s = g.state;
    const bool inReach = std::abs(s.PlayerY - s.GhostY) <= WandReach && std::abs(s.PlayerX - s.GhostX) <= WandReach;
    Strike(g, t, inReach, 2);
}

void PistolBranch(Game& g, TickProbe& t)
{
    const GameState& s = g.state;
    const std::int64_t dx = s.PlayerX - s.GhostX, dy = s.PlayerY - s.GhostY;
    Strike(g, t, dx * dx + dy * dy < PistolReach * PistolReach, 19);
}
