#include <gtest/gtest.h>

#include "play/actions.h"
#include "play/ghost.h"
#include "tests/support/playground.h"
#include "tests/support/test_assets.h"

namespace {

// A ghost in full strength at an offset from the character.
void PlaceGhost(Playground& p, int dx, int dy, int timer = GhostActive)
{
    p.s.GhostTimer = timer;
    p.s.GhostX = p.s.PlayerX + dx;
    p.s.GhostY = p.s.PlayerY + dy;
}

TEST(Ghost, NeverHauntsTheFirstCharacter)
{
    Playground p({"...", ".@.", "###"}, 0);
    p.Ticks(1300);
    EXPECT_EQ(p.s.GhostTimer, 0);
}

TEST(Ghost, FirstAppearsOnThe574thTick300PixelsAway)
{
    Playground p({"...", ".@.", "###"}, 1);
    p.s.RandomState = 4321;
    p.Ticks(573);
    EXPECT_EQ(p.s.GhostTimer, 0);
    ASSERT_EQ(p.s.RandomState, 4321u);  // nothing drew before the ghost
    p.Tick();
    EXPECT_EQ(p.s.GhostTimer, GhostActive);
    // The draw: 4321 * 134775813 + 1 = 582366287974, mod 2^32 = 2545703014,
    // whose upper 9 bits (/ 2^23 = 303.47) give 303. 303 radians are 48 turns
    // and 1.40711 more: cos 0.162961 * 300 = 48.89 -> 49, sin 0.986633 * 300 = 295.99 -> 296,
    // 300.03 pixels away.
    EXPECT_EQ(p.s.GhostX, p.s.PlayerX + 49);
    EXPECT_EQ(p.s.GhostY, p.s.PlayerY + 296);
    EXPECT_EQ(p.s.RandomState, 2545703014u);  // no chase on the tick it appears
}

TEST(Ghost, ChasesOneOrTwoPixelsAnAxis)
{
    Playground p({"...", ".@.", "###"}, 2);
    PlaceGhost(p, 100, -50);
    p.Tick();
    EXPECT_GE(p.s.GhostX - p.s.PlayerX, 98);
    EXPECT_LE(p.s.GhostX - p.s.PlayerX, 99);
    EXPECT_GE(p.s.GhostY - p.s.PlayerY, -49);
    EXPECT_LE(p.s.GhostY - p.s.PlayerY, -48);
}

TEST(Ghost, KillsWithinFourPixelsNotFive)
{
    Playground near({"...", ".@.", "###"}, 1);
    PlaceGhost(near, 4, -4);
    near.Tick();
    EXPECT_EQ(near.s.DeathTimer, 2);  // touched before the death count of the same tick
    EXPECT_EQ(near.s.GhostTimer, 0);

    Playground far({"...", ".@.", "###"}, 1);
    PlaceGhost(far, 5, 0);
    far.Tick();
    EXPECT_EQ(far.s.DeathTimer, 0);
    EXPECT_EQ(far.s.GhostTimer, GhostActive);
}

TEST(Ghost, DoesNotKillTheDeadAgain)
{
    Playground p({"...", ".@.", "###"}, 1);
    p.s.DeathTimer = 10;
    PlaceGhost(p, 0, 0);
    p.Tick();
    EXPECT_EQ(p.s.DeathTimer, 11);
    EXPECT_EQ(p.s.GhostTimer, GhostActive);
}

TEST(Wand, BanishesTheGhostInTwoTicksStillDeadlyMeanwhile)
{
    Playground p({".....", "..@..", "#####"}, 1);
    PlaceGhost(p, 40, 0);
    p.Tick(BitUse);  // the swing starts; the ghost is 38 or 39 pixels away
    p.s.GhostX = p.s.PlayerX + 20;
    p.Tick();
    EXPECT_EQ(p.s.GhostTimer, 2);
    p.s.GhostX = p.s.PlayerX + 3;  // touching while it fades
    p.Tick();
    EXPECT_EQ(p.s.DeathTimer, 2);
    EXPECT_EQ(p.s.GhostTimer, 0);
    EXPECT_EQ(p.s.Action, ActionNone);  // the touch ends the swing, and the death counts at once
}

TEST(Wand, ReachesAboutTwentyFourPixelsOnBothAxes)
{
    for (auto [dx, dy, banished] : {std::tuple{24, 24, true}, {-24, 10, true}, {27, 0, false}, {0, -27, false}}) {
        Playground p({".....", "..@..", "#####"}, 1);
        p.Tick(BitUse);
        PlaceGhost(p, dx, dy);  // its chase comes first: 1 or 2 pixels nearer
        p.Tick();
        EXPECT_EQ(p.s.GhostTimer == 2, banished) << dx << "," << dy;
    }
}

TEST(Pistol, FadesTheGhostForNineteenTicks)
{
    Playground p({".....", "..@..", "#####"}, 2);
    PlaceGhost(p, 90, 0);
    p.Tick(BitUse);
    EXPECT_EQ(p.s.Action, ActionPistol);
    EXPECT_EQ(p.s.Inventory[0], 1);
    p.s.GhostX = p.s.PlayerX + 90;
    p.Tick();
    EXPECT_EQ(p.s.GhostTimer, 19);
    int fading = 1;
    while (p.s.GhostTimer > 0 && fading < 40) {
        p.s.GhostX = p.s.PlayerX + 90;  // keep it out of reach of the character
        p.Tick();
        if (p.s.GhostTimer > 0) ++fading;
    }
    EXPECT_EQ(fading, 19);
}

TEST(Pistol, MissesAGhostAHundredPixelsAway)
{
    Playground p({".....", "..@..", "#####"}, 2);
    p.Tick(BitUse);
    PlaceGhost(p, 102, 0);  // 100 or 101 after its chase
    p.Tick();
    EXPECT_EQ(p.s.GhostTimer, GhostActive);
}

TEST(Ghost, IsDrawnWhereItIsFacingTheCharacter)
{
    Playground p({".....", "..@..", "#####"}, 1);
    PlaceGhost(p, 60, -30);
    p.Tick();
    EXPECT_TRUE(ShowsSpriteAt(p.game.ViewBitmap, 128 + p.s.GhostX - p.s.PlayerX, 128 + p.s.GhostY - p.s.PlayerY, 84));
    PlaceGhost(p, -60, 30, 7);
    p.Tick();
    EXPECT_TRUE(ShowsSpriteAt(p.game.ViewBitmap, 128 + p.s.GhostX - p.s.PlayerX, 128 + p.s.GhostY - p.s.PlayerY, 87));
}

TEST(Ghost, OutOfViewAPointerBlinksAtTheEdge)
{
    for (auto [dy, pointerY] : {std::pair{-400, 0}, {400, 256}}) {
        Playground p({".....", "..@..", "#####"}, 1);
        PlaceGhost(p, 0, dy);
        int shown = 0;
        for (int i = 0; i < 4; ++i) {
            p.Tick();
            const bool at = ShowsSpriteAt(p.game.ViewBitmap, 128, pointerY, 84);
            EXPECT_EQ(at, p.s.BlinkPhase == 0) << dy << " tick " << i;
            shown += at;
        }
        EXPECT_EQ(shown, 2);
    }
}

TEST(Ghost, AFadingGhostOutOfViewHasNoPointer)
{
    Playground p({".....", "..@..", "#####"}, 1);
    PlaceGhost(p, 0, -400, 15);
    for (int i = 0; i < 2; ++i) {
        p.Tick();
        EXPECT_FALSE(ShowsSpriteAt(p.game.ViewBitmap, 128, 0, 84));
        EXPECT_FALSE(ShowsSpriteAt(p.game.ViewBitmap, 128, 0, 85));
    }
}

}  // namespace
