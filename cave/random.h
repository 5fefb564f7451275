#pragma once

#include <cstdint>

class Shell;

// The game's one random number generator: a linear congruential step of the
// state, and the upper half of n times the new state. Result 0..n-1, n >= 1.
inline std::uint32_t RandomBelow(std::uint32_t& RandomState, std::uint32_t n)
{
    RandomState = RandomState * 134775813u + 1u;
    return std::uint32_t((std::uint64_t(n) * RandomState) >> 32);
}

// Seeds from the UTC time of day in milliseconds.
void SeedFromClock(std::uint32_t& RandomState, Shell& shell);
