#pragma once

#include "core/game_state.h"

struct _SDL_Joystick;
struct _SDL_GameController;

// Joystick 0 through SDL, read in the old multimedia API's terms: axes
// 0..65535, buttons 1 to 4 as bits 1, 2, 4, 8. A pad that SDL knows a game
// controller mapping for is read through that mapping: the left stick and the
// d-pad move the axes, and A, B, X, Y are buttons 1 to 4. Mappings come from
// SDL's own list, from SDL_GAMECONTROLLERCONFIG and from the file that
// SDL_GAMECONTROLLERCONFIG_FILE names.
class Joystick {
public:
    Joystick();
    ~Joystick();
    Joystick(const Joystick&) = delete;
    Joystick& operator=(const Joystick&) = delete;

    // Looks for joystick 0 once; true when it answered.
    bool Probe(JoyInfoRecord& info);
    // Reads the current position and buttons; keeps the record as it was when
    // the joystick is gone.
    void Read(JoyInfoRecord& info);
    // True when joystick 0 is read through a controller mapping.
    bool IsGameController() const { return controller_ != nullptr; }

private:
    bool sdlReady_ = false;
    _SDL_Joystick* joystick_ = nullptr;
    _SDL_GameController* controller_ = nullptr;
};
