#pragma once

#include "gfx/assets.h"

// The game's pictures as the build tree holds them ($BURROWKIN_DATA_DIR when
// set), loaded once, for tests, fuzzers and benchmarks.
const Assets& BuildTreeAssets();
