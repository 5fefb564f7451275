#include "cave/random.h"

#include "core/wall_clock.h"

std::uint32_t SeedFromClock(const WallClock& clock) { return clock.UtcMillisecondsOfDay(); }
