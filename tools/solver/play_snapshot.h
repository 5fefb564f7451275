#pragma once

#include <cstdint>

#include "core/game_state.h"

// The part of GameState that a play tick reads or writes, without the replay
// buffer: enough to put a game back where it stood and play on from there.
struct PlaySnapshot {
    std::uint8_t Screen;
    InputFlags KeysHeld, InputNow, InputPrev;
    std::int32_t BlinkPhase;
    std::int32_t TitleTicks;
    std::uint32_t RandomState;
    std::int32_t PlayerX, PlayerY, FallSpeed, StepCounter;
    std::uint8_t Facing;
    std::int32_t FrameIndex, PlaySeconds;
    std::uint16_t FramesThisSecond, FrameRate, ClockSecond, PrevClockSecond;
    std::int32_t DeathTimer, RespawnX, RespawnY, Misses;
    std::uint8_t Action;
    std::int32_t ActionTimer, ToolX, ToolY;
    std::array<std::uint8_t, 6> Inventory;
    std::uint8_t SelectedSlot;
    std::int32_t Score;
    std::int32_t GhostX, GhostY, GhostTimer;
};

PlaySnapshot TakeSnapshot(const GameState& state);
void RestoreSnapshot(GameState& state, const PlaySnapshot& snapshot);
