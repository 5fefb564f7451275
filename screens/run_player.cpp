#include "screens/run_player.h"

#include "cave/replay.h"
#include "play/game.h"
#include "screens/frame_tick.h"

bool RunPlayer::Start(Game& game) const
{
    GameState& s = game.state;
    const RunHeader& h = run_.header;
    s.DemoMode = false;
    const bool ok = StartFixedGame(game, {h.settings, h.facing});
    // What the title's last tick left behind.
    s.InputNow = FlagsFromWord(h.inputBefore);
    return ok;
}

void RunPlayer::Tick(Game& game) const
{
    const std::uint32_t k = TicksPlayed(game);
    const InputFlags input = FlagsFromWord(k < run_.inputs.size() ? run_.inputs[k] : 0);
    FrameTick(game, &input);
}

bool RunPlayer::Playing(const Game& game) const
{
    return game.state.Screen == ScreenPlay && !game.state.DemoMode && TicksPlayed(game) < run_.inputs.size();
}

std::uint32_t RunPlayer::TicksPlayed(const Game& game) const
{
    return std::uint32_t(game.state.FrameIndex - FirstInputWord);
}
