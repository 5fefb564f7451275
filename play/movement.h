#pragma once

struct Game;
struct TickProbe;

// Left, then Right: a step of 4 pixels (8 with the potion) when nothing solid
// stands at knee height in the column the character walks into.
void Walk(Game& game, TickProbe& tick);

// Jumping and thrusting, the head against rock, gravity, landing, then
// climbing, hanging or falling, and last the fatal speed.
void VerticalMotion(Game& game, TickProbe& tick);
