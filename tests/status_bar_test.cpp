#include <gtest/gtest.h>

#include "gfx/draw.h"
#include "gfx/status_bar.h"
#include "tests/support/test_assets.h"

namespace {

class StatusBarTest : public ::testing::Test {
protected:
    const Assets& art = TestAssets();
    Surface strip{272, 32, PixelFormat::Rgb32};
    GameState s;

    void Draw() { DrawStatusBar(art, strip, s); }
};

TEST_F(StatusBarTest, ScoreEndsInColumnFour)
{
    Draw();
    EXPECT_TRUE(ShowsText(strip, 4, 0, "0"));
    for (int c = 0; c < 4; ++c) EXPECT_TRUE(CellIsBlack(strip, c, 0));

    s.Score = 12345;
    Draw();
    EXPECT_TRUE(ShowsText(strip, 0, 0, "12345"));

    s.Score = 123456;  // the first digit falls off the left edge
    Draw();
    EXPECT_TRUE(ShowsText(strip, 0, 0, "23456"));
}

TEST_F(StatusBarTest, PlayTimeInMinutesAndSeconds)
{
    Draw();
    EXPECT_TRUE(ShowsText(strip, 0, 1, "w00:00"));
    s.PlaySeconds = 61;
    Draw();
    EXPECT_TRUE(ShowsText(strip, 0, 1, "w01:01"));
    s.PlaySeconds = 6000;
    Draw();
    EXPECT_TRUE(ShowsText(strip, 0, 1, "w100:00"));
}

TEST_F(StatusBarTest, MissesAfterTheHaloHead)
{
    Draw();
    EXPECT_TRUE(ShowsText(strip, 7, 1, "x0"));
    s.Misses = 99;
    Draw();
    EXPECT_TRUE(ShowsText(strip, 7, 1, "x99"));
}

TEST_F(StatusBarTest, AShorterFrameRateLeavesTheBlankItsLabelBrought)
{
    s.FrameRate = 20;
    Draw();
    EXPECT_TRUE(ShowsText(strip, 7, 0, "20y "));
    s.FrameRate = 9;
    Draw();
    EXPECT_TRUE(ShowsText(strip, 7, 0, "9y  "));
}

TEST_F(StatusBarTest, InventoryShowsPicturesAndCounts)
{
    s.Variant = 2;
    s.Inventory = {1, 2, 3, 4, 5, 9};
    s.SelectedSlot = 5;  // its frame covers the last picture
    Draw();
    EXPECT_TRUE(ShowsText(strip, 11, 1, "123459"));
    EXPECT_TRUE(ShowsText(strip, 11, 0, "\x83" "pq" "\x84" "t"));  // pistol, bomb, rope, drill, compass
}

TEST_F(StatusBarTest, VariantOneNeverShowsTheWandsCount)
{
    s.Variant = 1;
    s.Inventory = {2, 3, 4, 5, 6, 7};
    s.SelectedSlot = 5;
    Draw();
    EXPECT_TRUE(CellIsBlack(strip, 11, 1));
    EXPECT_TRUE(ShowsText(strip, 12, 1, "34567"));
    EXPECT_TRUE(ShowsText(strip, 11, 0, "\x80" "pqrt"));  // wand, bomb, rope, pickaxe, compass
}

TEST_F(StatusBarTest, TheFrameFollowsTheSelectedSlot)
{
    // The item picture of `column` under the selection frame.
    auto framed = [&](int column, const char* picture) {
        Surface plain{272, 32, PixelFormat::Rgb32};
        DrawTileText(art, plain, column, 0, picture);
        DrawSprite(art, plain, 16 * column, 0, 83);
        for (int y = 0; y < 16; ++y)
            for (int x = 16 * column; x < 16 * column + 16; ++x)
                if (plain.ColourAt(x, y, art.palette) != strip.ColourAt(x, y, art.palette)) return false;
        return true;
    };
    s.SelectedSlot = 5;
    Draw();
    EXPECT_TRUE(framed(16, "u"));  // the parachute
    s.SelectedSlot = 0;
    Draw();
    EXPECT_TRUE(framed(11, "p"));  // the bomb
    EXPECT_FALSE(framed(16, "u"));
    EXPECT_TRUE(ShowsText(strip, 16, 0, "u"));  // the parachute, its frame gone
}

}  // namespace
