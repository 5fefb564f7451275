#include "app/joystick.h"

#include <SDL.h>

namespace {
std::uint32_t Axis(Sint16 value) { return std::uint32_t(int(value) + 32768); }
}

Joystick::Joystick()
{
    // No SDL video and no SDL event loop: the joystick is polled once a tick.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    sdlReady_ = SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
}

Joystick::~Joystick()
{
    if (joystick_) SDL_JoystickClose(joystick_);
    if (sdlReady_) SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

bool Joystick::Probe(JoyInfoRecord& info)
{
    if (!sdlReady_ || SDL_NumJoysticks() < 1) return false;
    joystick_ = SDL_JoystickOpen(0);
    if (!joystick_) return false;
    Read(info);
    return true;
}

void Joystick::Read(JoyInfoRecord& info)
{
    if (!joystick_) return;
    SDL_JoystickUpdate();
    if (!SDL_JoystickGetAttached(joystick_)) return;
    info.wXpos = Axis(SDL_JoystickGetAxis(joystick_, 0));
    info.wYpos = Axis(SDL_JoystickGetAxis(joystick_, 1));
    info.wZpos = SDL_JoystickNumAxes(joystick_) > 2 ? Axis(SDL_JoystickGetAxis(joystick_, 2)) : 0;
    std::uint32_t buttons = 0;
    for (int b = 0; b < 4 && b < SDL_JoystickNumButtons(joystick_); ++b)
        if (SDL_JoystickGetButton(joystick_, b)) buttons |= 1u << b;
    info.wButtons = buttons;
}
