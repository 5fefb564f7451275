#pragma once

#include <cstdint>

#include "core/game_state.h"

// A gamepad as the game reads it on any platform: the left stick, -32768 to
// 32767 each way, the d-pad and the four face buttons.
struct PadState {
    std::int16_t stickX = 0, stickY = 0;
    bool up = false, down = false, left = false, right = false;
    bool a = false, b = false, x = false, y = false;  // the bottom, right, left and top face buttons
};

// The pad in the old multimedia joystick's terms: the d-pad held one way puts
// its axis at that end, otherwise the stick decides; A, B, X and Y are buttons
// 1 to 4, so that A and Y select and B and X use.
JoyInfoRecord JoyInfoOfPad(const PadState& pad);

// A joystick read without a mapping: its first three axes and the bits of its
// first four buttons.
JoyInfoRecord JoyInfoOfStick(std::int16_t x, std::int16_t y, std::int16_t z, std::uint32_t buttons);
