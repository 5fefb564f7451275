#pragma once

#include <cstdint>
#include <vector>

#include "board/board_day.h"
#include "cave/run_file.h"

// Runs of daily caves for the board's tests, benchmark and load: the
// automatic player's way through a small cave, and as many more as are
// wanted, each standing still for some ticks before it sets off.

// The automatic player's run in the day's cave of `settings`; throws
// std::runtime_error when it finds none within a minute.
RunFile AutomaticDailyRun(const BoardDay& day, const BoardSettings& settings);

// `run` with `ticks` ticks without input before its first: for the first
// character, another run to the goal, `ticks` later (the other characters
// are not left alone while they stand, and may not get there the same way).
RunFile StandingFirst(const RunFile& run, std::uint32_t ticks);
