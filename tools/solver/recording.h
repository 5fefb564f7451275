#pragma once

#include <cstdint>
#include <vector>

#include "play/game.h"

// The most ticks a recording holds: words 16 to 65535 of the replay buffer.
constexpr std::size_t MaxRecordedTicks = 65520;

// The bytes of replay.dat for a recording: the random state as the generation
// left it in words 0 to 3 (a byte each, least significant first), words 4 to
// 15 zero, the input of tick k in word 16 + k, the rest zero; 65,537 words,
// little-endian. Ticks past the buffer's end are left out.
std::vector<std::uint8_t> ReplayFileImage(std::uint32_t randomState, const std::vector<std::uint16_t>& inputs);

// How a recording played out.
struct PlayOut {
    bool goalTaken = false;
    int ticks = 0;          // ticks played, up to the one that took the goal
    int deaths = 0;
    int itemsUsed = 0;      // counts that went down
    std::int32_t score = 0;
    bool usedEmptySlot = false;  // Use pressed on an empty slot
};

// Plays the inputs, a tick each through the frame tick, in a freshly
// generated game, until the goal is taken or the inputs run out.
PlayOut PlayRecording(Game& game, const std::vector<std::uint16_t>& inputs);
