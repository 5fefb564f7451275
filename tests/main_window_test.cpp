#include <QKeyEvent>
#include <QScreen>
#include <QTest>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/main_window.h"
#include "app/screen_fit.h"
#include "app/window_icon.h"
#include "gfx/draw.h"
#include "tests/support/test_assets.h"

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    TForm1 form{TestAssets(), PixelFormat::Rgb32, "/nonexistent"};
    GameState& s = form.game().state;

    void SetUp() override
    {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }
    void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) { QTest::keyClick(&form, Qt::Key(key), mods); }
};

TEST_F(MainWindowTest, ClientAreaIsFixedAt272By304)
{
    EXPECT_EQ(form.size(), QSize(272, 304));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(form.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(form.windowTitle(), QString::fromUtf8("こるべに"));
}

TEST_F(MainWindowTest, TheFrameTickSamplesHeldKeys)
{
    QTest::keyPress(&form, Qt::Key_Right);
    EXPECT_TRUE(QTest::qWaitFor([&] { return s.InputNow[InputRight] == 1; }, 2000));
    QTest::keyRelease(&form, Qt::Key_Right);
    EXPECT_TRUE(QTest::qWaitFor([&] { return s.InputNow[InputRight] == 0; }, 2000));
}

TEST(MainWindowKeys, EveryKeyOfTheGamesTableCanBePressed)
{
    std::set<int> reached;
    for (int key = Qt::Key_Space; key <= Qt::Key_Z; ++key) reached.insert(VirtualKeyOf(key));
    for (int key = Qt::Key_Escape; key <= Qt::Key_F35; ++key) reached.insert(VirtualKeyOf(key));
    for (const KeyBinding& binding : KeyTable) EXPECT_TRUE(reached.count(binding.virtualKey)) << binding.name;
}

TEST_F(MainWindowTest, RepeatedReleasesOfAHeldKeyKeepItsFlag)
{
    QTest::keyPress(&form, Qt::Key_Left);
    QKeyEvent repeatRelease(QEvent::KeyRelease, Qt::Key_Left, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(&form, &repeatRelease);
    EXPECT_EQ(s.KeysHeld[InputLeft], 1);
    QTest::keyRelease(&form, Qt::Key_Left);
    form.Timer1Timer();  // no tick saw the press: the next sees it, once
    EXPECT_EQ(s.InputNow[InputLeft], 1);
    EXPECT_EQ(s.KeysHeld[InputLeft], 0);
}

TEST_F(MainWindowTest, PauseStopsTheTickShowsPauseAndResumesWithTheCaption)
{
    Key(Qt::Key_F3);
    EXPECT_TRUE(form.Paused());
    EXPECT_EQ(form.windowTitle(), QString::fromUtf8("こるべに（一時停止）"));
    Surface expected(272, 304, PixelFormat::Rgb32);
    DrawTileText(TestAssets(), expected, 6, 2, "PAUSE");
    for (int y = 32; y < 48; ++y)
        for (int x = 96; x < 176; ++x)
            ASSERT_EQ(form.ClientArea().ColourAt(x, y, TestAssets().palette), expected.ColourAt(x, y, TestAssets().palette));

    const std::int32_t blink = s.BlinkPhase;
    QTest::qWait(160);
    EXPECT_EQ(s.BlinkPhase, blink);  // no tick ran

    Key(Qt::Key_F3);
    EXPECT_FALSE(form.Paused());
    EXPECT_EQ(form.windowTitle(), QString::fromUtf8("こるべに"));
}

TEST_F(MainWindowTest, RepeatedF3PressesToggleAgain)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_F3, Qt::NoModifier);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_F3, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(&form, &press);
    QApplication::sendEvent(&form, &repeat);
    EXPECT_FALSE(form.Paused());
}

TEST_F(MainWindowTest, ShiftF2AndShiftCtrlF2RestartTheTitleEvenWhilePaused)
{
    Key(Qt::Key_F3);  // no tick may run and undo what the key did
    for (auto mods : {Qt::KeyboardModifiers(Qt::ShiftModifier), Qt::ShiftModifier | Qt::ControlModifier}) {
        s.Screen = ScreenPlay;
        s.TitleTicks = 77;
        Key(Qt::Key_F2);
        EXPECT_EQ(s.Screen, ScreenPlay);
        Key(Qt::Key_F2, mods);
        EXPECT_EQ(s.Screen, ScreenTitle);
        EXPECT_EQ(s.TitleTicks, 0);
    }
}

TEST(MainWindow, OpensInThePaletteFormatWhenAsked)
{
    TForm1 form(TestAssets(), PixelFormat::Indexed8, "/nonexistent");
    EXPECT_EQ(form.game().ViewBitmap.Format(), PixelFormat::Indexed8);
    EXPECT_EQ(form.game().StatusBitmap.Format(), PixelFormat::Indexed8);
    EXPECT_EQ(form.game().StatusBitmap.Height(), 32);
}

TEST(MainWindow, ClosingWritesNoFile)
{
    namespace fs = std::filesystem;
    const fs::path before = fs::current_path();
    const fs::path dir = fs::temp_directory_path() / ("burrowkin-close-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    fs::current_path(dir);
    {
        TForm1 form(TestAssets(), PixelFormat::Rgb32, "/nonexistent");
        form.show();
        QTest::qWait(200);
        form.close();
        EXPECT_FALSE(form.isVisible());
    }
    fs::current_path(before);
    EXPECT_TRUE(fs::is_empty(dir));
    fs::remove_all(dir);
}

// On the offscreen platform nobody could answer a box: its text goes to
// standard error and the game goes on.
TEST(MainWindow, WithNobodyToAnswerAnErrorBoxGoesToStandardError)
{
    TForm1 form(TestAssets(), PixelFormat::Rgb32, "/nonexistent");
    testing::internal::CaptureStderr();
    form.ShowErrorBox("Korvane Burrowkin", "replay.dat cannot be read: not a regular file");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "burrowkin: Korvane Burrowkin: replay.dat cannot be read: not a regular file\n");
}

// A replay.dat here that is a dangling link or a loop of links is passed over
// for the data folder's, and said so once.
TEST(MainWindow, AReplayLinkHereThatLeadsNowhereIsNamed)
{
    namespace fs = std::filesystem;
    const fs::path before = fs::current_path();
    const fs::path dir = fs::temp_directory_path() / ("burrowkin-link-" + std::to_string(::getpid()));
    fs::create_directories(dir / "data");
    std::ofstream(dir / "data/replay.dat") << "x";
    fs::current_path(dir);
    for (const char* target : {"nowhere", "replay.dat"}) {
        fs::remove("replay.dat");
        fs::create_symlink(target, "replay.dat");
        TForm1 form(TestAssets(), PixelFormat::Rgb32, (dir / "data").string());
        testing::internal::CaptureStderr();
        EXPECT_EQ(form.ReplayPath(), (dir / "data/replay.dat").string());
        EXPECT_EQ(form.ReplayPath(), (dir / "data/replay.dat").string());
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find("replay.dat in the working folder is a link that leads to no file"), std::string::npos) << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    }
    fs::current_path(before);
    fs::remove_all(dir);
}

}  // namespace

namespace {

// The title as a player sees it three seconds after the start, saved for a look.
TEST(MainWindow, ShowsTheFinishedTitlePictureAfterThreeSeconds)
{
    TForm1 form(TestAssets(), PixelFormat::Rgb32, "/nonexistent");
    form.show();
    for (int i = 0; i < 61; ++i) form.Timer1Timer();
    const QImage shot = form.grab().toImage();
    EXPECT_EQ(shot.size(), QSize(272, 304));
    std::filesystem::create_directories(BURROWKIN_ARTIFACTS);
    EXPECT_TRUE(shot.save(QString(BURROWKIN_ARTIFACTS) + "/title.png"));
    // The version line stands on the status strip.
    EXPECT_NE(shot.pixel(5 * 16 + 8, 272 + 16 + 8), shot.pixel(1, 1)) ;
}

}  // namespace

namespace {

// The window's pixels as the display gets them: each of the 272 by 304 pixels
// a whole block of device pixels of its own colour, centred, black around it
// where the display's density leaves a margin.
void ExpectWholeBlocks(const TForm1& form, const QImage& shot, int blocks)
{
    const Assets& art = TestAssets();
    const QSize picture = QSize(272, 304) * blocks;
    const QPoint origin((shot.width() - picture.width()) / 2, (shot.height() - picture.height()) / 2);
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const QPoint p = QPoint(x, y) - origin;
            const bool inside = p.x() >= 0 && p.y() >= 0 && p.x() < picture.width() && p.y() < picture.height();
            const QRgb expected = inside ? form.ClientArea().ColourAt(p.x() / blocks, p.y() / blocks, art.palette) : 0xff000000u;
            ASSERT_EQ(shot.pixel(x, y), expected) << "device pixel " << x << "," << y << " of " << blocks << "-blocks";
        }
}

void RunTitle(TForm1& form)
{
    form.show();
    for (int i = 0; i < 61; ++i) form.Timer1Timer();
}

// Run once as it is and once more on a display of density 1.5 (QT_SCALE_FACTOR).
TEST(MainWindowScale, EveryPixelIsAWholeBlockOfOneColour)
{
    const QSize sizes[] = {{0, 0}, {272, 304}, {544, 608}, {816, 912}};
    for (auto [format, scale] : {std::pair{PixelFormat::Rgb32, 1}, {PixelFormat::Rgb32, 2}, {PixelFormat::Indexed8, 3}}) {
        TForm1 form(TestAssets(), format, "/nonexistent", scale);
        RunTitle(form);
        EXPECT_EQ(form.size(), sizes[scale]);
        EXPECT_EQ(form.minimumSize(), form.maximumSize());
        const QImage shot = form.grab().toImage();
        const qreal ratio = shot.devicePixelRatio();
        EXPECT_EQ(ratio, qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble());
        ASSERT_EQ(shot.size(), form.size() * ratio);
        ExpectWholeBlocks(form, shot, std::max(1, int(scale * ratio)));
        if (scale == 2 && ratio == 1) {
            std::filesystem::create_directories(BURROWKIN_ARTIFACTS);
            shot.save(QString(BURROWKIN_ARTIFACTS) + "/title-scale-2.png");
        }
    }
}

}  // namespace

namespace {

TEST(WindowIcon, HasBothSizesAndPassesOverAPictureThatIsNotAFile)
{
    namespace fs = std::filesystem;
    const fs::path data = std::getenv("BURROWKIN_DATA_DIR");
    EXPECT_EQ(WindowIcon(data.string()).availableSizes(), (QList<QSize>{{32, 32}, {256, 256}}));

    const fs::path dir = fs::temp_directory_path() / ("burrowkin-icons-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    fs::copy_file(data / "icon-256.png", dir / "icon-256.png");
    ASSERT_EQ(::mkfifo((dir / "icon.png").c_str(), 0600), 0);  // opening it would wait for a writer
    EXPECT_EQ(WindowIcon(dir.string()).availableSizes(), (QList<QSize>{{256, 256}}));
    fs::remove_all(dir);
}

}  // namespace

namespace {

// A window whose ticks the test drives, with a fixed clock and a 12 by 12 cave
// chosen in the setup dialog.
class DrivenWindow : public TForm1 {
public:
    DrivenWindow() : TForm1(TestAssets(), PixelFormat::Rgb32, "/nonexistent")
    {
        TForm1::SetTimerRunning(false);
        setupDialog = [] { return GameSettings{.width = 12, .height = 12}; };
    }
    void SetTimerRunning(bool) override {}
    WallClock Now() const override { return {.utcMilliseconds = 8}; }

    void Ticks(int n)
    {
        for (int i = 0; i < n; ++i) Timer1Timer();
    }
    void SwitchScreen()
    {
        QTest::keyClick(this, Qt::Key_F11);
        const QSize expected = isFullScreen() ? screen()->size() : QSize(272, 304);
        EXPECT_TRUE(QTest::qWaitFor([&] { return size() == expected; }, 2000)) << size().width() << "x" << size().height();
    }
};

TEST(MainWindowFullScreen, F11TwiceComesBackToTheSameWindowAndFrame)
{
    DrivenWindow form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    form.Ticks(61);
    const QImage before = form.grab().toImage();

    form.SwitchScreen();
    ASSERT_TRUE(form.isFullScreen());
    EXPECT_EQ(form.cursor().shape(), Qt::BlankCursor);
    const QImage full = form.grab().toImage();
    ExpectWholeBlocks(form, full, LargestWholeScale(full.size()));
    std::filesystem::create_directories(BURROWKIN_ARTIFACTS);
    full.save(QString(BURROWKIN_ARTIFACTS) + "/fullscreen-offscreen.png");

    form.SwitchScreen();
    EXPECT_FALSE(form.isFullScreen());
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_NE(form.cursor().shape(), Qt::BlankCursor);
    EXPECT_EQ(form.grab().toImage(), before);
}

// A game with Right held from before the switch and released in full screen.
void PlayAcrossTheSwitch(DrivenWindow& form, bool switching)
{
    form.show();
    QTest::keyPress(&form, Qt::Key_Space);
    for (int i = 0; i < 100 && form.game().state.Screen != ScreenPlay; ++i) form.Ticks(1);
    ASSERT_EQ(form.game().state.Screen, ScreenPlay);
    QTest::keyRelease(&form, Qt::Key_Space);
    QTest::keyPress(&form, Qt::Key_Right);
    form.Ticks(5);
    if (switching) form.SwitchScreen();
    form.Ticks(1);
    QTest::keyRelease(&form, Qt::Key_Right);
    form.Ticks(2);
    if (switching) form.SwitchScreen();
    form.Ticks(3);
}

TEST(MainWindowFullScreen, SwitchingChangesNothingInTheGame)
{
    DrivenWindow plain, switched;
    PlayAcrossTheSwitch(plain, false);
    PlayAcrossTheSwitch(switched, true);
    const GameState &a = plain.game().state, &b = switched.game().state;
    EXPECT_EQ(b.KeysHeld, InputFlags{});
    EXPECT_EQ(a.KeysHeld, b.KeysHeld);
    EXPECT_EQ(a.InputNow, b.InputNow);
    EXPECT_EQ(a.FrameIndex, b.FrameIndex);
    EXPECT_EQ(a.PlayerX, b.PlayerX);
    EXPECT_EQ(a.PlayerY, b.PlayerY);
    EXPECT_EQ(a.RandomState, b.RandomState);
    EXPECT_EQ(a.ReplayBuffer, b.ReplayBuffer);
    EXPECT_EQ(std::memcmp(plain.ClientArea().Bits(), switched.ClientArea().Bits(), 304 * plain.ClientArea().Stride()), 0);
}

TEST(MainWindowFullScreen, AScaleTooLargeForTheScreenIsLoweredToTheLargestThatFits)
{
    const ScaleFit lowered = FitScaleToScreen(8, QSize(1024, 768));
    EXPECT_EQ(lowered.scale, 2);
    EXPECT_EQ(lowered.note, "--scale 8 makes a 2176 by 2432 window, larger than the screen's 1024 by 768; using scale 2");
    EXPECT_EQ(FitScaleToScreen(2, QSize(544, 608)).note, "");
    EXPECT_EQ(FitScaleToScreen(2, QSize(544, 607)).scale, 1);
    EXPECT_EQ(FitScaleToScreen(1, QSize(200, 200)).note, "");  // nothing smaller to go to
}

}  // namespace
