#pragma once

#include "gfx/assets.h"
#include "gfx/surface.h"

#include <string_view>

// The game's real pictures from the build tree, loaded once per test program.
const Assets& TestAssets();

// The colour of pixel (x, y) of sheet cell `cell`.
std::uint32_t SheetPixel(const Assets& art, int cell, int x, int y);

// Fills a surface with one colour that no picture uses (an indexed surface with
// palette index 254), so that every drawn pixel shows.
void FillWithSentinel(Surface& surface);
bool IsSentinel(const Surface& surface, int x, int y);

// True when the cells from (column, row) on show `text` exactly as DrawTileText
// draws it (cells left of column 0 or past the edge are not compared).
bool ShowsText(const Surface& surface, int column, int row, std::string_view text);

// True when the 16 by 16 cell at (column, row) is all black.
bool CellIsBlack(const Surface& surface, int column, int row);

// True when every opaque pixel of sprite `index` shows at (x, y) (parts off the
// surface are not compared).
bool ShowsSpriteAt(const Surface& surface, int x, int y, int index);

// Pixel-for-pixel equality of two surfaces of the same size.
bool SamePixels(const Surface& a, const Surface& b);
