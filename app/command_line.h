#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What the game takes from its command line: a first argument of exactly
// "/256" draws through the tile sheet's palette, and `--scale N` (anywhere)
// shows every pixel as an N by N block. Everything else is ignored.
struct CommandLine {
    static constexpr int MaxScale = 8;

    bool palette256 = false;
    int scale = 1;
    std::optional<std::uint32_t> seed;
    bool daily = false;
    std::optional<std::string> record;  // empty: the default folder
    std::optional<std::string> watch;
    // Why a --scale was not taken, one line each; the game says them and goes on.
    std::vector<std::string> warnings;
};

CommandLine ParseCommandLine(const std::vector<std::string>& arguments);
