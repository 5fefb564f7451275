#pragma once

#include <cstdint>
#include <string>

#include "cave/cave_map.h"

struct Game;

// One line of numbers per play tick, the state as the tick left it.
inline constexpr const char* TraceHeader =
    "frame x y fall facing pose action timer toolx tooly death rx ry misses score i0 i1 i2 i3 i4 i5 slot gx gy gtimer "
    "screen rng map";

std::string TraceLine(const Game& game);

// FNV-1a, 32 bits, of the map's 65,536 bytes in memory order.
std::uint32_t MapHash(const CaveMap& map);
