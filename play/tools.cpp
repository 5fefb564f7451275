// The rope, the pickaxe and the drill: the character stands still while the
// player points the tool with the arrows; Use carries it out, Select cancels.

#include "play/actions.h"
#include "play/game.h"
#include "play/tick_probe.h"

namespace {

void ChooseDirection(GameState& s)
{
    const auto& in = s.InputNow;
    if (in[InputUp]) s.ActionTimer = 0;
    if (in[InputDown] && s.Action != ActionRope) s.ActionTimer = 2;  // no rope is laid downward
    if (in[InputLeft]) s.ActionTimer = 3;
    if (in[InputRight]) s.ActionTimer = 1;
}

// From the character's own cell when it is empty, else from the next one,
// through open cells up to the first that is not open.
void LayRope(Game& g, const TickProbe& t, Step d)
{
    GameState& s = g.state;
    const int first = CellAt(g.map, t.BodyCol, t.HeadRow) == TileEmpty ? 0 : 1;
    int k = first;
    while (k < 256 && ClassAt(g.map, t.BodyCol + d.dx * k, t.HeadRow + d.dy * k) == ClassOpen) ++k;
    if (k > RopeRun) {
        s.Action = ActionNone;
        return;
    }
    const auto tile = std::uint8_t(TileBuiltRope + s.ActionTimer % 2);  // upward a rope, sideways a bar
    for (int i = first; i < k; ++i) g.map[t.BodyCol + d.dx * i][t.HeadRow + d.dy * i] = tile;
    FinishAction(g);
}

void Dig(Game& g, const TickProbe& t, Step d, bool wholeRun)
{
    const int length = DigLength(g.map, t, d, wholeRun);
    if (length == 0) {
        g.state.Action = ActionNone;
        return;
    }
    for (int k = 1; k <= length; ++k) g.map[t.BodyCol + d.dx * k][t.KneeRow + d.dy * k] = TileEmpty;
    FinishAction(g);
}

}  // namespace

int DigLength(const CaveMap& map, const TickProbe& t, Step d, bool wholeRun)
{
    int length = 0;
    while ((wholeRun || length == 0) &&
           CellAt(map, t.BodyCol + d.dx * (length + 1), t.KneeRow + d.dy * (length + 1)) == TileDiggable)
        ++length;
    return length;
}

void DirectionBranch(Game& g, const TickProbe& t)
{
    GameState& s = g.state;
    ChooseDirection(s);
    if (Pressed(s, ButtonSelect)) s.Action = ActionNone;
    if (!Pressed(s, ButtonUse)) return;
    const Step d = StepVectors[s.ActionTimer & 3];
    switch (s.Action) {
    case ActionRope: LayRope(g, t, d); break;
    case ActionPickaxe: Dig(g, t, d, false); break;
    case ActionDrill: Dig(g, t, d, true); break;
    default: break;
    }
}
