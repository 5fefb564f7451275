// The review sheet: every picture of the game on one page, enlarged, so that
// a change can be judged at a glance (build/art-review.png, target art-review).

#include <algorithm>
#include <string>

#include "tools/art/studio.h"

namespace art {

namespace {

constexpr int Zoom = 4, Margin = 16;
constexpr int Width = 2 * Margin + 16 * (16 * Zoom + 4);

// Transparent pixels show as a grey checker, so dark outlines stay visible.
void Checker(Grid& g, const Studio& s, int x, int y, int w, int h)
{
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) FillRect(g, x + i, y + j, 1, 1, ((i / 8 + j / 8) & 1) ? s("stone") : s("ash"));
}

class Page {
public:
    explicit Page(const Studio& s) : s_(s), g_(Width, 4000, s("night")) {}

    void Title(const std::string& text)
    {
        s_.latin.Draw(g_, Margin, y_, Utf32(text), s_("white"), 2, s_("indigo"));
        y_ += 30;
    }
    void Heading(const std::string& text)
    {
        s_.latin.Draw(g_, Margin, y_, Utf32(text), s_("yellow"));
        y_ += 14;
    }
    // A row of pictures, each enlarged with its label underneath.
    void Row(const std::vector<std::pair<Grid, std::string>>& items, bool checker)
    {
        int x = Margin, tallest = 0;
        for (const auto& [picture, label] : items) {
            tallest = std::max(tallest, picture.height * Zoom);
            if (checker) Checker(g_, s_, x, y_, picture.width * Zoom, picture.height * Zoom);
            Stamp(g_, picture, x, y_, Zoom);
            s_.latin.Draw(g_, x, y_ + picture.height * Zoom + 2, Utf32(label), s_("silver"));
            x += picture.width * Zoom + 4;
        }
        y_ += tallest + 14;
    }
    void Skip(int pixels) { y_ += pixels; }
    int Y() const { return y_; }
    Grid& Canvas() { return g_; }
    Grid Finish()
    {
        if (y_ + Margin > g_.height) throw SourceError("the review sheet outgrew its page");
        return g_.Crop(0, 0, Width, y_ + Margin);
    }

private:
    const Studio& s_;
    Grid g_;
    int y_ = Margin;
};

// A character drawn with an overlay sprite at a given offset, on open cave.
Grid WithOverlay(const Studio& s, int character, int overlay, int dy)
{
    Grid g(16, 32, s("black"));
    Stamp(g, s.Sprite(character), 0, 16);
    Stamp(g, s.Sprite(overlay), 0, 16 + dy);
    return g;
}

// A small cave as the play view draws it: cells, then the sprites over them.
// Shows the rocks tiling as large areas and everything at its size in play.
Grid SampleCave(const Studio& s)
{
    const char* map[] = {
        "bbbbbbbbbbbbbbbbb",
        "baaaaaa..aaaaaabb",
        "ba.c....~...z..ab",
        "b..c....aa..z..Xb",
        "b..c.d.q.a..z.aab",
        "ba.c.d{{{{{.z...b",
        "baaaaad.,}..aaaab",
        "bbaaaad.e..t.aabb",
        "bbbaaaaaaaaaaabbb",
        "bbbbbbbbbbbbbbbbb",
    };
    const std::string codes = ".abcde..........pqrstu....z{,}~X";
    Grid g(16 * 17, 16 * 10);
    for (int row = 0; row < 10; ++row)
        for (int col = 0; col < 17; ++col) g.Paste(s.Cell(64 + int(codes.find(map[row][col]))), 16 * col, 16 * row);
    const std::pair<int, Point> sprites[] = {
        {0, {112, 96}},  {50, {128, 80}}, {20, {48, 64}},  {36, {192, 48}},
        {84, {160, 32}}, {80, {224, 64}},
    };
    for (const auto& [index, at] : sprites) Stamp(g, s.Sprite(index), int(at.x), int(at.y));
    return g;
}

}  // namespace

Grid PaintReviewSheet(const Studio& s, const Grid& icon)
{
    Page page(s);
    page.Title("Korvane Burrowkin: the pictures");

    page.Heading("Tile sheet: font cells 0 to 63, map tiles 64 to 111 (tile t is cell t + 64)");
    for (int row = 0; row < 7; ++row) {
        std::vector<std::pair<Grid, std::string>> items;
        for (int c = 16 * row; c < 16 * row + 16; ++c) items.push_back({s.Cell(c), std::to_string(c)});
        page.Row(items, false);
    }

    page.Heading("Sprites 0 to 95");
    for (int row = 0; row < 6; ++row) {
        std::vector<std::pair<Grid, std::string>> items;
        for (int i = 16 * row; i < 16 * row + 16; ++i) items.push_back({s.Sprite(i), std::to_string(i)});
        page.Row(items, true);
    }

    page.Heading("Each character in play order: walk right, walk left, in the air, climbing, action");
    const int order[] = {0, 1, 2, 1, 8, 9, 10, 9, 3, 11, 4, 5, 4, 5, 6, 7};
    for (int v = 0; v < 3; ++v) {
        std::vector<std::pair<Grid, std::string>> items;
        for (int pose : order) {
            Grid cell(16, 16, s("black"));
            Stamp(cell, s.Sprite(16 * v + pose), 0, 0);
            items.push_back({cell, std::to_string(16 * v + pose)});
        }
        page.Row(items, false);
    }

    page.Heading("In use: the explosion reassembled, parachute, bird, jet boots, the frame over an item, ghost, a logo of band pieces");
    Grid boom(64, 64, s("black"));
    for (int i = 0; i < 16; ++i) Stamp(boom, s.Sprite(64 + i), 16 * (i % 4), 16 * (i / 4));
    Grid framed = s.Cell(80);
    Stamp(framed, s.Sprite(83), 0, 0);
    Grid jet(16, 16, s("black"));
    Stamp(jet, s.Sprite(35), 0, 0);
    Stamp(jet, s.Sprite(89), 0, 0);
    Grid ghosts(48, 16, s("black"));
    Stamp(ghosts, s.Sprite(84), 0, 0);
    Stamp(ghosts, s.Sprite(85), 16, 0);
    Stamp(ghosts, s.Sprite(86), 32, 0);
    const char* logo[] = {"jgkh jgk jgk h h", "h hh h h h h h h", "jgim igm h h h h", "h hh h k lgm lgm"};
    Grid band(16 * 16, 64, s("black"));
    for (int r = 0; r < 4; ++r)
        for (int c = 0; logo[r][c]; ++c)
            if (logo[r][c] != ' ') Stamp(band, s.Cell(71 + logo[r][c] - 'g'), 16 * c, 16 * r);
    page.Row({{boom, "64-79"},
              {WithOverlay(s, 3, 82, -16), "82"},
              {WithOverlay(s, 19, 91, -16), "91"},
              {WithOverlay(s, 27, 93, -16), "93"},
              {jet, "89"},
              {framed, "83"},
              {ghosts, "84 85 86"}},
             false);
    Stamp(page.Canvas(), band, Margin, page.Y(), 2);
    page.Skip(band.height * 2 + 12);

    page.Heading("A cave as the game draws it, twice enlarged");
    Grid cave = SampleCave(s);
    Stamp(page.Canvas(), cave, Margin, page.Y(), 2);
    page.Skip(cave.height * 2 + 12);

    page.Heading("Endings 0, 1, 2 and the icon");
    int x = Margin;
    for (int v = 0; v < 3; ++v, x += 272 + 8) Stamp(page.Canvas(), PaintEnding(v, s), x, page.Y());
    Checker(page.Canvas(), s, x, page.Y(), icon.width * Zoom, icon.height * Zoom);
    Stamp(page.Canvas(), icon, x, page.Y(), Zoom);
    Stamp(page.Canvas(), icon, x, page.Y() + icon.height * Zoom + 8);
    page.Skip(272);
    return page.Finish();
}

}  // namespace art
