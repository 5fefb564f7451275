#pragma once

#include <cstdint>

struct Game;
struct TickProbe;

// The character's sprite stands at (128, 128) of the view.
constexpr int ViewCentre = 128;

// A sprite this far from the character on both axes or nearer is in the view.
inline bool InView(std::int32_t dx, std::int32_t dy) { return dx > -144 && dx < 144 && dy > -144 && dy < 144; }

// The top left corner of a sprite at the view's edge, on the way from the
// character to the point (x, y) beyond the view: how the ghost and a race's
// shadow are pointed at.
struct ViewPoint {
    int x = 0, y = 0;
};
ViewPoint TowardAtTheEdge(const Game& game, std::int32_t x, std::int32_t y);

// Redraws the whole play view around the character: the 18 by 18 cells, the
// character (hidden on odd ticks of its death), the action's overlay, the
// ghost, and in the demonstration its caption.
void DrawPlayView(Game& game, const TickProbe& tick);

// The current action's picture over the view: the bomb or its explosion, the
// tool's arrow, the compass arrow, the parachute, the bird, the jet.
void DrawActionOverlay(Game& game, const TickProbe& tick);
