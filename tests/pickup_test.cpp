#include <gtest/gtest.h>

#include "tests/support/playground.h"
#include "tests/support/test_assets.h"

namespace {

TEST(PickUp, AFullSlotStillTakesTheItemAndItsPoints)
{
    Playground p({".@b.", "####"});
    p.s.Inventory[0] = 9;
    p.Ticks(4, BitRight);
    EXPECT_EQ(p.Cell(2, 0), TileEmpty);
    EXPECT_EQ(p.s.Inventory[0], 9);
    EXPECT_EQ(p.s.Score, 50);
}

TEST(PickUp, ItemsFillTheirSlotAndTreasuresTheScore)
{
    Playground p({"@rc$BD..", "########"});
    p.Ticks(30, BitRight);
    EXPECT_EQ(p.s.Inventory[1], 3);   // a rope
    EXPECT_EQ(p.s.Inventory[4], 1);   // a compass
    EXPECT_EQ(p.s.Score, 50 + 50 + 10 + 100 + 1000);
    EXPECT_TRUE(ShowsText(p.game.StatusBitmap, 1, 0, "1210"));
}

TEST(PickUp, NothingHalfWayBetweenTwoColumns)
{
    Playground p({".$.", "###"});
    p.s.PlayerX = Playground::X(0) + 8;  // its own column is the coin's, SubX 8
    p.s.PlayerY = Playground::Y(0);
    p.Tick();
    EXPECT_EQ(p.Cell(1, 0), TileCoin);
    p.s.PlayerX += 4;
    p.Tick();
    EXPECT_EQ(p.Cell(1, 0), TileEmpty);
}

TEST(PickUp, ACellEnteredDuringATickIsCollectedOnTheNext)
{
    Playground p({"@$.", "###"});
    p.s.PlayerX = Playground::X(1) - 8;  // one step left of the coin's column
    p.Tick(BitRight);                   // now its own column is the coin's
    EXPECT_EQ(p.Cell(1, 0), TileCoin);
    p.Tick();
    EXPECT_EQ(p.Cell(1, 0), TileEmpty);
}

TEST(PickUp, AFallingCharacterCollectsOnTheWayDown)
{
    Playground p({".@.", ".$.", ".$.", "...", ".$.", "...", "###"});
    p.s.SpeedToDeath = 16;
    p.Ticks(12);
    EXPECT_EQ(p.s.Score, 30);
}

TEST(PickUp, TheExitEndsTheGameOrTheDemonstration)
{
    Playground game({"@E", "##"});
    game.Ticks(6, BitRight);
    EXPECT_EQ(game.s.Screen, ScreenEnding);

    Playground demo({"@E", "##"});
    demo.s.DemoMode = true;
    demo.s.TitleTicks = 500;
    demo.s.ReplayBuffer.fill(8);  // the recording holds Right
    for (int i = 0; i < 10 && demo.s.Screen == ScreenPlay; ++i) demo.Tick();
    EXPECT_EQ(demo.s.Screen, ScreenTitle);
    EXPECT_EQ(demo.s.TitleTicks, 0);
}

TEST(PickUp, TheTickThatTakesTheExitStillDrawsItsView)
{
    Playground p({"@E", "##"});
    for (int i = 0; i < 10 && p.s.Screen == ScreenPlay; ++i) p.Tick(BitRight);
    EXPECT_EQ(p.s.Screen, ScreenEnding);
    EXPECT_EQ(p.Cell(1, 0), TileEmpty);
}

}  // namespace
