#include "cave/random.h"

#include "core/shell.h"

void SeedFromClock(std::uint32_t& RandomState, Shell& shell) { RandomState = shell.UtcMillisecondsOfDay(); }
