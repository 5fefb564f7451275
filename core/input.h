#pragma once

#include <array>
#include <cstdint>

// The six input flags of a tick, one byte each holding 0 or 1.
enum InputFlag : int {
    InputUp = 0,
    InputDown = 1,
    InputLeft = 2,
    InputRight = 3,
    ButtonSelect = 4,
    ButtonUse = 5,
};
constexpr int InputFlagCount = 6;

using InputFlags = std::array<std::uint8_t, InputFlagCount>;

// The same inputs as the bits of an input word.
enum InputBit : std::uint16_t {
    BitUp = 1 << InputUp,
    BitDown = 1 << InputDown,
    BitLeft = 1 << InputLeft,
    BitRight = 1 << InputRight,
    BitSelect = 1 << ButtonSelect,
    BitUse = 1 << ButtonUse,
};
constexpr std::uint16_t AllInputBits = (1 << InputFlagCount) - 1;

// Bit i of an input word is flag i; the replay buffer stores these words.
inline std::uint16_t InputWord(const InputFlags& flags)
{
    std::uint16_t word = 0;
    for (int i = 0; i < InputFlagCount; ++i)
        if (flags[i]) word |= std::uint16_t(1u << i);
    return word;
}

inline InputFlags FlagsFromWord(std::uint16_t word)
{
    const auto bit = [word](int i) { return std::uint8_t((word >> i) & 1u); };
    return {bit(0), bit(1), bit(2), bit(3), bit(4), bit(5)};
}

// A press is an edge: set on this tick, clear on the one before.
template <typename State>
bool Pressed(const State& s, int flag)
{
    return s.InputNow[flag] && !s.InputPrev[flag];
}
