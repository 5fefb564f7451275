#pragma once

#include <string>

#include "cave/cave_map.h"

struct Game;

// What must hold after every tick of any game, whatever the input: the map
// holds only tile codes 0..47, the character's cell lies inside the frame of
// hard rock (columns and rows 9 to 244), counts 0..9, misses 0..99, and every
// other field within its range. Empty when all holds, else what broke.
// With wholeMap false only the cells within reach of the character's tools
// are looked at, which is where a tick can change the map.
std::string BrokenInvariant(const Game& game, bool wholeMap = true);

// As BrokenInvariant, but of the map only the columns that differ from
// `before` are looked at: at the end of a game, every cell it changed.
std::string BrokenInvariantSince(const Game& game, const CaveMap& before);
