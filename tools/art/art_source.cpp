#include "tools/art/art_source.h"

#include <fstream>
#include <sstream>

namespace art {

int Palette::Index(const std::string& name) const
{
    auto it = byName.find(name);
    if (it == byName.end()) throw SourceError("unknown colour '" + name + "'");
    return it->second;
}

void Grid::Paste(const Grid& g, int x, int y)
{
    for (int j = 0; j < g.height; ++j)
        for (int i = 0; i < g.width; ++i)
            if (x + i >= 0 && x + i < width && y + j >= 0 && y + j < height) At(x + i, y + j) = g.At(i, j);
}

Grid Grid::Crop(int x, int y, int w, int h) const
{
    Grid out(w, h);
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) out.At(i, j) = At(x + i, y + j);
    return out;
}

Grid Grid::Mirrored() const
{
    Grid out(width, height);
    for (int j = 0; j < height; ++j)
        for (int i = 0; i < width; ++i) out.At(width - 1 - i, j) = At(i, j);
    return out;
}

// Scale2x: doubles a picture and fills the inner corners of diagonal steps,
// so that one-pixel diagonals become smooth two-pixel strokes.
Grid Grid::Scale2x() const
{
    Grid out(width * 2, height * 2);
    auto at = [&](int x, int y) {
        x = x < 0 ? 0 : (x >= width ? width - 1 : x);
        y = y < 0 ? 0 : (y >= height ? height - 1 : y);
        return At(x, y);
    };
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t p = At(x, y), a = at(x, y - 1), b = at(x + 1, y), c = at(x - 1, y), d = at(x, y + 1);
            std::uint8_t e0 = p, e1 = p, e2 = p, e3 = p;
            if (b != c && a != d) {
                if (c == a) e0 = c;
                if (a == b) e1 = b;
                if (c == d) e2 = c;
                if (d == b) e3 = b;
            }
            out.At(2 * x, 2 * y) = e0;
            out.At(2 * x + 1, 2 * y) = e1;
            out.At(2 * x, 2 * y + 1) = e2;
            out.At(2 * x + 1, 2 * y + 1) = e3;
        }
    return out;
}

Palette ReadPalette(const std::string& path)
{
    std::ifstream in(path);
    if (!in) throw SourceError("cannot read " + path);
    Palette pal;
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        if (line.empty() || line[0] == '#') continue;
        std::istringstream s(line);
        int index;
        std::string hex, name;
        if (!(s >> index >> hex >> name) || index < 0 || index > 255 || hex.size() != 6)
            throw SourceError(path + ":" + std::to_string(lineNo) + ": expected '<index> <rrggbb> <name>'");
        pal.rgb[index] = std::uint32_t(std::stoul(hex, nullptr, 16));
        pal.byName[name] = index;
    }
    return pal;
}

std::vector<Entry> ReadSource(const std::string& path, const Palette& palette)
{
    std::ifstream in(path);
    if (!in) throw SourceError("cannot read " + path);
    std::map<char, int> legend{{'#', palette.Index("white")}, {'.', palette.Index("black")}};
    std::vector<Entry> entries;
    std::string line;
    int lineNo = 0;
    auto fail = [&](const std::string& what) { throw SourceError(path + ":" + std::to_string(lineNo) + ": " + what); };
    auto readRows = [&](Grid& grid, bool fontLegend) {
        for (int y = 0; y < grid.height; ++y) {
            if (!std::getline(in, line)) fail("the file ends inside a picture");
            ++lineNo;
            if (int(line.size()) != grid.width)
                fail("row of " + std::to_string(line.size()) + " characters, expected " + std::to_string(grid.width));
            for (int x = 0; x < grid.width; ++x) {
                char ch = line[x];
                if (fontLegend) {
                    if (ch != '#' && ch != '.') fail(std::string("glyphs use only '#' and '.', not '") + ch + "'");
                    grid.At(x, y) = std::uint8_t(legend.at(ch == '#' ? '#' : '.'));
                    continue;
                }
                auto it = legend.find(ch);
                if (it == legend.end()) fail(std::string("character '") + ch + "' is not in the legend");
                grid.At(x, y) = std::uint8_t(it->second);
            }
        }
    };
    while (std::getline(in, line)) {
        ++lineNo;
        if (line.empty() || line[0] == '#') continue;
        std::istringstream s(line);
        std::string kind;
        s >> kind;
        if (kind == "legend") {
            std::string ch, name;
            if (!(s >> ch >> name) || ch.size() != 1) fail("expected 'legend <char> <colour>'");
            legend[ch[0]] = name == "clear" ? KeyIndex : palette.Index(name);
            continue;
        }
        Entry e;
        e.kind = kind;
        if (!(s >> e.number)) fail("expected a number after '" + kind + "'");
        if (kind == "mirror" || kind == "copy") {
            if (!(s >> e.from)) fail("expected '" + kind + " <number> <from>'");
        } else if (kind == "glyph") {
            e.grid = Grid(8, 8);
        } else if (kind == "cell" || kind == "sprite") {
            e.grid = Grid(16, 16);
        } else if (kind == "block" || kind == "picture") {
            int w, h;
            if (!(s >> w >> h) || w < 1 || h < 1) fail("expected '" + kind + " <number> <w> <h>'");
            e.grid = kind == "block" ? Grid(w * 16, h * 16) : Grid(w, h);
        } else {
            fail("unknown directive '" + kind + "'");
        }
        std::getline(s >> std::ws, e.name);
        if (e.from < 0) readRows(e.grid, kind == "glyph");
        entries.push_back(std::move(e));
    }
    return entries;
}

}  // namespace art
