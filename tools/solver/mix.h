#pragma once

#include <cstdint>

// Scrambles the bits of a number so that keys made of a few fields spread
// evenly over a hash table (the finaliser of SplitMix64).
inline std::uint64_t Mix(std::uint64_t v)
{
    v += 0x9e3779b97f4a7c15ull;
    v = (v ^ (v >> 30)) * 0xbf58476d1ce4e5b9ull;
    v = (v ^ (v >> 27)) * 0x94d049bb133111ebull;
    return v ^ (v >> 31);
}
