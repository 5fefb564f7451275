#include "bench/tick_loop.h"

#include <chrono>

#include "play/game.h"
#include "screens/frame_tick.h"

void StartTheWalk(Game& game)
{
    NewGame(game, {.width = 216, .height = 216, .variant = 2, .beginner = true, .speedToDeath = 16, .seed = 1});
    game.state.Screen = ScreenPlay;
}

void WalkTick(Game& game, int k)
{
    const bool right = (k / 40) % 2 == 0;
    game.state.KeysHeld = FlagsFromWord(std::uint16_t((right ? BitRight : BitLeft) | (k % 25 == 0 ? BitUp : 0)));
    FrameTick(game);
    if (game.state.Screen != ScreenPlay) game.state.Screen = ScreenPlay;
}

double NanosecondsPerTick(const Assets& art, int ticks)
{
    Game game(art);
    StartTheWalk(game);
    for (int k = 0; k < 200; ++k) WalkTick(game, k);  // warm
    const auto start = std::chrono::steady_clock::now();
    for (int k = 0; k < ticks; ++k) WalkTick(game, k);
    const std::chrono::duration<double, std::nano> spent = std::chrono::steady_clock::now() - start;
    return spent.count() / ticks;
}
