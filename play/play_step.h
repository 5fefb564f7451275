#pragma once

struct Game;

// One tick of the play screen: the input, the clock, the ghost, the branch of
// the current action (or walking, falling, dying and collecting), the items,
// and last the view.
void PlayStep(Game& game);
