#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "gfx/assets.h"
#include "play/game.h"
#include "screens/run_player.h"

// A race: a run played beside the player's game in the same cave, one tick
// of it for each tick of the player's, headless, and drawn over the player's
// view as a see-through figure. Nothing of it touches the player's game: its
// cave, its random numbers and its recording are its own.
class Race {
public:
    // The run must have been checked (ReadRunFile, ParseRunFile do).
    explicit Race(RunFile run);

    const RunFile& Run() const { return player_.Run(); }
    // The game the title starts for a race: the run's settings and facing.
    Game::FixedStart Start() const;

    // The player's race game has begun: the shadow begins again too.
    void Begin();
    // After each tick of the player's game: the shadow's tick, while its run
    // lasts; true on the tick it reaches the goal.
    bool Tick();
    // The shadow's ticks to the end of its run.
    void PlayToTheEnd();

    // The shadow's character over the player's view, where it stands; beyond
    // the view, a mark at the view's edge points its way.
    void Draw(Game& player) const;

    // How a racer stands: ticks played (up to the goal), score, misses.
    struct Standing {
        std::uint32_t ticks = 0;
        std::int32_t score = 0;
        std::int32_t misses = 0;
        bool reachedGoal = false;
    };
    static Standing Of(const Game& game);
    // The ticks by which you beat the shadow to the exit (below zero: it beat
    // you), once both have reached it.
    static std::optional<long> Lead(const Standing& you, const Standing& shadow);
    Standing Shadow() const { return Of(*game_); }
    // The shadow's game, to look at.
    const Game& ShadowGame() const { return *game_; }

private:
    RunPlayer player_;
    Assets noPictures_;  // the shadow draws nothing of its own
    std::unique_ptr<Game> game_;
};

// "the shadow reached the exit: 52.30 s, score 1550, 0 misses".
std::string DescribeShadowFinish(const Race::Standing& shadow);
// "race: you 50.10 s, score 1400, 1 miss; the shadow 52.30 s, score 1550,
// 0 misses; you lead by 2.20 s" once the player has reached the goal.
std::string DescribeRace(const Race::Standing& you, const Race::Standing& shadow);
