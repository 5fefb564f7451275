#pragma once

#include <optional>

#include "cave/run_file.h"

struct Game;

// Follows the games of a window for a player who keeps their runs: what a run
// file needs is taken when a game starts from the title, and the run is
// handed out when that game ends. The demonstration and watched runs are no
// games of the player's and are never kept.
class RunRecorder {
public:
    enum class Event { None, Started, Ended };

    // After every frame tick, with the screen before it and the speed of the
    // clock that gave it: a game that started (its header from the settings
    // of the game) or reached the goal. A game played slower, at any tick,
    // says so in its run.
    Event AfterTick(const Game& game, int screenBefore, int speed = RunHeader::FullSpeed);
    // The game is being left by Shift+F2 or by closing the window: Ended when
    // one was being played.
    Event Leaving(const Game& game, RunEnding ending);

    // The game that started last (after Started) or the run that ended (after Ended).
    const RunHeader& Header() const { return header_; }
    const std::optional<RunFile>& Finished() const { return finished_; }

private:
    Event End(const Game& game, RunEnding ending);

    bool playing_ = false;
    RunHeader header_;
    std::optional<RunFile> finished_;
};
