// A race in the window's session: the player's game from the title, and a
// run's shadow beside it.
#include <gtest/gtest.h>

#include "gfx/draw.h"
#include "screens/race.h"
#include "screens/session.h"
#include "tests/support/fake_window.h"
#include "tests/support/test_assets.h"
#include "tools/sim/trace.h"
#include "tools/solver/solver.h"

namespace {

constexpr GameSettings Cave{.width = 20, .height = 20, .seed = 6};

// A window's session with the real pictures, played from the title.
struct Window : FakeWindow {
    Window() : FakeWindow(TestAssets(), std::nullopt, &GameSounds()) {}

    void Tick(std::uint16_t held = 0) { TickHolding(held); }
    // The title builds up, then a held button starts the fixed game.
    void StartFromTheTitle()
    {
        for (int i = 0; i < 61; ++i) Tick();
        Tick(BitSelect);
        ASSERT_EQ(game.state.Screen, ScreenPlay);
    }
    // The lines of the race's news.
    std::vector<std::string> RaceNews() const
    {
        std::vector<std::string> lines;
        for (const std::string& line : News)
            if (line.starts_with("race: ")) lines.push_back(line);
        return lines;
    }
};

// A run of the cave that reaches the goal, as the window keeps it: the
// automatic player's way, played from the title a tick after the start.
RunFile RunToTheGoal()
{
    const Assets noPictures;
    Game solving(noPictures);
    NewGame(solving, Cave);
    const SolveResult way = Solve(solving, {});
    EXPECT_TRUE(way.solved);
    Window window;
    window.game.fixedStart = Game::FixedStart{Cave, 0};
    window.StartFromTheTitle();
    window.Tick();  // the title's button is let go first
    for (std::uint16_t word : way.inputs) window.Tick(word);
    EXPECT_EQ(window.game.state.Screen, ScreenEnding);
    return *window.Ended;
}

// The bounding box of the pixels where two views differ.
struct Box {
    int left = 272, top = 272, right = -1, bottom = -1;
    bool Empty() const { return right < 0; }
};
Box Differences(const Surface& a, const Surface& b)
{
    Box box;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.ColourAt(x, y, TestAssets().palette) != b.ColourAt(x, y, TestAssets().palette)) {
                box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x), std::max(box.bottom, y)};
            }
    return box;
}

TEST(Race, TheShadowTouchesNothingOfThePlayersGameAndWalksAsItsRunPlays)
{
    const RunFile run = RunToTheGoal();
    Window racing, plain;
    racing.Step({.race = run});
    plain.game.fixedStart = racing.game.fixedStart;
    racing.StartFromTheTitle();
    plain.StartFromTheTitle();
    // The shadow as `burrowkin-sim play --run` plays it.
    const Assets noPictures;
    Game alone(noPictures);
    const RunPlayer player(run);
    player.Start(alone);

    bool seen = false, marked = false;
    for (std::size_t k = 0; k < run.inputs.size(); ++k) {
        racing.Tick();
        plain.Tick();
        player.Tick(alone);
        ASSERT_EQ(TraceLine(racing.game), TraceLine(plain.game)) << "tick " << k;
        const GameState& shadow = racing.session.Racing()->ShadowGame().state;
        ASSERT_EQ(std::tie(shadow.PlayerX, shadow.PlayerY, shadow.Facing), std::tie(alone.state.PlayerX, alone.state.PlayerY, alone.state.Facing)) << "tick " << k;

        // Drawn where the run's character stands, within its sprite's cell;
        // beyond the view only a small mark at the view's edge.
        const Box d = Differences(racing.game.ViewBitmap, plain.game.ViewBitmap);
        const int dx = shadow.PlayerX - racing.game.state.PlayerX, dy = shadow.PlayerY - racing.game.state.PlayerY;
        if (std::abs(dx) < 144 && std::abs(dy) < 144) {
            if (d.Empty()) continue;  // hidden on a tick of its death, or standing where the player does
            seen = true;
            EXPECT_GE(d.left, 128 + dx) << "tick " << k;
            EXPECT_LE(d.right, 128 + dx + 15) << "tick " << k;
            EXPECT_GE(d.top, 128 + dy) << "tick " << k;
            EXPECT_LE(d.bottom, 128 + dy + 15) << "tick " << k;
        } else {
            marked = true;
            ASSERT_FALSE(d.Empty()) << "tick " << k;
            EXPECT_LE(d.right - d.left, 6);
            EXPECT_LE(d.bottom - d.top, 6);
            EXPECT_TRUE(d.left < 16 || d.right > 255 || d.top < 16 || d.bottom > 255) << "at the view's edge, tick " << k;
        }
    }
    EXPECT_TRUE(seen);
    EXPECT_TRUE(marked);
    // The player's run is the same as without the race, and so is what is heard.
    EXPECT_EQ(racing.Heard, plain.Heard);
    racing.Press(KeyF2, true);
    plain.Press(KeyF2, true);
    ASSERT_TRUE(racing.Ended && plain.Ended);
    EXPECT_EQ(RunFileBytes(*racing.Ended), RunFileBytes(*plain.Ended));
}

TEST(Race, ARunRacedWithItsOwnInputsEndsLevel)
{
    const RunFile run = RunToTheGoal();
    Window window;
    window.Step({.race = run});
    window.StartFromTheTitle();
    for (std::uint16_t word : run.inputs) window.Tick(word);
    ASSERT_EQ(window.game.state.Screen, ScreenEnding);
    const std::vector<std::string> news = window.RaceNews();
    ASSERT_EQ(news.size(), 2u);
    EXPECT_EQ(news[0].rfind("race: the shadow reached the exit: ", 0), 0u) << news[0];
    EXPECT_EQ(news[1].substr(news[1].size() - 7), "; level") << news[1];
}

}  // namespace

namespace {

// A second game raced starts the shadow again; a player slower than the
// shadow is told so, with the shadow's lead, and then the race is stopped.
TEST(Race, EveryGameRacesTheShadowFromItsStartAndTheSlowerIsBehind)
{
    const RunFile run = RunToTheGoal();
    Window window;
    window.Step({.race = run});
    window.StartFromTheTitle();
    for (int k = 0; k < 40; ++k) window.Tick();  // the shadow walks on meanwhile
    const std::uint32_t shadowTicks = Race::Of(window.session.Racing()->ShadowGame()).ticks;
    EXPECT_EQ(shadowTicks, 40u);
    window.Press(KeyF2, true);

    window.StartFromTheTitle();
    EXPECT_EQ(Race::Of(window.session.Racing()->ShadowGame()).ticks, 0u) << "the shadow starts again";
    window.Tick();
    for (int k = 0; k < 20; ++k) window.Tick();  // twenty ticks behind the run
    for (std::uint16_t word : run.inputs) window.Tick(word);
    ASSERT_EQ(window.game.state.Screen, ScreenEnding);
    const Race::Standing you = Race::Of(window.game), shadow = window.session.Racing()->Shadow();
    EXPECT_EQ(Race::Lead(you, shadow), -21L);
    EXPECT_NE(window.RaceNews().back().find("; the shadow leads by 1.05 s"), std::string::npos) << window.RaceNews().back();

    window.Step({.stopRace = true});
    EXPECT_FALSE(window.session.Racing());
    EXPECT_FALSE(window.game.fixedStart);
}

}  // namespace
