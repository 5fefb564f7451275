#pragma once

#include "core/input.h"

struct Game;

// The work of one 50 ms tick before the picture reaches the window: the input
// of the tick (keys, and joystick 0 when one was found at start, read from
// JoyInfo as the window left it), the blink phase, and the step of the screen
// that is showing. A watched run gives its recorded input in place of the keys
// and the joystick.
void FrameTick(Game& game, const InputFlags* recorded = nullptr);
