#pragma once

struct Game;

// One tick of the title screen.
void TitleStep(Game& game);
