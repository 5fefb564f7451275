#include "play/view.h"

#include <cmath>

#include "gfx/draw.h"
#include "play/actions.h"
#include "play/bearing.h"
#include "play/game.h"
#include "play/ghost.h"
#include "play/tick_probe.h"

namespace {

constexpr int Centre = ViewCentre;

// Sprite numbers of the overlays.
constexpr int ArrowSprites = 48, ExplosionSprites = 64, LitBomb = 80, OpenParachute = 82, JetBoots = 88, BirdSprites = 90;

bool Near(std::int32_t offset) { return offset >= -143 && offset <= 143; }

void DrawCave(Game& g)
{
    const GameState& s = g.state;
    const int column = s.PlayerX / CellSize, row = s.PlayerY / CellSize;
    const int shiftX = s.PlayerX % CellSize, shiftY = s.PlayerY % CellSize;
    for (int i = -8; i <= 9; ++i)
        for (int j = -8; j <= 9; ++j)
            DrawCell(g.art, g.ViewBitmap, j * 16 + Centre - shiftX, i * 16 + Centre - shiftY,
                     64 + CellAt(g.map, column + j, row + i) % TileCodeCount);
}

void DrawBomb(Game& g)
{
    const GameState& s = g.state;
    const std::int32_t ox = s.ToolX * CellSize - s.PlayerX, oy = s.ToolY * CellSize - s.PlayerY;
    if (s.ActionTimer > BlastTicks) {
        if (Near(ox) && Near(oy)) DrawSprite(g.art, g.ViewBitmap, ox + Centre, oy + Centre, LitBomb + s.BlinkPhase);
        return;
    }
    // The explosion: 64 by 64 pixels around the middle of the bomb's cell, in 16 pieces.
    for (int i = 0; i < 16; ++i) {
        const std::int32_t px = ox + (i % 4) * 16 - 24, py = oy + (i / 4) * 16 - 24;
        if (Near(px) && Near(py)) DrawSprite(g.art, g.ViewBitmap, px + Centre, py + Centre, ExplosionSprites + i);
    }
}

void DrawCompassArrow(Game& g)
{
    const GameState& s = g.state;
    // The arrow of the sixteenth of a turn, counted clockwise from up, that holds the bearing.
    const int arrow = ArrowSprites + ((s.ToolX + 128) % 512) / 32;
    const long double angle = s.ToolX * BearingStep;
    DrawSprite(g.art, g.ViewBitmap, Centre + Nearest(std::cos(angle) * s.ActionTimer),
               Centre + Nearest(std::sin(angle) * s.ActionTimer), arrow);
}

}  // namespace

void DrawActionOverlay(Game& g, const TickProbe& t)
{
    const GameState& s = g.state;
    const int flap = JetFrames[2 * t.Thrusting + s.BlinkPhase];
    switch (s.Action) {
    case ActionBomb: DrawBomb(g); break;
    case ActionRope:
    case ActionPickaxe:
    case ActionDrill: {
        const Step d = StepVectors[s.ActionTimer & 3];
        DrawSprite(g.art, g.ViewBitmap, Centre + 16 * d.dx, Centre + 16 * d.dy, ArrowSprites + 4 * (s.ActionTimer & 3));
        break;
    }
    case ActionCompass: DrawCompassArrow(g); break;
    case ActionParachute: DrawSprite(g.art, g.ViewBitmap, Centre, Centre - 16, OpenParachute); break;
    case ActionBird: DrawSprite(g.art, g.ViewBitmap, Centre, Centre - 16, BirdSprites + flap + s.Facing / 4); break;
    case ActionJet: DrawSprite(g.art, g.ViewBitmap, Centre, Centre, JetBoots + flap); break;
    default: break;
    }
}

void DrawPlayView(Game& g, const TickProbe& t)
{
    // A game without pictures (the simulator's, the tests') has nothing to draw.
    if (g.art.Sheet(g.ViewBitmap.Format()).Height() == 0) return;
    const GameState& s = g.state;
    DrawCave(g);
    if (s.DeathTimer % 2 == 0) DrawSprite(g.art, g.ViewBitmap, Centre, Centre, t.Pose + s.Facing + s.Variant * 16);
    DrawActionOverlay(g, t);
    DrawGhost(g);
    if (s.DemoMode) DrawTileText(g.art, g.ViewBitmap, 2, 15, "DEMONSTRATION");
}

ViewPoint TowardAtTheEdge(const Game& g, std::int32_t x, std::int32_t y)
{
    const int b = BearingTo(g.state.PlayerX, g.state.PlayerY, x, y);
    const long double edge = g.trig.EdgeDistance[b];
    return {ViewCentre + Nearest(g.trig.CosTable[b] * edge), ViewCentre + Nearest(g.trig.SinTable[b] * edge)};
}
