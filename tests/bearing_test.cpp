#include <gtest/gtest.h>

#include "play/bearing.h"

namespace {

TEST(TrigTables, HoldTheQuarterTurnsExactly)
{
    TrigTables t;
    BuildTrigTables(t);
    EXPECT_EQ(t.CosTable[0], 1.0f);
    EXPECT_EQ(t.CosTable[512], 1.0f);
    EXPECT_EQ(t.SinTable[128], 1.0f);
    EXPECT_EQ(t.CosTable[256], -1.0f);
    EXPECT_EQ(t.SinTable[384], -1.0f);
}

TEST(TrigTables, EdgeDistanceReachesTheSquaresBorder)
{
    TrigTables t;
    BuildTrigTables(t);
    EXPECT_EQ(t.EdgeDistance[0], 128.0f);
    EXPECT_FLOAT_EQ(t.EdgeDistance[32], 138.5462f);
    EXPECT_EQ(t.EdgeDistance[64], 181.01933f);
    EXPECT_FLOAT_EQ(t.EdgeDistance[96], 138.5462f);
    EXPECT_EQ(t.EdgeDistance[128], 128.0f);
    for (int i = 0; i <= 64; ++i)
        for (int j = 0; j < 4; ++j) {
            ASSERT_EQ(t.EdgeDistance[128 * j + i], t.EdgeDistance[i]);
            ASSERT_EQ(t.EdgeDistance[128 * j + 128 - i], t.EdgeDistance[i]);
        }
}

TEST(BearingTo, PointsAtTheEightNeighbours)
{
    EXPECT_EQ(BearingTo(0, 0, 10, 0), 0);
    EXPECT_EQ(BearingTo(0, 0, 10, 10), 64);
    EXPECT_EQ(BearingTo(0, 0, 0, 10), 128);
    EXPECT_EQ(BearingTo(0, 0, -10, 10), 192);
    EXPECT_EQ(BearingTo(0, 0, -10, 0), 256);
    EXPECT_EQ(BearingTo(0, 0, -10, -10), 320);
    EXPECT_EQ(BearingTo(0, 0, 0, -10), 384);
    EXPECT_EQ(BearingTo(0, 0, 10, -10), 448);
}

TEST(BearingTo, APointSeenFromItselfLiesDown)
{
    EXPECT_EQ(BearingTo(500, 700, 500, 700), 128);
}

TEST(BearingTo, StaysWithinOneTurnFromFarAway)
{
    for (int dx = -3000; dx <= 3000; dx += 37)
        for (int dy = -3000; dy <= 3000; dy += 41) {
            int b = BearingTo(1000, 1000, 1000 + dx, 1000 + dy);
            ASSERT_GE(b, 0);
            ASSERT_LT(b, 512);
        }
}

}  // namespace
