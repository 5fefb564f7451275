#include <gtest/gtest.h>

#include "play/actions.h"
#include "play/death.h"
#include "tests/support/playground.h"

namespace {

// A ledge over a deep drop: walking right off it is fatal, high in the air.
Playground Cliff()
{
    return Playground({"@.....", "#.....", "#.....", "#.....", "#.....", "######"});
}

// Walks off the cliff until the fatal tick has run; returns that position.
void FallToDeath(Playground& p)
{
    for (int i = 0; i < 40 && p.s.DeathTimer == 0; ++i) p.Tick(BitRight);
    ASSERT_EQ(p.s.DeathTimer, 1);
}

TEST(Death, BlinksForThreeSecondsAndReappearsOnTheLedge)
{
    Playground p = Cliff();
    FallToDeath(p);
    const int deadX = p.s.PlayerX, deadY = p.s.PlayerY;
    // Tick 0 was the fatal one (DeathTimer 1, hidden); then one on, one off.
    for (int k = 1; k < 60; ++k) {
        p.Tick(BitRight);
        ASSERT_EQ(p.s.DeathTimer, k + 1);
        ASSERT_EQ(p.s.PlayerX, deadX);  // frozen in the air
        ASSERT_EQ(p.s.PlayerY, deadY);
    }
    p.Tick();
    EXPECT_EQ(p.s.DeathTimer, 0);
    EXPECT_EQ(p.s.Misses, 1);
    EXPECT_EQ(p.s.FallSpeed, 0);
    EXPECT_EQ(p.s.PlayerY, Playground::Y(0));             // on the ledge
    EXPECT_EQ(p.s.PlayerX, Playground::X(0) + 8);         // the last place a tick began standing
    EXPECT_EQ(p.game.lastPose, 0);
}

TEST(Death, MissesStopAtNinetyNine)
{
    Playground p = Cliff();
    p.s.Misses = 99;
    FallToDeath(p);
    p.Ticks(60);
    EXPECT_EQ(p.s.DeathTimer, 0);
    EXPECT_EQ(p.s.Misses, 99);
}

TEST(Death, TheBirdAndTheJetAreLostButTheParachuteStays)
{
    for (auto [action, kept] : {std::pair{ActionBird, false}, {ActionJet, false}, {ActionParachute, true}}) {
        Playground p({".@.", "###"});
        p.s.Action = action;
        p.s.DeathTimer = 1;
        p.Ticks(60);
        EXPECT_EQ(p.s.DeathTimer, 0);
        EXPECT_EQ(p.s.Action == action, kept) << int(action);
    }
}

TEST(Death, DyingJustAboveAFloorMakesThatTheRespawnPoint)
{
    // Two cells down the fatal tick leaves the feet over the floor: a dead
    // character that starts its ticks standing keeps moving the respawn point.
    Playground p({"@.....", "#.....", "#.....", "######"});
    FallToDeath(p);
    // Off the ledge at 12 past its edge, six ticks of falling at 2, 4, ... 12
    // sink 42 pixels, 10 into row 2, and walk 24 more.
    const int deadX = Playground::X(0) + 36, deadY = Playground::Y(2) + 10;
    ASSERT_EQ(p.s.PlayerX, deadX);
    ASSERT_EQ(p.s.PlayerY, deadY);
    p.Ticks(59);
    EXPECT_EQ(p.s.DeathTimer, 60);
    EXPECT_EQ(p.s.Misses, 0);
    EXPECT_EQ(p.s.RespawnX, deadX);
    EXPECT_EQ(p.s.RespawnY, deadY);
    p.Tick();
    EXPECT_EQ(p.s.DeathTimer, 0);
    EXPECT_EQ(p.s.Misses, 1);
    EXPECT_EQ(p.s.PlayerX, deadX);
    EXPECT_EQ(p.s.PlayerY, deadY);
}

TEST(Death, KilledWhileStandingReappearsOnTheSpot)
{
    Playground p({"...", ".@.", "###"});
    p.Tick();
    p.s.DeathTimer = 1;  // as a blast or the ghost would
    const int x = p.s.PlayerX;
    p.Ticks(60);
    EXPECT_EQ(p.s.DeathTimer, 0);
    EXPECT_EQ(p.s.PlayerX, x);
    EXPECT_EQ(p.s.PlayerY, Playground::Y(1));
}

TEST(Death, TheExitTakenWhileDeadStillEndsTheGame)
{
    Playground p({".@E.", "####"});
    p.Ticks(3, BitRight);  // the exit's cell is entered but not yet collected
    p.s.DeathTimer = 5;
    p.s.PlayerX = Playground::X(2);
    p.Tick();
    EXPECT_EQ(p.s.Screen, ScreenEnding);
}

}  // namespace
