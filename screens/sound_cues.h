#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "core/game_state.h"

class SoundBank;

// Every sound the game cues by name: the sounds file must have each.
inline constexpr std::string_view CuedSounds[] = {
    "jump", "land", "death", "caught", "reappear", "item", "treasure", "select", "empty", "aim", "fuse",
    "blast", "rope", "dig", "drill", "potion", "compass", "parachute", "wand", "bird", "pistol", "jet",
    "thrust", "ghost", "ghost-near", "banish", "goal", "unlock", "dialog", "start", "title", "fanfare"};

// The sounds of the game, found from what each tick did: the state before a
// tick and after it. Play itself never knows of them. A sound is not played
// again within its gap (the sounds file sets it), so that a held jet or a
// walk never machine-guns.
class SoundCues {
public:
    // No bank: no sound is ever cued.
    explicit SoundCues(const SoundBank* bank = nullptr) : bank_(bank) {}

    // Before a frame tick of the game that is heard.
    void Before(const GameState& state);
    // After it: the sounds it makes, as places in the bank, appended to `heard`.
    void After(const GameState& state, std::vector<int>& heard);
    // A sound of the screens' own by name ("dialog", "start", "unlock").
    void Cue(std::string_view name, std::vector<int>& heard);

private:
    const SoundBank* bank_;
    PlayState before_;
    std::int64_t ticks_ = 0;
    std::vector<std::int64_t> lastPlayed_;  // the tick each sound last played
};
