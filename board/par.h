#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "board/board_day.h"
#include "board/submission.h"

struct ParLimits {
    double seconds = 300;  // processor time of the whole process
    std::size_t memoryBytes = std::size_t(1024) << 20;
};

// The automatic player's way through the cave of `settings`, as the run file
// of a game that played it from the start, or why there is none.
struct AutomaticRun {
    std::optional<RunFile> run;
    std::string note;  // what came of the search
};
AutomaticRun PlayAutomatically(const GameSettings& settings, const ParLimits& limits);

struct ParSearch {
    std::optional<CheckedSubmission> run;  // checked as a submission is
    std::string note;
};

// The par: the automatic player's run of the day's main board.
ParSearch SearchPar(const BoardDay& day, const ParLimits& limits);
