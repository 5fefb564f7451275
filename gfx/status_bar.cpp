#include "gfx/status_bar.h"

#include <string>

#include "cave/cave_map.h"
#include "gfx/draw.h"

namespace {

std::string TwoDigits(int n) { return n < 10 ? "0" + std::to_string(n) : std::to_string(n); }

// Text code of a tile's picture: the sheet holds tile t at code t + 96.
char PictureOf(int tile) { return char(tile + 96); }

constexpr int SlotColumn = 11;
constexpr int SelectionFrame = 83;

}  // namespace

void DrawStatusBar(const Assets& art, Surface& status, const GameState& s)
{
    // Without pictures (a headless game) there is nothing to draw with.
    if (art.Sheet(status.Format()).Height() == 0) return;
    const std::string score = std::to_string(s.Score);
    DrawTileText(art, status, 5 - int(score.size()), 0, score);

    DrawTileText(art, status, 0, 1, "w" + TwoDigits(s.PlaySeconds / 60) + ":" + TwoDigits(s.PlaySeconds % 60));
    DrawTileText(art, status, 7, 1, "x" + std::to_string(s.Misses));
    // The blank after the fps label covers what a two-digit rate left.
    DrawTileText(art, status, 7, 0, std::to_string(s.FrameRate) + "y ");

    if (s.Variant == 1) {
        // The wand's count is never shown; its column keeps whatever it holds.
        for (int i = 1; i < 6; ++i) DrawTileText(art, status, SlotColumn + i, 1, std::string(1, char(s.Inventory[i] + '0')));
        const char pictures[] = {PictureOf(Wand), PictureOf(Bomb), PictureOf(Rope), PictureOf(Pickaxe),
                                 PictureOf(Compass), PictureOf(Bird)};
        DrawTileText(art, status, SlotColumn, 0, std::string_view(pictures, 6));
    } else {
        for (int i = 0; i < 6; ++i) {
            DrawTileText(art, status, SlotColumn + i, 1, std::string(1, char(s.Inventory[i] + '0')));
            DrawTileText(art, status, SlotColumn + i, 0, std::string(1, PictureOf(ItemsOf(s.Variant)[i])));
        }
    }
    DrawSprite(art, status, 16 * (s.SelectedSlot + SlotColumn), 0, SelectionFrame);
}
