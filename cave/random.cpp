#include "cave/random.h"

#include "core/shell.h"

std::uint32_t SeedFromClock(Shell& shell) { return shell.UtcMillisecondsOfDay(); }
