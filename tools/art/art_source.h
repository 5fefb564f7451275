#pragma once

// Reading the text sources of the game's pictures: a palette with named
// colours, and grids of characters that a legend maps to those colours.

#include <array>
#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace art {

constexpr int KeyIndex = 255;  // transparent pixels of the sprite sheet

struct Palette {
    std::array<std::uint32_t, 256> rgb{};  // 0xRRGGBB
    std::map<std::string, int> byName;
    int Index(const std::string& name) const;
};

// An indexed picture; KeyIndex marks transparency where a sprite has it.
struct Grid {
    int width = 0, height = 0;
    std::vector<std::uint8_t> px;
    Grid() = default;
    Grid(int w, int h, std::uint8_t fill = 0) : width(w), height(h), px(std::size_t(w) * h, fill) {}
    std::uint8_t& At(int x, int y) { return px[std::size_t(y) * width + x]; }
    std::uint8_t At(int x, int y) const { return px[std::size_t(y) * width + x]; }
    void Paste(const Grid& g, int x, int y);
    Grid Crop(int x, int y, int w, int h) const;
    Grid Mirrored() const;
    Grid Scale2x() const;
};

struct SourceError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

Palette ReadPalette(const std::string& path);

// One picture of a source file: "<kind> <number> [<w> <h>] [name]" followed by
// its rows, or "mirror <number> <from>" / "copy <number> <from>".
struct Entry {
    std::string kind;  // glyph, cell, sprite, block, picture, mirror, copy
    int number = 0;
    int from = -1;     // mirror, copy: the sprite they repeat
    std::string name;
    Grid grid;
};

// Reads a source file. Directives: "legend <char> <colour name>" (the name
// "clear" is transparent); "glyph N" with 8 rows of 8 ('#' white, '.' black);
// "cell N" and "sprite N" with 16 rows of 16; "block N W H" with H*16 rows of
// W*16 (sprites N.. cut row-major); "picture N W H" with H rows of W;
// "mirror N M" (sprite N is sprite M mirrored left to right); "copy N M". Lines starting with '#' outside a grid are comments.
std::vector<Entry> ReadSource(const std::string& path, const Palette& palette);

}  // namespace art
