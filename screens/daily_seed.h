#pragma once

#include <cstdint>
#include <ctime>

// The cave of the day: the seed is the date in UTC written as a number,
// year * 10000 + month * 100 + day (20261208 on 8 December 2026), so that
// everybody who picks the same size, character and beginner setting on that
// day plays the same cave.
std::uint32_t DailySeed(std::time_t now);
