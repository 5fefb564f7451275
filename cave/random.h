#pragma once

#include <cstdint>

struct WallClock;

// The game's one random number generator: a linear congruential step of the
// state, and the upper half of n times the new state. Result 0..n-1, n >= 1.
inline std::uint32_t RandomBelow(std::uint32_t& RandomState, std::uint32_t n)
{
    RandomState = RandomState * 134775813u + 1u;
    return std::uint32_t((std::uint64_t(n) * RandomState) >> 32);
}

// The seed the clock gives: the UTC time of day in milliseconds.
std::uint32_t SeedFromClock(const WallClock& clock);

// The demonstration's cave is made from this seed.
constexpr std::uint32_t DemonstrationSeed = 1;
