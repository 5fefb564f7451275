#include <gtest/gtest.h>

#include "play/game.h"
#include "screens/frame_tick.h"
#include "screens/keys.h"
#include "tests/support/test_assets.h"

namespace {

// Screen 7 runs no step at all, which leaves only the tick's input work to see.
class FrameTickTest : public ::testing::Test {
protected:
    Game game{TestAssets()};
    GameState& s = game.state;
    void SetUp() override { s.Screen = 7; }
};

TEST_F(FrameTickTest, APressIsSetNowAndClearBefore)
{
    KeyPressed(s, KeyLeft, false);
    FrameTick(game);
    EXPECT_TRUE(Pressed(s, InputLeft));
    FrameTick(game);
    EXPECT_TRUE(s.InputNow[InputLeft]);
    EXPECT_FALSE(Pressed(s, InputLeft));
    KeyReleased(s, KeyLeft);
    FrameTick(game);
    EXPECT_FALSE(s.InputNow[InputLeft]);
    EXPECT_TRUE(s.InputPrev[InputLeft]);
}

TEST_F(FrameTickTest, KeysOfAPairShareOneFlag)
{
    KeyPressed(s, KeySpace, false);
    KeyPressed(s, KeyX, false);
    KeyReleased(s, KeyX);
    FrameTick(game);
    EXPECT_FALSE(s.InputNow[ButtonSelect]);  // Space is still down, but X cleared the flag

    KeyPressed(s, KeyZ, false);
    KeyPressed(s, KeyEnter, false);
    KeyReleased(s, KeyEnter);
    FrameTick(game);
    EXPECT_FALSE(s.InputNow[ButtonUse]);
}

TEST_F(FrameTickTest, EveryKeyOfTheTableSetsItsFlag)
{
    const std::pair<int, int> table[] = {{KeyUp, InputUp},       {KeyDown, InputDown},   {KeyLeft, InputLeft},
                                         {KeyRight, InputRight}, {KeySpace, ButtonSelect}, {KeyX, ButtonSelect},
                                         {KeyEnter, ButtonUse},  {KeyZ, ButtonUse}};
    for (auto [key, flag] : table) {
        s.KeysHeld = {};
        KeyPressed(s, key, false);
        FrameTick(game);
        InputFlags expected{};
        expected[flag] = 1;
        EXPECT_EQ(s.InputNow, expected) << "key " << key;
    }
    s.KeysHeld = {};
    KeyPressed(s, 65, false);  // 'A' is no key of the game
    FrameTick(game);
    EXPECT_EQ(s.InputNow, InputFlags{});
}

TEST_F(FrameTickTest, JoystickAndKeysAddUp)
{
    s.JoystickPresent = true;
    s.JoyInfo = {0, 32767, 0, 0};  // held fully left
    KeyPressed(s, KeyRight, false);
    FrameTick(game);
    EXPECT_TRUE(s.InputNow[InputLeft]);
    EXPECT_TRUE(s.InputNow[InputRight]);
}

TEST_F(FrameTickTest, JoystickDeadZoneEndsAreNoDirection)
{
    s.JoystickPresent = true;
    for (std::uint32_t edge : {10000u, 55000u}) {
        s.JoyInfo = {edge, edge, 0, 0};
        FrameTick(game);
        EXPECT_EQ(s.InputNow, InputFlags{}) << edge;
    }
    s.JoyInfo = {9999, 55001, 0, 0};
    FrameTick(game);
    EXPECT_TRUE(s.InputNow[InputLeft]);
    EXPECT_TRUE(s.InputNow[InputDown]);
}

TEST_F(FrameTickTest, JoystickButtonsOneAndFourSelectTwoAndThreeUse)
{
    s.JoystickPresent = true;
    const std::pair<std::uint32_t, int> buttons[] = {{1, ButtonSelect}, {8, ButtonSelect}, {2, ButtonUse}, {4, ButtonUse}};
    for (auto [bits, flag] : buttons) {
        s.JoyInfo = {32767, 32767, 0, bits};
        FrameTick(game);
        InputFlags expected{};
        expected[flag] = 1;
        EXPECT_EQ(s.InputNow, expected) << bits;
    }
}

TEST_F(FrameTickTest, AnAbsentJoystickIsNeverRead)
{
    s.JoyInfo = {0, 0, 0, 15};  // whatever the record holds
    FrameTick(game);
    EXPECT_EQ(s.InputNow, InputFlags{});
}

TEST_F(FrameTickTest, BlinkPhaseAlternatesWithOrWithoutJoystick)
{
    std::vector<int> phases;
    for (int i = 0; i < 4; ++i) {
        s.JoystickPresent = i >= 2;
        FrameTick(game);
        phases.push_back(s.BlinkPhase);
    }
    EXPECT_EQ(phases, (std::vector<int>{1, 0, 1, 0}));
}

TEST(Keys, ShiftF2GoesBackToTheTitleAndPlainF2DoesNothing)
{
    GameState s;
    s.Screen = ScreenPlay;
    s.TitleTicks = 99;
    EXPECT_EQ(KeyPressed(s, KeyF2, false), KeyEffect::None);
    EXPECT_EQ(s.Screen, ScreenPlay);
    KeyPressed(s, KeyF2, true);
    EXPECT_EQ(s.Screen, ScreenTitle);
    EXPECT_EQ(s.TitleTicks, 0);
    s.Screen = ScreenEnding;
    KeyPressed(s, KeyF2, true);
    EXPECT_EQ(s.Screen, ScreenTitle);
}

TEST(Keys, F3AsksForThePauseOnEveryPress)
{
    GameState s;
    EXPECT_EQ(KeyPressed(s, KeyF3, false), KeyEffect::TogglePause);
    EXPECT_EQ(KeyPressed(s, KeyF3, true), KeyEffect::TogglePause);
    EXPECT_EQ(s.KeysHeld, InputFlags{});
}

}  // namespace
