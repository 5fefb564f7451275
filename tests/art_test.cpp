// The pictures themselves: the files, their shared palette, and what the
// drawing code relies on in the sprites and tiles.

#include <QImage>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <numbers>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "tests/support/test_assets.h"

namespace fs = std::filesystem;

namespace {

const char* const AllFiles[] = {"tilesheet.png", "sprites.png", "ending0.png", "ending1.png",
                                "ending2.png",   "icon.png",    "icon-256.png"};

QImage Committed(const std::string& name)
{
    return QImage(QString::fromStdString((fs::path(ART_ASSETS_DIR) / name).string()));
}

std::string Bytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool Opaque(const Assets& art, int sprite, int x, int y) { return (art.spriteMask[sprite][y] >> x) & 1; }

std::uint8_t SpritePixel(const Assets& art, int sprite, int x, int y)
{
    return art.sprites8.Row(16 * (sprite / 16) + y)[16 * (sprite % 16) + x];
}

int OpaqueCount(const Assets& art, int sprite)
{
    int n = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) n += Opaque(art, sprite, x, y);
    return n;
}

// Same mask and same pixels, the first read mirrored left to right when asked.
bool SameSprite(const Assets& art, int a, int b, bool mirrored)
{
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            int bx = mirrored ? 15 - x : x;
            if (Opaque(art, a, x, y) != Opaque(art, b, bx, y)) return false;
            if (Opaque(art, a, x, y) && SpritePixel(art, a, x, y) != SpritePixel(art, b, bx, y)) return false;
        }
    return true;
}

}  // namespace

TEST(ArtFiles, HaveTheirSizesAsPalettePictures)
{
    const std::pair<const char*, int> sizes[] = {{"tilesheet.png", 256}, {"sprites.png", 256}, {"ending0.png", 272},
                                                 {"ending1.png", 272},   {"ending2.png", 272}, {"icon.png", 32},
                                                 {"icon-256.png", 256}};
    const int heights[] = {112, 96, 272, 272, 272, 32, 256};
    for (int i = 0; i < 7; ++i) {
        QImage img = Committed(sizes[i].first);
        SCOPED_TRACE(sizes[i].first);
        ASSERT_FALSE(img.isNull());
        EXPECT_EQ(img.format(), QImage::Format_Indexed8);
        EXPECT_EQ(img.width(), sizes[i].second);
        EXPECT_EQ(img.height(), heights[i]);
    }
}

TEST(ArtFiles, ShareOnePaletteWithBlackFirstAndKeepTheReservedIndices)
{
    QImage sheet = Committed("tilesheet.png");
    ASSERT_EQ(sheet.colorTable().size(), 256);
    EXPECT_EQ(sheet.colorTable()[0] & 0xffffffu, 0u);
    for (const char* name : AllFiles) {
        SCOPED_TRACE(name);
        QImage img = Committed(name);
        ASSERT_EQ(img.colorTable().size(), 256);
        for (int i = 0; i < 256; ++i) EXPECT_EQ(img.colorTable()[i] & 0xffffffu, sheet.colorTable()[i] & 0xffffffu);
        // 254 is the tests' sentinel; 255 marks transparency and nothing else
        bool keyed = std::string(name) == "sprites.png" || std::string(name).starts_with("icon");
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                int index = img.constScanLine(y)[x];
                ASSERT_NE(index, 254) << "at " << x << "," << y;
                if (!keyed) {
                    ASSERT_NE(index, 255) << "at " << x << "," << y;
                }
            }
    }
}

// The art target must give back exactly what is committed, or an edit of a
// source was committed without its pictures (or the other way round).
TEST(ArtFiles, RegenerationReproducesTheCommittedFiles)
{
    fs::path out = fs::temp_directory_path() / ("burrowkin-art-" + std::to_string(::getpid()));
    fs::remove_all(out);
    std::string command = "\"" ARTMAKE_PATH "\" \"" ART_SOURCE_DIR "\" \"" + out.string() + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    for (const char* name : AllFiles) {
        EXPECT_TRUE(Bytes(out / name) == Bytes(fs::path(ART_ASSETS_DIR) / name)) << name << " differs";
    }
    fs::remove_all(out);
}

TEST(TileSheet, OpenCaveAndUnusedCellsAreBlack)
{
    const Assets& art = TestAssets();
    for (int cell : {64, 102, 103, 104, 105, 106})
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) ASSERT_EQ(SheetPixel(art, cell, x, y), 0xff000000u) << "cell " << cell;
}

TEST(TileSheet, RocksAreSolidAndDiggableRockIsTheLighterOne)
{
    const Assets& art = TestAssets();
    auto brightness = [&](int cell) {
        double sum = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                std::uint32_t c = SheetPixel(art, cell, x, y);
                EXPECT_NE(c, 0xff000000u) << "a hole in rock cell " << cell;
                sum += 0.3 * ((c >> 16) & 255) + 0.59 * ((c >> 8) & 255) + 0.11 * (c & 255);
            }
        return sum / 256;
    };
    EXPECT_GT(brightness(65), brightness(66) + 30);
}

TEST(Sprites, EmptyAndFilledOnesAreWhatTheyShouldBe)
{
    const Assets& art = TestAssets();
    for (int i : {7, 15, 94, 95}) EXPECT_EQ(OpaqueCount(art, i), 0) << "sprite " << i;
    for (int i : {6, 14}) EXPECT_EQ(OpaqueCount(art, i), 256) << "sprite " << i;
    for (int i = 0; i < 94; ++i) {
        bool burst = i >= 64 && i < 80;  // its corner pieces hold only the tips of flames
        if (i != 7 && i != 15 && !burst) {
            EXPECT_GT(OpaqueCount(art, i), 8) << "sprite " << i << " is (nearly) empty";
        }
    }
}

TEST(Sprites, SelectionFrameIsABorderAroundATransparentInside)
{
    const Assets& art = TestAssets();
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            bool edge = x == 0 || y == 0 || x == 15 || y == 15;
            bool inner = x >= 2 && x <= 13 && y >= 2 && y <= 13;
            if (edge) {
                EXPECT_TRUE(Opaque(art, 83, x, y)) << x << "," << y;
            }
            if (inner) {
                EXPECT_FALSE(Opaque(art, 83, x, y)) << x << "," << y;
            }
        }
}

TEST(Sprites, LeftFacingPicturesMirrorTheRightFacingOnes)
{
    const Assets& art = TestAssets();
    for (int v = 0; v < 3; ++v)
        for (int pose = 0; pose < 8; ++pose) {
            int right = 16 * v + pose, left = right + 8;
            bool climbing = pose == 4 || pose == 5;  // seen from behind: the same both ways
            EXPECT_TRUE(SameSprite(art, left, right, !climbing)) << "sprites " << left << " and " << right;
        }
    EXPECT_TRUE(SameSprite(art, 86, 84, true));  // ghost
    EXPECT_TRUE(SameSprite(art, 87, 85, true));  // ghost in specks
    EXPECT_TRUE(SameSprite(art, 92, 91, true));  // bird, wings raised
    EXPECT_TRUE(SameSprite(art, 93, 90, true));  // bird, wings folded
}

TEST(Sprites, CharactersAreToldApartByTheirColours)
{
    const Assets& art = TestAssets();
    for (int a = 0; a < 3; ++a)
        for (int b = a + 1; b < 3; ++b) {
            int differ = 0;
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x)
                    differ += Opaque(art, 16 * a, x, y) && Opaque(art, 16 * b, x, y) &&
                              SpritePixel(art, 16 * a, x, y) != SpritePixel(art, 16 * b, x, y);
            EXPECT_GT(differ, 60) << "variants " << a << " and " << b << " look alike";
        }
}

// Pieces 64 + 4 * row + column, put side by side, make one round burst.
TEST(Sprites, ExplosionPiecesReassembleIntoOneDisc)
{
    const Assets& art = TestAssets();
    int core = 0, coreFilled = 0, disc = 0, discFilled = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            bool opaque = Opaque(art, 64 + 4 * (y / 16) + x / 16, x % 16, y % 16);
            double r = std::hypot(x + 0.5 - 32, y + 0.5 - 32);
            if (opaque) {
                EXPECT_LE(r, 32.0) << "burst pixel outside the disc at " << x << "," << y;
            }
            if (r < 20) ++core, coreFilled += opaque;
            if (r < 30) ++disc, discFilled += opaque;
        }
    EXPECT_EQ(coreFilled, core) << "the middle of the burst has holes";
    EXPECT_GT(discFilled, disc * 3 / 4) << "the burst is too ragged to read as a disc";
}

// Arrow 48 + k points k * 22.5 degrees clockwise from up: the pixels of an
// arrow lean that way from the middle of its cell.
TEST(Sprites, ArrowsPointTheirWay)
{
    const Assets& art = TestAssets();
    for (int k = 0; k < 16; ++k) {
        double sx = 0, sy = 0;
        int n = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                if (Opaque(art, 48 + k, x, y)) sx += x + 0.5 - 8, sy += y + 0.5 - 8, ++n;
        ASSERT_GT(n, 0);
        double heading = std::atan2(sx, -sy) * 180 / std::numbers::pi;  // clockwise from up
        double off = std::remainder(heading - k * 22.5, 360.0);
        EXPECT_LT(std::abs(off), 11.25) << "arrow " << 48 + k << " leans " << heading << " degrees";
        EXPECT_GT(std::hypot(sx, sy) / n, 0.3) << "arrow " << 48 + k << " is too even to show a way";
    }
}

// A copy of the pictures with one of them spoiled: loading names that file,
// and never waits on one that is not a regular file.
TEST(AssetLoading, NamesThePictureThatIsWrong)
{
    const fs::path dir = fs::temp_directory_path() / ("burrowkin-pictures-" + std::to_string(::getpid()));
    const fs::path data = std::getenv("BURROWKIN_DATA_DIR");
    auto spoil = [&](const char* name, auto&& replace) {
        fs::remove_all(dir);
        fs::create_directories(dir);
        for (const char* file : AllFiles) fs::copy_file(data / file, dir / file);
        fs::remove(dir / name);
        replace(dir / name);
        try {
            LoadAssets(dir.string());
        } catch (const AssetError& e) {
            return std::string(e.what());
        }
        return std::string("loaded");
    };
    QImage sixteen(256, 112, QImage::Format_Indexed8);
    sixteen.setColorCount(16);
    sixteen.fill(0);
    const std::string sheet = spoil("tilesheet.png", [&](const fs::path& p) { sixteen.save(QString::fromStdString(p.string())); });
    EXPECT_EQ(sheet, (dir / "tilesheet.png").string() + " must have a palette of 256 colours, not 16");
    const std::string pipe = spoil("sprites.png", [](const fs::path& p) { ::mkfifo(p.c_str(), 0600); });
    EXPECT_EQ(pipe, (dir / "sprites.png").string() + ": cannot be read: not a regular file");
    const std::string missing = spoil("ending2.png", [](const fs::path&) {});
    EXPECT_NE(missing.find((dir / "ending2.png").string() + ": cannot be read"), std::string::npos) << missing;
    fs::remove_all(dir);
}
