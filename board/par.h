#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "board/board_day.h"
#include "board/submission.h"

struct ParLimits {
    double seconds = 300;  // processor time of the whole process; 0: no par is searched for
    std::size_t memoryBytes = std::size_t(1024) << 20;
};

struct ParSearch {
    std::optional<CheckedSubmission> run;  // checked as a submission is
    std::string note;                      // what came of the search
};

// The automatic player's way through the day's main cave, as a run file
// that the board checks as it checks every run.
ParSearch SearchPar(const BoardDay& day, const ParLimits& limits);
