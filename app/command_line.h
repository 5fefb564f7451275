#pragma once

#include <string>
#include <vector>

// What the game takes from its command line: a first argument of exactly
// "/256" draws through the tile sheet's palette. Everything else is ignored.
struct CommandLine {
    bool palette256 = false;
};

CommandLine ParseCommandLine(const std::vector<std::string>& arguments);
