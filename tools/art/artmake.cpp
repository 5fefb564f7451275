// artmake: turns the text sources in assets/art into the game's PNG files.
//
//   artmake <source dir> <output dir>
//
// Every picture that has no source yet is drawn as a plain provisional
// placeholder, so the game always has a complete set of files.

#include <QColor>
#include <QImage>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <set>

#include "tools/art/art_source.h"

namespace fs = std::filesystem;
using namespace art;

namespace {

constexpr int SheetCells = 112, SpriteCount = 96, EndingSize = 272;

QImage ToImage(const Grid& g, const Palette& pal)
{
    QImage img(g.width, g.height, QImage::Format_Indexed8);
    QList<QRgb> table(256);
    for (int i = 0; i < 256; ++i) table[i] = 0xff000000u | pal.rgb[i];
    img.setColorTable(table);
    for (int y = 0; y < g.height; ++y) {
        uchar* row = img.scanLine(y);
        for (int x = 0; x < g.width; ++x) row[x] = g.At(x, y);
    }
    return img;
}

void Save(const Grid& g, const Palette& pal, const fs::path& path)
{
    if (!ToImage(g, pal).save(QString::fromStdString(path.string()), "PNG"))
        throw SourceError("cannot write " + path.string());
}

std::vector<Entry> ReadIfPresent(const fs::path& path, const Palette& pal)
{
    return fs::exists(path) ? ReadSource(path.string(), pal) : std::vector<Entry>{};
}

// Placeholders: a framed square with a cross, coloured by what the tile is.
Grid ProvisionalCell(int cell, const Palette& pal)
{
    Grid g(16, 16, std::uint8_t(pal.Index("black")));
    if (cell >= 102 && cell <= 106) return g;
    int colour = pal.Index(cell < 67 ? "clay" : cell < 80 ? "blue" : cell < 92 ? "green" : "yellow");
    for (int i = 1; i < 15; ++i) {
        g.At(i, 1) = g.At(i, 14) = g.At(1, i) = g.At(14, i) = std::uint8_t(colour);
        g.At(i, i) = g.At(15 - i, i) = std::uint8_t(pal.Index("grey"));
    }
    return g;
}

Grid ProvisionalSprite(int index, const Palette& pal)
{
    Grid g(16, 16, KeyIndex);
    auto fill = [&](int x0, int y0, int x1, int y1, const char* colour) {
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) g.At(x, y) = std::uint8_t(pal.Index(colour));
    };
    if (index < 48) {
        int variant = index / 16, pose = index % 8;
        if (variant == 0 && pose == 6) { fill(0, 0, 15, 15, "grey"); return g; }
        if (variant == 0 && pose == 7) return g;
        const char* body = variant == 0 ? "orange" : variant == 1 ? "pink" : "teal";
        fill(5, 1, 10, 6, "skin");
        fill(4, 7, 11, 12, body);
        fill(4 + (pose % 3), 13, 5 + (pose % 3), 15, "umber");
        fill(10 - (pose % 3), 13, 11 - (pose % 3), 15, "umber");
        fill(9, 3, 9, 3, "black");
        return index % 16 >= 8 ? g.Mirrored() : g;
    }
    if (index < 64) {  // arrow k points k * 22.5 degrees clockwise from up
        double a = (index - 48) * M_PI / 8;
        for (double t = -6.5; t <= 6.5; t += 0.25) {
            int x = int(std::lround(7.5 + std::sin(a) * t)), y = int(std::lround(7.5 - std::cos(a) * t));
            fill(x, y, x, y, "white");
        }
        for (double s = -3; s <= 3; s += 0.25) {
            double hx = 7.5 + std::sin(a) * 6.5 - std::sin(a) * 3 + std::cos(a) * s * 0.9;
            double hy = 7.5 - std::cos(a) * 6.5 + std::cos(a) * 3 + std::sin(a) * s * 0.9;
            double tx = 7.5 + std::sin(a) * 6.5, ty = 7.5 - std::cos(a) * 6.5;
            for (double u = 0; u <= 1; u += 0.1) {
                int x = int(std::lround(hx + (tx - hx) * u)), y = int(std::lround(hy + (ty - hy) * u));
                if (x >= 0 && x < 16 && y >= 0 && y < 16) fill(x, y, x, y, "white");
            }
        }
        return g;
    }
    if (index < 80) {  // one piece of a disc 64 pixels across
        int piece = index - 64, ox = (piece % 4) * 16, oy = (piece / 4) * 16;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                double dx = ox + x + 0.5 - 32, dy = oy + y + 0.5 - 32, r = std::sqrt(dx * dx + dy * dy);
                if (r < 31) g.At(x, y) = std::uint8_t(pal.Index(r < 14 ? "yellow" : r < 24 ? "orange" : "red"));
            }
        return g;
    }
    if (index == 83) {  // the selection frame: transparent inside
        fill(0, 0, 15, 0, "blue"); fill(0, 15, 15, 15, "blue");
        fill(0, 0, 0, 15, "blue"); fill(15, 0, 15, 15, "blue");
        return g;
    }
    if (index >= 94) return g;
    fill(4, 4, 11, 11, index < 84 ? "stone" : index < 88 ? "ice" : "cyan");
    return g;
}

Grid ProvisionalEnding(int variant, const Palette& pal, const Grid& sheet)
{
    Grid g(EndingSize, EndingSize, std::uint8_t(pal.Index(variant == 0 ? "indigo" : variant == 1 ? "plum" : "ocean")));
    const char* text = "THE END";
    for (int k = 0; text[k]; ++k) g.Paste(sheet.Crop(((text[k] - 32) % 16) * 16, ((text[k] - 32) / 16) * 16, 16, 16), 80 + 16 * k, 128);
    return g;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: artmake <source dir> <output dir>\n");
        return 2;
    }
    fs::path src = argv[1], out = argv[2];
    try {
        Palette pal = ReadPalette((src / "palette.txt").string());
        fs::create_directories(out);

        Grid sheet(256, 112);
        std::set<int> drawn;
        for (const auto& file : {"font.txt", "tiles.txt"})
            for (const Entry& e : ReadIfPresent(src / file, pal)) {
                int cell = e.kind == "glyph" ? e.number - 32 : e.number;
                if ((e.kind != "glyph" && e.kind != "cell") || cell < 0 || cell >= SheetCells)
                    throw SourceError(std::string(file) + ": '" + e.kind + " " + std::to_string(e.number) + "' is no sheet cell");
                sheet.Paste(e.kind == "glyph" ? e.grid.Scale2x() : e.grid, (cell % 16) * 16, (cell / 16) * 16);
                drawn.insert(cell);
            }
        for (int cell = 0; cell < SheetCells; ++cell)
            if (!drawn.count(cell)) sheet.Paste(ProvisionalCell(cell, pal), (cell % 16) * 16, (cell / 16) * 16);
        Save(sheet, pal, out / "tilesheet.png");

        std::array<Grid, SpriteCount> sprites;
        std::set<int> made;
        auto put = [&](int index, Grid g) {
            if (index < 0 || index >= SpriteCount) throw SourceError("sprite " + std::to_string(index) + " is out of range");
            sprites[index] = std::move(g);
            made.insert(index);
        };
        for (const Entry& e : ReadIfPresent(src / "sprites.txt", pal)) {
            if (e.kind == "sprite") put(e.number, e.grid);
            else if (e.kind == "block")
                for (int j = 0; j < e.grid.height / 16; ++j)
                    for (int i = 0; i < e.grid.width / 16; ++i) put(e.number + j * (e.grid.width / 16) + i, e.grid.Crop(i * 16, j * 16, 16, 16));
            else if (e.kind == "mirror" || e.kind == "copy") {
                if (!made.count(e.from)) throw SourceError(e.kind + " of sprite " + std::to_string(e.from) + ", which is not drawn above it");
                put(e.number, e.kind == "mirror" ? sprites[e.from].Mirrored() : sprites[e.from]);
            } else throw SourceError("sprites.txt: '" + e.kind + "' is no sprite directive");
        }
        Grid sheetOfSprites(256, 96, KeyIndex);
        for (int i = 0; i < SpriteCount; ++i)
            sheetOfSprites.Paste(made.count(i) ? sprites[i] : ProvisionalSprite(i, pal), (i % 16) * 16, (i / 16) * 16);
        Save(sheetOfSprites, pal, out / "sprites.png");

        for (int v = 0; v < 3; ++v) {
            std::string name = "ending" + std::to_string(v);
            auto entries = ReadIfPresent(src / (name + ".txt"), pal);
            Grid picture = entries.empty() ? ProvisionalEnding(v, pal, sheet) : entries.front().grid;
            if (picture.width != EndingSize || picture.height != EndingSize) throw SourceError(name + " must be 272 by 272");
            Save(picture, pal, out / (name + ".png"));
        }
    } catch (const SourceError& e) {
        std::fprintf(stderr, "artmake: %s\n", e.what());
        return 1;
    }
    return 0;
}
