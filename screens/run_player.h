#pragma once

#include "cave/run_file.h"

struct Game;

// Plays a run file's game again: its cave made from its seed, its settings and
// its character, and on every tick the recorded input in place of the keys and
// the joystick. The window watches runs with it, the simulator verifies them.
class RunPlayer {
public:
    explicit RunPlayer(RunFile run) : run_(std::move(run)) {}

    const RunFile& Run() const { return run_; }

    // Sets the game up as the run's game began, on the play screen. The run
    // must have been read by ParseRunFile or ReadRunFile. False when its cave
    // is unfit to play.
    bool Start(Game& game) const;
    // One frame tick with the recorded input of the tick.
    void Tick(Game& game) const;
    // On the play screen with recorded ticks left.
    bool Playing(const Game& game) const;
    // Ticks played since Start.
    std::uint32_t TicksPlayed(const Game& game) const;

private:
    RunFile run_;
};
