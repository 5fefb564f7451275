#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "board/board_day.h"

// Bad usage: the message names the problem; the program exits with status 2.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct BoardOptions {
    std::string host = "127.0.0.1";
    int port = 8217;  // 0: a free one
    std::string data;  // the folder of the store
    std::optional<std::string> page;
    int submissionsPerMinute = 6;  // 0: no limit
    int submissionBurst = 12;
    int parSeconds = 300;  // 0: no par
    int parMemoryMegabytes = 1024;
    // For tests: the day the board takes as today, in place of the clock's.
    std::optional<BoardDay> today;
    bool help = false;
    bool version = false;
};

// The folder of the store when --data is not given:
// $XDG_DATA_HOME/burrowkin/board, or ~/.local/share/burrowkin/board.
std::string DefaultDataFolder();

// Throws UsageError naming the option and what is wrong with it.
BoardOptions ParseBoardOptions(const std::vector<std::string>& args);

extern const char* const BoardUsage;
