#include "play/game.h"

#include "cave/generator.h"
#include "core/null_shell.h"

Game::Game(const Assets& art_, Shell& shell_, PixelFormat format)
    : art(art_), shell(shell_), ViewBitmap(ViewSize, ViewSize, format), StatusBitmap(ViewSize, StatusHeight, format)
{
    BuildTrigTables(trig);
}

bool NewGame(Game& game, int width, int height, bool beginner, int variant, std::optional<std::uint32_t> seed)
{
    // Outside the demonstration the generator asks its shell for nothing but the clock.
    NullShell seeded;
    if (seed) seeded.UtcMilliseconds = *seed;
    Shell& shell = seed && !game.state.DemoMode ? seeded : game.shell;
    const bool ok = GenerateCave(game.state, game.map, shell, width, height, beginner, variant);
    if (ok) game.StatusBitmap.FillBlack();
    return ok;
}
