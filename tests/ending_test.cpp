#include <gtest/gtest.h>

#include "gfx/draw.h"
#include "play/game.h"
#include "screens/ending.h"
#include "screens/title.h"
#include "tests/support/test_assets.h"

namespace {

class EndingTest : public ::testing::Test {
protected:
    Game game{TestAssets()};
    GameState& s = game.state;

    void Finish(int variant, int w, int h, bool beginner)
    {
        s.Variant = std::uint8_t(variant);
        s.CaveWidth = w;
        s.CaveHeight = h;
        s.Beginner = beginner;
        s.Screen = ScreenEnding;
        EndingStep(game);
    }
    bool ShowsOnlyThePicture(int variant) const
    {
        Surface picture(272, 272, PixelFormat::Rgb32);
        DrawPicture(TestAssets().Ending(variant, PixelFormat::Rgb32), picture);
        return SamePixels(picture, game.ViewBitmap);
    }
};

TEST_F(EndingTest, AFullSizeGameTellsTheNextCharactersSequence)
{
    Finish(0, 216, 216, false);
    EXPECT_TRUE(ShowsText(game.ViewBitmap, 0, 15, "LUMIBUR COMMAND:"));
    EXPECT_TRUE(ShowsText(game.ViewBitmap, 0, 16, "\x8b\x8c\x8d\x8b\x8e\x8e\x8d\x8c\x8c\x8b\x8d"));
    Finish(1, 216, 216, false);
    EXPECT_TRUE(ShowsText(game.ViewBitmap, 0, 15, "TESSBUR COMMAND:"));
    EXPECT_TRUE(ShowsText(game.ViewBitmap, 0, 16, "\x8d\x8c\x8c\x8e\x8b\x8b\x8d\x8d\x8e"));
}

TEST_F(EndingTest, OtherwiseOnlyThePicture)
{
    Finish(0, 216, 216, true);
    EXPECT_TRUE(ShowsOnlyThePicture(0));
    Finish(0, 215, 216, false);
    EXPECT_TRUE(ShowsOnlyThePicture(0));
    Finish(1, 216, 215, false);
    EXPECT_TRUE(ShowsOnlyThePicture(1));
    Finish(2, 216, 216, false);
    EXPECT_TRUE(ShowsOnlyThePicture(2));
}

TEST_F(EndingTest, OnlyANewPressLeaves)
{
    s.InputPrev[ButtonUse] = 1;
    s.InputNow[ButtonUse] = 1;  // held since before the goal
    s.TitleTicks = 123;
    Finish(0, 100, 100, false);
    EXPECT_EQ(s.Screen, ScreenEnding);
    s.InputPrev = {};
    s.InputNow = {};
    s.InputNow[ButtonSelect] = 1;
    EndingStep(game);
    EXPECT_EQ(s.Screen, ScreenTitle);
    EXPECT_EQ(s.TitleTicks, 0);
}

}  // namespace
