#include "tools/art/paint.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace art {

namespace {

void Put(Grid& g, int x, int y, std::uint8_t colour)
{
    if (x >= 0 && x < g.width && y >= 0 && y < g.height) g.At(x, y) = colour;
}

}  // namespace

void FillRect(Grid& g, int x, int y, int w, int h, std::uint8_t colour)
{
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) Put(g, i, j, colour);
}

void FillEllipse(Grid& g, double cx, double cy, double rx, double ry, std::uint8_t colour)
{
    for (int y = int(std::floor(cy - ry)); y <= int(std::ceil(cy + ry)); ++y)
        for (int x = int(std::floor(cx - rx)); x <= int(std::ceil(cx + rx)); ++x) {
            double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
            if (dx * dx + dy * dy <= 1.0) Put(g, x, y, colour);
        }
}

// Even-odd scanline fill through the pixel centres.
void FillPolygon(Grid& g, const std::vector<Point>& corners, std::uint8_t colour)
{
    if (corners.size() < 3) return;
    double top = corners[0].y, bottom = corners[0].y;
    for (const Point& p : corners) top = std::min(top, p.y), bottom = std::max(bottom, p.y);
    for (int y = std::max(0, int(std::floor(top))); y <= std::min(g.height - 1, int(std::ceil(bottom))); ++y) {
        double sy = y + 0.5;
        std::vector<double> xs;
        for (std::size_t i = 0; i < corners.size(); ++i) {
            const Point& a = corners[i];
            const Point& b = corners[(i + 1) % corners.size()];
            if ((a.y <= sy && b.y > sy) || (b.y <= sy && a.y > sy)) xs.push_back(a.x + (sy - a.y) / (b.y - a.y) * (b.x - a.x));
        }
        std::sort(xs.begin(), xs.end());
        for (std::size_t i = 0; i + 1 < xs.size(); i += 2)
            for (int x = int(std::ceil(xs[i] - 0.5)); x + 0.5 < xs[i + 1]; ++x) Put(g, x, y, colour);
    }
}

void DrawLine(Grid& g, int x0, int y0, int x1, int y1, std::uint8_t colour)
{
    int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1, err = dx + dy;
    for (;;) {
        Put(g, x0, y0, colour);
        if (x0 == x1 && y0 == y1) return;
        int e2 = 2 * err;
        if (e2 >= dy) err += dy, x0 += sx;
        if (e2 <= dx) err += dx, y0 += sy;
    }
}

bool DitherPicks(int x, int y, int level)
{
    static constexpr int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    return bayer[y & 3][x & 3] < level;
}

void Glow(Grid& g, double cx, double cy, double rx, double ry, std::uint8_t from, std::uint8_t to)
{
    for (int y = 0; y < g.height; ++y)
        for (int x = 0; x < g.width; ++x) {
            if (g.At(x, y) != from) continue;
            double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry, d = std::sqrt(dx * dx + dy * dy);
            if (d < 1.0 && DitherPicks(x, y, int((1.0 - d) * 24))) g.At(x, y) = to;
        }
}

void Stamp(Grid& g, const Grid& src, int x, int y, int scale)
{
    for (int j = 0; j < src.height * scale; ++j)
        for (int i = 0; i < src.width * scale; ++i) {
            std::uint8_t c = src.At(i / scale, j / scale);
            if (c != KeyIndex) Put(g, x + i, y + j, c);
        }
}

Grid TurnedClockwise(const Grid& src)
{
    Grid out(src.height, src.width);
    for (int y = 0; y < src.height; ++y)
        for (int x = 0; x < src.width; ++x) out.At(src.height - 1 - y, x) = src.At(x, y);
    return out;
}

PixelFont::PixelFont(const std::vector<Entry>& glyphs)
{
    for (const Entry& e : glyphs) {
        if (e.kind != "picture") throw SourceError("a font holds only 'picture <code point> W H' glyphs");
        if (height_ && e.grid.height != height_) throw SourceError("every glyph of a font has the same height");
        height_ = e.grid.height;
        glyphs_.emplace_back(char32_t(e.number), e.grid);
    }
}

const Grid& PixelFont::Glyph(char32_t c) const
{
    for (const auto& [code, grid] : glyphs_)
        if (code == c) return grid;
    throw SourceError("the font has no glyph for code point " + std::to_string(unsigned(c)));
}

int PixelFont::Width(const std::u32string& text, int scale) const
{
    int w = 0;
    for (char32_t c : text) w += (Glyph(c).width + 1) * scale;
    return text.empty() ? 0 : w - scale;
}

void PixelFont::Draw(Grid& g, int x, int y, const std::u32string& text, std::uint8_t colour, int scale, int shadow) const
{
    if (shadow != KeyIndex) Draw(g, x + scale, y + scale, text, std::uint8_t(shadow), scale);
    for (char32_t c : text) {
        const Grid& glyph = Glyph(c);
        for (int j = 0; j < glyph.height; ++j)
            for (int i = 0; i < glyph.width; ++i)
                if (glyph.At(i, j) != 0) FillRect(g, x + i * scale, y + j * scale, scale, scale, colour);
        x += (glyph.width + 1) * scale;
    }
}

std::u32string Utf32(const std::string& utf8)
{
    std::u32string out;
    for (std::size_t i = 0; i < utf8.size();) {
        unsigned char b = utf8[i];
        int extra = b < 0x80 ? 0 : b < 0xe0 ? 1 : b < 0xf0 ? 2 : 3;
        char32_t c = extra == 0 ? b : extra == 1 ? (b & 0x1f) : extra == 2 ? (b & 0x0f) : (b & 0x07);
        for (int k = 1; k <= extra && i + k < utf8.size(); ++k) c = (c << 6) | (utf8[i + k] & 0x3f);
        out.push_back(c);
        i += 1 + extra;
    }
    return out;
}

}  // namespace art
