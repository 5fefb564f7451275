#pragma once

#include "core/game_state.h"

// Enough of a game to put it back where it stood and play on from there: the
// play part of its state, without the recording.
using PlaySnapshot = PlayState;

inline PlaySnapshot TakeSnapshot(const GameState& state) { return state; }
inline void RestoreSnapshot(GameState& state, const PlaySnapshot& snapshot) { static_cast<PlayState&>(state) = snapshot; }
