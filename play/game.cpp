#include "play/game.h"

#include "cave/generator.h"

Game::Game(const Assets& art_, Shell& shell_, PixelFormat format)
    : art(art_), shell(shell_), ViewBitmap(ViewSize, ViewSize, format), StatusBitmap(ViewSize, StatusHeight, format)
{
    BuildTrigTables(trig);
}

bool NewGame(Game& game, int width, int height, bool beginner, int variant)
{
    const bool ok = GenerateCave(game.state, game.map, game.shell, width, height, beginner, variant);
    if (ok) game.StatusBitmap.FillBlack();
    return ok;
}
