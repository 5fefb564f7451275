#include "play/actions.h"
#include "play/bearing.h"
#include "play/game.h"
#include "play/tick_probe.h"

namespace {

// The direction choice of the rope, the pickaxe and the drill starts where the
// character faces: 1 right, 3 left.
std::int32_t FacingDirection(const GameState& s) { return s.Facing / 4 + 1; }

void Start(GameState& s, ActionId action, std::int32_t timer)
{
    s.Action = action;
    s.ActionTimer = timer;
}

}  // namespace

void SelectNextSlot(Game& g)
{
    GameState& s = g.state;
    if (!Pressed(s, ButtonSelect)) return;
    s.SelectedSlot = std::uint8_t((s.SelectedSlot + 1) % 6);
    DrawStatusBar(g);
}

void UseItem(Game& g, const TickProbe& t)
{
    GameState& s = g.state;
    if (!Pressed(s, ButtonUse) || s.SelectedSlot > 5 || s.Inventory[s.SelectedSlot] == 0) return;
    bool spentNow = false;
    switch (ItemsOf(s.Variant)[s.SelectedSlot]) {
    case Bomb:
        Start(s, ActionBomb, FuseTicks);
        s.ToolX = BombCell(s).column;
        s.ToolY = BombCell(s).row;
        spentNow = true;
        break;
    case Rope: Start(s, ActionRope, FacingDirection(s)); break;
    case Pickaxe: Start(s, ActionPickaxe, FacingDirection(s)); break;
    case Potion:
        Start(s, ActionPotion, PotionTicks);
        spentNow = true;
        break;
    case Compass:
        Start(s, ActionCompass, 0);
        s.ToolX = BearingTo(s.PlayerX, s.PlayerY, s.GoalX, s.GoalY);
        break;
    case Parachute:
        Start(s, ActionParachute, 1);
        spentNow = true;
        break;
    case Wand:
        // Never used up: a count above 0 only lets the character swing it.
        if (t.Standing) Start(s, ActionWand, WandTicks);
        break;
    case Bird:
        Start(s, ActionBird, 1);
        spentNow = true;
        break;
    case Pistol:
        if (!t.Standing) return;
        Start(s, ActionPistol, PistolTicks);
        spentNow = true;
        break;
    case Drill: Start(s, ActionDrill, FacingDirection(s)); break;
    case Jet:
        Start(s, ActionJet, 1);
        spentNow = true;
        break;
    default: break;
    }
    if (spentNow) {
        s.Inventory[s.SelectedSlot] -= 1;
        DrawStatusBar(g);
    }
}

void FinishAction(Game& g)
{
    GameState& s = g.state;
    if (s.SelectedSlot <= 5 && s.Inventory[s.SelectedSlot] > 0) s.Inventory[s.SelectedSlot] -= 1;
    s.Action = ActionNone;
    DrawStatusBar(g);
}
