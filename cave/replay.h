#pragma once

#include <stdexcept>
#include <string>

#include "core/game_state.h"

// The replay buffer: words 0..3 the random state at the end of the game's
// generation (a byte each, least significant first), word 16 + k the input of
// the game's tick k, up to word 65535. replay.dat is its image on disk: the
// 65,537 words, little-endian, 131,074 bytes.
constexpr int FirstInputWord = 16;
constexpr int ReplayFileBytes = ReplayWords * 2;

// The first stretch of every play tick: in the demonstration the tick's input
// comes from the buffer, otherwise it is recorded there. Then FrameIndex += 1.
void RecordInput(GameState& state);

struct ReplayLoadError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Messages of a recording that cannot be loaded.
inline constexpr const char* ReplayNotFound = "ﾌｧｲﾙが見つかりません";
inline constexpr const char* ReplayAccessDenied = "ﾌｧｲﾙへのｱｸｾｽが拒否されました";

// Reads up to 131,074 bytes of `path` into the buffer from word 0 on; a shorter
// file fills what it has and leaves the rest as it was. Opens the file for
// reading only and never waits on a pipe or a device. Throws ReplayLoadError
// when the file is missing, unreadable or not a regular file.
void LoadReplay(ReplayWordBuffer& buffer, const std::string& path);
