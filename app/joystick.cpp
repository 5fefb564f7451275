#include "app/joystick.h"

#include <SDL.h>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "core/files.h"
#include "screens/gamepad.h"

namespace {

// SDL compares every mapping it adds with all it has, so a list costs the
// square of its length: 4000 lines take a few tenths of a second. The
// community's full list is about half of that.
constexpr std::size_t MaxMappingLines = 4000;
constexpr std::size_t MaxMappingFileBytes = 2u << 20;
constexpr const char* MappingFileHint = SDL_HINT_GAMECONTROLLERCONFIG_FILE;

struct MappingLines {
    std::string text;
    std::size_t count = 0;
    bool cut = false;  // something was left out
};

// The first whole lines of the file, at most MaxMappingLines of them, within
// its first MaxMappingFileBytes.
MappingLines FirstMappingLines(const std::vector<std::uint8_t>& bytes)
{
    const std::size_t size = std::min(bytes.size(), MaxMappingFileBytes);
    const bool longer = bytes.size() > size;
    MappingLines kept;
    std::size_t at = 0;
    while (at < size && kept.count < MaxMappingLines) {
        const auto newline = std::find(bytes.begin() + std::ptrdiff_t(at), bytes.begin() + std::ptrdiff_t(size), '\n');
        const std::size_t end = std::size_t(newline - bytes.begin());
        if (end == size && longer) break;  // a line the size limit cuts in two
        at = std::min(end + 1, size);
        ++kept.count;
    }
    kept.text.assign(bytes.begin(), bytes.begin() + std::ptrdiff_t(at));
    kept.cut = at < bytes.size();
    return kept;
}

// The controller mappings in the file that SDL_GAMECONTROLLERCONFIG_FILE
// names, read here rather than by SDL: a file that is not a regular file is
// left out, and a long one is cut short, each with a word to the player.
std::string ReadMappingFile()
{
    SDL_ResetHint(MappingFileHint);  // back to what the environment says
    const char* path = SDL_getenv(MappingFileHint);
    if (!path || !*path) return {};
    SDL_SetHintWithPriority(MappingFileHint, "", SDL_HINT_OVERRIDE);  // SDL must not read it itself
    std::vector<std::uint8_t> bytes;
    try {
        bytes = ReadRegularFile(path, MaxMappingFileBytes + 1);
    } catch (const FileError& e) {
        std::fprintf(stderr, "burrowkin: the controller mappings named by %s are left out: %s\n", MappingFileHint, e.what());
        return {};
    }
    MappingLines kept = FirstMappingLines(bytes);
    if (kept.cut)
        std::fprintf(stderr, "burrowkin: only the first %zu lines of the controller mappings %s named by %s are read; the rest is left out\n",
                     kept.count, path, MappingFileHint);
    return std::move(kept.text);
}

}  // namespace

Joystick::Joystick()
{
    // No SDL video and no SDL event loop: the joystick is polled once a tick.
    // Nothing would ever read the quit event SDL makes of Ctrl+C or a SIGTERM,
    // so the signals keep their usual meaning.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    const std::string mappings = ReadMappingFile();
    sdlReady_ = SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER) == 0;
    if (sdlReady_ && !mappings.empty())
        SDL_GameControllerAddMappingsFromRW(SDL_RWFromConstMem(mappings.data(), int(mappings.size())), 1);
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
    if (controller_) {
        auto held = [&](SDL_GameControllerButton b) { return SDL_GameControllerGetButton(controller_, b) != 0; };
        PadState pad;
        pad.stickX = SDL_GameControllerGetAxis(controller_, SDL_CONTROLLER_AXIS_LEFTX);
        pad.stickY = SDL_GameControllerGetAxis(controller_, SDL_CONTROLLER_AXIS_LEFTY);
        pad.up = held(SDL_CONTROLLER_BUTTON_DPAD_UP);
        pad.down = held(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
        pad.left = held(SDL_CONTROLLER_BUTTON_DPAD_LEFT);
        pad.right = held(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
        pad.a = held(SDL_CONTROLLER_BUTTON_A);
        pad.b = held(SDL_CONTROLLER_BUTTON_B);
        pad.x = held(SDL_CONTROLLER_BUTTON_X);
        pad.y = held(SDL_CONTROLLER_BUTTON_Y);
        info = JoyInfoOfPad(pad);
    } else {
        std::uint32_t buttons = 0;
        for (int b = 0; b < 4 && b < SDL_JoystickNumButtons(joystick_); ++b)
            if (SDL_JoystickGetButton(joystick_, b)) buttons |= 1u << b;
        // Without a third axis, wZpos reads 0, its lowest end.
        const bool third = SDL_JoystickNumAxes(joystick_) > 2;
        info = JoyInfoOfStick(SDL_JoystickGetAxis(joystick_, 0), SDL_JoystickGetAxis(joystick_, 1),
                              third ? SDL_JoystickGetAxis(joystick_, 2) : std::int16_t(-32768), buttons);
    }
}
