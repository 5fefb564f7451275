#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "cave/replay.h"
#include "core/null_shell.h"
#include "play/game.h"
#include "screens/frame_tick.h"
#include "screens/keys.h"
#include "screens/run_recorder.h"
#include "screens/title.h"
#include "screens/title_picture.h"
#include "tests/support/test_assets.h"

// Failures show settings as the window prints them.
void PrintTo(const GameSettings& settings, std::ostream* out) { *out << DescribeSettings(settings); }

namespace {

namespace fs = std::filesystem;

class TitleTest : public ::testing::Test {
protected:
    NullShell shell;
    Game game{TestAssets(), shell};
    GameState& s = game.state;

    void Tick(int n = 1)
    {
        for (int i = 0; i < n; ++i) FrameTick(game);
    }
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
    EXPECT_EQ(shell.Caption, "こるべに");
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
    EXPECT_EQ(shell.DialogsShown, 0);
    Tick();  // TitleTicks reaches 61
    EXPECT_EQ(shell.DialogsShown, 1);
}

TEST_F(TitleTest, TheTwoSequencesUnlockTheHiddenCharactersInTurn)
{
    PastTheQuietSeconds();
    Enter(Variant1Sequence);
    EXPECT_EQ(s.Variant, 1);
    EXPECT_EQ(shell.Caption, "るみべに");
    EXPECT_EQ(shell.Beeps, 1);
    EXPECT_EQ(s.TitleKeyLog, "");
    EXPECT_TRUE(ShowsText(game.ViewBitmap, 0, 8, "LUMIRAS BURROWKIN"));
    EXPECT_TRUE(ShowsText(game.ViewBitmap, 1, 7, TitleLogo[1][3]));

    Enter(Variant2Sequence);
    EXPECT_EQ(s.Variant, 2);
    EXPECT_EQ(shell.Caption, "てさべに");
    EXPECT_EQ(shell.Beeps, 2);
    EXPECT_TRUE(ShowsText(game.ViewBitmap, 0, 8, "TESSADO BURROWKIN"));
}

TEST_F(TitleTest, OneWrongPressSpoilsTheAttempt)
{
    PastTheQuietSeconds();
    Enter("r");
    Enter(Variant1Sequence);
    EXPECT_EQ(s.Variant, 0);
    EXPECT_EQ(shell.Beeps, 0);
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
    EXPECT_EQ(shell.DialogsShown, 1);
    EXPECT_EQ(s.Screen, ScreenTitle);
    EXPECT_EQ(s.Variant, 1);
    EXPECT_EQ(s.TitleKeyLog, "");
    EXPECT_EQ(s.KeysHeld[ButtonUse], 0);
    EXPECT_TRUE(shell.TimerRunning);
    EXPECT_FALSE(s.DemoMode);
}

TEST_F(TitleTest, TheDialogsChoiceStartsAGame)
{
    PastTheQuietSeconds();
    shell.DialogAnswer = GameSettings{.width = 50, .height = 40, .beginner = true, .speedToDeath = 7};
    shell.UtcMilliseconds = 1234;
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
    shell.DialogAnswer = GameSettings{.width = 1, .height = 1};
    shell.UtcMilliseconds = 197;  // a 1 by 1 cave without room from this seed
    KeyPressed(s, KeySpace, false);
    Tick();
    EXPECT_EQ(s.Screen, ScreenTitle);
    ASSERT_EQ(shell.ErrorBoxes.size(), 1u);
    EXPECT_EQ(shell.ErrorBoxes[0].Caption, "ｴﾗｰ");
    EXPECT_EQ(shell.ErrorBoxes[0].Text, "いい洞窟が生成できないようです");
    EXPECT_TRUE(shell.TimerRunning);
}

// A clock that has moved on by the next time it is asked.
struct MovingClock : NullShell {
    std::uint32_t UtcMillisecondsOfDay() override { return UtcMilliseconds++; }
};

// The run kept of a game from the title makes the cave it was played in again,
// the clock's seed as much as a seed given to the game, which every game after
// takes in place of the clock.
TEST(TitleRecording, EveryGameKeepsTheSettingsItsCaveWasMadeFrom)
{
    MovingClock shell;
    Game game{TestAssets(), shell};
    GameState& s = game.state;
    RunRecorder recorder;
    auto tick = [&] {
        const int before = s.Screen;
        FrameTick(game);
        return recorder.AfterTick(game, before);
    };
    auto playAGame = [&]() -> GameSettings {
        for (int i = 0; i < 61; ++i) tick();
        KeyPressed(s, KeySpace, false);
        EXPECT_EQ(tick(), RunRecorder::Event::Started);
        EXPECT_EQ(recorder.Header().settings, game.settings);
        KeyReleased(s, KeySpace);
        for (int i = 0; i < 20; ++i) tick();
        EXPECT_EQ(recorder.Leaving(game, RunEnding::Quit), RunRecorder::Event::Ended);
        KeyPressed(s, KeyF2, true);
        return ParseRunFile(RunFileBytes(*recorder.Finished())).header.settings;
    };
    shell.DialogAnswer = GameSettings{.width = 50, .height = 40, .beginner = true, .speedToDeath = 7};
    shell.UtcMilliseconds = 1234;
    EXPECT_EQ(playAGame(), (GameSettings{.width = 50, .height = 40, .beginner = true, .speedToDeath = 7, .seed = 1234}));
    game.givenSeed = 5150;
    EXPECT_EQ(playAGame().seed, 5150u);
    EXPECT_EQ(playAGame().seed, 5150u);
    EXPECT_EQ(s.Screen, ScreenTitle);
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
        shell.ReplayFile = file.string();
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
    EXPECT_EQ(shell.DialogsShown, 0);
    EXPECT_EQ(s.Screen, ScreenPlay);
    EXPECT_TRUE(s.DemoMode);
    EXPECT_TRUE(shell.TimerRunning);

    KeyPressed(s, KeyF2, true);  // back to the title, the button still held
    PastTheQuietSeconds();
    EXPECT_EQ(shell.DialogsShown, 1);
    EXPECT_FALSE(s.DemoMode);
}

TEST_F(DemonstrationTest, ASequenceFinishedAsItStartsUnlocksNothing)
{
    Tick(380);
    Enter(Variant1Sequence);  // the last press falls on the tick with TitleTicks 400
    EXPECT_EQ(s.Screen, ScreenPlay);
    EXPECT_TRUE(s.DemoMode);
    EXPECT_EQ(s.Variant, 0);
    EXPECT_EQ(shell.Beeps, 0);
    EXPECT_EQ(shell.Caption, "こるべに");
}

TEST_F(DemonstrationTest, AMissingRecordingIsReportedOnceAndTheTitleStays)
{
    shell.ReplayFile = (fs::temp_directory_path() / "no-such-burrowkin-replay.dat").string();
    Tick(401);
    EXPECT_EQ(s.Screen, ScreenTitle);
    EXPECT_FALSE(s.DemoMode);
    ASSERT_EQ(shell.ErrorBoxes.size(), 1u);
    EXPECT_EQ(shell.ErrorBoxes[0].Caption, "Korvane Burrowkin");
    EXPECT_EQ(shell.ErrorBoxes[0].Text, ReplayNotFound);
    EXPECT_TRUE(ShowsText(game.StatusBitmap, 5, 1, VersionLine));
    Tick(1000);
    EXPECT_EQ(shell.ErrorBoxes.size(), 1u);
    shell.DialogAnswer = GameSettings{};
    shell.UtcMilliseconds = 1;
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
        shell.ReplayFile = (fs::path(data ? data : ".") / "replay.dat").string();
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
