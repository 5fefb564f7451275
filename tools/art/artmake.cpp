// artmake: draws the game's pictures from their sources in assets/art.
//
//   artmake <source dir> <output dir>         the PNG files of assets/
//   artmake --review <source dir> <out.png>   one sheet of everything, enlarged
//
// Sources: palette.txt (the one palette), font.txt (sheet cells 0..63),
// tiles.txt (cells 64..111), sprites.txt (sprites 0..95), figures.txt and the
// caption fonts (the ending pictures, painted in endings.cpp), icon.txt.
// Every output is an 8-bit palette PNG with that palette; the same sources
// always give the same bytes.

#include <QImage>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>

#include "tools/art/studio.h"

namespace fs = std::filesystem;
using namespace art;

namespace {

constexpr int SheetCells = 112, SpriteCount = 96, IconSize = 32, BigIconSize = 256;

// `clearKey`: the key index becomes see-through (the icons only; the game's
// own files keep it opaque and cut sprites out by index).
void Save(const Grid& g, const Palette& pal, const fs::path& path, bool clearKey = false)
{
    QImage img(g.width, g.height, QImage::Format_Indexed8);
    QList<QRgb> table(256);
    for (int i = 0; i < 256; ++i) table[i] = 0xff000000u | pal.rgb[i];
    if (clearKey) table[KeyIndex] &= 0x00ffffffu;
    img.setColorTable(table);
    for (int y = 0; y < g.height; ++y) std::memcpy(img.scanLine(y), &g.px[std::size_t(y) * g.width], g.width);
    if (!img.save(QString::fromStdString(path.string()), "PNG")) throw SourceError("cannot write " + path.string());
}

std::string Name(const Entry& e) { return e.kind + " " + std::to_string(e.number); }

// Cells 0..63 from the 8 by 8 glyphs of font.txt, doubled; 64..111 from tiles.txt.
Grid DrawSheet(const fs::path& src, const Palette& pal)
{
    Grid sheet(256, 112);
    std::set<int> drawn;
    for (const char* file : {"font.txt", "tiles.txt"})
        for (const Entry& e : ReadSource((src / file).string(), pal)) {
            int cell = e.kind == "glyph" ? e.number - 32 : e.number;
            if ((e.kind != "glyph" && e.kind != "cell") || cell < 0 || cell >= SheetCells)
                throw SourceError(std::string(file) + ": '" + Name(e) + "' is no sheet cell");
            if (!drawn.insert(cell).second) throw SourceError(std::string(file) + ": cell " + std::to_string(cell) + " twice");
            sheet.Paste(e.kind == "glyph" ? e.grid.Scale2x() : e.grid, (cell % 16) * 16, (cell / 16) * 16);
        }
    for (int cell = 0; cell < SheetCells; ++cell)
        if (!drawn.count(cell)) throw SourceError("sheet cell " + std::to_string(cell) + " has no picture");
    return sheet;
}

// Sprites by number, from grids, blocks cut into 16 by 16 pieces, mirrors
// and copies of sprites above them.
Grid DrawSprites(const fs::path& src, const Palette& pal)
{
    std::array<Grid, SpriteCount> sprites;
    std::set<int> made;
    auto put = [&](int index, Grid g) {
        if (index < 0 || index >= SpriteCount) throw SourceError("sprite " + std::to_string(index) + " is out of range");
        if (!made.insert(index).second) throw SourceError("sprite " + std::to_string(index) + " is drawn twice");
        sprites[index] = std::move(g);
    };
    for (const Entry& e : ReadSource((src / "sprites.txt").string(), pal)) {
        if (e.kind == "sprite") {
            put(e.number, e.grid);
        } else if (e.kind == "block") {
            int across = e.grid.width / 16;
            for (int j = 0; j < e.grid.height / 16; ++j)
                for (int i = 0; i < across; ++i) put(e.number + j * across + i, e.grid.Crop(i * 16, j * 16, 16, 16));
        } else if (e.kind == "mirror" || e.kind == "copy") {
            if (!made.count(e.from)) throw SourceError(Name(e) + " repeats sprite " + std::to_string(e.from) + ", which is not drawn above it");
            put(e.number, e.kind == "mirror" ? sprites[e.from].Mirrored() : sprites[e.from]);
        } else {
            throw SourceError("sprites.txt: '" + Name(e) + "' is no sprite directive");
        }
    }
    Grid sheet(256, 96, KeyIndex);
    for (int i = 0; i < SpriteCount; ++i) {
        if (!made.count(i)) throw SourceError("sprite " + std::to_string(i) + " has no picture");
        sheet.Paste(sprites[i], (i % 16) * 16, (i / 16) * 16);
    }
    return sheet;
}

Grid OnePicture(const fs::path& path, const Palette& pal, int width, int height)
{
    auto entries = ReadSource(path.string(), pal);
    if (entries.size() != 1 || entries[0].kind != "picture" || entries[0].grid.width != width || entries[0].grid.height != height)
        throw SourceError(path.string() + " must hold one picture of " + std::to_string(width) + " by " + std::to_string(height));
    return entries[0].grid;
}

Studio OpenStudio(const fs::path& src)
{
    Studio s;
    s.palette = ReadPalette((src / "palette.txt").string());
    if (s.palette.rgb[0] != 0) throw SourceError("palette entry 0 must be black");
    s.sheet = DrawSheet(src, s.palette);
    s.sprites = DrawSprites(src, s.palette);
    for (Entry& e : ReadSource((src / "figures.txt").string(), s.palette)) s.figures[e.number] = std::move(e.grid);
    s.latin = PixelFont(ReadSource((src / "caption_font.txt").string(), s.palette));
    s.japanese = PixelFont(ReadSource((src / "caption_font_ja.txt").string(), s.palette));
    return s;
}

int Usage()
{
    std::fprintf(stderr, "usage: artmake <source dir> <output dir>\n       artmake --review <source dir> <out.png>\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    bool review = argc == 4 && std::strcmp(argv[1], "--review") == 0;
    if (argc != 3 && !review) return Usage();
    fs::path src = argv[review ? 2 : 1], out = argv[review ? 3 : 2];
    try {
        Studio s = OpenStudio(src);
        Grid icon = OnePicture(src / "icon.txt", s.palette, IconSize, IconSize);
        if (review) {
            if (out.has_parent_path()) fs::create_directories(out.parent_path());
            Save(PaintReviewSheet(s, icon), s.palette, out);
            return 0;
        }
        fs::create_directories(out);
        Save(s.sheet, s.palette, out / "tilesheet.png");
        Save(s.sprites, s.palette, out / "sprites.png");
        for (int v = 0; v < 3; ++v) Save(PaintEnding(v, s), s.palette, out / ("ending" + std::to_string(v) + ".png"));
        Save(icon, s.palette, out / "icon.png", true);
        Grid big(BigIconSize, BigIconSize, KeyIndex);
        Stamp(big, icon, 0, 0, BigIconSize / IconSize);
        Save(big, s.palette, out / "icon-256.png", true);
    } catch (const SourceError& e) {
        std::fprintf(stderr, "artmake: %s\n", e.what());
        return 1;
    }
    return 0;
}
