#include "screens/gamepad.h"

namespace {

constexpr std::uint32_t AxisLowest = 0, AxisHighest = 65535;

std::uint32_t Axis(std::int16_t value) { return std::uint32_t(int(value) + 32768); }

std::uint32_t PadAxis(std::int16_t stick, bool towardsLow, bool towardsHigh)
{
    if (towardsLow != towardsHigh) return towardsLow ? AxisLowest : AxisHighest;
    return Axis(stick);
}

}  // namespace

JoyInfoRecord JoyInfoOfPad(const PadState& pad)
{
    JoyInfoRecord info;
    info.wXpos = PadAxis(pad.stickX, pad.left, pad.right);
    info.wYpos = PadAxis(pad.stickY, pad.up, pad.down);
    info.wZpos = 0;
    const bool faces[] = {pad.a, pad.b, pad.x, pad.y};
    for (int b = 0; b < 4; ++b)
        if (faces[b]) info.wButtons |= 1u << b;
    return info;
}

JoyInfoRecord JoyInfoOfStick(std::int16_t x, std::int16_t y, std::int16_t z, std::uint32_t buttons)
{
    return {Axis(x), Axis(y), Axis(z), buttons & 15u};
}
