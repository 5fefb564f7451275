#include "app/joystick.h"

#include <SDL.h>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

constexpr std::uint32_t AxisLowest = 0, AxisHighest = 65535;
// The community's full list of mappings is well under a megabyte.
constexpr std::uintmax_t MaxMappingFileBytes = 16u << 20;

std::uint32_t Axis(Sint16 value) { return std::uint32_t(int(value) + 32768); }

// A d-pad held one way puts the axis at that end; otherwise the stick decides.
std::uint32_t PadAxis(Sint16 stick, bool towardsLow, bool towardsHigh)
{
    if (towardsLow != towardsHigh) return towardsLow ? AxisLowest : AxisHighest;
    return Axis(stick);
}

// SDL reads the file itself when it starts; one that is not a readable file of
// a sensible size (a directory, a pipe that would block, a disk image) is left
// out with a word to the player instead.
void CheckMappingFile()
{
    SDL_ResetHint(SDL_HINT_GAMECONTROLLERCONFIG_FILE);  // back to what the environment says
    const char* path = SDL_getenv(SDL_HINT_GAMECONTROLLERCONFIG_FILE);
    if (!path || !*path) return;
    namespace fs = std::filesystem;
    std::error_code ec;
    const char* problem = nullptr;
    if (!fs::is_regular_file(path, ec)) problem = "is not a file that can be read";
    else if (fs::file_size(path, ec) > MaxMappingFileBytes || ec) problem = "is too large for a list of mappings";
    else if (!std::ifstream(path)) problem = "cannot be read";
    if (!problem) return;
    std::fprintf(stderr, "burrowkin: the controller mappings %s named by %s %s; going on without them\n", path,
                 SDL_HINT_GAMECONTROLLERCONFIG_FILE, problem);
    SDL_SetHintWithPriority(SDL_HINT_GAMECONTROLLERCONFIG_FILE, "", SDL_HINT_OVERRIDE);
}

}  // namespace

Joystick::Joystick()
{
    // No SDL video and no SDL event loop: the joystick is polled once a tick.
    // Nothing would ever read the quit event SDL makes of Ctrl+C or a SIGTERM,
    // so the signals keep their usual meaning.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    CheckMappingFile();
    sdlReady_ = SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER) == 0;
}

Joystick::~Joystick()
{
    if (controller_) SDL_GameControllerClose(controller_);
    else if (joystick_) SDL_JoystickClose(joystick_);
    if (sdlReady_) SDL_QuitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER);
}

bool Joystick::Probe(JoyInfoRecord& info)
{
    if (!sdlReady_ || SDL_NumJoysticks() < 1) return false;
    if (SDL_IsGameController(0)) controller_ = SDL_GameControllerOpen(0);
    joystick_ = controller_ ? SDL_GameControllerGetJoystick(controller_) : SDL_JoystickOpen(0);
    if (!joystick_) return false;
    Read(info);
    return true;
}

void Joystick::Read(JoyInfoRecord& info)
{
    if (!joystick_) return;
    SDL_JoystickUpdate();
    if (!SDL_JoystickGetAttached(joystick_)) return;
    std::uint32_t buttons = 0;
    if (controller_) {
        auto held = [&](SDL_GameControllerButton b) { return SDL_GameControllerGetButton(controller_, b) != 0; };
        info.wXpos = PadAxis(SDL_GameControllerGetAxis(controller_, SDL_CONTROLLER_AXIS_LEFTX),
                             held(SDL_CONTROLLER_BUTTON_DPAD_LEFT), held(SDL_CONTROLLER_BUTTON_DPAD_RIGHT));
        info.wYpos = PadAxis(SDL_GameControllerGetAxis(controller_, SDL_CONTROLLER_AXIS_LEFTY),
                             held(SDL_CONTROLLER_BUTTON_DPAD_UP), held(SDL_CONTROLLER_BUTTON_DPAD_DOWN));
        info.wZpos = 0;
        // SDL's order A, B, X, Y as buttons 1 to 4: A and Y select, B and X use.
        const SDL_GameControllerButton faces[] = {SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_B,
                                                  SDL_CONTROLLER_BUTTON_X, SDL_CONTROLLER_BUTTON_Y};
        for (int b = 0; b < 4; ++b)
            if (held(faces[b])) buttons |= 1u << b;
    } else {
        info.wXpos = Axis(SDL_JoystickGetAxis(joystick_, 0));
        info.wYpos = Axis(SDL_JoystickGetAxis(joystick_, 1));
        info.wZpos = SDL_JoystickNumAxes(joystick_) > 2 ? Axis(SDL_JoystickGetAxis(joystick_, 2)) : 0;
        for (int b = 0; b < 4 && b < SDL_JoystickNumButtons(joystick_); ++b)
            if (SDL_JoystickGetButton(joystick_, b)) buttons |= 1u << b;
    }
    info.wButtons = buttons;
}
