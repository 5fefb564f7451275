#include "play/pickup.h"

#include "play/game.h"
#include "play/tick_probe.h"

void PickUp(Game& g, const TickProbe& t)
{
    if (t.SubX == 8) return;
    GameState& s = g.state;
    if (!InsideMap(t.BodyCol, t.BodyRow)) return;
    std::uint8_t& cell = g.map[t.BodyCol][t.BodyRow];
    const std::uint8_t tile = cell;
    if (!Collectable(tile)) return;

    if ((tile >= Bomb && tile <= Parachute) || (tile >= Wand && tile <= Jet)) {
        const int slot = SlotOf(s.Variant, tile);
        if (slot >= 0 && s.Inventory[slot] < MaxCount) s.Inventory[slot] += 1;
        s.Score += ItemPoints;  // also when the slot is full
    } else if (tile == TileCoin) {
        s.Score += 10;
    } else if (tile == TileMoneyBag) {
        s.Score += 100;
    } else if (tile == TileDiamond) {
        s.Score += 1000;
    } else if (tile == TileGoal) {
        if (s.DemoMode) {
            s.TitleTicks = 0;
            s.Screen = ScreenTitle;
        } else {
            s.Screen = ScreenEnding;
        }
    }
    DrawStatusBar(g);
    cell = TileEmpty;
}
