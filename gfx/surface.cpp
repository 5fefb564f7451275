#include "gfx/surface.h"

#include <algorithm>
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
    for (int row = 0; row < h; ++row)
        std::memcpy(dst.Row(dy + row) + dx * bpp, src.Row(sy + row) + sx * bpp, std::size_t(w) * bpp);
}
