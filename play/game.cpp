#include "play/game.h"

Game::Game(const Assets& art_, Shell& shell_, PixelFormat format)
    : art(art_), shell(shell_), ViewBitmap(ViewSize, ViewSize, format), StatusBitmap(ViewSize, StatusHeight, format)
{
    BuildTrigTables(trig);
}
