#include "play/game.h"

#include "cave/generator.h"
#include "cave/replay.h"

Game::Game(const Assets& art_, PixelFormat format)
    : art(art_), ViewBitmap(ViewSize, ViewSize, format), StatusBitmap(ViewSize, StatusHeight, format)
{
    BuildTrigTables(trig);
}

bool NewGame(Game& game, const GameSettings& settings)
{
    GameState& s = game.state;
    s.CaveWidth = settings.width;
    s.CaveHeight = settings.height;
    s.Variant = std::uint8_t(settings.variant);
    s.Beginner = settings.beginner;
    s.SpeedToDeath = settings.speedToDeath;
    game.settings = settings;
    if (s.DemoMode) LoadReplay(s.ReplayBuffer, game.replayPath());
    const bool ok = GenerateCave(s, game.map, settings);
    if (ok) game.StatusBitmap.FillBlack();
    return ok;
}

bool StartFixedGame(Game& game, const Game::FixedStart& start)
{
    const bool ok = NewGame(game, start.settings);
    game.state.Screen = ScreenPlay;
    DrawStatusBar(game);
    game.state.Facing = start.facing;
    return ok;
}
