// The three ending pictures, painted: a cave built from the game's own rock
// tiles, light by dithering, the hand-drawn figures of figures.txt doubled,
// and the captions in the caption fonts.

#include <string>

#include "tools/art/studio.h"

namespace art {

const Grid& Studio::Figure(int n) const
{
    auto it = figures.find(n);
    if (it == figures.end()) throw SourceError("figures.txt has no picture " + std::to_string(n));
    return it->second;
}

namespace {

constexpr int Size = 272;

// A repeatable wobble for ragged rock edges: 0 .. range-1, smooth in x.
int Wobble(int x, int range, unsigned salt)
{
    auto hash = [salt](int k) { return ((unsigned(k) + salt) * 2654435761u >> 13) % 1024u; };
    int k = x / 8, t = x % 8;
    int a = int(hash(k)), b = int(hash(k + 1));
    return (a * (8 - t) + b * t) * range / (8 * 1024);
}

// Air that gets lighter towards the floor.
void Air(Grid& g, std::uint8_t top, std::uint8_t bottom, int from, int to)
{
    for (int y = 0; y < g.height; ++y) {
        int level = y <= from ? 0 : y >= to ? 16 : (y - from) * 16 / (to - from);
        for (int x = 0; x < g.width; ++x) g.At(x, y) = DitherPicks(x, y, level) ? bottom : top;
    }
}

// Paints the texture of a sheet cell wherever `inside(x, y)` holds, with a
// dark line along the edge where the rock meets the air.
template <typename Inside>
void Rock(Grid& g, const Studio& s, int cell, std::uint8_t edge, Inside inside)
{
    Grid tile = s.Cell(cell);
    for (int y = 0; y < g.height; ++y)
        for (int x = 0; x < g.width; ++x) {
            if (!inside(x, y)) continue;
            bool rim = !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
            g.At(x, y) = rim ? edge : tile.At(x & 15, y & 15);
        }
}

// Hard rock walls at both sides and a floor of diggable earth from `floorY`.
void CaveWalls(Grid& g, const Studio& s, int floorY, int wallTop, unsigned salt)
{
    Rock(g, s, 66, s("oxblood"), [&](int x, int y) {
        if (y < wallTop + Wobble(x + 300, 24, salt)) return false;
        int left = 10 + Wobble(y, 26, salt + 1) + (y < floorY - 60 ? (floorY - 60 - y) / 5 : 0);
        int right = 10 + Wobble(y, 26, salt + 2) + (y < floorY - 60 ? (floorY - 60 - y) / 5 : 0);
        return x < left || x >= Size - right;
    });
    Rock(g, s, 65, s("peat"), [&](int x, int y) { return y >= floorY + Wobble(x, 6, salt + 3) - 3; });
}

// Lights everything inside the polygon one shade up, fading with the distance
// from `source`: each colour has the one it turns into in the light.
void Beam(Grid& g, const Studio& s, Point source, const std::vector<Point>& shape, double reach)
{
    const std::pair<const char*, const char*> lit[] = {
        {"soot", "cavedeep"}, {"cavedeep", "cavemid"}, {"cavemid", "walnut"}, {"ochre", "dune"},
        {"loam", "ochre"},    {"peat", "loam"},        {"brick", "rust"},   {"maroon", "brick"},
        {"oxblood", "maroon"}, {"dune", "sand"},
    };
    Grid mask(g.width, g.height, 0);
    FillPolygon(mask, shape, 1);
    for (int y = 0; y < g.height; ++y)
        for (int x = 0; x < g.width; ++x) {
            if (!mask.At(x, y)) continue;
            double dx = x - source.x, dy = y - source.y;
            int level = 16 - int((dx * dx + dy * dy) * 10 / (reach * reach));
            if (level <= 0 || !DitherPicks(x, y, level)) continue;
            for (const auto& [from, to] : lit)
                if (g.At(x, y) == s(from)) {
                    g.At(x, y) = s(to);
                    break;
                }
        }
}

// A map tile as a figure: its black background becomes transparent.
Grid Item(const Studio& s, int cell)
{
    Grid g = s.Cell(cell);
    for (auto& p : g.px)
        if (p == s("black")) p = KeyIndex;
    return g;
}

void Sparkle(Grid& g, const Studio& s, int x, int y, int arm)
{
    for (int k = -arm; k <= arm; ++k) {
        std::uint8_t c = k == 0 ? s("white") : (k == -arm || k == arm) ? s("frost") : s("cream");
        FillRect(g, x + k, y, 1, 1, c);
        FillRect(g, x, y + k, 1, 1, c);
    }
}

// Centres a caption line at row y.
void Caption(Grid& g, const PixelFont& font, int y, const std::string& text, std::uint8_t ink, int scale,
             std::uint8_t shadow)
{
    std::u32string t = Utf32(text);
    font.Draw(g, (Size - font.Width(t, scale)) / 2, y, t, ink, scale, shadow);
}

// Variant 0: the explorer kneels by the exit and holds up a diamond in the
// beam of his lamp.
Grid ExplorerEnding(const Studio& s)
{
    Grid g(Size, Size);
    Air(g, s("soot"), s("cavedeep"), 60, 210);
    CaveWalls(g, s, 216, 70, 11);
    const int boyX = 112, boyY = 216 - 2 * s.Figure(1).height;
    // the lamp hangs from a hook in the left wall and shines on him
    const Point lamp{44, 124};
    Glow(g, lamp.x, lamp.y, 30, 30, s("soot"), s("cavedeep"));
    Beam(g, s, lamp, {{lamp.x, lamp.y - 6}, {176, 100}, {226, 216}, {150, 228}, {lamp.x, lamp.y + 6}}, 190);
    FillRect(g, 28, 100, 18, 2, s("iron"));
    FillRect(g, 44, 100, 2, 6, s("iron"));
    Stamp(g, s.Figure(6), lamp.x - 10, 106, 2);
    Stamp(g, Item(s, 95), 208, 184, 2);  // the exit sign
    Stamp(g, Item(s, 92), 62, 203);
    Stamp(g, Item(s, 92), 76, 206);
    Stamp(g, Item(s, 93), 86, 200);
    Stamp(g, s.Figure(1), boyX, boyY, 2);
    Sparkle(g, s, boyX + 48, boyY + 6, 4);
    Sparkle(g, s, boyX + 66, boyY + 18, 3);
    Sparkle(g, s, boyX + 38, boyY + 20, 2);
    Caption(g, s.latin, 10, "Congratulations!", s("yellow"), 2, s("ember"));
    Caption(g, s.latin, 36, "You have arrived at the exit !", s("white"), 1, s("indigo"));
    return g;
}

// Variant 1: treasure in hand at last, but a bird flies off with the gem and
// the ghost is right behind her.
Grid WandEnding(const Studio& s)
{
    Grid g(Size, Size);
    Air(g, s("soot"), s("dusk"), 50, 220);
    CaveWalls(g, s, 220, 80, 23);
    Glow(g, 70, 150, 60, 50, s("dusk"), s("indigo"));  // the ghost's cold light
    Stamp(g, s.Figure(5), 24, 112, 2);
    Stamp(g, s.Figure(2), 116, 220 - 2 * s.Figure(2).height, 2);
    for (int k = 0; k < 4; ++k) FillRect(g, 94 - 6 * k, 168 + 10 * k, 16, 2, s("lavender"));  // speed lines
    Stamp(g, s.Figure(4), 184, 62, 2);
    for (int k = 0; k < 3; ++k) DrawLine(g, 150 - 8 * k, 96 + 10 * k, 176 - 8 * k, 84 + 10 * k, s("ice"));
    Caption(g, s.japanese, 12, "お宝入手！しかし……", s("white"), 2, s("violet"));
    return g;
}

// Variant 2: the butler brings wine to the master's door at the exit.
Grid ButlerEnding(const Studio& s)
{
    Grid g(Size, Size);
    Air(g, s("soot"), s("cavedeep"), 40, 200);
    // the back wall of the hall, and the door set into it
    Rock(g, s, 66, s("oxblood"), [&](int x, int y) { return x >= 40 && y >= 40 + Wobble(x, 20, 5) && y < 216; });
    CaveWalls(g, s, 216, 400, 31);
    const int doorX = 92, doorY = 96, doorW = 80, doorH = 120;
    FillRect(g, doorX - 6, doorY - 6, doorW + 12, doorH + 6, s("walnut"));
    FillRect(g, doorX - 4, doorY - 4, doorW + 8, doorH + 4, s("umber"));
    for (int k = 0; k < doorW / 16; ++k) {
        FillRect(g, doorX + 16 * k, doorY, 16, doorH, s("wood"));
        FillRect(g, doorX + 16 * k, doorY, 1, doorH, s("sand"));
        FillRect(g, doorX + 16 * k + 15, doorY, 1, doorH, s("walnut"));
    }
    FillRect(g, doorX + 8, doorY + 12, doorW - 16, 3, s("walnut"));
    FillRect(g, doorX + 8, doorY + doorH - 20, doorW - 16, 3, s("walnut"));
    FillEllipse(g, doorX + doorW - 12, doorY + 66, 4, 4, s("gold"));
    FillEllipse(g, doorX + doorW - 13, doorY + 65, 1.5, 1.5, s("yellow"));
    // the card on the knob
    const int cardX = doorX + doorW - 54, cardY = doorY + 74;
    DrawLine(g, doorX + doorW - 12, doorY + 68, cardX + 8, cardY, s("red"));
    DrawLine(g, doorX + doorW - 12, doorY + 68, cardX + 36, cardY, s("red"));
    FillRect(g, cardX, cardY, 44, 24, s("cream"));
    FillRect(g, cardX, cardY + 23, 44, 1, s("sand"));
    s.latin.Draw(g, cardX + 4, cardY + 3, Utf32("DO NOT"), s("red"));
    s.latin.Draw(g, cardX + 2, cardY + 13, Utf32("DISTURB"), s("red"));
    // the exit sign above the door, lettered in the tile font
    FillRect(g, doorX - 4, 52, doorW + 8, 28, s("forest"));
    FillRect(g, doorX - 2, 54, doorW + 4, 24, s("green"));
    FillRect(g, doorX - 2, 54, doorW + 4, 1, s("lime"));
    for (int k = 0; k < 4; ++k) {
        Grid letter = s.Cell(std::string("EXIT")[k] - 32);
        for (auto& p : letter.px) p = p ? s("white") : KeyIndex;
        Stamp(g, letter, doorX + 8 + 16 * k, 58);
    }
    FillRect(g, doorX + 8, 40, 2, 12, s("grey"));
    FillRect(g, doorX + doorW - 10, 40, 2, 12, s("grey"));
    // the butler, knocking
    const int butlerX = 174, butlerY = 216 - 2 * s.Figure(3).height;
    Stamp(g, s.Figure(3), butlerX, butlerY, 2);
    for (int k = 0; k < 3; ++k)  // knock, knock
        DrawLine(g, butlerX - 4 - 3 * k, butlerY + 44 + 5 * k, butlerX - 9 - 3 * k, butlerY + 42 + 6 * k, s("white"));
    // the caption runs down the left edge
    auto column = [&](const std::string& text, int scale, std::uint8_t ink, int x) {
        std::u32string t = Utf32(text);
        Grid strip(s.latin.Width(t, scale) + scale, s.latin.Height() * scale + scale, KeyIndex);
        s.latin.Draw(strip, 0, 0, t, ink, scale, s("night"));
        Stamp(g, TurnedClockwise(strip), x, 10);
    };
    FillRect(g, 0, 0, 44, Size, s("soot"));
    FillRect(g, 44, 0, 1, Size, s("cavemid"));
    column("Congratulations!", 2, s("yellow"), 22);
    column("You've delivered wine to the master.", 1, s("white"), 6);
    return g;
}

}  // namespace

Grid PaintEnding(int variant, const Studio& studio)
{
    switch (variant) {
    case 0: return ExplorerEnding(studio);
    case 1: return WandEnding(studio);
    default: return ButlerEnding(studio);
    }
}

}  // namespace art
