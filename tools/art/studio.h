#pragma once

// What the painted pictures are made from: the palette, the finished tile
// sheet and sprites, the figures of the ending scenes and the caption fonts.

#include <map>

#include "tools/art/art_source.h"
#include "tools/art/paint.h"

namespace art {

struct Studio {
    Palette palette;
    Grid sheet;                   // 256 by 112, the tile sheet
    Grid sprites;                 // 256 by 96, key index where transparent
    std::map<int, Grid> figures;  // figures.txt, by picture number
    PixelFont latin, japanese;

    std::uint8_t operator()(const char* colour) const { return std::uint8_t(palette.Index(colour)); }
    Grid Cell(int n) const { return sheet.Crop(16 * (n % 16), 16 * (n / 16), 16, 16); }
    Grid Sprite(int n) const { return sprites.Crop(16 * (n % 16), 16 * (n / 16), 16, 16); }
    const Grid& Figure(int n) const;
};

// The ending picture of a character variant, 272 by 272.
Grid PaintEnding(int variant, const Studio& studio);

// One sheet that shows every tile and sprite enlarged with its number, each
// character's poses in the order they play, a few sprites in use, the endings
// and the icon.
Grid PaintReviewSheet(const Studio& studio, const Grid& icon);

}  // namespace art
