#include "screens/ending.h"

#include <string>

#include "gfx/draw.h"
#include "play/game.h"
#include "screens/title.h"

namespace {

// The sequence as framed arrows: tile font codes 139 to 142.
std::string Arrows(std::string_view sequence)
{
    std::string arrows;
    for (char letter : sequence) {
        switch (letter) {
        case 'q': arrows += '\x8b'; break;  // up
        case 'w': arrows += '\x8c'; break;  // down
        case 'e': arrows += '\x8d'; break;  // left
        case 'r': arrows += '\x8e'; break;  // right
        }
    }
    return arrows;
}

}  // namespace

void EndingStep(Game& g)
{
    GameState& s = g.state;
    const int variant = s.Variant <= 2 ? s.Variant : 0;
    DrawPicture(g.art.Ending(variant, g.ViewBitmap.Format()), g.ViewBitmap);

    if (s.CaveWidth > 215 && s.CaveHeight > 215 && !s.Beginner) {
        if (variant == 0) {
            DrawTileText(g.art, g.ViewBitmap, 0, 15, "LUMIBUR COMMAND:");
            DrawTileText(g.art, g.ViewBitmap, 0, 16, Arrows(Variant1Sequence));
        } else if (variant == 1) {
            DrawTileText(g.art, g.ViewBitmap, 0, 15, "TESSBUR COMMAND:");
            DrawTileText(g.art, g.ViewBitmap, 0, 16, Arrows(Variant2Sequence));
        }
    }
    if (Pressed(s, ButtonSelect) || Pressed(s, ButtonUse)) {
        s.TitleTicks = 0;
        s.Screen = ScreenTitle;
    }
}
