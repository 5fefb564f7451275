#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <tuple>

#include "cave/generator.h"
#include "cave/random.h"
#include "cave/replay.h"
#include "play/actions.h"
#include "tests/support/playground.h"
#include "tests/support/test_assets.h"
#include "tools/solver/block_store.h"
#include "tools/solver/frontier.h"
#include "tools/solver/macro_runner.h"
#include "tools/solver/moves.h"
#include "tools/solver/play_snapshot.h"
#include "tools/solver/recording.h"
#include "tools/solver/shut_in.h"
#include "tools/solver/solver.h"

namespace {

// A hand-made cave whose exit the search is told about, as the generator
// would set it.
struct Cave : Playground {
    Cave(std::initializer_list<std::string> rows, std::array<std::uint8_t, 6> counts = {2, 2, 2, 0, 0, 0}, int variant = 0)
        : Playground(rows, variant), drawing(rows)
    {
        int row = 0;
        for (const std::string& line : drawing) {
            if (auto column = line.find('E'); column != std::string::npos) {
                s.GoalX = X(int(column));
                s.GoalY = Y(row);
            }
            ++row;
        }
        s.Inventory = counts;
        start = TakeSnapshot(s);
        startMap = game.map;
    }
    // Puts the cave and the character back as they were before the search.
    void Reset()
    {
        RestoreSnapshot(s, start);
        game.map = startMap;
    }
    SolveResult Solve()
    {
        SolveResult r = ::Solve(game, SolveLimits{200'000, 0});
        Reset();
        return r;
    }

    std::vector<std::string> drawing;
    PlaySnapshot start;
    CaveMap startMap;
};

// Plays a found recording from the start and checks that it is a clean run,
// with no more lives lost than `misses`.
PlayOut Replay(Cave& cave, const std::vector<std::uint16_t>& inputs, int misses = 0)
{
    cave.Reset();
    const PlayOut out = PlayRecording(cave.game, inputs);
    EXPECT_TRUE(out.goalTaken);
    EXPECT_EQ(out.deaths, misses);
    EXPECT_FALSE(out.usedEmptySlot);
    EXPECT_EQ(out.ticks, int(inputs.size()));
    return out;
}

// Solves the cave and plays the recording back as a clean run with `misses`
// lives lost.
void ExpectSolved(Cave& cave, int misses = 0)
{
    const SolveResult r = cave.Solve();
    ASSERT_TRUE(r.solved);
    Replay(cave, r.inputs, misses);
}

TEST(SolverTest, JumpsOverABlockAndWalksToTheExit)
{
    Cave cave({
        "##########",
        "#........#",
        "#........#",
        "#@..##..E#",
        "##########",
    });
    const SolveResult r = cave.Solve();
    ASSERT_TRUE(r.solved);
    const PlayOut out = Replay(cave, r.inputs);
    EXPECT_EQ(out.itemsUsed, 0);
    EXPECT_LT(out.ticks, 60);  // eight cells: a walk, a jump, a drop, no dawdling
}

TEST(SolverTest, LaysARopeToReachALedge)
{
    Cave cave({
        "#########",
        "#.......#",
        "#....E..#",
        "#...#####",
        "#.......#",
        "#.......#",
        "#@......#",
        "#########",
    });
    const SolveResult r = cave.Solve();
    ASSERT_TRUE(r.solved);
    const PlayOut out = Replay(cave, r.inputs);
    EXPECT_EQ(out.itemsUsed, 1);
    EXPECT_EQ(cave.s.Inventory[1], 1);  // the rope
}

TEST(SolverTest, BridgesAChasmWithARopeLaidSideways)
{
    Cave cave({
        "###########",
        "#.........#",
        "#@.......E#",
        "###.....###",
        "###.....###",
        "###.....###",
        "###.....###",
        "###.....###",
        "###########",
    });
    ASSERT_NO_FATAL_FAILURE(ExpectSolved(cave));
    EXPECT_GT(std::count(&cave.game.map[0][0], &cave.game.map[0][0] + 65536, TileBuiltBar), 0);
}

TEST(SolverTest, PicksUpAParachuteForADeepDrop)
{
    Cave cave({
        "##########",
        "#@.u.....#",
        "######.###",
        "######.###",
        "######.###",
        "######.###",
        "######.###",
        "#E.......#",
        "##########",
    });
    const SolveResult r = cave.Solve();
    ASSERT_TRUE(r.solved);
    const PlayOut out = Replay(cave, r.inputs);
    EXPECT_EQ(out.itemsUsed, 1);
    EXPECT_EQ(cave.s.Action, 6);  // still floating under it
}

TEST(SolverTest, DigsOnlyWithPickaxesItHasAndPlaysTheSameInBeginnerMode)
{
    const std::initializer_list<std::string> rows = {
        "########",
        "#@.%%.E#",
        "########",
    };
    Cave without(rows, {0, 0, 1, 0, 0, 0});  // one pickaxe for two cells of rock
    EXPECT_FALSE(without.Solve().solved);

    Cave cave(rows, {0, 0, 2, 0, 0, 0});
    const SolveResult r = cave.Solve();
    ASSERT_TRUE(r.solved);
    EXPECT_EQ(Replay(cave, r.inputs).itemsUsed, 2);

    // Beginner counts start at 9: every press lands as it did.
    Cave beginner(rows, {9, 9, 9, 9, 9, 9});
    const PlayOut out = Replay(beginner, r.inputs);
    EXPECT_EQ(out.itemsUsed, 2);
}

TEST(SolverTest, AWalledInExitIsNotSolvedAndTheSearchEnds)
{
    Cave cave({
        "#######",
        "#@..#E#",
        "#######",
    });
    const SolveResult r = cave.Solve();
    EXPECT_FALSE(r.solved);
    EXPECT_TRUE(r.exhausted);  // proved: every move was tried
    EXPECT_TRUE(r.inputs.empty());
    EXPECT_LT(r.expansions, 100);
}

// A step into the shaft falls to death, and a jump falls from too high;
// holding on across the gap lands on the ledge beyond.
TEST(SolverTest, AFallIsSteeredOntoALedgeWhereAStepOrAJumpWouldKill)
{
    Cave cave({
        "######",
        "#....#",
        "#....#",
        "#@...#",
        "##..E#",
        "##.###",
        "##.###",
        "##.###",
        "######",
    }, {0, 0, 0, 0, 0, 0});
    ExpectSolved(cave);
}

// A fall kills, but the character comes back where the body came to rest: on
// the floor two cells down, or, from a deeper shaft, up on the ledge with
// what the body reached (here the pickaxe). Each way costs a life.
TEST(SolverTest, AFallThatKillsLeadsOnWhereTheBodyLiesOrWithWhatItPickedUp)
{
    Cave cave({
        "########",
        "#.@%.###",
        "#.##.###",
        "#k##..E#",
        "#.######",
        "########",
    }, {0, 0, 0, 0, 0, 0});
    ExpectSolved(cave, 2);
}

// No step, jump, leap or thrust crosses the gap: each ends in the pit, and
// the pit is too deep to thrust out of. Once they have all led nowhere, a
// level flight with the jet reaches the exit.
TEST(SolverTest, WhenNothingElseLeadsOnTheJetFliesLevelAcrossAGap)
{
    Cave cave({
        "##########",
        "#........#",
        "#........#",
        "#@.....E.#",
        "###...####",
        "###...####",
        "###...####",
        "###...####",
        "###...####",
        "###...####",
        "###...####",
        "###...####",
        "##########",
    }, {0, 0, 0, 0, 0, 1}, 2);
    ExpectSolved(cave);
}

// Solves the cave, plays the recording back and checks that the item of
// `slot` was spent on the way, and `misses` lives.
void ExpectSolvedSpending(Cave& cave, int slot, int misses = 0)
{
    const auto before = cave.s.Inventory;
    ASSERT_NO_FATAL_FAILURE(ExpectSolved(cave, misses));
    EXPECT_LT(cave.s.Inventory[slot], before[slot]);
}

// A way that needs more items than the character holds is proved impossible:
// the one pickaxe opens only the first of the two cells of rock. A bomb opens
// both, and as it cannot be escaped in the pocket, it costs a life.
TEST(SolverTest, TooFewItemsIsAProofThatTheCaveCannotBeFinished)
{
    const std::initializer_list<std::string> pocket = {
        "######",
        "#.####",
        "#@%%E#",
        "######",
    };
    Cave cave(pocket, {0, 2, 1, 0, 0, 0});
    const SolveResult r = cave.Solve();
    EXPECT_FALSE(r.solved);
    EXPECT_TRUE(r.exhausted);
    EXPECT_FALSE(r.outOfTime);

    Cave bombed(pocket, {1, 0, 0, 0, 0, 0});
    ExpectSolvedSpending(bombed, 0, 1);
}

// With nothing to dig, the character stays in its pocket of open cells unless
// the pocket holds the exit or an item that digs.
TEST(ShutInTest, APocketHoldsTheCharacterUnlessItHoldsTheExitOrAnItemThatDigs)
{
    ShutInCheck check;
    const auto shutIn = [&](std::initializer_list<std::string> rows, std::uint8_t item = TileEmpty) {
        Playground cave(rows);
        if (item != TileEmpty) cave.Cell(2, 1) = item;
        return check.ShutIn(cave.game.map, Playground::Left + 1, Playground::Top + 1);
    };
    const std::initializer_list<std::string> walled = {"#######", "#@.r%E#", "#######"};
    EXPECT_TRUE(shutIn(walled));
    EXPECT_TRUE(shutIn(walled, TileCoin));
    for (std::uint8_t dig : {Bomb, Pickaxe, Drill}) EXPECT_FALSE(shutIn(walled, dig));
    // Between two blocks that meet at a corner the character squeezes through.
    EXPECT_FALSE(shutIn({"######", "#@.###", "###.E#", "######"}));
}

TEST(SolverTest, ASearchStoppedByALimitProvesNothing)
{
    Cave cave({
        "#########",
        "#@..%..E#",
        "#########",
    });
    SolveLimits few;
    few.maxExpansions = 1;
    SolveResult r = Solve(cave.game, few);
    EXPECT_FALSE(r.solved);
    EXPECT_FALSE(r.exhausted);
    cave.Reset();

    // At its memory bound the search ends as it does out of time.
    SolveLimits tight;
    tight.maxMemoryBytes = 1;
    r = Solve(cave.game, tight);
    EXPECT_FALSE(r.solved);
    EXPECT_FALSE(r.exhausted);
    EXPECT_TRUE(r.outOfMemory);
    EXPECT_TRUE(r.outOfTime);
}

// Each cave opens only to the one item the character holds.
TEST(SolverTest, EachItemOpensTheWayWhereNothingElseWould)
{
    {
        SCOPED_TRACE("a bomb blasts the rock");
        Cave cave({
            "##########",
            "#@....%.E#",
            "##########",
        }, {2, 0, 0, 0, 0, 0});
        ExpectSolvedSpending(cave, 0);
    }
    {
        SCOPED_TRACE("one drill goes through a run of rock");
        Cave cave({
            "############",
            "#@.%%%%%%.E#",
            "############",
        }, {0, 0, 0, 1, 0, 0}, 2);
        ExpectSolvedSpending(cave, 3);
    }
    const std::initializer_list<std::string> wall = {
        "#########",
        "#.......#",
        "#...#...#",
        "#...#...#",
        "#@..#..E#",
        "#########",
    };
    {
        SCOPED_TRACE("the bird flies over a wall");
        Cave cave(wall, {0, 0, 0, 0, 0, 1}, 1);
        ExpectSolvedSpending(cave, 5);
    }
    {
        SCOPED_TRACE("the jet thrusts over a wall");
        Cave cave(wall, {0, 0, 0, 0, 0, 1}, 2);
        ExpectSolvedSpending(cave, 5);
    }
    {
        SCOPED_TRACE("the jet brakes the fall into the shaft the drill opened");
        Cave cave({
            "#####",
            "#.@.#",
            "##%##",
            "##.##",
            "##.##",
            "##.##",
            "##E##",
            "#####",
        }, {0, 0, 0, 1, 0, 1}, 2);
        ExpectSolvedSpending(cave, 5);
    }
    {
        SCOPED_TRACE("a rope laid up from mid-air catches a fall too deep to live through");
        Cave cave({
            "########",
            "#@..####",
            "###.####",
            "###..###",
            "###..E##",
            "###.####",
            "###.####",
            "########",
        }, {0, 1, 0, 0, 0, 0});
        ExpectSolvedSpending(cave, 1);
    }
    {
        SCOPED_TRACE("a blast with no way away takes the floor, and the rope catches the fall after it");
        Cave cave({
            "#######",
            "###%###",
            "##%@%##",
            "###%###",
            "###..##",
            "###..E#",
            "###.###",
            "###.###",
            "#######",
        }, {1, 1, 0, 0, 0, 0});
        ExpectSolvedSpending(cave, 1, 1);
    }
}

TEST(SolverTest, TheSameCaveGivesTheSameRecording)
{
    auto solveSeed = [](std::uint32_t seed) {
        static const Assets noPictures;
        Game game(noPictures);
        EXPECT_TRUE(NewGame(game, {.width = 30, .height = 30, .seed = seed}));
        return Solve(game, SolveLimits{});
    };
    const SolveResult a = solveSeed(2), b = solveSeed(2);
    ASSERT_TRUE(a.solved);
    EXPECT_EQ(a.inputs, b.inputs);
}

// The automatic player makes the demonstration in the cave that seed 1 gives
// a normal game; the demonstration itself starts its random state at 1 after
// loading the recording. Both must be the same cave and the same start.
TEST(RecordingTest, TheDemonstrationsCaveIsTheNormalCaveOfSeedOne)
{
    const std::string file = ::testing::TempDir() + "burrowkin-demo-cave.dat";
    {
        std::FILE* f = std::fopen(file.c_str(), "wb");
        ASSERT_TRUE(f);
        std::fputs("short", f);
        std::fclose(f);
    }
    static const Assets noPictures;
    Game demo(noPictures), normal(noPictures);
    demo.replayPath = [file] { return file; };
    demo.state.DemoMode = true;
    NewGame(demo, {.seed = DemonstrationSeed});
    ASSERT_TRUE(NewGame(normal, {.seed = 1}));
    EXPECT_TRUE(demo.map == normal.map);
    EXPECT_EQ(demo.state.PlayerX, normal.state.PlayerX);
    EXPECT_EQ(demo.state.PlayerY, normal.state.PlayerY);
    EXPECT_EQ(demo.state.GoalX, normal.state.GoalX);
    EXPECT_EQ(demo.state.GoalY, normal.state.GoalY);
    EXPECT_EQ(demo.state.Inventory, normal.state.Inventory);
    EXPECT_EQ(demo.state.RandomState, normal.state.RandomState);
    std::remove(file.c_str());
}

TEST(RecordingTest, PlayingOutFlagsAUseOnAnEmptySlot)
{
    Cave cave({
        "#######",
        "#@...E#",
        "#######",
    }, {2, 0, 2, 0, 0, 0});
    // Select moves to slot 1, which is empty, and Use on the same tick.
    const PlayOut out = PlayRecording(cave.game, {BitSelect | BitUse, 0, BitRight, BitRight});
    EXPECT_TRUE(out.usedEmptySlot);
    EXPECT_FALSE(out.goalTaken);
    EXPECT_EQ(out.ticks, 4);
}

TEST(RecordingTest, TheFileHoldsTheSeedBytesAndOneWordPerTick)
{
    const std::vector<std::uint8_t> image = ReplayFileImage(0x12345678u, {0x0021, 0x0102});
    ASSERT_EQ(image.size(), 131074u);
    EXPECT_EQ((std::vector<std::uint8_t>(image.begin(), image.begin() + 8)),
              (std::vector<std::uint8_t>{0x78, 0, 0x56, 0, 0x34, 0, 0x12, 0}));
    EXPECT_EQ(image[32], 0x21);  // word 16: tick 0
    EXPECT_EQ(image[33], 0x00);
    EXPECT_EQ(image[34], 0x02);  // word 17: tick 1, low byte first
    EXPECT_EQ(image[35], 0x01);
    EXPECT_EQ(std::count(image.begin() + 36, image.end(), 0), std::ptrdiff_t(image.size() - 36));
    // A recording longer than the buffer keeps its first 65,520 ticks.
    const std::vector<std::uint16_t> tooLong(70'000, 1);
    const std::vector<std::uint8_t> full = ReplayFileImage(0, tooLong);
    EXPECT_EQ(full.size(), 131074u);
    EXPECT_EQ(full[2 * 65535], 1);
    EXPECT_EQ(full[2 * 65536], 0);
}

TEST(MacroRunnerTest, PutsBackTheCellsAMoveChanged)
{
    Cave cave({
        "#######",
        "#@$%..#",
        "#######",
    });
    const CaveMap before = cave.game.map;
    MacroRunner runner(cave.game);
    runner.Start();
    ASSERT_TRUE(RunMove(runner, Move::Walk(Way::Right)));  // onto the coin, which is collected
    ASSERT_TRUE(RunMove(runner, Move::Dig(Way::Right)));    // the rock to the right
    EXPECT_EQ(cave.Cell(2, 1), TileEmpty);
    EXPECT_EQ(cave.Cell(3, 1), TileEmpty);
    EXPECT_EQ(runner.Changes().size(), 2u);
    runner.Undo();
    EXPECT_EQ(cave.game.map, before);
}

TEST(MacroRunnerTest, NothingIsPlayedPastTheGoal)
{
    // Select and Use at the ending would go on to the title, which makes the
    // game the first character's again.
    Cave cave({
        "#####",
        "#@E.#",
        "#####",
    }, {2, 2, 2, 0, 0, 0}, 1);
    MacroRunner runner(cave.game);
    runner.Start();
    ASSERT_TRUE(RunMove(runner, Move::Walk(Way::Right)));
    ASSERT_TRUE(runner.ReachedGoal());
    const std::size_t ticks = runner.Words().size();
    for (int i = 0; i < 10; ++i) EXPECT_TRUE(runner.Tick(i % 2 ? 0 : BitSelect | BitUse));
    EXPECT_EQ(runner.Words().size(), ticks);
    EXPECT_EQ(cave.s.Screen, ScreenEnding);
    EXPECT_EQ(cave.s.Variant, 1);
}

TEST(MovesTest, SettledMeansAnIdleTickChangesNothing)
{
    Cave cave({
        "#######",
        "#@.H..#",
        "##.H..#",
        "#######",
    });
    EXPECT_TRUE(Settled(cave.game));  // standing on rock
    cave.s.PlayerY += 4;               // sunk into the floor: the next tick lifts it
    EXPECT_FALSE(Settled(cave.game));
    cave.s.PlayerY -= 4;
    cave.s.FallSpeed = 2;
    EXPECT_FALSE(Settled(cave.game));
    cave.s.FallSpeed = 0;
    cave.s.PlayerX = Playground::X(3);
    cave.s.PlayerY = Playground::Y(1) + 6;  // on the ladder, anywhere
    EXPECT_TRUE(Settled(cave.game));
    cave.s.PlayerX += 8;  // half-way between columns lets go of the ladder
    EXPECT_FALSE(Settled(cave.game));
    cave.s.PlayerX -= 8;
    cave.s.Action = 3;  // choosing where to dig holds the character in the air
    EXPECT_FALSE(Settled(cave.game));
}

TEST(MovesTest, TheWandDrivesOffAGhostThatComesCloseOrALifeDoes)
{
    Cave cave({
        "#######",
        "#..@..#",
        "#######",
    });
    cave.s.Variant = 1;
    cave.s.GhostTimer = 20;
    cave.s.GhostX = cave.s.PlayerX + 30;
    cave.s.GhostY = cave.s.PlayerY - 30;
    const Move driveOffThenWalk = Move::Walk(Way::Right).With(Modifier::RepelFirst);
    MacroRunner runner(cave.game);
    runner.Start();
    EXPECT_TRUE(RunMove(runner, driveOffThenWalk));
    EXPECT_EQ(cave.s.DeathTimer, 0);
    EXPECT_NE(cave.s.GhostTimer, 20);
    EXPECT_EQ(cave.s.Inventory[0], 2);  // the wand is never spent

    // With no wand, the touch is waited for: a life, and the ghost is gone.
    cave.Reset();
    cave.s.Variant = 1;
    cave.s.Inventory[0] = 0;
    cave.s.GhostTimer = 20;
    cave.s.GhostX = cave.s.PlayerX + 30;
    cave.s.GhostY = cave.s.PlayerY - 30;
    runner.Start();
    EXPECT_TRUE(RunMove(runner, driveOffThenWalk));
    EXPECT_EQ(runner.Misses(), 1);
    EXPECT_EQ(cave.s.DeathTimer, 0);
    EXPECT_NE(cave.s.GhostTimer, 20);
}

// The wider moves run from a bomb a cell aside and then up a ladder, where
// two cells either way are rock, and give a life to the fall where the blast
// opens the floor on the way away: the character comes back where the body
// came to rest.
TEST(MovesTest, ABombIsRunFromUpALadderBesideOrItsBlastOpensAFallForALife)
{
    const auto playsWider = [](Cave& cave, const Move& want) {
        const std::vector<Move> wider = WiderMoves(cave.game);
        const bool listed = std::find(wider.begin(), wider.end(), want) != wider.end();
        MacroRunner runner(cave.game);
        runner.Start();
        return listed && RunMove(runner, want) ? runner.Misses() : -1;
    };
    Cave ladder({
        "########",
        "#H######",
        "#H######",
        "#H@%%E##",
        "########",
    }, {1, 0, 0, 0, 0, 0});
    EXPECT_EQ(playsWider(ladder, Move::Bomb(Way::Left, Way::Up)), 0);
    EXPECT_EQ(ladder.Cell(4, 3), TileEmpty);

    Cave drop({
        "#######",
        "#.@..##",
        "####%##",
        "####.E#",
        "#######",
    }, {1, 0, 0, 0, 0, 0});
    EXPECT_EQ(playsWider(drop, Move::Bomb(Way::Right).With(Modifier::ThroughDeath)), 1);
    EXPECT_EQ(drop.s.PlayerX, Playground::X(4));
    EXPECT_EQ(drop.s.PlayerY, Playground::Y(3));
}

TEST(MovesTest, LandingPutsOutTheJetWithoutUsingUpTheRope)
{
    Cave cave({
        "#######",
        "#..@..#",
        "#######",
    }, {2, 2, 1, 0, 0, 0}, 2);
    cave.s.Action = ActionJet;
    MacroRunner runner(cave.game);
    runner.Start();
    EXPECT_TRUE(RunMove(runner, Move::Land()));
    EXPECT_EQ(cave.s.Action, ActionNone);
    EXPECT_EQ(cave.s.Inventory, (std::array<std::uint8_t, 6>{2, 2, 1, 0, 0, 0}));
}

TEST(MacroRunnerTest, TheDrillsWholeRunIsPutBack)
{
    Cave cave({
        "##############",
        "#@%%%%%%%%%%.#",
        "##############",
    }, {2, 2, 2, 1, 0, 0}, 2);
    const CaveMap before = cave.game.map;
    MacroRunner runner(cave.game);
    runner.Start();
    ASSERT_TRUE(RunMove(runner, Move::Dig(Way::Right)));
    EXPECT_EQ(cave.Cell(11, 1), TileEmpty);
    EXPECT_EQ(runner.Changes().size(), 10u);
    EXPECT_EQ(cave.s.Inventory[3], 0);
    runner.Undo();
    EXPECT_EQ(cave.game.map, before);
}

TEST(PlaySnapshotTest, RestoringPutsThePlayStateBack)
{
    Cave cave({
        "#######",
        "#@....#",
        "#######",
    });
    const PlaySnapshot start = TakeSnapshot(cave.s);
    cave.Ticks(3, BitRight | BitUp);
    cave.Tick(BitSelect);
    ASSERT_NE(cave.s.PlayerX, start.PlayerX);
    RestoreSnapshot(cave.s, start);
    EXPECT_EQ(cave.s.PlayerX, start.PlayerX);
    EXPECT_EQ(cave.s.PlayerY, start.PlayerY);
    EXPECT_EQ(cave.s.FallSpeed, start.FallSpeed);
    EXPECT_EQ(cave.s.FrameIndex, start.FrameIndex);
    EXPECT_EQ(cave.s.StepCounter, start.StepCounter);
    EXPECT_EQ(cave.s.Facing, start.Facing);
    EXPECT_EQ(cave.s.SelectedSlot, start.SelectedSlot);
    EXPECT_EQ(cave.s.InputNow, start.InputNow);
    EXPECT_EQ(cave.s.InputPrev, start.InputPrev);
    EXPECT_EQ(cave.s.BlinkPhase, start.BlinkPhase);
}

TEST(FrontierTest, TakesNewGroundFirstThenTheLowestRankAndTheEarlierNodeOnATieAndCountsTheNewGround)
{
    Frontier frontier;
    std::vector<std::pair<std::int64_t, std::int32_t>> newGround, rest;
    for (std::int32_t node = 0; node < 3000; ++node) {
        const std::int64_t rank = (node * 7919) % 101;  // many ties, pushed out of order
        const bool fresh = node % 10 == 0;
        frontier.Push({rank, node, 0, false, false}, fresh);
        (fresh ? newGround : rest).push_back({rank, node});
    }
    std::sort(newGround.begin(), newGround.end());
    std::sort(rest.begin(), rest.end());
    newGround.insert(newGround.end(), rest.begin(), rest.end());
    for (const auto& [rank, node] : newGround) {
        const std::optional<Queued> q = frontier.Next();
        ASSERT_TRUE(q.has_value());
        ASSERT_EQ(std::tie(q->rank, q->node), std::tie(rank, node));
    }
    EXPECT_FALSE(frontier.Next().has_value());
    EXPECT_EQ(frontier.NewGroundTaken(), 300);  // what tells the search it has stopped finding new ground
}

TEST(BlockStoreTest, WhatItHoldsStaysInPlaceAsItGrowsPastABlock)
{
    BlockStore<std::int32_t> store;
    store.push_back(0);
    const std::int32_t* first = &store[0];
    for (std::int32_t i = 1; i < 40000; ++i) store.push_back(i);
    ASSERT_EQ(store.size(), 40000u);
    EXPECT_EQ(&store[0], first);
    for (std::int32_t i : {0, 16383, 16384, 32768, 39999}) EXPECT_EQ(store[std::size_t(i)], i);
}

}  // namespace
