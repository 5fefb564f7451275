#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "cave/replay.h"
#include "play/game.h"
#include "screens/frame_tick.h"
#include "screens/keys.h"
#include "screens/title.h"
#include "screens/title_picture.h"
#include "tests/support/fake_window.h"
#include "tests/support/test_assets.h"

// Failures show settings as the window prints them.
void PrintTo(const GameSettings& settings, std::ostream* out) { *out << DescribeSettings(settings); }

namespace {

namespace fs = std::filesystem;

class TitleTest : public ::testing::Test {
protected:
    FakeWindow window{TestAssets()};
    Game& game = window.game;
    GameState& s = game.state;

    void Tick(int n = 1) { window.Tick(n); }
    // Ticks until the title listens to the keys.
    void PastTheQuietSeconds() { Tick(61); }
    // One press and release of each letter's direction, a tick each.
    void Enter(std::string_view letters)
    {
        for (char letter : letters) {
            const int key = letter == 'q' ? KeyUp : letter == 'w' ? KeyDown : letter == 'e' ? KeyLeft : KeyRight;
            KeyPressed(s, key, false);
            Tick();
            KeyReleased(s, key);
            Tick();
        }
    }
};

TEST_F(TitleTest, BuildsItsPictureInThreeSteps)
{
    Tick(20);
    EXPECT_TRUE(CellIsBlack(game.ViewBitmap, 4, 2));
    Tick();
    EXPECT_TRUE(ShowsText(game.ViewBitmap, 2, 1, MakerLine));
    EXPECT_TRUE(ShowsText(game.ViewBitmap, 4, 2, "PRESENTS"));
    Tick(20);
    EXPECT_TRUE(ShowsText(game.ViewBitmap, 0, 8, "KORVANE BURROWKIN"));
    EXPECT_TRUE(ShowsText(game.ViewBitmap, 1, 4, TitleLogo[0][0]));
    Tick(20);
    EXPECT_TRUE(ShowsText(game.ViewBitmap, 0, 13, SecondAuthorLine));
    EXPECT_TRUE(ShowsText(game.ViewBitmap, 0, 16, CreditLine));
    EXPECT_TRUE(ShowsText(game.StatusBitmap, 5, 1, VersionLine));
    EXPECT_TRUE(CellIsBlack(game.StatusBitmap, 0, 1));  // no joystick, no mark
    EXPECT_EQ(window.Caption, "こるべに");
}

TEST_F(TitleTest, ShowsTheGamePadOnlyWhenAJoystickAnswered)
{
    s.JoystickPresent = true;
    s.JoyInfo = {32767, 32767, 0, 0};
    Tick(61);
    EXPECT_TRUE(ShowsText(game.StatusBitmap, 0, 1, JoystickLine));
}

TEST_F(TitleTest, IgnoresEverythingForThreeSeconds)
{
    KeyPressed(s, KeySpace, false);  // held from the start
    Enter("qwe");                    // 6 ticks
    Tick(60 - 6);
    EXPECT_EQ(s.TitleKeyLog, "");
    EXPECT_EQ(window.DialogsShown, 0);
    Tick();  // TitleTicks reaches 61
    EXPECT_EQ(window.DialogsShown, 1);
}

TEST_F(TitleTest, TheTwoSequencesUnlockTheHiddenCharactersInTurn)
{
    PastTheQuietSeconds();
    Enter(Variant1Sequence);
    EXPECT_EQ(s.Variant, 1);
    EXPECT_EQ(window.Caption, "るみべに");
    EXPECT_EQ(window.Beeps, 1);
    EXPECT_EQ(s.TitleKeyLog, "");
    EXPECT_TRUE(ShowsText(game.ViewBitmap, 0, 8, "LUMIRAS BURROWKIN"));
    EXPECT_TRUE(ShowsText(game.ViewBitmap, 1, 7, TitleLogo[1][3]));

    Enter(Variant2Sequence);
    EXPECT_EQ(s.Variant, 2);
    EXPECT_EQ(window.Caption, "てさべに");
    EXPECT_EQ(window.Beeps, 2);
    EXPECT_TRUE(ShowsText(game.ViewBitmap, 0, 8, "TESSADO BURROWKIN"));
}

TEST_F(TitleTest, OneWrongPressSpoilsTheAttempt)
{
    PastTheQuietSeconds();
    Enter("r");
    Enter(Variant1Sequence);
    EXPECT_EQ(s.Variant, 0);
    EXPECT_EQ(window.Beeps, 0);
}

TEST_F(TitleTest, TheSecondSequenceNeedsTheFirstCharacterUnlocked)
{
    PastTheQuietSeconds();
    Enter(Variant2Sequence);
    EXPECT_EQ(s.Variant, 0);
}

TEST_F(TitleTest, RepeatingTheFirstSequenceBlocksTheSecond)
{
    PastTheQuietSeconds();
    Enter(Variant1Sequence);
    Enter(Variant1Sequence);
    EXPECT_EQ(s.Variant, 1);
    EXPECT_EQ(s.TitleKeyLog, Variant1Sequence);
    Enter(Variant2Sequence);
    EXPECT_EQ(s.Variant, 1);
}

TEST_F(TitleTest, CancellingTheDialogLeavesTheTitleAsItWas)
{
    PastTheQuietSeconds();
    Enter(Variant1Sequence);
    Enter("qq");
    KeyPressed(s, KeyZ, false);
    Tick();
    EXPECT_EQ(window.DialogsShown, 1);
    EXPECT_EQ(s.Screen, ScreenTitle);
    EXPECT_EQ(s.Variant, 1);
    EXPECT_EQ(s.TitleKeyLog, "");
    EXPECT_EQ(s.KeysHeld[ButtonUse], 0);
    EXPECT_TRUE(window.TimerRunning);
    EXPECT_FALSE(s.DemoMode);
}

TEST_F(TitleTest, TheDialogsChoiceStartsAGame)
{
    PastTheQuietSeconds();
    window.DialogAnswer = GameSettings{.width = 50, .height = 40, .beginner = true, .speedToDeath = 7};
    window.Clock.utcMilliseconds = 1234;
    KeyPressed(s, KeySpace, false);
    Tick();
    EXPECT_EQ(s.Screen, ScreenPlay);
    EXPECT_TRUE(s.Beginner);
    EXPECT_EQ(s.CaveWidth, 50);
    EXPECT_EQ(s.CaveHeight, 40);
    EXPECT_EQ(s.SpeedToDeath, 7);
    EXPECT_EQ(s.FrameIndex, 16);
    EXPECT_EQ(s.KeysHeld[ButtonSelect], 0);
    EXPECT_TRUE(ShowsText(game.StatusBitmap, 11, 1, "999999"));
}

TEST_F(TitleTest, ACaveThatCannotBeMadeIsReported)
{
    PastTheQuietSeconds();
    window.DialogAnswer = GameSettings{.width = 1, .height = 1};
    window.Clock.utcMilliseconds = 197;  // a 1 by 1 cave without room from this seed
    KeyPressed(s, KeySpace, false);
    Tick();
    EXPECT_EQ(s.Screen, ScreenTitle);
    ASSERT_EQ(window.ErrorBoxes.size(), 1u);
    EXPECT_EQ(window.ErrorBoxes[0].caption, "ｴﾗｰ");
    EXPECT_EQ(window.ErrorBoxes[0].text, "いい洞窟が生成できないようです");
    EXPECT_TRUE(window.TimerRunning);
}

// The run kept of a game from the title makes the cave it was played in again,
// the clock's seed as much as a seed given to the game, which every game after
// takes in place of the clock.
TEST(TitleRecording, EveryGameKeepsTheSettingsItsCaveWasMadeFrom)
{
    auto playAGame = [](FakeWindow& window) -> GameSettings {
        window.Tick(61);
        window.Press(KeySpace);
        window.Tick();
        EXPECT_EQ(window.News.back(), "cave " + DescribeSettings(window.game.settings));
        window.Release(KeySpace);
        window.Tick(20);
        window.Press(KeyF2, true);
        EXPECT_TRUE(window.Ended);
        return ParseRunFile(RunFileBytes(*window.Ended)).header.settings;
    };
    FakeWindow clock{TestAssets()};
    clock.DialogAnswer = GameSettings{.width = 50, .height = 40, .beginner = true, .speedToDeath = 7};
    clock.Clock.utcMilliseconds = 1234;
    EXPECT_EQ(playAGame(clock), (GameSettings{.width = 50, .height = 40, .beginner = true, .speedToDeath = 7, .seed = 1234}));
    FakeWindow given{TestAssets(), 5150};
    given.DialogAnswer = GameSettings{};
    EXPECT_EQ(playAGame(given).seed, 5150u);
    EXPECT_EQ(playAGame(given).seed, 5150u);
    EXPECT_EQ(given.game.state.Screen, ScreenTitle);
}

TEST(TitleLogo, IsAMosaicOfBandPiecesSharingItsLastSevenColumns)
{
    for (const auto& logo : TitleLogo)
        for (int row = 0; row < 4; ++row) {
            ASSERT_EQ(logo[row].size(), 15u);
            for (char piece : logo[row]) EXPECT_TRUE(piece >= 'g' && piece <= 'o') << piece;
            EXPECT_EQ(logo[row].substr(8), TitleLogo[0][row].substr(8));
        }
    EXPECT_NE(TitleLogo[0][0].substr(0, 8), TitleLogo[1][0].substr(0, 8));
    EXPECT_NE(TitleLogo[1][0].substr(0, 8), TitleLogo[2][0].substr(0, 8));
}

class DemonstrationTest : public TitleTest {
protected:
    fs::path file = fs::temp_directory_path() / ("burrowkin-demo-" + std::to_string(::getpid()) + ".dat");
    void SetUp() override
    {
        std::ofstream out(file, std::ios::binary);
        out << std::string(ReplayFileBytes, '\0');
        game.replayPath = [file = file.string()] { return file; };
    }
    void TearDown() override { fs::remove(file); }
};

TEST_F(DemonstrationTest, StartsAfterTwentyIdleSeconds)
{
    Tick(400);
    EXPECT_EQ(s.Screen, ScreenTitle);
    Tick();  // the tick that begins with TitleTicks 400
    EXPECT_EQ(s.Screen, ScreenPlay);
    EXPECT_TRUE(s.DemoMode);
    EXPECT_EQ(s.CaveWidth, 100);
    EXPECT_EQ(s.SpeedToDeath, 11);
    EXPECT_EQ(s.GoalX, 1072);  // the demonstration's own cave
    EXPECT_EQ(s.FrameIndex, 16);
}

TEST_F(DemonstrationTest, NeverStartsOnceACharacterIsUnlocked)
{
    PastTheQuietSeconds();
    Enter(Variant1Sequence);
    Tick(400);
    EXPECT_EQ(s.Screen, ScreenTitle);
    EXPECT_FALSE(s.DemoMode);
}

// The tick on which the demonstration starts is the demonstration's: neither
// a held button nor the last press of a sequence acts on it.
TEST_F(DemonstrationTest, AButtonHeldAsItStartsWaitsForTheTitle)
{
    Tick(400);
    KeyPressed(s, KeyZ, false);
    Tick();
    EXPECT_EQ(window.DialogsShown, 0);
    EXPECT_EQ(s.Screen, ScreenPlay);
    EXPECT_TRUE(s.DemoMode);
    EXPECT_TRUE(window.TimerRunning);

    KeyPressed(s, KeyF2, true);  // back to the title, the button still held
    PastTheQuietSeconds();
    EXPECT_EQ(window.DialogsShown, 1);
    EXPECT_FALSE(s.DemoMode);
}

TEST_F(DemonstrationTest, ASequenceFinishedAsItStartsUnlocksNothing)
{
    Tick(380);
    Enter(Variant1Sequence);  // the last press falls on the tick with TitleTicks 400
    EXPECT_EQ(s.Screen, ScreenPlay);
    EXPECT_TRUE(s.DemoMode);
    EXPECT_EQ(s.Variant, 0);
    EXPECT_EQ(window.Beeps, 0);
    EXPECT_EQ(window.Caption, "こるべに");
}

TEST_F(DemonstrationTest, AMissingRecordingIsReportedOnceAndTheTitleStays)
{
    game.replayPath = [file = (fs::temp_directory_path() / "no-such-burrowkin-replay.dat").string()] { return file; };
    Tick(401);
    EXPECT_EQ(s.Screen, ScreenTitle);
    EXPECT_FALSE(s.DemoMode);
    ASSERT_EQ(window.ErrorBoxes.size(), 1u);
    EXPECT_EQ(window.ErrorBoxes[0].caption, "Korvane Burrowkin");
    EXPECT_EQ(window.ErrorBoxes[0].text, ReplayNotFound);
    EXPECT_TRUE(ShowsText(game.StatusBitmap, 5, 1, VersionLine));
    Tick(1000);
    EXPECT_EQ(window.ErrorBoxes.size(), 1u);
    window.DialogAnswer = GameSettings{};
    window.Clock.utcMilliseconds = 1;
    KeyPressed(s, KeyZ, false);
    Tick();
    EXPECT_EQ(s.Screen, ScreenPlay);  // a button still starts a game
}

// The recording that ships with the game, as the build copies it beside the
// pictures: the title screen plays it through to the goal and takes over
// again, with the normal and with the beginner's starting counts.
class ShippedDemonstrationTest : public TitleTest {
protected:
    void SetUp() override
    {
        const char* data = std::getenv("BURROWKIN_DATA_DIR");
        game.replayPath = [file = (fs::path(data ? data : ".") / "replay.dat").string()] { return file; };
    }
};

TEST_F(ShippedDemonstrationTest, PlaysToTheGoalAndReturnsToTheTitleInEitherMode)
{
    for (bool beginner : {false, true}) {
        s.Beginner = beginner;
        Tick(401);
        ASSERT_EQ(s.Screen, ScreenPlay) << beginner;
        ASSERT_TRUE(s.DemoMode);
        EXPECT_EQ(s.Inventory[0], beginner ? 9 : 2);
        int ticks = 0;
        while (s.Screen == ScreenPlay && ticks < 6000) {
            Tick();
            ++ticks;
            ASSERT_EQ(s.DeathTimer, 0) << "dies at tick " << ticks << (beginner ? " in beginner mode" : "");
            if (ticks == 1) {
                EXPECT_TRUE(ShowsText(game.ViewBitmap, 2, 15, "DEMONSTRATION"));
            }
        }
        EXPECT_EQ(s.Screen, ScreenTitle) << beginner;
        EXPECT_EQ(s.TitleTicks, 0);
        EXPECT_EQ(s.Misses, 0);
        EXPECT_GT(s.Score, 0);  // treasure on the way
        Tick();                 // the title starts over
        EXPECT_EQ(s.TitleTicks, 1);
    }
}

}  // namespace
