#include <gtest/gtest.h>

#include <algorithm>

#include "play/actions.h"
#include "tests/support/playground.h"

namespace {

TEST(Standing, StaysAlignedAndStill)
{
    Playground p({"....", ".@..", "####"});
    const int y = p.s.PlayerY;
    for (int i = 0; i < 5; ++i) {
        p.Tick();
        EXPECT_EQ(p.s.PlayerY, y);
        EXPECT_EQ(p.s.FallSpeed, 0);
        EXPECT_EQ(p.game.lastPose, 0);
    }
}

TEST(Jump, RisesTwentyPixelsAndComesBack)
{
    Playground p({"....", "....", ".@..", "####"});
    const int y0 = p.s.PlayerY;
    p.Tick(BitUp);
    std::vector<int> heights{y0 - p.s.PlayerY};
    for (int i = 0; i < 8; ++i) {
        p.Tick();
        heights.push_back(y0 - p.s.PlayerY);
    }
    EXPECT_EQ(heights, (std::vector<int>{8, 14, 18, 20, 20, 18, 14, 8, 0}));
    EXPECT_EQ(p.s.FallSpeed, 8);  // landing speed, cancelled on the next tick
    EXPECT_EQ(p.game.lastPose, 3);
    p.Tick();
    EXPECT_EQ(p.s.FallSpeed, 0);
    EXPECT_EQ(p.s.PlayerY, y0);
}

TEST(Fall, SpeedsUpByTwoToSixteen)
{
    Playground p({".@.", "...", "...", "...", "...", "...", "...", "...", "...", "...", "...", "###"});
    p.s.SpeedToDeath = 16;
    p.Cell(1, 1) = TileEmpty;
    std::vector<int> speeds;
    for (int i = 0; i < 9; ++i) {
        p.Tick();
        speeds.push_back(p.s.FallSpeed);
    }
    EXPECT_EQ(speeds, (std::vector<int>{2, 4, 6, 8, 10, 12, 14, 16, 16}));
    EXPECT_EQ(p.s.DeathTimer, 0);
}

// Walking right off a ledge onto a floor `drop` cells lower.
Playground Ledge(int drop)
{
    std::vector<std::string> rows = {"@.....", "#....."};
    for (int i = 1; i < drop; ++i) rows.push_back("#.....");
    rows.push_back("######");
    Playground p({});
    for (auto& column : p.game.map) column.fill(TileHardRock);
    for (int r = 0; r < int(rows.size()); ++r)
        for (int c = 0; c < 6; ++c) p.Cell(c, r) = rows[r][c] == '#' ? TileHardRock : TileEmpty;
    p.s.PlayerX = Playground::X(0);
    p.s.PlayerY = Playground::Y(0);
    return p;
}

TEST(Fall, OneCellDownIsSurvivedTwoAreFatal)
{
    {
        Playground p = Ledge(1);
        p.Ticks(12, BitRight);
        EXPECT_EQ(p.s.DeathTimer, 0);
        EXPECT_EQ(p.s.PlayerY, Playground::Y(1));
    }
    {
        Playground p = Ledge(2);
        int fallTicks = 0;
        while (p.s.DeathTimer == 0 && fallTicks < 40) {
            const bool falling = p.s.FallSpeed > 0 || p.game.lastPose == 3;
            p.Tick(BitRight);
            if (falling || p.s.FallSpeed > 0) ++fallTicks;
        }
        EXPECT_EQ(p.s.DeathTimer, 1);
        EXPECT_EQ(p.s.FallSpeed, 12);
        EXPECT_EQ(fallTicks, 6);
    }
}

TEST(Fall, SpeedToDeathSixteenSparesEveryFallAndZeroKillsEveryJump)
{
    Playground high = Ledge(8);
    high.s.SpeedToDeath = 16;
    high.Ticks(40, BitRight);
    EXPECT_EQ(high.s.DeathTimer, 0);
    EXPECT_EQ(high.s.Misses, 0);

    Playground p({"...", ".@.", "###"});
    p.s.SpeedToDeath = 0;
    p.Tick(BitUp);
    int ticks = 1;
    while (p.s.DeathTimer == 0 && ticks < 20) {
        p.Tick();
        ++ticks;
    }
    EXPECT_EQ(p.s.DeathTimer, 1);
    EXPECT_EQ(ticks, 6);  // the first tick whose speed turns positive in the air
    EXPECT_EQ(p.s.FallSpeed, 2);
}

TEST(Walk, GoesFourPixelsIntoAWallAndStops)
{
    Playground p({".@#", "###"});
    const int x = p.s.PlayerX;
    p.Ticks(3, BitRight);
    EXPECT_EQ(p.s.PlayerX, x + 4);
    EXPECT_EQ(p.s.StepCounter, 3);  // refused steps still count
}

TEST(Walk, GoesEightPixelsIntoAWallWithThePotion)
{
    Playground p({".@#", "###"});
    p.s.Action = ActionPotion;
    p.s.ActionTimer = 100;
    const int x = p.s.PlayerX;
    p.Ticks(3, BitRight);
    EXPECT_EQ(p.s.PlayerX, x + 8);
}

TEST(Walk, BothWaysHeldGoNowhereAndFaceRight)
{
    Playground p({"...", ".@.", "###"});
    p.s.Facing = 8;
    const int x = p.s.PlayerX;
    p.Tick(BitLeft | BitRight);
    EXPECT_EQ(p.s.PlayerX, x);
    EXPECT_EQ(p.s.Facing, 0);
    EXPECT_EQ(p.s.StepCounter, 2);
}

TEST(Walk, StandsEightPixelsPastAnEdgeAndFallsAtTwelve)
{
    {
        Playground p({"@..", "#..", "#.."});
        const int x0 = p.s.PlayerX;
        p.Ticks(2, BitRight);  // 8 past the edge
        EXPECT_EQ(p.s.PlayerX, x0 + 8);
        p.Tick(BitRight);  // starts at 8 past: still standing, steps to 12
        EXPECT_EQ(p.s.PlayerY, Playground::Y(0));
        p.Tick();
        EXPECT_GT(p.s.PlayerY, Playground::Y(0));
    }
    {
        Playground p({"..@", "..#", "..#"});
        const int x0 = p.s.PlayerX;
        p.Ticks(3, BitLeft);  // 4, 8 and 12 pixels past the left edge
        EXPECT_EQ(p.s.PlayerX, x0 - 12);
        EXPECT_EQ(p.s.PlayerY, Playground::Y(0));
        p.Tick();
        EXPECT_GT(p.s.PlayerY, Playground::Y(0));
    }
}

TEST(Walk, AOneCellGapSwallowsAWalker)
{
    // Three ticks over the gap sink the walker six pixels: the knee probe then
    // meets the far side's floor and the walker drops in.
    Playground p({"@.....", "###.##", "###.##", "######"});
    p.Ticks(20, BitRight);
    EXPECT_EQ(p.s.PlayerX / 16, Playground::X(3) / 16);
    EXPECT_GT(p.s.PlayerY, Playground::Y(1));
}

TEST(Walk, WithThePotionAOneCellGapOnlyDipsTheWalker)
{
    // At 8 pixels a step only one tick starts over the gap: the walker sinks two
    // pixels and the landing lifts it onto the far side.
    Playground p({"@.....", "###.##", "###.##", "######"});
    p.s.Action = ActionPotion;
    p.s.ActionTimer = 200;
    int deepest = 0;
    for (int i = 0; i < 10; ++i) {
        p.Tick(BitRight);
        deepest = std::max(deepest, p.s.PlayerY - Playground::Y(0));
    }
    EXPECT_EQ(deepest, 2);
    EXPECT_EQ(p.s.PlayerY, Playground::Y(0));
    EXPECT_GE(p.s.PlayerX, Playground::X(4));
}

TEST(Walk, InTheAirOnlyKneeHighRockStopsASideStep)
{
    // y = 16r + 4: the head probe looks at row r, the knee probe at row r + 1.
    // x = 16c + 4: the wall probe walking right looks at column c + 1.
    Playground knee({".....", ".@...", "..#..", ".....", "....."});
    knee.s.SpeedToDeath = 16;
    knee.s.PlayerX += 4;
    knee.s.PlayerY += 4;
    const int x = knee.s.PlayerX;
    knee.Tick(BitRight);
    EXPECT_EQ(knee.s.PlayerX, x);

    Playground head({".....", ".@#..", ".....", ".....", "....."});
    head.s.SpeedToDeath = 16;
    head.s.PlayerX += 4;
    head.s.PlayerY += 4;
    head.Tick(BitRight);
    EXPECT_EQ(head.s.PlayerX, x + 4);
}

TEST(Climb, DownOnALadderOverRockSinksFourAndIsLiftedBack)
{
    Playground p({".H.", ".H.", "###"});
    p.s.PlayerX = Playground::X(1);
    p.s.PlayerY = Playground::Y(1);
    for (int i = 0; i < 4; ++i) {
        p.Tick(BitDown);
        EXPECT_EQ(p.s.PlayerY, Playground::Y(1) + 4);
        EXPECT_EQ(p.s.FallSpeed, 0);
    }
}

TEST(Climb, UpTheRopeFourPixelsATickSnappingToItsColumn)
{
    Playground p({".|.", ".|.", ".|.", "###"});
    p.s.PlayerX = Playground::X(1) - 4;  // SubX 12 of the cell on the left
    p.s.PlayerY = Playground::Y(2);
    p.Tick(BitUp);
    EXPECT_EQ(p.s.PlayerX, Playground::X(1));
    EXPECT_EQ(p.s.PlayerY, Playground::Y(2) - 4);
    p.Tick(BitUp);
    EXPECT_EQ(p.s.PlayerY, Playground::Y(2) - 8);
    EXPECT_TRUE(p.game.lastPose == 4 || p.game.lastPose == 5);
}

TEST(Climb, HalfWayBetweenColumnsIsNotOnTheRope)
{
    Playground p({".|.", ".|.", "...", "..."});
    p.s.SpeedToDeath = 16;
    p.s.PlayerX = Playground::X(0) + 8;  // BodyCol is the rope's column, SubX 8
    p.s.PlayerY = Playground::Y(0);
    p.Tick();
    EXPECT_EQ(p.s.PlayerY, Playground::Y(0) + 2);
}

TEST(Climb, WalkingAcrossALadderDoesNotFallWhileOnIt)
{
    Playground p({".H..", "....", "...."});
    p.s.PlayerX = Playground::X(1) - 4;  // own column: the ladder's
    p.s.PlayerY = Playground::Y(0);
    p.Ticks(3, BitRight);               // starts at SubX 12, 0 and 4
    EXPECT_EQ(p.s.PlayerY, Playground::Y(0));
    EXPECT_EQ(p.s.FallSpeed, 0);
    EXPECT_EQ(p.s.PlayerX, Playground::X(1) + 8);
    p.Tick(BitRight);  // SubX 8 is off the ladder
    EXPECT_EQ(p.s.PlayerY, Playground::Y(0) + 2);
}

TEST(Hang, HoldsInTheUpperHalfAndDropsFromTheMiddle)
{
    Playground p({".-.", "...", "...", "...", "###"});
    p.s.PlayerX = Playground::X(1);
    p.s.PlayerY = Playground::Y(0);
    p.Ticks(3);
    EXPECT_EQ(p.s.PlayerY, Playground::Y(0));
    p.Tick(BitDown);
    EXPECT_EQ(p.s.PlayerY, Playground::Y(0) + 4);
    p.Tick(BitDown);
    EXPECT_EQ(p.s.PlayerY, Playground::Y(0) + 8);
    p.Tick();  // SubY 8, nothing climbable above: it falls
    EXPECT_EQ(p.s.PlayerY, Playground::Y(0) + 10);
}

TEST(Hang, ABarUnderARopeHoldsInItsLowerHalfToo)
{
    Playground p({".|.", ".-.", "...", "###"});
    p.s.PlayerX = Playground::X(1);
    p.s.PlayerY = Playground::Y(1) + 8;
    p.Ticks(3);
    EXPECT_EQ(p.s.PlayerY, Playground::Y(1) + 8);
}

TEST(Hang, AFastFallSkipsTheUpperHalfAndPassesThrough)
{
    Playground p({".@.", "...", "...", "...", "...", ".-.", "...", "...", "...", "###"});
    p.s.SpeedToDeath = 16;
    p.Cell(1, 1) = TileEmpty;
    // Falling from rows above at 2, 4, ... 16 pixels: the top passes y = 80 + 2 + ...
    p.Ticks(12);
    EXPECT_GT(p.s.PlayerY, Playground::Y(5) + 15);
}

TEST(Hang, ASlowFallIsCaughtInTheUpperHalf)
{
    Playground p({".@.", ".-.", "...", "###"});
    p.Tick();  // 2 pixels into the bar's cell? no: the fall begins here
    p.Ticks(5);
    EXPECT_LT(p.s.PlayerY % 16, 8);
    EXPECT_EQ(p.s.PlayerY / 16, Playground::Y(1) / 16);
    EXPECT_EQ(p.s.DeathTimer, 0);
}

}  // namespace
