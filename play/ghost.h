#pragma once

#include <cstdint>

struct Game;

constexpr std::int32_t GhostActive = 20;  // GhostTimer of a ghost in full strength; 1..19 fade

// Every 600 ticks a ghost may appear 300 pixels from the character; it drifts
// toward it through rock and kills on contact.
void GhostStep(Game& game);

// The ghost in the view, or, while it is out of view, a blinking copy of it at
// the view's edge pointing its way.
void DrawGhost(Game& game);
