#include "play/play_step.h"

#include "cave/replay.h"
#include "play/actions.h"
#include "play/death.h"
#include "play/footing.h"
#include "play/game.h"
#include "play/ghost.h"
#include "play/movement.h"
#include "play/pickup.h"
#include "play/tick_probe.h"
#include "play/view.h"

namespace {

// Seconds of play count the changes of the wall clock's seconds field; the
// ticks of the last whole second are the frame rate.
void CountSeconds(Game& g)
{
    GameState& s = g.state;
    s.PrevClockSecond = s.ClockSecond;
    s.FramesThisSecond += 1;
    s.ClockSecond = std::uint16_t(g.clock.localSecond);
    if (s.ClockSecond != s.PrevClockSecond) {
        s.PrevClockSecond = s.ClockSecond;
        s.FrameRate = s.FramesThisSecond;
        s.FramesThisSecond = 0;
        s.PlaySeconds += 1;
        DrawStatusBar(g);
    }
}

// Walking, falling, dying and collecting: every action that leaves the
// character free to move.
void NormalBranch(Game& g, TickProbe& t)
{
    GameState& s = g.state;
    t.Standing = Standing(g.map, t);
    if (t.Standing) {
        s.RespawnX = s.PlayerX;
        s.RespawnY = s.PlayerY;
    }
    if (s.DeathTimer != 0) {
        DeathCount(g);
    } else {
        Walk(g, t);
        VerticalMotion(g, t);
    }
    PickUp(g, t);
    SelectNextSlot(g);
    UseItem(g, t);
    PotionCountdown(g);
    BombCountdown(g);
}

}  // namespace

void PlayStep(Game& g)
{
    GameState& s = g.state;
    RecordInput(s);
    CountSeconds(g);
    TickProbe t = ProbeAt(s);
    if (s.Variant != 0) GhostStep(g);

    t.Pose = 0;
    if (MovesFreely(s.Action)) {
        NormalBranch(g, t);
    } else {
        switch (s.Action) {
        case ActionCompass: CompassBranch(g); break;
        case ActionWand: WandBranch(g, t); break;
        case ActionPistol: PistolBranch(g, t); break;
        default: DirectionBranch(g, t); break;  // rope, pickaxe, drill
        }
    }

    g.lastPose = t.Pose;
    DrawPlayView(g, t);
}
