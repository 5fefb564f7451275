#include "tools/solver/play_snapshot.h"

namespace {

// One list of the fields, used in both directions.
template <typename From, typename To>
void CopyFields(const From& f, To& t)
{
    t.Screen = f.Screen;
    t.KeysHeld = f.KeysHeld;
    t.InputNow = f.InputNow;
    t.InputPrev = f.InputPrev;
    t.BlinkPhase = f.BlinkPhase;
    t.TitleTicks = f.TitleTicks;
    t.RandomState = f.RandomState;
    t.PlayerX = f.PlayerX;
    t.PlayerY = f.PlayerY;
    t.FallSpeed = f.FallSpeed;
    t.StepCounter = f.StepCounter;
    t.Facing = f.Facing;
    t.FrameIndex = f.FrameIndex;
    t.PlaySeconds = f.PlaySeconds;
    t.FramesThisSecond = f.FramesThisSecond;
    t.FrameRate = f.FrameRate;
    t.ClockSecond = f.ClockSecond;
    t.PrevClockSecond = f.PrevClockSecond;
    t.DeathTimer = f.DeathTimer;
    t.RespawnX = f.RespawnX;
    t.RespawnY = f.RespawnY;
    t.Misses = f.Misses;
    t.Action = f.Action;
    t.ActionTimer = f.ActionTimer;
    t.ToolX = f.ToolX;
    t.ToolY = f.ToolY;
    t.Inventory = f.Inventory;
    t.SelectedSlot = f.SelectedSlot;
    t.Score = f.Score;
    t.GhostX = f.GhostX;
    t.GhostY = f.GhostY;
    t.GhostTimer = f.GhostTimer;
}

}  // namespace

PlaySnapshot TakeSnapshot(const GameState& state)
{
    PlaySnapshot snapshot{};
    CopyFields(state, snapshot);
    return snapshot;
}

void RestoreSnapshot(GameState& state, const PlaySnapshot& snapshot) { CopyFields(snapshot, state); }
