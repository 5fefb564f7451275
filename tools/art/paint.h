#pragma once

// Painting on an indexed Grid: the few shapes the ending scenes, the icon and
// the review sheet are made of. Everything clips at the edges of the grid.

#include <cstdint>
#include <string>
#include <vector>

#include "tools/art/art_source.h"

namespace art {

struct Point {
    double x, y;
};

void FillRect(Grid& g, int x, int y, int w, int h, std::uint8_t colour);
void FillEllipse(Grid& g, double cx, double cy, double rx, double ry, std::uint8_t colour);
void FillPolygon(Grid& g, const std::vector<Point>& corners, std::uint8_t colour);
void DrawLine(Grid& g, int x0, int y0, int x1, int y1, std::uint8_t colour);

// Ordered dithering: level 0 is all `from`, 16 all `to`, in between a 4 by 4
// Bayer pattern mixes the two. Use it for gradients and glows.
bool DitherPicks(int x, int y, int level);
// Recolours every pixel of `from` inside the ellipse, more of them towards
// its centre: a soft glow in two colours.
void Glow(Grid& g, double cx, double cy, double rx, double ry, std::uint8_t from, std::uint8_t to);

// Copies `src` enlarged `scale` times; pixels of the key index stay unpainted.
void Stamp(Grid& g, const Grid& src, int x, int y, int scale = 1);
// The picture turned a quarter turn clockwise.
Grid TurnedClockwise(const Grid& src);

// A proportional pixel font read from a source of "picture <code point> W H"
// entries, '#' for ink, one pixel between letters. Glyphs share one height; a
// text with a letter the font lacks is an error, not a gap.
class PixelFont {
public:
    PixelFont() = default;
    explicit PixelFont(const std::vector<Entry>& glyphs);

    int Height() const { return height_; }
    int Width(const std::u32string& text, int scale = 1) const;
    // Ink of the given colour; where `shadow` is not the key index, a copy one
    // pixel (times scale) down and right goes underneath.
    void Draw(Grid& g, int x, int y, const std::u32string& text, std::uint8_t colour, int scale = 1,
              int shadow = KeyIndex) const;

private:
    const Grid& Glyph(char32_t c) const;
    std::vector<std::pair<char32_t, Grid>> glyphs_;
    int height_ = 0;
};

std::u32string Utf32(const std::string& utf8);

}  // namespace art
