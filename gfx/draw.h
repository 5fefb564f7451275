#pragma once

#include <string_view>

#include "gfx/assets.h"
#include "gfx/surface.h"

// The three ways anything is drawn. Cell positions (column, row) are pixels
// (16 * column, 16 * row).

// An opaque copy of sheet cell `cell` (0..111) with its top-left corner at (x, y).
void DrawCell(const Assets& art, Surface& surface, int x, int y, int cell);

// Single-byte text in the tile font from cell (column, row): byte c draws
// sheet cell c - 32. Codes outside 32..143 draw a blank cell.
void DrawTileText(const Assets& art, Surface& surface, int column, int row, std::string_view text);

// Sprite `index` (0..95) through its mask: transparent pixels keep what is below.
void DrawSprite(const Assets& art, Surface& surface, int x, int y, int index);
// The same sprite see-through: every other pixel of it, as on a chessboard of
// the surface's pixels, so that what is below shows between them.
void DrawSpriteSeeThrough(const Assets& art, Surface& surface, int x, int y, int index);

// A small diamond, five pixels across, of the palette's colour `colour` with
// a black rim, centred on (x, y); what lies outside the surface is left out.
void DrawMark(const Palette& palette, Surface& surface, int x, int y, std::uint8_t colour);

// An ending picture, covering the whole 272 by 272 view.
void DrawPicture(const Surface& picture, Surface& surface);
