#pragma once

#include <functional>
#include <optional>
#include <string>

#include "cave/cave_map.h"
#include "core/game_settings.h"
#include "core/game_state.h"
#include "core/wall_clock.h"
#include "core/window_requests.h"
#include "gfx/assets.h"
#include "gfx/status_bar.h"
#include "gfx/surface.h"
#include "play/bearing.h"

constexpr int ViewSize = 272;
constexpr int StatusHeight = 32;

// The whole game: its state, the cave, the tables and the two off-screen
// surfaces, with the pictures it draws from.
struct Game {
    explicit Game(const Assets& art, PixelFormat format = PixelFormat::Rgb32);
    // The game keeps a reference to its pictures: they must outlive it.
    explicit Game(const Assets&& art, PixelFormat format = PixelFormat::Rgb32) = delete;

    const Assets& art;

    GameState state;
    CaveMap map{};
    TrigTables trig;
    Surface ViewBitmap;    // 272 by 272, the play view and the title and ending pictures
    Surface StatusBitmap;  // 272 by 32, under the view

    // The sprite frame the last play step chose for the character (0..7).
    int lastPose = 0;

    // The clock of the step under way, handed in by the front end.
    WallClock clock;
    // What the screens asked of the window in the step under way.
    WindowRequests requests;
    // Where the demonstration's recording is read from, asked each time it starts.
    std::function<std::string()> replayPath = [] { return std::string("replay.dat"); };

    // The settings of the game in play, or of the last one played.
    GameSettings settings;
    // Set by the front end: every game the title starts is made from this
    // seed instead of the clock.
    std::optional<std::uint32_t> givenSeed;
    // Set by the front end for a race: every game the title starts is this
    // one, at once, without the setup dialog: its settings (the character
    // and the seed too) and the way the character faced as it began.
    struct FixedStart {
        GameSettings settings;
        std::uint8_t facing = 0;
    };
    std::optional<FixedStart> fixedStart;
};

inline void DrawStatusBar(Game& game) { DrawStatusBar(game.art, game.StatusBitmap, game.state); }

// A new game in a new cave: the settings go to the state and to
// game.settings; in the demonstration the recording is loaded from the
// file replayPath() names (which may throw ReplayLoadError); then GenerateCave,
// and on success a clean black status strip for the status bar. False when
// the cave is unfit to play.
bool NewGame(Game& game, const GameSettings& settings);

// A game fixed beforehand, a run's or a race's, on the play screen: its cave,
// its status bar, and the character facing the way it did as it began. False
// when the cave is unfit to play: it is played as the generator left it.
bool StartFixedGame(Game& game, const Game::FixedStart& start);
