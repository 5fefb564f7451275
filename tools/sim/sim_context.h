#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gfx/assets.h"
#include "play/game.h"
#include "screens/run_player.h"
#include "sound/sound_bank.h"
#include "tools/sim/options.h"

// A game with no window: its clock moves with the ticks, and the pictures are
// loaded only when a command has something to draw.
struct SimContext {
    explicit SimContext(bool needPictures);

    Assets art;
    std::unique_ptr<Game> game;
};

// An inputs file: one input word per line in decimal, line k the input of
// tick k; or UsageError naming the file and the line.
std::vector<std::uint16_t> ReadInputsOrFail(const std::string& path);

// A run file read and checked against its own play as verify checks it, or
// UsageError naming the problem.
RunFile ReadRunOrFail(const std::string& path);

// The game's sounds from the data folder, or UsageError naming the problem.
SoundBank LoadSoundsOrFail();
// One tick of a run, with the simulated wall clock.
void PlayRunTick(SimContext& sim, const RunPlayer& player);

// The bytes of a regular file of at most `maxBytes`, or UsageError naming it:
// a pipe or a device is refused before anything waits on it.
std::vector<std::uint8_t> ReadFileOrFail(const std::string& path, std::size_t maxBytes);

// Refuses, before anything is played or searched, a place where the file of
// `option` could not be kept: a folder, a device or a pipe, or a folder that
// is not there or not writable; and, unless `replace`, a file that is there
// already.
void CheckOutputPath(const std::string& option, const std::string& path, bool replace);

// Writes the whole file, through a temporary file that replaces `path` only
// once every byte is on the disk, or throws UsageError naming it. Without
// `replace`, a file already there is kept and UsageError thrown.
void WriteFileOrFail(const std::string& path, const void* data, std::size_t bytes, bool replace = true);
