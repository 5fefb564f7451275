#pragma once

struct Game;

// One tick of the play screen.
void PlayStep(Game& game);
