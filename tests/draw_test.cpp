#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "gfx/draw.h"
#include "tests/support/test_assets.h"

namespace {

class DrawTest : public ::testing::TestWithParam<PixelFormat> {
protected:
    const Assets& art = TestAssets();
    Surface surface{272, 272, GetParam()};

    void SetUp() override { FillWithSentinel(surface); }

    std::uint32_t At(int x, int y) const { return surface.ColourAt(x, y, art.palette); }

    // True when exactly the pixels inside [x0, x1) x [y0, y1) were drawn.
    bool DrawnExactly(int x0, int y0, int x1, int y1) const
    {
        for (int y = 0; y < surface.Height(); ++y)
            for (int x = 0; x < surface.Width(); ++x) {
                bool inside = x >= x0 && x < x1 && y >= y0 && y < y1;
                if (inside == IsSentinel(surface, x, y)) return false;
            }
        return true;
    }

    bool ShowsCell(int cell, int x0, int y0) const
    {
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                if (At(x0 + x, y0 + y) != SheetPixel(art, cell, x, y)) return false;
        return true;
    }
};

TEST_P(DrawTest, TextDigitAtColumnThreeRowOneCoversExactlyItsCell)
{
    DrawTileText(art, surface, 3, 1, "0");
    EXPECT_TRUE(DrawnExactly(48, 16, 64, 32));
    EXPECT_TRUE(ShowsCell('0' - 32, 48, 16));
}

TEST_P(DrawTest, TextFromColumnMinusOneShowsFromItsSecondCharacter)
{
    DrawTileText(art, surface, -1, 0, "AB");
    EXPECT_TRUE(DrawnExactly(0, 0, 16, 16));
    EXPECT_TRUE(ShowsCell('B' - 32, 0, 0));
}

TEST_P(DrawTest, TextCodesAboveNinetyFiveDrawTilePictures)
{
    DrawTileText(art, surface, 0, 0, "\x7f\x8f" "wxy");
    EXPECT_TRUE(ShowsCell(95, 0, 0));   // the exit sign
    EXPECT_TRUE(ShowsCell(111, 16, 0)); // the game pad
    EXPECT_TRUE(ShowsCell(87, 32, 0));  // clock
    EXPECT_TRUE(ShowsCell(88, 48, 0));  // halo head
    EXPECT_TRUE(ShowsCell(89, 64, 0));  // fps label
}

TEST_P(DrawTest, CodesOutsideTheSheetDrawABlankCell)
{
    DrawTileText(art, surface, 0, 0, std::string_view("\x01\x90\xff", 3));
    EXPECT_TRUE(DrawnExactly(0, 0, 48, 16));
    for (int k = 0; k < 3; ++k) EXPECT_TRUE(ShowsCell(0, 16 * k, 0));
}

TEST_P(DrawTest, EmptyTextDrawsNothing)
{
    DrawTileText(art, surface, 2, 2, "");
    EXPECT_TRUE(DrawnExactly(0, 0, 0, 0));
}

TEST_P(DrawTest, CellsAreClippedAtEveryEdge)
{
    DrawCell(art, surface, -8, -5, 33);
    EXPECT_TRUE(DrawnExactly(0, 0, 8, 11));
    SetUp();
    DrawCell(art, surface, 264, 270, 33);
    EXPECT_TRUE(DrawnExactly(264, 270, 272, 272));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 8; ++x) EXPECT_EQ(At(264 + x, 270 + y), SheetPixel(art, 33, x, y));
    SetUp();
    DrawCell(art, surface, -16, 0, 33);
    DrawCell(art, surface, 272, 0, 33);
    DrawCell(art, surface, 0, 300, 33);
    EXPECT_TRUE(DrawnExactly(0, 0, 0, 0));
}

TEST_P(DrawTest, CellsCutByAnEdgeShowTheirPartAtEveryOverhang)
{
    // The clock: each of its rows and columns differs from the next, so a part
    // taken from the wrong place shows.
    constexpr int Clock = 87;
    for (int cut = 1; cut < 16; ++cut)
        for (auto [x, y] : {std::pair{-cut, 100}, {100, -cut}, {256 + cut, 100}, {100, 256 + cut}, {-cut, 256 + cut}}) {
            SetUp();
            DrawCell(art, surface, x, y, Clock);
            const int x0 = std::max(x, 0), y0 = std::max(y, 0), x1 = std::min(x + 16, 272), y1 = std::min(y + 16, 272);
            ASSERT_TRUE(DrawnExactly(x0, y0, x1, y1)) << x << "," << y;
            for (int py = y0; py < y1; ++py)
                for (int px = x0; px < x1; ++px) ASSERT_EQ(At(px, py), SheetPixel(art, Clock, px - x, py - y)) << x << "," << y;
        }
}

TEST_P(DrawTest, SpriteKeepsWhatLiesUnderItsTransparentPixels)
{
    DrawCell(art, surface, 32, 32, 80);  // the bomb picture
    DrawSprite(art, surface, 32, 32, 83); // the selection frame
    const std::uint32_t frame = At(32, 32);
    EXPECT_NE(frame, SheetPixel(art, 80, 0, 0));
    for (int y = 2; y < 14; ++y)
        for (int x = 2; x < 14; ++x) ASSERT_EQ(At(32 + x, 32 + y), SheetPixel(art, 80, x, y));
}

TEST_P(DrawTest, SpritesAreClippedAtEveryEdge)
{
    for (auto [x, y] : {std::pair{-10, 100}, {266, 100}, {100, -12}, {100, 268}, {-15, -15}, {271, 271}})
        DrawSprite(art, surface, x, y, 83);
    // Nothing outside the frame's own pixels changed and nothing crashed.
    for (int y = 0; y < 272; ++y)
        for (int x = 0; x < 272; ++x)
            if (!IsSentinel(surface, x, y)) {
                ASSERT_TRUE(x < 6 || x >= 266 || y < 4 || y >= 268) << x << "," << y;
            }
    EXPECT_FALSE(IsSentinel(surface, 0, 100));   // right edge of the frame at x -10 + 15 = 5
    EXPECT_FALSE(IsSentinel(surface, 271, 271)); // its top-left corner
}

TEST_P(DrawTest, EndingPictureCoversTheView)
{
    DrawPicture(art.Ending(1, GetParam()), surface);
    EXPECT_TRUE(DrawnExactly(0, 0, 272, 272));
    EXPECT_EQ(At(100, 100), art.ending32[1].ColourAt(100, 100, art.palette));
}

INSTANTIATE_TEST_SUITE_P(BothFormats, DrawTest, ::testing::Values(PixelFormat::Rgb32, PixelFormat::Indexed8),
                         [](const auto& info) { return info.param == PixelFormat::Rgb32 ? "Rgb32" : "Indexed8"; });

TEST(Surface, StartsBlackInBothFormats)
{
    const Assets& art = TestAssets();
    for (PixelFormat f : {PixelFormat::Rgb32, PixelFormat::Indexed8}) {
        Surface s(272, 32, f);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 272; ++x) ASSERT_EQ(s.ColourAt(x, y, art.palette), 0xff000000u);
    }
}

TEST(Surface, WholeRowsAreCopiedToTheirPlace)
{
    const Assets& art = TestAssets();
    Surface from(3, 3, PixelFormat::Rgb32), to(3, 4, PixelFormat::Rgb32);
    for (std::uint32_t k = 0; k < 9; ++k) std::memcpy(from.Bits() + 4 * k, &k, 4);
    // Rows 1 and 2 of `from` to rows 2 and 3 of `to`; the third row would fall off.
    Blit(to, 0, 2, from, 0, 1, 3, 3);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(to.ColourAt(x, y, art.palette), y < 2 ? 0xff000000u : std::uint32_t(3 * (y - 1) + x)) << x << "," << y;
}

TEST(Surface, GivesRedGreenBlueAndOpaqueAlphaBytes)
{
    // Three pixels: one is left over after the pairs.
    Surface s(3, 1, PixelFormat::Rgb32);
    const std::uint32_t pixels[] = {0xff123456u, 0x00abcdefu, 0xff0000ffu};
    std::memcpy(s.Bits(), pixels, sizeof pixels);
    std::array<std::uint8_t, 16> out{};
    RgbaBytes(s, out.data());
    EXPECT_EQ(out, (std::array<std::uint8_t, 16>{0x12, 0x34, 0x56, 255, 0xab, 0xcd, 0xef, 255, 0, 0, 0xff, 255, 0, 0, 0, 0}));
}

// The page starts with the tile sheet and the sprites and hands the endings
// in later: the two parts make what LoadAssets makes, and a missing ending
// is named and leaves the pictures already loaded as they were.
TEST(Assets, TheEndingsCanComeAfterTheRest)
{
    namespace fs = std::filesystem;
    const char* data = std::getenv("BURROWKIN_DATA_DIR");
    ASSERT_TRUE(data && *data);
    const fs::path dir = fs::temp_directory_path() / ("burrowkin-endings-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    for (const char* file : {"tilesheet.png", "sprites.png", "ending0.png", "ending1.png"})
        fs::copy_file(fs::path(data) / file, dir / file, fs::copy_options::overwrite_existing);

    Assets art = LoadPlayAssets(dir.string());
    const Assets& whole = TestAssets();
    EXPECT_TRUE(SamePixels(art.sheet32, whole.sheet32));
    EXPECT_TRUE(SamePixels(art.sprites8, whole.sprites8));
    EXPECT_EQ(art.spriteMask, whole.spriteMask);
    EXPECT_EQ(art.ending32[0].Width(), 0);
    try {
        LoadEndingPictures(art, dir.string());
        ADD_FAILURE() << "ending2.png is missing";
    } catch (const AssetError& e) {
        EXPECT_NE(std::string(e.what()).find("ending2.png"), std::string::npos) << e.what();
    }
    EXPECT_EQ(art.ending32[0].Width(), 0) << "no ending is taken until all three are there";

    fs::copy_file(fs::path(data) / "ending2.png", dir / "ending2.png", fs::copy_options::overwrite_existing);
    LoadEndingPictures(art, dir.string());
    for (int v = 0; v < 3; ++v) {
        EXPECT_TRUE(SamePixels(art.ending8[v], whole.ending8[v])) << v;
        EXPECT_TRUE(SamePixels(art.ending32[v], whole.ending32[v])) << v;
    }
    fs::remove_all(dir);
}

TEST(Assets, LoadingFromAMissingDirectoryNamesTheFile)
{
    try {
        LoadAssets("/nonexistent-burrowkin");
        FAIL();
    } catch (const AssetError& e) {
        EXPECT_NE(std::string(e.what()).find("tilesheet.png"), std::string::npos);
    }
}

}  // namespace
