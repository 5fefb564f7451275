#pragma once

#include <string>

#include "cave/generator.h"

// What every generated cave must be, with its generator's report: the frame of
// hard rock around the carved box, one exit, only the tiles of the variant,
// and, when the generation says yes, a start on rock far enough from the exit.
// A generation that says no must have a reason. Empty when all holds.
std::string BrokenCaveRule(const CaveMap& map, const GameState& state, const GenerationReport& report, bool ok,
                           int width, int height, int variant);
