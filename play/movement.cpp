#include "play/movement.h"

#include <algorithm>

#include "play/actions.h"
#include "play/footing.h"
#include "play/game.h"

namespace {

constexpr int WalkStep = 4;
constexpr int PotionStep = 8;
constexpr int JumpSpeed = -10;
constexpr int BirdLift = -4;
constexpr int JetThrust = 3;
constexpr int JetTopSpeed = -15;
constexpr int Gravity = 2;
constexpr int FallCap = 16;
constexpr int GentleFallCap = 4;  // under a parachute or a bird

std::int32_t Cell16(std::int32_t v) { return v & ~15; }  // the multiple of 16 at or below
std::int32_t Cell4(std::int32_t v) { return v & ~3; }

void WalkOneWay(Game& g, TickProbe& t, int flag, std::int32_t column, std::uint8_t facing, int direction)
{
    GameState& s = g.state;
    if (!s.InputNow[flag]) return;
    s.StepCounter += 1;
    s.Facing = facing;
    const int upperFree = ClassAt(g.map, column, t.HeadRow) != ClassSolid;
    const int lowerFree = ClassAt(g.map, column, t.KneeRow) != ClassSolid;
    if (MoveAllowed[upperFree * 2 + lowerFree])
        s.PlayerX += direction * (s.Action == ActionPotion ? PotionStep : WalkStep);
    t.Pose = WalkFrames[s.StepCounter % 4];
}

}  // namespace

void Walk(Game& g, TickProbe& t)
{
    WalkOneWay(g, t, InputLeft, t.WallColL, 8, -1);
    WalkOneWay(g, t, InputRight, t.WallColR, 0, +1);
}

void VerticalMotion(Game& g, TickProbe& t)
{
    GameState& s = g.state;
    const auto& in = s.InputNow;

    if (in[InputUp]) {
        if (s.Action == ActionBird) {
            t.Thrusting = true;
            s.FallSpeed = BirdLift;
        } else if (s.Action == ActionJet) {
            t.Thrusting = true;
            if (s.FallSpeed > JetTopSpeed) s.FallSpeed -= JetThrust;
        } else if (t.Standing) {
            s.FallSpeed = JumpSpeed;
        }
    }

    if (ClassAt(g.map, t.BodyCol, t.HeadRow) == ClassSolid || ClassAt(g.map, t.BodyCol2, t.HeadRow) == ClassSolid) {
        // Crashing into rock while thrusting upward too fast.
        if (t.Thrusting && s.FallSpeed < -s.SpeedToDeath) s.DeathTimer = 1;
        s.FallSpeed = 0;
    }

    s.FallSpeed += Gravity;
    const bool gentle = s.Action == ActionParachute || s.Action == ActionBird;
    s.FallSpeed = std::min(s.FallSpeed, gentle ? GentleFallCap : FallCap);

    if (t.Standing && s.FallSpeed > 0) {
        s.FallSpeed = 0;
        s.PlayerY = Cell16(s.PlayerY);  // lifts a character that sank into the floor
    } else {
        t.Pose = 3;
    }

    if (OnClimbable(g.map, t)) {
        if (!in[InputLeft] && !in[InputRight]) {
            if (in[InputUp]) {
                s.StepCounter += 1;
                s.PlayerX = Cell16(s.PlayerX + 4);
                s.PlayerY = Cell4(s.PlayerY - 4);
                t.Thrusting = false;
            }
            if (in[InputDown]) {
                s.StepCounter += 1;
                s.PlayerX = Cell16(s.PlayerX + 4);
                s.PlayerY = Cell4(s.PlayerY + 4);
            }
        }
        t.Pose = 4 + s.StepCounter % 2;
        s.FallSpeed = 0;
    } else if (Hanging(g.map, t)) {
        if (in[InputUp]) {
            s.StepCounter += 1;
            s.PlayerY = Cell4(s.PlayerY - 4);
        }
        if (in[InputDown]) {
            s.StepCounter += 1;
            s.PlayerY = Cell4(s.PlayerY + 4);
        }
        t.Pose = 4 + s.StepCounter % 2;
        s.FallSpeed = 0;
    } else {
        s.PlayerY += s.FallSpeed;
    }

    if (s.FallSpeed > s.SpeedToDeath) s.DeathTimer = 1;
}
