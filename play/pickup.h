#pragma once

struct Game;
struct TickProbe;

// Collects what lies in the character's own cell at the start of the tick
// (none while it stands half-way between two columns): an item into its slot,
// a treasure into the score, the exit ends the game.
void PickUp(Game& game, const TickProbe& tick);

constexpr int ItemPoints = 50;
constexpr int MaxCount = 9;
