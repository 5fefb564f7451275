#include "screens/frame_tick.h"

#include "play/game.h"
#include "play/play_step.h"
#include "screens/ending.h"
#include "screens/title.h"

namespace {
// The joystick's dead zone is 10000..55000 on both axes.
constexpr std::uint32_t AxisLow = 10000, AxisHigh = 55000;
constexpr std::uint32_t SelectButtons = 1 | 8, UseButtons = 2 | 4;
}

void FrameTick(Game& game, const InputFlags* recorded)
{
    GameState& s = game.state;
    s.InputPrev = s.InputNow;
    s.InputNow = recorded ? *recorded : s.KeysHeld;
    if (s.JoystickPresent && !recorded) {
        const JoyInfoRecord& j = s.JoyInfo;
        s.InputNow[InputUp] |= j.wYpos < AxisLow;
        s.InputNow[InputDown] |= j.wYpos > AxisHigh;
        s.InputNow[InputLeft] |= j.wXpos < AxisLow;
        s.InputNow[InputRight] |= j.wXpos > AxisHigh;
        s.InputNow[ButtonSelect] |= (j.wButtons & SelectButtons) != 0;
        s.InputNow[ButtonUse] |= (j.wButtons & UseButtons) != 0;
    }
    // Advanced on every tick, joystick or not: its readers expect 0, 1, 0, 1.
    s.BlinkPhase = (s.BlinkPhase + 1) % 2;

    switch (s.Screen) {
    case ScreenTitle: TitleStep(game); break;
    case ScreenPlay: PlayStep(game); break;
    case ScreenEnding: EndingStep(game); break;
    default: break;
    }
}
