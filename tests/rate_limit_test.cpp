#include <gtest/gtest.h>

#include "board/rate_limit.h"

namespace {

using namespace std::chrono_literals;

TEST(RateLimit, ABurstThenAFewAMinuteForEachAddress)
{
    RateLimit limit(6, 3);
    const auto start = RateLimit::Clock::time_point() + 1h;
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(limit.Take("10.0.0.1", start)) << i;
    EXPECT_FALSE(limit.Take("10.0.0.1", start));
    EXPECT_EQ(limit.WaitSeconds("10.0.0.1", start), 10);
    // Another address has a burst of its own.
    EXPECT_TRUE(limit.Take("10.0.0.2", start));
    // One more every ten seconds, and a refused one costs nothing more.
    EXPECT_FALSE(limit.Take("10.0.0.1", start + 9s));
    EXPECT_TRUE(limit.Take("10.0.0.1", start + 10s));
    EXPECT_FALSE(limit.Take("10.0.0.1", start + 11s));
    // A long wait fills the burst again, and no more.
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(limit.Take("10.0.0.1", start + 1h)) << i;
    EXPECT_FALSE(limit.Take("10.0.0.1", start + 1h));

    RateLimit none(0, 1);
    for (int i = 0; i < 1000; ++i) ASSERT_TRUE(none.Take("10.0.0.1", start));
}

}  // namespace
