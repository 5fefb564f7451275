#include "screens/title.h"

#include "play/game.h"

void TitleStep(Game&) {}
