// The session: one step in, one report out, as both front ends drive it.
#include <gtest/gtest.h>

#include <algorithm>

#include "screens/session.h"
#include "screens/title.h"
#include "tests/support/fake_window.h"
#include "tests/support/test_assets.h"

namespace {

TickInput TickStep() { return {.tick = true}; }

TEST(Session, ATapBetweenTwoTicksIsSeenOnceAndAHeldFlagLetGoAtOnce)
{
    FakeWindow window(TestAssets());
    GameState& s = window.game.state;
    window.Press(KeyLeft);
    window.Release(KeyLeft);
    EXPECT_EQ(s.KeysHeld[InputLeft], 1);  // until a tick has seen it
    window.Tick();
    EXPECT_EQ(s.InputNow[InputLeft], 1);
    EXPECT_EQ(s.KeysHeld[InputLeft], 0);
    window.Tick();
    EXPECT_EQ(s.InputNow[InputLeft], 0);

    // Space seen held by a tick; X pressed and let go before the next clears
    // Select at once, as the two keys share one flag.
    window.Press(KeySpace);
    window.Tick();
    window.Press(KeyX);
    window.Release(KeyX);
    window.Tick();
    EXPECT_EQ(s.InputNow[ButtonSelect], 0);

    // A release the key's own auto-repeat sends is no release.
    window.Press(KeyRight);
    window.Tick();
    window.Step({.keys = {{.virtualKey = KeyRight, .down = false, .repeat = true}}});
    window.Tick();
    EXPECT_EQ(s.InputNow[InputRight], 1);
}

TEST(Session, PauseHoldsTheTimerSaysSoInTheCaptionAndDrawsPause)
{
    FakeWindow window(TestAssets());
    window.Tick(3);
    const TickReport paused = window.Step({.keys = {{.virtualKey = KeyF3}}});
    EXPECT_EQ(paused.timer, TickReport::Timer::Hold);
    EXPECT_EQ(paused.caption, "こるべに（一時停止）");
    EXPECT_TRUE(window.Step({.keys = {{.virtualKey = KeyM}}}).toggleSound);
    EXPECT_TRUE(paused.newPicture);
    EXPECT_TRUE(ShowsText(window.session.Picture(), 6, 2, "PAUSE"));
    // A front end that ticks anyway moves nothing.
    window.Step(TickStep());
    EXPECT_EQ(window.game.state.TitleTicks, 3);
    // Shift+F2 still goes back to the title while paused.
    window.Step({.keys = {{.virtualKey = KeyF2, .shift = true}}});
    const TickReport going = window.Step({.keys = {{.virtualKey = KeyF3, .repeat = true}}});
    EXPECT_EQ(going.timer, TickReport::Timer::Release);
    EXPECT_EQ(going.caption, "こるべに");
    window.Tick();
    EXPECT_EQ(window.game.state.TitleTicks, 1);
}

TEST(Session, TheSetupDialogHoldsTheTicksUntilItAnswersAndTheAnswerStartsTheGame)
{
    FakeWindow window(TestAssets(), 77);
    window.Tick(61);
    window.Press(KeyZ);
    const TickReport asking = window.session.Step(TickStep());
    EXPECT_TRUE(asking.openSetup);
    EXPECT_EQ(asking.timer, TickReport::Timer::Hold);
    EXPECT_TRUE(window.session.WaitingForSetup());
    const std::uint32_t ticks = window.game.state.TitleTicks;
    window.session.Step(TickStep());
    EXPECT_EQ(window.game.state.TitleTicks, ticks);

    const TickReport started = window.session.Step({.setup = TickInput::SetupAnswer{GameSettings{.width = 30, .height = 20}}});
    EXPECT_EQ(window.game.state.Screen, ScreenPlay);
    EXPECT_EQ(started.timer, TickReport::Timer::Release);
    ASSERT_EQ(started.news.size(), 1u);
    EXPECT_EQ(started.news[0], "cave 30x20 character 0 beginner no speed 11 seed 77");
    EXPECT_EQ(window.game.state.KeysHeld[ButtonUse], 0);  // its release went to the dialog
    // A stray answer later changes nothing.
    window.session.Step({.setup = TickInput::SetupAnswer{GameSettings{.width = 5, .height = 5}}});
    EXPECT_EQ(window.game.state.CaveWidth, 30);
}

TEST(Session, AGameEndsWithItsRunWhenTheWindowClosesAndItsRunCanBeWatchedFast)
{
    FakeWindow window(TestAssets(), 5, &GameSounds());
    window.DialogAnswer = GameSettings{.width = 20, .height = 20};
    window.Clock.utcMilliseconds = 1'765'000'000'000;  // 6 December 2025, 5:46:40 UTC
    window.Tick(61);
    window.TickHolding(BitSelect);
    ASSERT_EQ(window.game.state.Screen, ScreenPlay);
    for (int k = 0; k < 30; ++k) window.TickHolding(k % 10 < 6 ? BitRight : BitLeft | BitUp);
    const std::vector<std::string> heard(window.Heard.begin(), window.Heard.begin() + 3);
    EXPECT_EQ(heard, (std::vector<std::string>{"title", "dialog", "start"}));
    EXPECT_NE(std::count(window.Heard.begin(), window.Heard.end(), "jump"), 0);
    const TickReport closing = window.Step({.closing = true});
    ASSERT_TRUE(closing.ended);
    EXPECT_EQ(closing.ended->run.header.ending, RunEnding::Closed);
    EXPECT_EQ(closing.ended->run.header.ticks, 30u);
    EXPECT_EQ(closing.ended->started, 1'765'000'000);
    EXPECT_EQ(closing.ended->fileName, RunFileName(closing.ended->run.header, 1'765'000'000));
    const std::int32_t endX = window.game.state.PlayerX;

    // Watched with the fast-forward key held: four ticks a tick, to the end,
    // then the title, and silent while it is held.
    FakeWindow watcher(TestAssets(), std::nullopt, &GameSounds());
    watcher.Step({.watch = closing.ended->run});
    EXPECT_TRUE(watcher.session.Watching());
    watcher.Press(KeyTab);
    watcher.Tick(7);
    EXPECT_EQ(watcher.game.state.FrameIndex, 16 + 28);
    EXPECT_EQ(watcher.Heard, std::vector<std::string>{});
    watcher.Release(KeyTab);
    watcher.Tick(2);
    EXPECT_EQ(watcher.game.state.PlayerX, endX);
    EXPECT_FALSE(watcher.session.Watching());
    EXPECT_EQ(watcher.game.state.Screen, ScreenTitle);
    EXPECT_FALSE(watcher.Ended);  // a watched run is no game of the player's
}

// A key the player bound moves the character as the game's own key does, and
// a key held while the keys change their meaning is let go of.
TEST(Session, AReboundKeyPlaysAsTheGamesOwnAndChangingKeysLetsGoOfHeldOnes)
{
    const auto walk = [](int key, bool rebound) {
        FakeWindow window(TestAssets(), 6);
        window.DialogAnswer = GameSettings{.width = 20, .height = 20};
        if (rebound) {
            KeyBindings keys = KeyBindings::Defaults();
            EXPECT_EQ(keys.Bind(Control::Left, 'A'), "");
            window.Step({.bindings = keys});
        }
        window.Tick(61);
        window.TickHolding(BitSelect);
        window.game.state.KeysHeld = {};
        window.Press(key);
        window.Tick(12);
        return window.game.state.PlayerX;
    };
    EXPECT_EQ(walk('A', true), walk(KeyLeft, false));
    EXPECT_NE(walk('A', false), walk(KeyLeft, false)) << "unbound, A does nothing";

    FakeWindow window(TestAssets());
    window.Press(KeyLeft);
    window.Tick();
    window.Step({.bindings = KeyBindings::Defaults()});
    EXPECT_EQ(window.game.state.KeysHeld, InputFlags{});
}

// The keys dialog opens from the whole title only, named in its status
// strip, and stops the title's clock until it answers.
TEST(Session, TheKeysDialogOpensFromTheWholeTitleAndHoldsItsClockUntilItAnswers)
{
    FakeWindow window(TestAssets(), 8);
    window.DialogAnswer = GameSettings{.width = 20, .height = 20};
    const TickInput pressK = {.keys = {{.virtualKey = KeyK}}};
    window.Tick(30);
    EXPECT_FALSE(window.Step(pressK).openKeys) << "the title is still building up";
    window.Tick(31);
    EXPECT_TRUE(ShowsText(window.session.Picture(), 11, 17, "K:KEYS"));
    EXPECT_FALSE(ShowsText(window.game.StatusBitmap, 11, 0, "K:KEYS")) << "the game's own strip is left alone";

    const TickReport opened = window.Step(pressK);
    EXPECT_TRUE(opened.openKeys);
    EXPECT_EQ(opened.timer, TickReport::Timer::Hold);
    EXPECT_FALSE(window.Step(pressK).openKeys) << "it is open already";
    window.session.Step(TickStep());
    EXPECT_EQ(window.game.state.TitleTicks, 61u);

    KeyBindings keys = KeyBindings::Defaults();
    ASSERT_EQ(keys.Bind(Control::Keys, 116), "");  // F5
    ASSERT_EQ(keys.Unbind(Control::Keys, KeyK), "");
    const TickReport answered = window.Step({.keysAnswer = TickInput::KeysAnswer{keys}});
    EXPECT_EQ(answered.timer, TickReport::Timer::Release);
    EXPECT_EQ(window.session.Bindings(), keys);
    window.Tick();
    EXPECT_EQ(window.game.state.TitleTicks, 62u);
    EXPECT_TRUE(ShowsText(window.session.Picture(), 10, 17, "F5:KEYS"));

    // Cancelled, the keys stay; K now does nothing, and in play F5 neither.
    EXPECT_FALSE(window.Step(pressK).openKeys);
    ASSERT_TRUE(window.Step({.keys = {{.virtualKey = 116}}}).openKeys);
    window.Step({.keysAnswer = TickInput::KeysAnswer{}});
    EXPECT_EQ(window.session.Bindings(), keys);
    window.TickHolding(BitSelect);
    ASSERT_EQ(window.game.state.Screen, ScreenPlay);
    EXPECT_FALSE(window.Step({.keys = {{.virtualKey = 116}}}).openKeys);
}

// A slower clock changes nothing of play; the run says the slowest pace any
// of its ticks came at, in a byte that full-speed runs leave as they were.
TEST(Session, AGamePlayedSlowerIsTheSameGameAndItsRunSaysSo)
{
    const auto play = [](int speedAfterTen) {
        FakeWindow window(TestAssets(), 9);
        window.DialogAnswer = GameSettings{.width = 20, .height = 20};
        window.Tick(61);
        window.TickHolding(BitSelect);
        for (int k = 0; k < 40; ++k) {
            if (k == 10) window.Speed = speedAfterTen;
            window.TickHolding(k % 7 < 4 ? BitRight : BitUp);
        }
        window.Press(KeyF2, true);
        return *window.Ended;
    };
    const RunFile full = play(100), slow = play(50);
    EXPECT_EQ(full.header.speed, 100);
    EXPECT_EQ(slow.header.speed, 50);
    EXPECT_EQ(slow.inputs, full.inputs);
    const std::vector<std::uint8_t> fullBytes = RunFileBytes(full), slowBytes = RunFileBytes(slow);
    EXPECT_EQ(fullBytes[12], 1);  // the version word as every earlier file has it
    EXPECT_EQ(fullBytes[13], 0);
    EXPECT_EQ(slowBytes[13], 50);
    EXPECT_EQ(ParseRunFile(slowBytes).header.speed, 50);
    std::vector<std::uint8_t> odd = slowBytes;
    odd[13] = 75;
    EXPECT_THROW(ParseRunFile(odd), RunFileError);
}

}  // namespace
