#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "gfx/surface.h"

constexpr int SheetCellCount = 112;
constexpr int SpriteCount = 96;
constexpr int EndingPictureSize = 272;

// Every picture of the game, loaded once, in both pixel formats so that a
// drawing call only copies bytes.
struct Assets {
    Palette palette{};

    // TileSheet: 16 by 7 cells of 16 by 16; cells 0..63 are the tile font,
    // cells 64..111 the pictures of map tiles 0..47.
    Surface sheet8, sheet32;
    // The sprite list: sprite i at (16 * (i mod 16), 16 * (i div 16)).
    Surface sprites8, sprites32;
    // One bit per pixel and row: bit x of spriteMask[i][y] set where sprite i is opaque.
    std::array<std::array<std::uint16_t, 16>, SpriteCount> spriteMask{};
    // The ending pictures of variants 0, 1 and 2.
    std::array<Surface, 3> ending8, ending32;

    const Surface& Sheet(PixelFormat f) const { return f == PixelFormat::Rgb32 ? sheet32 : sheet8; }
    const Surface& Sprites(PixelFormat f) const { return f == PixelFormat::Rgb32 ? sprites32 : sprites8; }
    const Surface& Ending(int variant, PixelFormat f) const
    {
        return f == PixelFormat::Rgb32 ? ending32[variant] : ending8[variant];
    }
};

struct AssetError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The palette index that marks transparent pixels in sprites.png.
constexpr std::uint8_t SpriteKeyIndex = 255;

// Loads tilesheet.png, sprites.png and ending0..2.png from a directory.
// Throws AssetError naming the file and the problem.
Assets LoadAssets(const std::string& directory);

// The same in two parts, for a front end whose endings come later: all but
// the ending pictures, then the ending pictures into those assets (which are
// left as they were when one of them is refused).
Assets LoadPlayAssets(const std::string& directory);
void LoadEndingPictures(Assets& assets, const std::string& directory);

// Where the pictures live: $BURROWKIN_DATA_DIR when set, otherwise
// share/burrowkin beside the bin/ folder that holds the program, or
// share/games/burrowkin beside games/ as Debian lays out games.
std::string FindDataDirectory(const std::string& programPath);
