#include "gfx/surface.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cstring>

namespace {
constexpr std::uint32_t Black = 0xff000000u;
}

Surface::Surface(int width, int height, PixelFormat format)
    : width_(width), height_(height), format_(format), bytes_(std::size_t(width) * height * (format == PixelFormat::Rgb32 ? 4 : 1))
{
    FillBlack();
}

void Surface::FillBlack()
{
    if (format_ == PixelFormat::Indexed8) {
        std::fill(bytes_.begin(), bytes_.end(), 0);
        return;
    }
    auto* px = reinterpret_cast<std::uint32_t*>(bytes_.data());
    std::fill(px, px + std::size_t(width_) * height_, Black);
}

std::uint32_t Surface::ColourAt(int x, int y, const Palette& palette) const
{
    if (format_ == PixelFormat::Indexed8) return palette[Row(y)[x]];
    std::uint32_t c;
    std::memcpy(&c, Row(y) + x * 4, 4);
    return c;
}

void RgbaBytes(const Surface& surface, std::uint8_t* out)
{
    assert(surface.Format() == PixelFormat::Rgb32);
    // A pixel 0xAARRGGBB lies in memory as blue, green, red, alpha: red and
    // blue change places, two pixels at a time.
    static_assert(std::endian::native == std::endian::little);
    const auto swapped = []<typename Word>(Word v) {
        constexpr Word Green = Word(0x0000ff000000ff00u), Blue = Word(0x000000ff000000ffu), Alpha = Word(0xff000000ff000000u);
        return (v & Green) | (v >> 16 & Blue) | (v & Blue) << 16 | Alpha;
    };
    const std::uint8_t* in = surface.Bits();
    const std::size_t size = std::size_t(surface.Stride()) * surface.Height();
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        std::uint64_t v;
        std::memcpy(&v, in + i, 8);
        v = swapped(v);
        std::memcpy(out + i, &v, 8);
    }
    if (i < size) {
        std::uint32_t v;
        std::memcpy(&v, in + i, 4);
        v = swapped(v);
        std::memcpy(out + i, &v, 4);
    }
}

void Blit(Surface& dst, int dx, int dy, const Surface& src, int sx, int sy, int w, int h)
{
    assert(dst.Format() == src.Format());
    // Clip against the source, then against the destination, moving both corners together.
    if (sx < 0) { w += sx; dx -= sx; sx = 0; }
    if (sy < 0) { h += sy; dy -= sy; sy = 0; }
    if (dx < 0) { w += dx; sx -= dx; dx = 0; }
    if (dy < 0) { h += dy; sy -= dy; dy = 0; }
    w = std::min({w, src.Width() - sx, dst.Width() - dx});
    h = std::min({h, src.Height() - sy, dst.Height() - dy});
    if (w <= 0 || h <= 0) return;
    const int bpp = dst.BytesPerPixel();
    if (w == dst.Width() && w == src.Width()) {
        // Whole rows on both sides lie one after the other: one copy.
        std::memcpy(dst.Row(dy), src.Row(sy), std::size_t(h) * w * bpp);
        return;
    }
    for (int row = 0; row < h; ++row)
        std::memcpy(dst.Row(dy + row) + dx * bpp, src.Row(sy + row) + sx * bpp, std::size_t(w) * bpp);
}
