#include "gfx/draw.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

// Sixteen rows of a constant width: the compiler turns each into a few moves.
template <int RowBytes>
void CopyCell(std::uint8_t* dst, int dstStride, const std::uint8_t* src, int srcStride)
{
    for (int row = 0; row < 16; ++row, dst += dstStride, src += srcStride) std::memcpy(dst, src, RowBytes);
}

template <int Size>
void CopyEnds(std::uint8_t* dst, const std::uint8_t* src, int n)
{
    std::memcpy(dst, src, Size);
    std::memcpy(dst + n - Size, src + n - Size, Size);
}

// n bytes, 1 to 64, as two moves of a constant size from both ends, which may
// overlap: no call of a copy of any length for the cells cut by an edge.
void CopySpan(std::uint8_t* dst, const std::uint8_t* src, int n)
{
    if (n >= 32) CopyEnds<32>(dst, src, n);
    else if (n >= 16) CopyEnds<16>(dst, src, n);
    else if (n >= 8) CopyEnds<8>(dst, src, n);
    else if (n >= 4) CopyEnds<4>(dst, src, n);
    else if (n >= 2) CopyEnds<2>(dst, src, n);
    else *dst = *src;
}

// The part on the surface of a cell cut by its edge.
void DrawCellPart(Surface& surface, int x, int y, const Surface& sheet, int sx, int sy)
{
    const int x0 = std::max(0, -x), x1 = std::min(16, surface.Width() - x);
    const int y0 = std::max(0, -y), y1 = std::min(16, surface.Height() - y);
    if (x0 >= x1 || y0 >= y1) return;
    const int bpp = surface.BytesPerPixel();
    std::uint8_t* dst = surface.Row(y + y0) + (x + x0) * bpp;
    const std::uint8_t* src = sheet.Row(sy + y0) + (sx + x0) * bpp;
    for (int row = y0; row < y1; ++row, dst += surface.Stride(), src += sheet.Stride()) CopySpan(dst, src, (x1 - x0) * bpp);
}

}  // namespace

void DrawCell(const Assets& art, Surface& surface, int x, int y, int cell)
{
    const Surface& sheet = art.Sheet(surface.Format());
    const int sx = 16 * (cell % 16), sy = 16 * (cell / 16);
    const bool inSheet = cell >= 0 && sy + 16 <= sheet.Height();
    if (!inSheet) {
        Blit(surface, x, y, sheet, sx, sy, 16, 16);
        return;
    }
    if (x < 0 || y < 0 || x + 16 > surface.Width() || y + 16 > surface.Height()) {
        DrawCellPart(surface, x, y, sheet, sx, sy);
        return;
    }
    const int bpp = surface.BytesPerPixel();
    std::uint8_t* dst = surface.Row(y) + x * bpp;
    const std::uint8_t* src = sheet.Row(sy) + sx * bpp;
    if (bpp == 4) CopyCell<64>(dst, surface.Stride(), src, sheet.Stride());
    else CopyCell<16>(dst, surface.Stride(), src, sheet.Stride());
}

void DrawTileText(const Assets& art, Surface& surface, int column, int row, std::string_view text)
{
    for (std::size_t k = 0; k < text.size(); ++k) {
        int code = static_cast<unsigned char>(text[k]);
        if (code < 32 || code > 143) code = 32;
        DrawCell(art, surface, 16 * (column + int(k)), 16 * row, code - 32);
    }
}

namespace {

// The pixels x0..x1 - 1 of a row whose bits are set in `mask`, each of a
// constant size.
template <int PixelBytes>
void CopyMasked(std::uint8_t* dst, const std::uint8_t* src, std::uint16_t mask, int x0, int x1)
{
    for (int i = x0; i < x1; ++i)
        if (mask & (1u << i)) std::memcpy(dst + i * PixelBytes, src + i * PixelBytes, PixelBytes);
}

// Sprite `index` through its mask, and of each row only the pixels `pattern`
// gives for the row's place on the surface.
template <typename Pattern>
void DrawSpriteRows(const Assets& art, Surface& surface, int x, int y, int index, Pattern pattern)
{
    if (index < 0 || index >= SpriteCount) return;
    const Surface& sheet = art.Sprites(surface.Format());
    const int sx = 16 * (index % 16), sy = 16 * (index / 16);
    const int x0 = std::max(0, -x), x1 = std::min(16, surface.Width() - x);
    const int y0 = std::max(0, -y), y1 = std::min(16, surface.Height() - y);
    const int bpp = surface.BytesPerPixel();
    for (int j = y0; j < y1; ++j) {
        const std::uint16_t mask = art.spriteMask[index][j] & pattern(x, y + j);
        if (!mask) continue;
        const std::uint8_t* src = sheet.Row(sy + j) + sx * bpp;
        std::uint8_t* dst = surface.Row(y + j) + x * bpp;
        if (bpp == 4) CopyMasked<4>(dst, src, mask, x0, x1);
        else CopyMasked<1>(dst, src, mask, x0, x1);
    }
}

}  // namespace

void DrawSprite(const Assets& art, Surface& surface, int x, int y, int index)
{
    DrawSpriteRows(art, surface, x, y, index, [](int, int) { return std::uint16_t(0xffff); });
}

void DrawSpriteSeeThrough(const Assets& art, Surface& surface, int x, int y, int index)
{
    // Bit i stands for the pixel x + i: kept where x + i + row is even.
    DrawSpriteRows(art, surface, x, y, index,
                   [](int left, int row) { return std::uint16_t((left + row) & 1 ? 0xaaaa : 0x5555); });
}

void DrawMark(const Palette& palette, Surface& surface, int x, int y, std::uint8_t colour)
{
    const auto plot = [&](int px, int py, std::uint8_t index) {
        if (px < 0 || py < 0 || px >= surface.Width() || py >= surface.Height()) return;
        std::uint8_t* at = surface.Row(py) + px * surface.BytesPerPixel();
        if (surface.Format() == PixelFormat::Indexed8) *at = index;
        else std::memcpy(at, &palette[index], 4);
    };
    for (int dy = -3; dy <= 3; ++dy)
        for (int dx = -3; dx <= 3; ++dx) {
            const int reach = std::abs(dx) + std::abs(dy);
            if (reach <= 2) plot(x + dx, y + dy, colour);
            else if (reach == 3) plot(x + dx, y + dy, 0);
        }
}

void DrawPicture(const Surface& picture, Surface& surface)
{
    Blit(surface, 0, 0, picture, 0, 0, picture.Width(), picture.Height());
}
