#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// What a player may ask of a game's runs as it starts, on the window's
// command line (--seed N) or in the page's address (?seed=N). Both are read
// by these rules, each front end naming its options its own way: "--" or "?".
struct RunChoices {
    bool seed = false, daily = false, watch = false, race = false;
};

// Why the choices cannot go together, or "" when they can.
std::string RunChoicesConflict(const RunChoices& choices, std::string_view prefix);

// A seed as the player wrote it: a whole number from 0 to 4294967295.
std::optional<std::uint32_t> ReadSeed(std::string_view text);
// The message for a seed that ReadSeed refuses.
std::string BadSeed(std::string_view text, std::string_view prefix);
