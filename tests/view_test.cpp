#include <gtest/gtest.h>

#include "gfx/draw.h"
#include "play/tick_probe.h"
#include "play/view.h"
#include "tests/support/playground.h"
#include "tests/support/test_assets.h"

namespace {

std::uint32_t ViewPixel(Playground& p, int x, int y) { return p.game.ViewBitmap.ColourAt(x, y, TestAssets().palette); }

// The colour the view should show at (x, y) of a sheet cell picture.
std::uint32_t TilePixel(int tile, int x, int y) { return SheetPixel(TestAssets(), tile + 64, x, y); }

// True when the view's middle shows sprite `index` over the tile picture `under`
// (the character `shiftY` pixels down into its cell).
bool ShowsSprite(Playground& p, int index, int under, int shiftY = 0)
{
    const Assets& art = TestAssets();
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const bool opaque = art.spriteMask[index][y] & (1u << x);
            const std::uint32_t want = opaque ? art.sprites32.ColourAt(16 * (index % 16) + x, 16 * (index / 16) + y, art.palette)
                                              : TilePixel(under, x, (y + shiftY) % 16);
            if (ViewPixel(p, 128 + x, 128 + y) != want) return false;
        }
    return true;
}

TEST(View, AnAlignedCharacterSeesTheCaveOnTheGrid)
{
    Playground p({"%.", "@.", "##"});
    p.Cell(0, 0) = TileDiggable;
    p.Tick();
    // The cell above the character's is drawn at (128, 112); the one 8 up-left at (0, 0).
    EXPECT_EQ(ViewPixel(p, 128 + 3, 112 + 5), TilePixel(TileDiggable, 3, 5));
    EXPECT_EQ(ViewPixel(p, 0, 0), TilePixel(TileHardRock, 0, 0));
    EXPECT_EQ(ViewPixel(p, 128 + 7, 144 + 9), TilePixel(TileHardRock, 7, 9));  // the floor
}

TEST(View, AShiftOfFifteenShowsOnlyTheLastColumnOfTheLeftmostCell)
{
    Playground p({"....", "....", "###."});
    p.Cell(0, 0) = TileDiggable;
    p.s.PlayerX = Playground::X(8) + 15;  // the leftmost drawn column is cell 0 of the drawing
    p.s.PlayerY = Playground::Y(8);
    for (auto& column : p.game.map) column.fill(TileEmpty);
    p.Cell(0, 0) = TileDiggable;
    p.s.SpeedToDeath = 16;
    // Draw the view alone, without moving anything.
    TickProbe t = ProbeAt(p.s);
    p.s.DeathTimer = 1;  // hide the character
    DrawPlayView(p.game, t);
    EXPECT_EQ(ViewPixel(p, 0, 0), TilePixel(TileDiggable, 15, 0));
    EXPECT_EQ(ViewPixel(p, 1, 0), TilePixel(TileEmpty, 0, 0));
}

TEST(View, VariantOneFacingLeftInTheAirIsSprite27)
{
    Playground p({"...", ".@.", "...", "...", "###"}, 1);
    p.s.Facing = 8;
    p.s.SpeedToDeath = 16;
    p.Tick();
    ASSERT_EQ(p.s.PlayerY % 16, 2);
    // Shifted 2 pixels: the background under the sprite is open cave all the same.
    EXPECT_TRUE(ShowsSprite(p, 27, TileEmpty, 2));
}

TEST(View, ADeadCharacterBlinksAndReappearsInItsRespawnTick)
{
    Playground p({"...", ".@.", "###"});
    p.Tick();
    p.s.DeathTimer = 1;
    p.Tick();  // DeathTimer 2: shown
    EXPECT_TRUE(ShowsSprite(p, 0, TileEmpty));
    p.Tick();  // 3: hidden
    EXPECT_FALSE(ShowsSprite(p, 0, TileEmpty));
    for (int i = 0; i < 58; ++i) p.Tick();
    EXPECT_EQ(p.s.DeathTimer, 0);
    EXPECT_TRUE(ShowsSprite(p, 0, TileEmpty));
}

TEST(View, TheDemonstrationSaysSo)
{
    Playground p({".@.", "###"});
    p.s.DemoMode = true;
    p.Tick();
    EXPECT_TRUE(ShowsText(p.game.ViewBitmap, 2, 15, "DEMONSTRATION"));
}

}  // namespace
