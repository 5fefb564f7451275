#pragma once

#include "gfx/assets.h"
#include "gfx/surface.h"

// The game's real pictures from the build tree, loaded once per test program.
const Assets& TestAssets();

// The colour of pixel (x, y) of sheet cell `cell`.
std::uint32_t SheetPixel(const Assets& art, int cell, int x, int y);

// Fills a surface with one colour that no picture uses (an indexed surface with
// palette index 254), so that every drawn pixel shows.
void FillWithSentinel(Surface& surface);
bool IsSentinel(const Surface& surface, int x, int y);
