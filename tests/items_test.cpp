#include <gtest/gtest.h>

#include <cmath>

#include "play/actions.h"
#include "play/ghost.h"
#include "tests/support/playground.h"
#include "tests/support/test_assets.h"

namespace {

// Selects `slot` (from slot 0) and uses its item, one tick a press.
void Use(Playground& p, int slot, std::uint16_t alsoHeld = 0)
{
    p.Tick(alsoHeld);  // let go of whatever was pressed
    while (p.s.SelectedSlot != slot) {
        p.Tick(BitSelect | alsoHeld);
        p.Tick(alsoHeld);
    }
    p.Tick(BitUse | alsoHeld);
}

// A press of Use (with the arrows held) during a direction choice.
void Confirm(Playground& p, std::uint16_t arrows = 0)
{
    p.Tick(arrows);
    p.Tick(BitUse | arrows);
}

TEST(Wand, NeverWearsOut)
{
    Playground p({"...", ".@.", "###"}, 1);
    for (int i = 0; i < 10; ++i) {
        p.Tick(BitUse);
        EXPECT_EQ(p.s.Action, ActionWand);
        p.Ticks(21);
        EXPECT_EQ(p.s.Action, ActionNone);
    }
    EXPECT_EQ(p.s.Inventory[0], 2);
}

TEST(WandAndPistol, NeedTheCharacterStanding)
{
    Playground wand({"...", ".@.", "...", "...", "###"}, 1);
    wand.s.SpeedToDeath = 16;
    wand.Tick();  // in the air now
    wand.Tick(BitUse);
    EXPECT_EQ(wand.s.Action, ActionNone);

    Playground pistol({"...", ".@.", "...", "...", "###"}, 2);
    pistol.s.SpeedToDeath = 16;
    pistol.Tick();
    pistol.Tick(BitUse);
    EXPECT_EQ(pistol.s.Action, ActionNone);
    EXPECT_EQ(pistol.s.Inventory[0], 2);
}

TEST(Rope, FromAnEmptyCellTheRopeBeginsAtTheCharacter)
{
    Playground p({"#####", ".....", ".....", ".@...", "#####"});
    Use(p, 1);
    EXPECT_EQ(p.s.Action, ActionRope);
    Confirm(p, BitUp);
    EXPECT_EQ(p.s.Action, ActionNone);
    for (int row = 1; row <= 3; ++row) EXPECT_EQ(p.Cell(1, row), TileBuiltRope) << row;
    EXPECT_EQ(p.s.Inventory[1], 1);
}

TEST(Rope, FromALadderTheRopeBeginsInTheNextCell)
{
    Playground p({"#####", ".....", ".H...", ".H...", "#####"});
    p.s.PlayerX = Playground::X(1);
    p.s.PlayerY = Playground::Y(2);
    Use(p, 1);
    Confirm(p, BitUp);
    EXPECT_EQ(p.Cell(1, 2), TileLadder);
    EXPECT_EQ(p.Cell(1, 1), TileBuiltRope);
}

TEST(Rope, SidewaysItIsABar)
{
    Playground p({"#######", ".@....#", "#######"});
    Use(p, 1);
    Confirm(p, BitRight);
    for (int c = 1; c <= 5; ++c) EXPECT_EQ(p.Cell(c, 1), TileBuiltBar) << c;
}

TEST(Rope, IntoRockAtOnceIsSpentForNothingOrForTheOwnCell)
{
    Playground ladder({"###", ".H#", "###"});
    ladder.s.PlayerX = Playground::X(1);
    ladder.s.PlayerY = Playground::Y(1);
    Use(ladder, 1);
    Confirm(ladder, BitRight);
    EXPECT_EQ(ladder.Cell(1, 1), TileLadder);
    EXPECT_EQ(ladder.s.Inventory[1], 1);

    Playground open({"###", ".@#", "###"});
    Use(open, 1);
    Confirm(open, BitRight);
    EXPECT_EQ(open.Cell(1, 1), TileBuiltBar);
    EXPECT_EQ(open.s.Inventory[1], 1);
}

Playground UnderACeiling(int cellsAway)
{
    std::vector<std::string> rows{"###"};
    for (int i = 1; i < cellsAway; ++i) rows.push_back("...");
    rows.push_back(".@.");
    rows.push_back("###");
    Playground p({});
    for (auto& column : p.game.map) column.fill(TileHardRock);
    for (int r = 0; r < int(rows.size()); ++r)
        for (int c = 0; c < 3; ++c) p.Cell(c, r) = rows[r][c] == '#' ? TileHardRock : TileEmpty;
    p.s.PlayerX = Playground::X(1);
    p.s.PlayerY = Playground::Y(int(rows.size()) - 2);
    return p;
}

TEST(Rope, ElevenCellsUpIsTooFarTenIsLaid)
{
    Playground far = UnderACeiling(11);
    Use(far, 1);
    Confirm(far, BitUp);
    EXPECT_EQ(far.s.Action, ActionNone);
    EXPECT_EQ(far.s.Inventory[1], 2);
    EXPECT_EQ(far.Cell(1, 11), TileEmpty);

    Playground near = UnderACeiling(10);
    Use(near, 1);
    Confirm(near, BitUp);
    EXPECT_EQ(near.s.Inventory[1], 1);
    int laid = 0;
    for (int r = 0; r < 12; ++r) laid += near.Cell(1, r) == TileBuiltRope;
    EXPECT_EQ(laid, 10);
}

TEST(Rope, DownDoesNotTurnIt)
{
    Playground p({"#####", ".@...", "#####"});
    Use(p, 1);
    EXPECT_EQ(p.s.ActionTimer, 1);  // facing right
    p.Tick(BitDown);
    EXPECT_EQ(p.s.ActionTimer, 1);
    p.Tick(BitLeft);
    EXPECT_EQ(p.s.ActionTimer, 3);
}

TEST(Tools, SelectCancelsAndKeepsTheItem)
{
    Playground p({"....", ".@%.", "####"});
    Use(p, 2);
    EXPECT_EQ(p.s.Action, ActionPickaxe);
    p.Tick(BitSelect);
    EXPECT_EQ(p.s.Action, ActionNone);
    EXPECT_EQ(p.s.SelectedSlot, 2);  // the press cancelled, it did not select
    EXPECT_EQ(p.s.Inventory[2], 2);
}

TEST(Pickaxe, DigsOneDiggableCellAtKneeHeight)
{
    Playground p({"....", ".@%%", "####"});
    Use(p, 2);
    Confirm(p, BitRight);
    EXPECT_EQ(p.Cell(2, 1), TileEmpty);
    EXPECT_EQ(p.Cell(3, 1), TileDiggable);
    EXPECT_EQ(p.s.Inventory[2], 1);

    Use(p, 2);  // hard rock below: refused, nothing taken
    Confirm(p, BitDown);
    EXPECT_EQ(p.Cell(1, 2), TileHardRock);
    EXPECT_EQ(p.s.Inventory[2], 1);
    EXPECT_EQ(p.s.Action, ActionNone);
}

TEST(Drill, DigsTheWholeRunOfDiggableRock)
{
    Playground p({"........", ".@%%%#%.", "########"}, 2);
    p.s.Inventory[3] = 1;
    Use(p, 3);
    Confirm(p, BitRight);
    EXPECT_EQ(p.Cell(2, 1), TileEmpty);
    EXPECT_EQ(p.Cell(4, 1), TileEmpty);
    EXPECT_EQ(p.Cell(5, 1), TileHardRock);
    EXPECT_EQ(p.Cell(6, 1), TileDiggable);
    EXPECT_EQ(p.s.Inventory[3], 0);
}

TEST(Bomb, BlastsOnlyDiggableRockOfTheSquareWithoutItsCorners)
{
    Playground p({"%%%%%%%", "%%%%%%%", "%%@%%%%", "%%%%%%%", "%%%%%%%", "%%%%%%%", "#######"});
    p.Cell(2, 3) = TileHardRock;  // keep the character standing
    p.s.PlayerX = Playground::X(2);
    p.s.PlayerY = Playground::Y(2);
    Use(p, 0);
    const int bombColumn = p.s.ToolX - Playground::Left, bombRow = p.s.ToolY - Playground::Top;
    EXPECT_EQ(bombColumn, 2);
    p.Cell(3, 2) = TileCoin;
    p.Cell(1, 2) = TileLadder;
    p.Cell(2, 1) = TileGoal;
    p.s.PlayerX = Playground::X(5);  // away from the blast
    p.Ticks(99, 0);
    EXPECT_EQ(p.s.Action, ActionNone);
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 7; ++c) {
            const int dx = std::abs(c - bombColumn), dy = std::abs(r - bombRow);
            const bool inBlast = dx <= 2 && dy <= 2 && !(dx == 2 && dy == 2);
            const std::uint8_t t = p.Cell(c, r);
            if (!inBlast) {
                EXPECT_NE(t, TileEmpty) << c << "," << r;
            }
        }
    EXPECT_EQ(p.Cell(0, 0), TileDiggable);  // a corner
    EXPECT_EQ(p.Cell(4, 4), TileDiggable);  // the other
    EXPECT_EQ(p.Cell(4, 2), TileEmpty);
    EXPECT_EQ(p.Cell(3, 2), TileCoin);
    EXPECT_EQ(p.Cell(1, 2), TileLadder);
    EXPECT_EQ(p.Cell(2, 1), TileGoal);
    EXPECT_EQ(p.Cell(2, 3), TileHardRock);
}

TEST(Bomb, KillsWithin28PixelsInItsLastTwentyTicks)
{
    for (auto [offset, dies] : {std::pair{0, true}, {28, true}, {29, false}}) {
        Playground p({"..........", ".@........", "##########"});
        Use(p, 0);
        p.s.PlayerX += offset;  // teleported for the test: the fuse keeps its cell
        p.Ticks(79);
        EXPECT_EQ(p.s.DeathTimer, 0) << offset;
        p.Tick();  // ActionTimer 19
        EXPECT_EQ(p.s.DeathTimer == 1, dies) << offset;
    }
}

TEST(Bomb, AReplacedBombNeverExplodes)
{
    Playground p({"%%%%", "%@%%", "####"});
    p.Cell(1, 1) = TileEmpty;
    Use(p, 0);
    Use(p, 0);  // the second bomb replaces the first
    p.s.PlayerX = Playground::X(1);
    Use(p, 1);  // a rope choice replaces the second bomb
    p.Tick(BitSelect);
    p.Ticks(120);
    EXPECT_EQ(p.Cell(2, 1), TileDiggable);
    EXPECT_EQ(p.s.Inventory[0], 0);
}

TEST(Potion, DoublesTheStepUntilAParachuteReplacesIt)
{
    Playground p({"..................", "@.................", "##################"});
    p.s.Inventory[3] = 1;
    p.s.Inventory[5] = 1;
    Use(p, 3);
    const int x = p.s.PlayerX;
    p.Tick(BitRight);
    EXPECT_EQ(p.s.PlayerX, x + 8);
    Use(p, 5);
    const int x2 = p.s.PlayerX;
    p.Tick(BitRight);
    EXPECT_EQ(p.s.PlayerX, x2 + 4);
}

TEST(Potion, LastsTwoHundredTicksCountingTheUseTick)
{
    Playground p({"...", ".@.", "###"});
    p.s.Inventory[3] = 1;
    Use(p, 3);
    EXPECT_EQ(p.s.ActionTimer, 199);
    p.Ticks(198);
    EXPECT_EQ(p.s.Action, ActionPotion);
    p.Tick();
    EXPECT_EQ(p.s.Action, ActionNone);
}

TEST(Compass, TheArrowStartsOnTheCharacterAndFliesTo176Pixels)
{
    Playground p({"....", ".@..", "####"});
    p.s.Inventory[4] = 1;
    p.s.GoalX = p.s.PlayerX + 400;  // straight right
    p.s.GoalY = p.s.PlayerY;
    Use(p, 4);
    EXPECT_EQ(p.s.Action, ActionCompass);
    EXPECT_TRUE(ShowsSpriteAt(p.game.ViewBitmap, 128, 128, 52));  // pointing right
    int ticks = 1;
    while (p.s.Action == ActionCompass) {
        p.Tick();
        ++ticks;
        if (p.s.Action == ActionCompass) {
            EXPECT_TRUE(ShowsSpriteAt(p.game.ViewBitmap, 128 + p.s.ActionTimer, 128, 52));
        }
    }
    EXPECT_EQ(ticks, 24);  // the use tick and 23 compass ticks
    EXPECT_EQ(p.s.Inventory[4], 0);
}

TEST(Compass, PointsUpForAGoalAbove)
{
    Playground p({"....", ".@..", "####"});
    p.s.Inventory[4] = 1;
    p.s.GoalX = p.s.PlayerX;
    p.s.GoalY = p.s.PlayerY - 500;
    Use(p, 4);
    p.Ticks(2);
    EXPECT_EQ(p.s.ToolX, 384);
    EXPECT_TRUE(ShowsSpriteAt(p.game.ViewBitmap, 128, 128 - 16, 48));
}

TEST(Tools, AChoiceMadeWhileDeadHoldsTheDeathCount)
{
    Playground p({"....", ".@..", "####"});
    p.s.DeathTimer = 10;
    Use(p, 1);  // a rope choice started while dead
    const int frozen = p.s.DeathTimer;
    EXPECT_EQ(p.s.Action, ActionRope);
    p.Ticks(20);
    EXPECT_EQ(p.s.DeathTimer, frozen);
    p.Tick(BitSelect);
    p.Tick();
    EXPECT_EQ(p.s.DeathTimer, frozen + 1);
}

TEST(Inventory, SelectAndUseOnOneTickUseTheNextSlot)
{
    Playground p({"....", ".@..", "####"});
    p.Tick(BitSelect | BitUse);
    EXPECT_EQ(p.s.SelectedSlot, 1);
    EXPECT_EQ(p.s.Action, ActionRope);
}

TEST(Inventory, AnEmptySlotDoesNothing)
{
    Playground p({"....", ".@..", "####"});
    p.s.Inventory[0] = 0;
    p.Tick(BitUse);
    EXPECT_EQ(p.s.Action, ActionNone);
}

TEST(Overlay, TheToolsArrowStandsInTheChosenCell)
{
    Playground p({"....", ".@..", "####"});
    Use(p, 1);
    EXPECT_TRUE(ShowsSpriteAt(p.game.ViewBitmap, 144, 128, 52));
    p.Tick(BitUp);
    EXPECT_TRUE(ShowsSpriteAt(p.game.ViewBitmap, 128, 112, 48));
    p.Tick(BitLeft);
    EXPECT_TRUE(ShowsSpriteAt(p.game.ViewBitmap, 112, 128, 60));
}

TEST(Overlay, TheBombBurnsThenExplodesInSixteenPieces)
{
    Playground p({"......", ".@....", "######"});
    Use(p, 0);
    EXPECT_TRUE(ShowsSpriteAt(p.game.ViewBitmap, 128, 128, 80 + p.s.BlinkPhase));
    p.s.PlayerX += 16;  // the bomb's cell is now one to the left
    p.Ticks(80);        // ActionTimer 19: the explosion
    for (int i = 0; i < 16; ++i)
        EXPECT_TRUE(ShowsSpriteAt(p.game.ViewBitmap, 112 + (i % 4) * 16 - 24, 128 + (i / 4) * 16 - 24, 64 + i)) << i;
}

TEST(Overlay, ParachuteAboveBirdFlapsJetAtTheFeet)
{
    Playground p({"....", ".@..", "####"});
    p.s.Inventory[5] = 1;
    Use(p, 5);
    EXPECT_TRUE(ShowsSpriteAt(p.game.ViewBitmap, 128, 112, 82));

    // Two ticks thrusting, then two not: only a thrusting tick on blink 1 shows the second frame.
    auto flaps = [](Playground& q, int y, int still, int flapped) {
        q.s.Inventory[5] = 1;
        Use(q, 5);
        for (int i = 0; i < 4; ++i) {
            const bool thrusting = i < 2;
            q.Tick(thrusting ? BitUp : 0);
            const int sprite = thrusting && q.s.BlinkPhase == 1 ? flapped : still;
            EXPECT_TRUE(ShowsSpriteAt(q.game.ViewBitmap, 128, y, sprite)) << i;
        }
    };
    Playground bird({"....", "....", ".@..", "####"}, 1);
    flaps(bird, 112, 90, 91);
    Playground jet({"....", "....", ".@..", "####"}, 2);
    flaps(jet, 128, 88, 89);
}

TEST(Bird, RisesTwoPixelsATickAndFallsGently)
{
    Playground p({"....", "....", "....", "....", "....", ".@..", "####"}, 1);
    p.s.Inventory[5] = 1;
    Use(p, 5);
    const int y = p.s.PlayerY;
    p.Ticks(4, BitUp);
    EXPECT_EQ(p.s.PlayerY, y - 8);
    p.s.SpeedToDeath = 3;
    p.Ticks(10);
    EXPECT_LE(p.s.FallSpeed, 4);
}

// The third character takes off with the jet (slot 5) from the floor.
void TakeOffWithTheJet(Playground& p)
{
    p.s.Variant = 2;
    p.s.Inventory[5] = 1;
    Use(p, 5);
    ASSERT_EQ(p.s.Action, ActionJet);
}

TEST(Jet, ThrustsUpToFifteenAndCrashesAgainstRock)
{
    // A thrust takes 3 while the speed is above -15 and gravity gives 2 back:
    // -1, -2, ... -15. From -15 there is no thrust (-13); from -13 and -14 the
    // thrust reaches -16 and -17 within the tick, -14 and -15 after it.
    Playground open = UnderACeiling(20);
    TakeOffWithTheJet(open);
    const int y0 = open.s.PlayerY;
    std::vector<int> speeds;
    for (int i = 0; i < 21; ++i) {
        open.Tick(BitUp);
        speeds.push_back(open.s.FallSpeed);
    }
    EXPECT_EQ(speeds, (std::vector<int>{-1, -2, -3, -4, -5, -6, -7, -8, -9, -10, -11, -12, -13, -14, -15, -13, -14,
                                        -15, -13, -14, -15}));
    EXPECT_EQ(open.s.PlayerY, y0 - 204);  // 1 + 2 + ... + 15 = 120, then 13 + 14 + 15 twice

    // The head probe (y + 4) meets a ceiling `cellsAway` cells up once the
    // character has risen 16 * (cellsAway - 1) + 5 pixels; in that tick the
    // speed after the thrust meets the fatal speed, then stops at 0 and gravity
    // makes it 2.
    struct Crash {
        int cellsAway, speedToDeath, tick;
        bool dies;
    };
    for (Crash c : {Crash{2, 11, 7, false},  // risen 21 after 6 ticks: -6 - 3 = -9
                    Crash{3, 11, 10, true},  // risen 45 after 9: -12
                    Crash{3, 12, 10, false},
                    Crash{8, 11, 16, true},  // risen 120 after 15: -15, no thrust
                    Crash{8, 16, 16, false},
                    Crash{12, 16, 21, true}}) {  // risen 189 after 20: -14 - 3 = -17
        Playground p = UnderACeiling(c.cellsAway);
        p.s.SpeedToDeath = c.speedToDeath;
        TakeOffWithTheJet(p);
        p.Ticks(c.tick - 1, BitUp);
        ASSERT_LT(p.s.FallSpeed, 0) << c.cellsAway;
        const int y = p.s.PlayerY;
        p.Tick(BitUp);
        EXPECT_EQ(p.s.FallSpeed, 2) << c.cellsAway;
        EXPECT_EQ(p.s.PlayerY, y + 2) << c.cellsAway;
        EXPECT_EQ(p.s.DeathTimer, c.dies ? 1 : 0) << c.cellsAway << " cells, fatal speed " << c.speedToDeath;
    }
}

}  // namespace
