#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "board/board_day.h"
#include "runs/run_check.h"

// A submission the board does not take: the HTTP status and a reason a
// player can act on.
struct Refusal : std::runtime_error {
    Refusal(int status, const std::string& reason) : std::runtime_error(reason), status(status) {}
    int status;
};

// A run checked for a board: read, in a daily cave of `today` or the day
// before, played again to the goal and agreeing with its header.
struct CheckedSubmission {
    RunFile run;
    RunReplay replay;
    BoardDay day;
    BoardSettings board;
    // The file as the game writes it: what the run played, and nothing of
    // whatever else the sent file held past its last tick.
    std::vector<std::uint8_t> bytes;
};

// Throws Refusal: 413 for a file longer than a run file, 400 for a damaged
// one (or one whose header its play contradicts), 422 for a run that is not
// in a daily cave of those days or does not reach the goal.
CheckedSubmission CheckSubmission(const std::vector<std::uint8_t>& bytes, const BoardDay& today);

// The same for a run made here, such as the par: 422 or 400 as above.
CheckedSubmission CheckRun(const RunFile& run, const BoardDay& today);

// Runs with the same inputs played the same game: the second is a copy. The
// hash finds the candidates; SameInputs decides.
std::uint64_t InputsHash(const std::vector<std::uint16_t>& inputs);
bool SameInputs(const RunFile& a, const RunFile& b);

// A hash of stored bytes, checked when they are read back.
std::uint64_t BytesHash(const std::vector<std::uint8_t>& bytes);
