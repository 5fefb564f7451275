#include <gtest/gtest.h>

#include "cave/reachability.h"

namespace {

// A hand-made cave: hard rock everywhere but the cells the test opens.
class ReachabilityTest : public ::testing::Test {
protected:
    CaveMap map{};
    ReplayWordBuffer stack{};
    void SetUp() override
    {
        for (auto& column : map) column.fill(TileHardRock);
        stack.fill(0x5555);
    }
    void Open(int x0, int y0, int x1, int y1, std::uint8_t tile = TileEmpty)
    {
        for (int x = x0; x <= x1; ++x)
            for (int y = y0; y <= y1; ++y) map[x][y] = tile;
    }
};

TEST_F(ReachabilityTest, DiggableRockLetsTheWayThrough)
{
    Open(20, 20, 30, 20);
    map[25][20] = TileDiggable;
    map[30][20] = TileGoal;
    EXPECT_TRUE(CheckReachable(map, stack, 20, 20));
}

TEST_F(ReachabilityTest, HardRockAllAroundShutsTheGoalAway)
{
    Open(20, 20, 21, 20);
    map[23][20] = TileGoal;  // two cells away, behind hard rock
    EXPECT_FALSE(CheckReachable(map, stack, 20, 20));
}

TEST_F(ReachabilityTest, CornersDoNotConnect)
{
    Open(20, 20, 20, 20);
    map[21][21] = TileGoal;
    EXPECT_FALSE(CheckReachable(map, stack, 20, 20));
    map[21][20] = TileLadder;  // an open cell that touches both sides
    EXPECT_TRUE(CheckReachable(map, stack, 20, 20));
}

TEST_F(ReachabilityTest, StartingOnTheGoalTouchesNothing)
{
    map[40][40] = TileGoal;
    EXPECT_TRUE(CheckReachable(map, stack, 40, 40));
    for (std::uint16_t w : stack) ASSERT_EQ(w, 0x5555);
}

TEST_F(ReachabilityTest, TheStartCellIsEnteredWhateverItHolds)
{
    map[40][40] = TileHardRock;
    Open(41, 40, 45, 40);
    map[45][40] = TileGoal;
    EXPECT_TRUE(CheckReachable(map, stack, 40, 40));
}

TEST_F(ReachabilityTest, KeepsItsPathAboveWordZero)
{
    Open(20, 20, 60, 20);  // a dead end: the search walks it and comes back
    EXPECT_FALSE(CheckReachable(map, stack, 20, 20));
    EXPECT_EQ(stack[0], 0x5555);
    EXPECT_EQ(stack[1], 20 * 256 + 20);
    EXPECT_EQ(stack[40], 59 * 256 + 20);
    EXPECT_EQ(stack[41], 0x5555);
}

TEST_F(ReachabilityTest, FindsTheGoalAcrossAWindingMaze)
{
    // Rows 20, 22, ... 40 open, joined alternately at the right and left ends.
    for (int r = 20; r <= 40; r += 2) {
        Open(20, r, 60, r);
        if (r < 40) Open(((r / 2) % 2) ? 20 : 60, r + 1, ((r / 2) % 2) ? 20 : 60, r + 1);
    }
    map[40][40] = TileGoal;
    EXPECT_TRUE(CheckReachable(map, stack, 20, 20));
}

TEST_F(ReachabilityTest, TheDeepestPathOfAnOpenMapFitsTheBuffer)
{
    // With every cell open the search snakes through all 65,536 of them: row 0,
    // then down and up the columns from the right. The goal at its very end
    // takes every word from 1 to 65535.
    for (auto& column : map) column.fill(TileEmpty);
    map[0][1] = TileGoal;
    EXPECT_TRUE(CheckReachable(map, stack, 0, 0));
    EXPECT_EQ(stack[1], 0);            // (0, 0)
    EXPECT_EQ(stack[65535], 0 * 256 + 2);
    EXPECT_EQ(stack[65536], 0x5555);
}

TEST_F(ReachabilityTest, StartsOutsideTheMapAreUnreachable)
{
    EXPECT_FALSE(CheckReachable(map, stack, -1, 5));
    EXPECT_FALSE(CheckReachable(map, stack, 5, 256));
}

}  // namespace
