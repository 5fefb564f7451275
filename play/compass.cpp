#include "play/actions.h"
#include "play/bearing.h"
#include "play/game.h"

namespace {
constexpr int ArrowStep = 8;    // pixels the arrow flies each tick
constexpr int ArrowReach = 180;
}

void CompassBranch(Game& g)
{
    GameState& s = g.state;
    s.ToolX = BearingTo(s.PlayerX, s.PlayerY, s.GoalX, s.GoalY);
    s.ActionTimer += ArrowStep;
    if (s.ActionTimer > ArrowReach) FinishAction(g);
}
