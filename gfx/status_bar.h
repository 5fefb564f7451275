#pragma once

#include "core/game_state.h"
#include "gfx/assets.h"
#include "gfx/surface.h"

// Redraws the strip under the view from the state: score, frame rate and the
// item pictures in row 0, play time, misses and the counts in row 1, and the
// blue frame over the selected slot. It never clears the strip first.
void DrawStatusBar(const Assets& art, Surface& StatusBitmap, const GameState& state);
