#include "screens/keys.h"

namespace {

int FlagOfKey(int virtualKey)
{
    const KeyBinding* binding = BindingOf(virtualKey);
    return binding && binding->role == KeyRole::Input ? binding->flag : -1;
}

}  // namespace

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
