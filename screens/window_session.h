#pragma once

#include <functional>
#include <optional>

#include "gfx/surface.h"
#include "screens/keys.h"
#include "screens/race.h"
#include "screens/run_player.h"
#include "screens/run_recorder.h"

struct Game;

// A game window's work between the platform and the game, the same on the
// desktop and in the browser: a tick plays the player's keys or a watched
// run, the player's games are followed for the runs they keep, and the
// window's picture is made. The platform owns the timer, reads the joystick
// into the state before a tick, and decides what becomes of a kept run.
class WindowSession {
public:
    // What the platform is told of the player's games.
    class Listener {
    public:
        virtual ~Listener() = default;
        virtual void GameStarted(const RunHeader& header) = 0;
        // A game of the player's ended: its run, to keep or not.
        virtual void GameEnded(const RunFile& run) = 0;
        // How a race stands, in a line: the shadow reached the exit, or the
        // player did.
        virtual void RaceNews(const std::string& line) = 0;
    };

    WindowSession(Game& game, Listener& listener);

    // One 50 ms tick, then the window's picture of it.
    void Tick();
    // Work that may start a game between two ticks, as the browser's setup
    // form does when it answers: the game is followed as after a tick.
    void BetweenTicks(const std::function<void()>& work);

    // Plays a checked run in place of the player's keys from the next tick;
    // a game of the player's in play ends first, as Shift+F2 ends it.
    // When its last tick is played, a run that reached the goal stays on its
    // ending and any other goes back to the title.
    void StartWatching(RunFile run);
    bool Watching() const { return watching_.has_value(); }
    // Held while watching: four ticks a tick.
    void SetFastForward(bool held) { fastForward_ = held && watching_.has_value(); }

    // Every game the title starts from now on races the checked run: in its
    // cave and settings, at once, with its shadow.
    void RaceAgainst(RunFile run);
    const std::optional<Race>& Racing() const { return race_; }

    // A key of the game went down or up (the keys of the classic desktop);
    // Shift+F2 first ends the game being played.
    KeyEffect KeyDown(int virtualKey, bool shiftHeld);
    void KeyUp(int virtualKey);
    // The window is closing: a game being played ends.
    void Closing();

    // The 272 by 304 pixels of the window: the view over the status bar.
    const Surface& Picture() const { return picture_; }
    // "PAUSE" over the picture, as the pause shows it.
    void ShowPause();

private:
    void WatchTicks();
    void Follow(RunRecorder::Event event);
    void RaceTick(int screenBefore);

    Game& game_;
    Listener& listener_;
    Surface picture_;
    RunRecorder recorder_;
    std::optional<RunPlayer> watching_;
    bool fastForward_ = false;
    std::optional<Race> race_;
    bool racing_ = false;  // the player's race game is in play
};

// Ticks a frame while the fast-forward key is held.
constexpr int FastForwardTicks = 4;
