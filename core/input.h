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
    InputFlags flags{};
    for (int i = 0; i < InputFlagCount; ++i) flags[i] = (word >> i) & 1u;
    return flags;
}

// A press is an edge: set on this tick, clear on the one before.
template <typename State>
bool Pressed(const State& s, int flag)
{
    return s.InputNow[flag] && !s.InputPrev[flag];
}
