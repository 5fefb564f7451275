#pragma once

struct Game;

// One tick of the ending screen.
void EndingStep(Game& game);
