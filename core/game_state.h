#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/input.h"

// Joystick 0 as the multimedia joystick API reports it: axes 0..65535 with the
// centre near 32767, button bits 1, 2, 4, 8 for buttons 1 to 4.
struct JoyInfoRecord {
    std::uint32_t wXpos = 0;
    std::uint32_t wYpos = 0;
    std::uint32_t wZpos = 0;
    std::uint32_t wButtons = 0;
};

constexpr int ReplayWords = 65537;
using ReplayWordBuffer = std::array<std::uint16_t, ReplayWords>;

enum ScreenId : std::uint8_t { ScreenTitle = 0, ScreenPlay = 1, ScreenEnding = 2 };

// The fields of the state that ticks of play change, all but the recording: a
// small plain value, so that a game can be put back to where it stood by
// copying it (the automatic player does).
struct PlayState {
    // Frame loop and input
    std::uint8_t Screen = 0;
    InputFlags KeysHeld{};
    InputFlags InputNow{};
    InputFlags InputPrev{};
    std::int32_t BlinkPhase = 0;

    // Title screen
    std::int32_t TitleTicks = 0;

    // Generator
    std::uint32_t RandomState = 0;

    // Movement and the clock
    std::int32_t PlayerX = 0;
    std::int32_t PlayerY = 0;
    std::int32_t FallSpeed = 0;
    std::int32_t StepCounter = 0;
    std::uint8_t Facing = 0;
    std::int32_t FrameIndex = 0;
    std::int32_t PlaySeconds = 0;
    std::uint16_t FramesThisSecond = 0;
    std::uint16_t FrameRate = 0;
    std::uint16_t ClockSecond = 0;
    std::uint16_t PrevClockSecond = 0;

    // Death and respawn
    std::int32_t DeathTimer = 0;
    std::int32_t RespawnX = 0;
    std::int32_t RespawnY = 0;
    std::int32_t Misses = 0;

    // Items and actions
    std::uint8_t Action = 0;
    std::int32_t ActionTimer = 0;
    std::int32_t ToolX = 0;
    std::int32_t ToolY = 0;
    std::array<std::uint8_t, 6> Inventory{};
    std::uint8_t SelectedSlot = 0;

    // Pickups
    std::int32_t Score = 0;

    // Ghost
    std::int32_t GhostX = 0;
    std::int32_t GhostY = 0;
    std::int32_t GhostTimer = 0;
};

// All program and play state in one plain record, zero at start. The fields
// carry the game's own names and widths; those that a game's ticks leave
// alone (its settings, the joystick, the title's key log, the goal) and the
// recording are here, the rest in PlayState.
struct GameState : PlayState {
    // Frame loop and input
    bool JoystickPresent = false;
    JoyInfoRecord JoyInfo{};

    // Title screen
    std::string TitleKeyLog;
    std::uint8_t Variant = 0;

    // Setup
    bool Beginner = false;
    std::int32_t CaveWidth = 0;
    std::int32_t CaveHeight = 0;
    std::int32_t SpeedToDeath = 0;

    // Recording and the demonstration
    bool DemoMode = false;
    ReplayWordBuffer ReplayBuffer{};

    // Generator
    std::int32_t GoalX = 0;
    std::int32_t GoalY = 0;
};
