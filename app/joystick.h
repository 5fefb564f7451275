#pragma once

#include "core/game_state.h"

struct _SDL_Joystick;

// Joystick 0 through SDL's joystick subsystem, read in the old multimedia
// API's terms: axes 0..65535, buttons 1 to 4 as bits 1, 2, 4, 8.
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

private:
    bool sdlReady_ = false;
    _SDL_Joystick* joystick_ = nullptr;
};
