#include "tests/support/test_assets.h"

#include "tests/support/build_assets.h"

#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>

#include "gfx/draw.h"

namespace {
constexpr std::uint32_t Sentinel32 = 0xff123456u;
constexpr std::uint8_t Sentinel8 = 254;
}

const Assets& TestAssets() { return BuildTreeAssets(); }

std::uint32_t SheetPixel(const Assets& art, int cell, int x, int y)
{
    return art.sheet32.ColourAt(16 * (cell % 16) + x, 16 * (cell / 16) + y, art.palette);
}

void FillWithSentinel(Surface& surface)
{
    for (int y = 0; y < surface.Height(); ++y)
        for (int x = 0; x < surface.Width(); ++x) {
            if (surface.Format() == PixelFormat::Indexed8) surface.Row(y)[x] = Sentinel8;
            else std::memcpy(surface.Row(y) + 4 * x, &Sentinel32, 4);
        }
}

bool IsSentinel(const Surface& surface, int x, int y)
{
    if (surface.Format() == PixelFormat::Indexed8) return surface.Row(y)[x] == Sentinel8;
    std::uint32_t c;
    std::memcpy(&c, surface.Row(y) + 4 * x, 4);
    return c == Sentinel32;
}

bool ShowsText(const Surface& surface, int column, int row, std::string_view text)
{
    const Assets& art = TestAssets();
    Surface expected(surface.Width(), surface.Height(), surface.Format());
    DrawTileText(art, expected, column, row, text);
    for (int y = 16 * row; y < 16 * row + 16 && y < surface.Height(); ++y)
        for (int x = std::max(0, 16 * column); x < 16 * (column + int(text.size())) && x < surface.Width(); ++x)
            if (surface.ColourAt(x, y, art.palette) != expected.ColourAt(x, y, art.palette)) return false;
    return true;
}

bool CellIsBlack(const Surface& surface, int column, int row)
{
    for (int y = 16 * row; y < 16 * row + 16; ++y)
        for (int x = 16 * column; x < 16 * column + 16; ++x)
            if (surface.ColourAt(x, y, TestAssets().palette) != 0xff000000u) return false;
    return true;
}

bool ShowsSpriteAt(const Surface& surface, int x, int y, int index)
{
    const Assets& art = TestAssets();
    for (int j = 0; j < 16; ++j)
        for (int i = 0; i < 16; ++i) {
            if (x + i < 0 || x + i >= surface.Width() || y + j < 0 || y + j >= surface.Height()) continue;
            if (!(art.spriteMask[index][j] & (1u << i))) continue;
            const std::uint32_t want = art.sprites32.ColourAt(16 * (index % 16) + i, 16 * (index / 16) + j, art.palette);
            if (surface.ColourAt(x + i, y + j, art.palette) != want) return false;
        }
    return true;
}

bool SamePixels(const Surface& a, const Surface& b)
{
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.ColourAt(x, y, TestAssets().palette) != b.ColourAt(x, y, TestAssets().palette)) return false;
    return true;
}
