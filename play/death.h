#pragma once

struct Game;

// A dead character blinks for three seconds where it died, then reappears at
// the last place a tick began with it standing, and a miss is counted.
void DeathCount(Game& game);

constexpr int DeathTicks = 60;
constexpr int MaxMisses = 99;
