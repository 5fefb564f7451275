#pragma once

#include "gfx/assets.h"

struct Game;

// The walk the play benchmarks measure: left and right in turns of forty
// ticks, jumping now and then, in the largest cave. A new game for it, and
// its tick k.
void StartTheWalk(Game& game);
void WalkTick(Game& game, int k);

// What a tick of that walk costs with its view, in nanoseconds, timed over
// `ticks` ticks: the same loop on the desktop and in the browser.
double NanosecondsPerTick(const Assets& art, int ticks);
