#pragma once

#include "core/game_state.h"

// The keyboard as the game knows it: virtual key codes of the classic desktop.
enum VirtualKey : int {
    KeyEnter = 13,
    KeySpace = 32,
    KeyLeft = 37,
    KeyUp = 38,
    KeyRight = 39,
    KeyDown = 40,
    KeyX = 88,
    KeyZ = 90,
    KeyF2 = 113,
    KeyF3 = 114,
};

enum class KeyEffect { None, TogglePause };

// Key down: sets the key's flag in KeysHeld; Shift+F2 goes back to the title.
// F3 asks the window to pause or resume.
KeyEffect KeyPressed(GameState& state, int virtualKey, bool shiftHeld);
// Key up: clears the key's flag (both keys of a pair share it).
void KeyReleased(GameState& state, int virtualKey);
