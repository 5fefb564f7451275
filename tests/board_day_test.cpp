#include <gtest/gtest.h>

#include "board/board_day.h"
#include "screens/daily_seed.h"

namespace {

TEST(BoardDay, RealDatesOnlyAndTheirDailySeeds)
{
    EXPECT_EQ(ParseBoardDay("2026-12-08"), (BoardDay{2026, 12, 8}));
    EXPECT_EQ(ParseBoardDay("2024-02-29"), (BoardDay{2024, 2, 29}));
    for (const char* bad : {"2026-02-29", "2026-04-31", "2026-13-01", "2026-00-10", "2026-3-15", "2026-03-15x", "20260315",
                            "1969-12-31", "2026/03/15", "+026-03-15", ""})
        EXPECT_EQ(ParseBoardDay(bad), std::nullopt) << bad;

    EXPECT_EQ((BoardDay{2026, 12, 8}).Seed(), 20261208u);
    EXPECT_EQ((BoardDay{2026, 12, 8}).Text(), "2026-12-08");
    EXPECT_EQ((BoardDay{2026, 3, 1}).Before(), (BoardDay{2026, 2, 28}));
    EXPECT_EQ((BoardDay{2024, 3, 1}).Before(), (BoardDay{2024, 2, 29}));
    EXPECT_EQ((BoardDay{2026, 1, 1}).Before(), (BoardDay{2025, 12, 31}));

    // The last second of a day in UTC is still that day; the game's seed agrees.
    const std::time_t lastSecond = 1796774399;  // 2026-12-08 23:59:59 UTC
    EXPECT_EQ(BoardDayOf(lastSecond), (BoardDay{2026, 12, 8}));
    EXPECT_EQ(BoardDayOf(lastSecond + 1), (BoardDay{2026, 12, 9}));
    EXPECT_EQ(DailySeed(lastSecond), 20261208u);

    EXPECT_EQ(BoardDayOfSeed(20261208), (BoardDay{2026, 12, 8}));
    for (std::uint32_t seed : {20260230u, 20261300u, 7u, 0u, 4294967295u}) EXPECT_EQ(BoardDayOfSeed(seed), std::nullopt) << seed;

    EXPECT_TRUE(BoardSettings{}.Main());
    EXPECT_FALSE((BoardSettings{.beginner = true}).Main());
    EXPECT_FALSE((BoardSettings{.speedToDeath = 12}).Main());
    EXPECT_EQ((BoardSettings{.width = 20}).Game(BoardDay{2026, 3, 16}).seed, 20260316u);
}

}  // namespace
