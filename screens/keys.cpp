#include "screens/keys.h"

namespace {

int FlagOfKey(int virtualKey)
{
    switch (virtualKey) {
    case KeyUp: return InputUp;
    case KeyDown: return InputDown;
    case KeyLeft: return InputLeft;
    case KeyRight: return InputRight;
    case KeySpace:
    case KeyX: return ButtonSelect;
    case KeyEnter:
    case KeyZ: return ButtonUse;
    default: return -1;
    }
}

}  // namespace

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
