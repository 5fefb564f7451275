#pragma once

struct Game;

// One tick of the ending screen: the character's picture, after a full-size
// game without beginner mode the way to the next character, and back to the
// title on a new button press.
void EndingStep(Game& game);
