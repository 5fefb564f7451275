#include "screens/keys.h"

namespace {

int FlagOfKey(int virtualKey)
{
    const KeyBinding* binding = BindingOf(virtualKey);
    return binding && binding->role == KeyRole::Input ? binding->flag : -1;
}

}  // namespace

std::vector<KeyHelpLine> KeyHelp()
{
    const auto does = [](const KeyBinding& key) -> std::string_view {
        switch (key.role) {
        case KeyRole::Input: {
            static constexpr std::string_view Inputs[] = {"jump, climb up", "climb down", "walk left", "walk right",
                                                          "select the next inventory slot", "use the selected item"};
            return Inputs[key.flag];
        }
        case KeyRole::BackToTitle: return "back to the title screen";
        case KeyRole::Pause: return "pause and resume";
        case KeyRole::StopRace: return "stop racing: games start from the setup dialog again";
        case KeyRole::FullScreen: return "switch between the window and full screen";
        case KeyRole::FastForward: return "while watching a run: held, four times the speed";
        case KeyRole::Sound: return "sound off and on";
        }
        return "";
    };
    std::vector<KeyHelpLine> lines;
    for (const KeyBinding& key : KeyTable) {
        const std::string_view what = does(key);
        if (!lines.empty() && lines.back().does == what) {
            if (!lines.back().keys.ends_with(key.name)) lines.back().keys += " or " + std::string(key.name);
        } else {
            lines.push_back({std::string(key.name), what});
        }
    }
    return lines;
}

const KeyBinding* BindingOf(int virtualKey)
{
    for (const KeyBinding& binding : KeyTable)
        if (binding.virtualKey == virtualKey) return &binding;
    return nullptr;
}

KeyEffect KeyPressed(GameState& state, int virtualKey, bool shiftHeld)
{
    if (int flag = FlagOfKey(virtualKey); flag >= 0) state.KeysHeld[flag] = 1;
    if (virtualKey == KeyF2 && shiftHeld) {
        state.Screen = ScreenTitle;
        state.TitleTicks = 0;
    }
    return virtualKey == KeyF3 ? KeyEffect::TogglePause : KeyEffect::None;
}

void KeyReleased(GameState& state, int virtualKey)
{
    if (int flag = FlagOfKey(virtualKey); flag >= 0) state.KeysHeld[flag] = 0;
}

void KeyState::Down(GameState& state, int flag)
{
    if (!state.KeysHeld[flag]) pressedSinceTick_[flag] = 1;
    letGoAfterTick_[flag] = 0;
    state.KeysHeld[flag] = 1;
}

void KeyState::Up(GameState& state, int flag)
{
    if (pressedSinceTick_[flag] && state.KeysHeld[flag]) letGoAfterTick_[flag] = 1;
    else state.KeysHeld[flag] = 0;
}

void KeyState::ReleaseAll(GameState& state)
{
    state.KeysHeld = {};
    pressedSinceTick_ = {};
    letGoAfterTick_ = {};
}

void KeyState::AfterTick(GameState& state)
{
    for (int flag = 0; flag < InputFlagCount; ++flag)
        if (letGoAfterTick_[flag]) state.KeysHeld[flag] = 0;
    pressedSinceTick_ = {};
    letGoAfterTick_ = {};
}
