#pragma once

struct Game;
struct TickProbe;

// Redraws the whole play view around the character: the 18 by 18 cells, the
// character (hidden on odd ticks of its death), the action's overlay, the
// ghost, and in the demonstration its caption.
void DrawPlayView(Game& game, const TickProbe& tick);

// The current action's picture over the view: the bomb or its explosion, the
// tool's arrow, the compass arrow, the parachute, the bird, the jet.
void DrawActionOverlay(Game& game, const TickProbe& tick);
