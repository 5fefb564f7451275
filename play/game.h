#pragma once

#include <optional>

#include "cave/cave_map.h"
#include "core/game_state.h"
#include "core/shell.h"
#include "gfx/assets.h"
#include "gfx/status_bar.h"
#include "gfx/surface.h"
#include "play/bearing.h"

constexpr int ViewSize = 272;
constexpr int StatusHeight = 32;

// The whole game: its state, the cave, the tables and the two off-screen
// surfaces, with the pictures it draws from and the shell it asks things of.
struct Game {
    Game(const Assets& art, Shell& shell, PixelFormat format = PixelFormat::Rgb32);
    // The game keeps a reference to its pictures: they must outlive it.
    Game(const Assets&& art, Shell& shell, PixelFormat format = PixelFormat::Rgb32) = delete;

    const Assets& art;
    Shell& shell;

    GameState state;
    CaveMap map{};
    TrigTables trig;
    Surface ViewBitmap;    // 272 by 272, the play view and the title and ending pictures
    Surface StatusBitmap;  // 272 by 32, under the view

    // The sprite frame the last play step chose for the character (0..7).
    int lastPose = 0;
};

inline void DrawStatusBar(Game& game) { DrawStatusBar(game.art, game.StatusBitmap, game.state); }

// A new game in a new cave: GenerateCave, and on success a clean black status
// strip for the status bar. False when the cave is unfit to play. With a
// seed, the cave comes from it in place of the clock.
bool NewGame(Game& game, int width, int height, bool beginner, int variant,
             std::optional<std::uint32_t> seed = std::nullopt);
