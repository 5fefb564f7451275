#pragma once

#include <cstdint>
#include <string>

// What makes a cave and the game played in it.
struct GameSettings {
    int width = 100;
    int height = 100;
    int variant = 0;  // the character, 0..2
    bool beginner = false;
    int speedToDeath = 11;  // the falling speed that kills
    std::uint32_t seed = 0;

    bool operator==(const GameSettings&) const = default;
};

// "100x100 character 1 beginner no speed 11 seed 1234".
std::string DescribeSettings(const GameSettings& settings);
