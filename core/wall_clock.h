#pragma once

#include <cstdint>

// The platform's clock as a tick sees it. The game never reads a clock of its
// own: the front end hands one in with every step, and headless programs hand
// in one that moves with the ticks.
struct WallClock {
    std::int64_t utcMilliseconds = 0;  // since 1970 began, in UTC
    int localSecond = 0;               // the seconds field of the local time, 0..59

    // 0..86,399,999: the seed of a game from the title.
    std::uint32_t UtcMillisecondsOfDay() const { return std::uint32_t(((utcMilliseconds % DayMilliseconds) + DayMilliseconds) % DayMilliseconds); }

    static constexpr std::int64_t DayMilliseconds = 86'400'000;
};

// The clock of a game played headless: tick k of play falls in second k / 20,
// as twenty ticks a second would.
inline WallClock ClockAfterTicks(std::uint32_t ticks)
{
    return WallClock{.utcMilliseconds = std::int64_t(ticks) * 50, .localSecond = int((ticks / 20) % 60)};
}
