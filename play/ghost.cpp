#include "play/ghost.h"

#include <cmath>
#include <cstdlib>

#include "cave/random.h"
#include "gfx/draw.h"
#include "play/actions.h"
#include "play/bearing.h"
#include "play/game.h"
#include "play/view.h"

namespace {

constexpr int SpawnPeriod = 600;
constexpr int SpawnPhase = 590;
constexpr long double SpawnDistance = 300.0L;
constexpr int Reach = 5;       // contact when both axes are closer than this
constexpr int GhostSprite = 84, FadingGhostSprite = 85;

// One pixel or two toward the character, when not already level with it.
void Chase(std::int32_t& ghost, std::int32_t player, std::uint32_t& random)
{
    if (ghost < player) ghost += 1 + std::int32_t(RandomBelow(random, 2));
    else if (ghost > player) ghost -= 1 + std::int32_t(RandomBelow(random, 2));
}

}  // namespace

void GhostStep(Game& g)
{
    GameState& s = g.state;
    if (s.GhostTimer == 0) {
        if (s.FrameIndex % SpawnPeriod == SpawnPhase) {
            s.GhostTimer = GhostActive;
            // The draw is taken as an angle in radians, not in bearing units.
            const long double r = RandomBelow(s.RandomState, 512);
            s.GhostX = s.PlayerX + Nearest(std::cos(r) * SpawnDistance);
            s.GhostY = s.PlayerY + Nearest(std::sin(r) * SpawnDistance);
        }
        return;
    }
    if (s.GhostTimer < GhostActive) s.GhostTimer -= 1;
    if (std::abs(s.PlayerX - s.GhostX) < Reach && std::abs(s.PlayerY - s.GhostY) < Reach && s.DeathTimer == 0) {
        s.DeathTimer = 1;
        s.GhostTimer = 0;
        if (s.Action == ActionWand || s.Action == ActionPistol) s.Action = ActionNone;
    }
    Chase(s.GhostX, s.PlayerX, s.RandomState);
    Chase(s.GhostY, s.PlayerY, s.RandomState);
}

void DrawGhost(Game& g)
{
    const GameState& s = g.state;
    if (s.GhostTimer == 0) return;
    const std::int32_t dx = s.GhostX - s.PlayerX, dy = s.GhostY - s.PlayerY;
    const bool inView = InView(dx, dy);
    const int side = s.PlayerX > s.GhostX ? 2 : 0;  // facing left when it is left of the character

    if (inView) {
        const int sprite = (s.GhostTimer == GhostActive ? GhostSprite : FadingGhostSprite) + side;
        DrawSprite(g.art, g.ViewBitmap, dx + ViewCentre, dy + ViewCentre, sprite);
    } else if (s.GhostTimer == GhostActive && s.BlinkPhase == 0) {
        const ViewPoint edge = TowardAtTheEdge(g, s.GhostX, s.GhostY);
        DrawSprite(g.art, g.ViewBitmap, edge.x, edge.y, GhostSprite + side);
    }
}
