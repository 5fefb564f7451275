#pragma once

#include <memory>
#include <string>

#include "core/null_shell.h"
#include "gfx/assets.h"
#include "play/game.h"
#include "tools/sim/options.h"

// A game with no window: the shell's clock is the simulator's, and the
// pictures are loaded only when a command has something to draw.
struct SimContext {
    explicit SimContext(bool needPictures);

    Assets art;
    NullShell shell;
    std::unique_ptr<Game> game;
};

// Runs the generator as a new game would, with RandomState = the seed in
// place of the clock.
bool GenerateFromOptions(SimContext& sim, const CommonOptions& options);

// Writes a file or throws UsageError naming it.
void WriteFileOrFail(const std::string& path, const void* data, std::size_t bytes);
