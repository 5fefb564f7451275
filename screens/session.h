#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "core/wall_clock.h"
#include "core/window_requests.h"
#include "gfx/surface.h"
#include "screens/key_bindings.h"
#include "screens/keys.h"
#include "screens/race.h"
#include "screens/run_player.h"
#include "screens/run_recorder.h"
#include "screens/sound_cues.h"

struct Game;

// What a front end hands the session in one step: what happened since the
// last one, and whether the timer fired.
struct TickInput {
    bool tick = false;  // the timer fired: a frame tick is due
    int speed = RunHeader::FullSpeed;  // the timer's pace, percent of 20 ticks a second
    WallClock clock;
    // The keyboard's events in the order they came, as the key table's codes.
    std::vector<KeyEvent> keys;
    // Joystick 0 as read for this tick; a front end that found none leaves it out.
    std::optional<JoyInfoRecord> joystick;
    // The setup dialog the last report asked for has answered: the settings,
    // or nothing when it was cancelled.
    struct SetupAnswer {
        std::optional<GameSettings> settings;
    };
    std::optional<SetupAnswer> setup;
    // The keys dialog the last report asked for has closed: the keys chosen,
    // or nothing when it was cancelled.
    struct KeysAnswer {
        std::optional<KeyBindings> bindings;
    };
    std::optional<KeysAnswer> keysAnswer;
    // Commands of the window's own.
    std::optional<RunFile> watch;  // a checked run to watch from now on
    std::optional<RunFile> race;   // a checked run that every game races from now on
    bool stopRace = false;         // games race nothing from now on (F4 does it too)
    std::optional<KeyBindings> bindings;  // the keys' meanings from now on; held keys are let go of
    bool closing = false;          // the window is closing
};

// What one step did, for the front end to show.
struct TickReport {
    std::string caption;  // the window's whole new caption, or empty when it stays
    int beeps = 0;
    enum class Timer { Unchanged, Hold, Release };
    Timer timer = Timer::Unchanged;  // hold: no frame tick until released
    bool openSetup = false;          // show the setup dialog; its answer comes in a later step
    bool openKeys = false;           // show the keys dialog; its answer comes in a later step
    std::vector<WindowRequests::Message> messages;  // boxes to show, each waited for
    bool toggleFullScreen = false;
    bool keyTaken = false;           // a key of this step's was one of the game's
    std::vector<std::string> news;  // lines for the player: a game's cave, the race
    bool raceStopped = false;
    // A game of the player's ended: its run, when it began, and the name it
    // is kept under.
    struct EndedGame {
        RunFile run;
        std::time_t started = 0;
        std::string fileName;
    };
    std::optional<EndedGame> ended;
    bool newPicture = false;  // Picture() changed
    // The sounds to play now, as places in the session's SoundBank.
    std::vector<int> sounds;
    bool stopMusic = false;    // a game began: the title's tune ends
    bool toggleSound = false;  // the player switched the sound off or on
};

// The game's one door, the same on the desktop and in the browser: a step
// takes what the platform saw and gives back what the window must do. A step
// runs the frame tick when the timer fired, plays the player's keys or a
// watched run, races a run's shadow, follows the player's games for the runs
// they keep, and makes the window's picture.
class Session {
public:
    // `seed`: every game the title starts is made from it instead of the
    // clock. `sounds`: the sounds the reports name; without them, none.
    explicit Session(Game& game, std::optional<std::uint32_t> seed = std::nullopt, const SoundBank* sounds = nullptr);

    TickReport Step(const TickInput& input);

    // The 272 by 304 pixels of the window: the view over the status bar.
    const Surface& Picture() const { return picture_; }
    bool Paused() const { return paused_; }
    bool Watching() const { return watching_.has_value(); }
    bool WaitingForSetup() const { return waitingForSetup_; }
    bool WaitingForKeys() const { return waitingForKeys_; }
    const KeyBindings& Bindings() const { return bindings_; }
    const std::optional<Race>& Racing() const { return race_; }

private:
    void Key(const KeyEvent& key, TickReport& report);
    void TogglePause(TickReport& report);
    void UseBindings(const KeyBindings& bindings);
    void OpenKeys(TickReport& report);
    bool TitleWhole() const;
    void DrawKeysHint();
    void Tick(TickReport& report);
    void WatchTicks(TickReport& report);
    void StartWatching(RunFile run);
    void RaceAgainst(RunFile run);
    void StopRace(TickReport& report);
    void Follow(RunRecorder::Event event, TickReport& report);
    void RaceTick(int screenBefore, TickReport& report);
    void Hand(TickReport& report);

    Game& game_;
    Surface picture_;
    KeyState keys_;
    KeyBindings bindings_ = KeyBindings::Defaults();
    RunRecorder recorder_;
    SoundCues cues_;
    std::optional<RunPlayer> watching_;
    bool fastForward_ = false;
    std::optional<Race> race_;
    bool racing_ = false;  // the player's race game is in play
    bool paused_ = false;
    int speed_ = RunHeader::FullSpeed;
    bool waitingForSetup_ = false;
    bool waitingForKeys_ = false;
    std::string caption_;   // the variant's, without the pause's word
    std::int64_t startedAt_ = 0;  // when the player's game in play began, in UTC milliseconds
};

// Ticks a frame while the fast-forward key is held.
constexpr int FastForwardTicks = 4;
