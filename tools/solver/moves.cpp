#include "tools/solver/moves.h"

#include <algorithm>
#include <cstdlib>

#include "play/actions.h"
#include "play/ghost.h"
#include "play/tick_probe.h"

namespace {

constexpr int SettleLimit = 1000;  // ticks of falling: the deepest cave under the parachute
constexpr int BombWaitLimit = 120;
constexpr int RespawnLimit = 100;    // ticks from a death to the character's return
constexpr int GhostWaitLimit = 400;  // ticks for a ghost 300 pixels off to come near
constexpr int JetBrakeSpeed = 6;     // a fall this fast is slowed with the jet
constexpr int CruiseClimb = 6;       // ticks of thrust before a level flight
constexpr int RopeReach = 10;        // cells a rope runs at most

std::uint16_t SideBit(int dir) { return dir < 0 ? BitLeft : BitRight; }
std::uint16_t ArrowBit(int direction)  // StepVectors order: up, right, down, left
{
    static constexpr std::uint16_t Bits[] = {BitUp, BitRight, BitDown, BitLeft};
    return Bits[direction & 3];
}

// From the start of a cell, rock at knee height beside it stops a walk.
bool CanWalk(const Game& g, const TickProbe& t, int dir)
{
    return t.SubX != 0 || ClassAt(g.map, t.BodyCol + dir, t.KneeRow) != ClassSolid;
}

bool Has(const GameState& s, std::uint8_t item)
{
    const int slot = SlotOf(s, item);
    return slot >= 0 && s.Inventory[slot] > 0;
}

bool Standing(const Game& g)
{
    const TickProbe t = ProbeAt(g.state);
    return ClassAt(g.map, t.BodyCol, t.BodyRow + 1) == ClassSolid || ClassAt(g.map, t.BodyCol2, t.BodyRow + 1) == ClassSolid;
}

bool OnClimbable(const Game& g)
{
    const TickProbe t = ProbeAt(g.state);
    return ClassAt(g.map, t.BodyCol, t.BodyRow) == ClassClimbable && t.SubX != 8;
}

bool Hanging(const Game& g)
{
    const TickProbe t = ProbeAt(g.state);
    return ClassAt(g.map, t.BodyCol, t.BodyRow) == ClassHangBar &&
           (t.SubY < 8 || ClassAt(g.map, t.BodyCol, t.BodyRow - 1) == ClassClimbable) && !Standing(g);
}

// Ticks with `word` held until `done` holds (checked before every tick).
// False when the character died or `done` never came.
template <typename Done>
bool HoldUntil(MacroRunner& r, std::uint16_t word, Done done, int limit)
{
    for (int n = 0; n < limit; ++n) {
        if (r.ReachedGoal() || done()) return true;
        if (!r.Tick(word)) return false;
    }
    return r.ReachedGoal() || done();
}

// Under the jet: Up whenever the fall grows fast, so that it never grows fatal.
std::uint16_t Braking(const GameState& s) { return s.Action == ActionJet && s.FallSpeed >= JetBrakeSpeed ? BitUp : 0; }

// A button is only pressed on a tick after one without it.
void ReleaseButtons(MacroRunner& r)
{
    if (r.s.InputNow[ButtonSelect] || r.s.InputNow[ButtonUse]) r.Tick(0);
}

// Selects `slot` and uses its item, the last Select on the same tick as Use.
// Never pressed with an empty slot.
bool UseSlot(MacroRunner& r, int slot)
{
    GameState& s = r.s;
    if (slot < 0 || s.Inventory[slot] == 0) return false;
    ReleaseButtons(r);
    const int presses = (slot - s.SelectedSlot + 6) % 6;
    for (int i = 0; i + 1 < presses; ++i) {
        if (!r.Tick(BitSelect) || !r.Tick(0)) return false;
    }
    return r.Tick(std::uint16_t((presses > 0 ? BitSelect : 0) | BitUse));
}

// Presses Select until `slot` is the one selected.
bool SelectSlot(MacroRunner& r, int slot)
{
    ReleaseButtons(r);
    while (r.s.SelectedSlot != slot)
        if (!r.Tick(BitSelect) || !r.Tick(0)) return false;
    return true;
}

bool TakeOff(MacroRunner& r)
{
    GameState& s = r.s;
    const std::uint8_t item = FlyingItem(s);
    const ActionId action = item == Parachute ? ActionParachute : item == Bird ? ActionBird : ActionJet;
    if (s.Action == action) return true;
    return UseSlot(r, SlotOf(s, item)) && s.Action == action;
}

// A fall that kills is worth the move's first life where the body lies on a
// floor (the character comes back there), over something to pick up, or
// after picking something up on the way down.
bool WorthALife(const MacroRunner& r)
{
    const TickProbe t = ProbeAt(r.s);
    const std::uint8_t here = CellAt(r.game.map, t.BodyCol, t.BodyRow);
    return Standing(r.game) || !r.Changes().empty() || ClassOf(here) == ClassItem || here == TileGoal;
}

// Starts the direction choice of the rope, the pickaxe or the drill, points it
// and carries it out; true when the item was spent.
bool PointTool(MacroRunner& r, std::uint8_t item, ActionId action, int direction)
{
    GameState& s = r.s;
    const int slot = SlotOf(s, item);
    if (slot < 0) return false;
    const int before = s.Inventory[slot];
    if (!UseSlot(r, slot) || s.Action != action) return false;
    if (!r.Tick(ArrowBit(direction))) return false;
    r.Tick(std::uint16_t(ArrowBit(direction) | BitUse));
    return s.Action == ActionNone && s.Inventory[slot] < before;
}

// A rope up (direction 0) or a bar sideways from the character's head.
bool PutRope(MacroRunner& r, int direction)
{
    const TickProbe t = ProbeAt(r.s);
    r.Watch(t.BodyCol, t.HeadRow, RopeReach + 1);
    return PointTool(r, Rope, ActionRope, direction);
}

// Whether the rope must be chosen now to catch the fall: the tick of Use must
// still leave the speed below the fatal one, and from then on the character
// hangs still in the air until the rope is laid.
bool RopeDue(const GameState& s)
{
    const int slot = SlotOf(s, Rope);
    const int presses = (slot - s.SelectedSlot + 6) % 6;
    const int release = s.InputNow[ButtonSelect] || s.InputNow[ButtonUse] ? 1 : 0;
    const int useTicks = release + (presses > 0 ? 2 * presses - 1 : 1);
    const int safeTicks = (s.SpeedToDeath - s.FallSpeed) / 2;
    return useTicks >= safeTicks;
}

// Lets the character come to rest; under the jet, braking. With `catchFall`,
// the flying item is put on as soon as the character falls; with
// `catchRope`, a rope is laid up from mid-air as late as it still saves the
// character, who holds on to it. A death there ends the move unless lives
// are given and it is worth its life.
bool Settle(MacroRunner& r, bool catchFall = false, bool catchRope = false)
{
    for (int n = 0; n < SettleLimit; ++n) {
        if (r.ReachedGoal() || Settled(r.game)) return true;
        if (r.s.DeathTimer != 0 && r.Misses() == 1 && !WorthALife(r)) return false;
        if (catchFall && r.s.FallSpeed > 0) {
            if (!TakeOff(r)) return false;
            catchFall = false;
        } else if (catchRope && RopeDue(r.s)) {
            if (!PutRope(r, 0)) return false;
            catchRope = false;
        } else if (!r.Tick(Braking(r.s))) {
            return false;
        }
    }
    return r.ReachedGoal() || Settled(r.game);
}

bool Walk(MacroRunner& r, int dir, bool catchRope = false)
{
    const std::int32_t target = r.s.PlayerX + 16 * dir;
    if (!HoldUntil(r, SideBit(dir), [&] { return r.s.PlayerX == target; }, 6)) return false;
    return Settle(r, false, catchRope);
}

// Holds the direction, with `lift(s)` added on every tick, until so many
// cells are crossed or rock has stopped the way (after the first `grace`
// ticks); then down to rest.
template <typename Lift>
bool SteerAcross(MacroRunner& r, int dir, int cells, int grace, Lift lift)
{
    GameState& s = r.s;
    const std::int32_t target = s.PlayerX + 16 * dir * cells;
    for (std::int32_t last = s.PlayerX, n = 0; n < 6 * cells && s.PlayerX != target && !r.ReachedGoal(); ++n) {
        if (!r.Tick(std::uint16_t(SideBit(dir) | lift(s)))) return false;
        if (n >= grace && s.PlayerX == last) break;
        last = s.PlayerX;
    }
    return Settle(r);
}

// Over the edge and on across a gap, steering while falling.
bool Leap(MacroRunner& r, int dir, int cells)
{
    return SteerAcross(r, dir, cells, 1, [](const GameState&) { return 0; });
}

bool Climb(MacroRunner& r, int dir, bool catchRope = false)
{
    GameState& s = r.s;
    if (!OnClimbable(r.game) && !Hanging(r.game)) return false;
    const std::int32_t y0 = s.PlayerY;
    if (dir < 0) {
        const bool ok = HoldUntil(r, BitUp, [&] { return s.PlayerY % 16 == 0 && s.PlayerY < y0; }, 6);
        return ok && (r.ReachedGoal() || OnClimbable(r.game)) && Settle(r);
    }
    // Down to the next whole cell, or off the end and falling.
    const bool ok = HoldUntil(
        r, BitDown,
        [&] { return (s.PlayerY % 16 == 0 && s.PlayerY > y0) || (!OnClimbable(r.game) && !Hanging(r.game)); }, 6);
    return ok && Settle(r, false, catchRope);
}

bool ClimbStep(MacroRunner& r, int dir, int upTicks)
{
    for (int i = 0; i < upTicks; ++i)
        if (!r.Tick(BitUp)) return false;
    return Walk(r, dir);
}

bool Jump(MacroRunner& r, int dir, int distance, bool catchRope = false)
{
    if (!Settled(r.game) || !Standing(r.game)) return false;
    const std::int32_t target = r.s.PlayerX + dir * distance;
    if (!r.Tick(std::uint16_t(BitUp | (distance ? SideBit(dir) : 0)))) return false;
    if (distance && !HoldUntil(r, SideBit(dir), [&] { return r.s.PlayerX == target; }, 16)) return false;
    return Settle(r, false, catchRope);
}

bool LayRope(MacroRunner& r, int direction) { return PutRope(r, direction) && Settle(r); }

bool Dig(MacroRunner& r, int direction, bool catchFall)
{
    const bool drill = SlotOf(r.s, Drill) >= 0;
    const TickProbe t = ProbeAt(r.s);
    // The drill goes on through the whole run of diggable rock.
    const Step d = StepVectors[direction & 3];
    int run = 1;
    while (drill && CellAt(r.game.map, t.BodyCol + d.dx * run, t.KneeRow + d.dy * run) == TileDiggable) ++run;
    r.Watch(std::min(t.BodyCol, t.BodyCol + d.dx * run), std::min(t.KneeRow, t.KneeRow + d.dy * run),
            std::max(t.BodyCol, t.BodyCol + d.dx * run), std::max(t.KneeRow, t.KneeRow + d.dy * run));
    return PointTool(r, drill ? Drill : Pickaxe, drill ? ActionDrill : ActionPickaxe, direction) && Settle(r, catchFall);
}

// The blast kills within 28 pixels of the corner of the bomb's cell.
bool OutOfTheBlast(const GameState& s)
{
    const std::int64_t dx = s.PlayerX - s.ToolX * CellSize, dy = s.PlayerY - s.ToolY * CellSize;
    return dx * dx + dy * dy > 28 * 28;
}

// A cell away from a bomb: 0 left, 1 right, 2 up, 3 down.
bool StepAway(MacroRunner& r, int way) { return way < 2 ? Walk(r, way == 0 ? -1 : +1) : Climb(r, way == 2 ? -1 : +1); }

// Lights a bomb and gets away: two cells one way, or fewer when a fall after
// the first took it far enough; with `then`, a cell one way and up to two the
// other, as onto a ladder and up it.
bool LightBomb(MacroRunner& r, int away, int then, bool catchFall, bool catchRope)
{
    GameState& s = r.s;
    r.Watch((s.PlayerX + 8) / CellSize, (s.PlayerY + 8) / CellSize, 3);
    if (!UseSlot(r, SlotOf(s, Bomb)) || s.Action != ActionBomb) return false;
    for (int i = 0; i < (then < 0 ? 2 : 3) && !OutOfTheBlast(s); ++i) {
        const bool ok = StepAway(r, i > 0 && then >= 0 ? then : away);
        if (!ok || r.ReachedGoal()) return ok;
    }
    if (!HoldUntil(r, 0, [&] { return s.Action != ActionBomb; }, BombWaitLimit)) return false;
    return Settle(r, catchFall, catchRope);
}

// In a pocket that no way leads out of, the blast opens it at the price of a
// life: the character comes back where it last stood.
bool BombInPlace(MacroRunner& r, bool catchRope)
{
    GameState& s = r.s;
    r.Watch((s.PlayerX + 8) / CellSize, (s.PlayerY + 8) / CellSize, 3);
    r.AcceptMisses();
    if (!UseSlot(r, SlotOf(s, Bomb)) || s.Action != ActionBomb) return false;
    if (!HoldUntil(r, 0, [&] { return s.DeathTimer != 0; }, BombWaitLimit)) return false;
    if (!HoldUntil(r, 0, [&] { return s.DeathTimer == 0; }, RespawnLimit)) return false;
    return Settle(r, false, catchRope);
}

bool Fly(MacroRunner& r, int dir, int cells)
{
    GameState& s = r.s;
    if (s.Action != ActionBird) return false;
    const std::int32_t top = s.PlayerY - 16 * cells;
    std::int32_t last = s.PlayerY;
    int still = 0;
    // Up until high enough, or held back by rock overhead.
    if (!HoldUntil(r, BitUp, [&] {
            still = s.PlayerY >= last ? still + 1 : 0;
            last = s.PlayerY;
            return s.PlayerY <= top || still > 2;
        }, 8 * cells + 8))
        return false;
    if (dir) {
        const std::int32_t target = s.PlayerX + 16 * dir;
        if (!HoldUntil(r, std::uint16_t(BitUp | SideBit(dir)), [&] { return s.PlayerX == target; }, 6)) return false;
    }
    return Settle(r);
}

bool Thrust(MacroRunner& r, int dir, int ticks)
{
    GameState& s = r.s;
    if (s.Action != ActionJet) return false;
    const std::int32_t target = s.PlayerX + 16 * dir;
    const auto side = [&] { return std::uint16_t(s.PlayerX != target ? SideBit(dir) : 0); };
    for (int i = 0; i < ticks; ++i)
        if (!r.Tick(std::uint16_t(BitUp | side()))) return false;
    for (int i = 0; i < 10 && s.PlayerX != target; ++i)
        if (!r.Tick(std::uint16_t(Braking(s) | side()))) return false;
    return s.PlayerX == target && Settle(r);
}

// Up for a few ticks, then level across, thrusting whenever the character
// sinks.
bool Cruise(MacroRunner& r, int dir, int cells)
{
    if (r.s.Action != ActionJet) return false;
    for (int i = 0; i < CruiseClimb; ++i)
        if (!r.Tick(BitUp)) return false;
    return SteerAcross(r, dir, cells, 3, [](const GameState& s) { return s.FallSpeed >= 0 ? BitUp : 0; });
}

// The jet burns and the bird flies until another item is used; choosing the
// rope, the pickaxe or the drill and cancelling with Select uses none up. The
// slot of such a tool in hand while flying so, or -1.
int LandingSlot(const GameState& s)
{
    if (s.Action != ActionJet && s.Action != ActionBird) return -1;
    for (std::uint8_t tool : {Drill, Pickaxe, Rope})
        if (Has(s, tool)) return SlotOf(s, tool);
    return -1;
}

bool Land(MacroRunner& r)
{
    if (!UseSlot(r, LandingSlot(r.s))) return false;
    ReleaseButtons(r);
    return r.Tick(BitSelect) && r.s.Action == ActionNone && Settle(r);
}

// Whether the ghost is near enough to strike at: the wand reaches 24 pixels
// across and down and swings for 20 ticks, in which the ghost comes at least a
// pixel nearer on each way a tick; the pistol reaches 100 pixels around.
bool GhostInReach(const GameState& s, bool wand)
{
    const int dx = std::abs(s.GhostX - s.PlayerX), dy = std::abs(s.GhostY - s.PlayerY);
    return wand ? dx <= 40 && dy <= 40 : dx * dx + dy * dy < 90 * 90;
}

// With nothing left to drive the ghost off, waits, standing, for its touch:
// a life for the time the ghost is away.
bool TakeTheTouch(MacroRunner& r)
{
    GameState& s = r.s;
    r.AcceptMisses();
    if (!HoldUntil(r, 0, [&] { return s.DeathTimer != 0; }, GhostWaitLimit)) return false;
    const bool back = HoldUntil(r, 0, [&] { return s.DeathTimer == 0; }, RespawnLimit);
    r.AcceptMisses(false);
    return back && Settle(r);
}

// Waits, standing, for the ghost to come near, then drives it off.
bool Repel(MacroRunner& r)
{
    GameState& s = r.s;
    const bool wand = SlotOf(s, Wand) >= 0;
    const int slot = SlotOf(s, wand ? Wand : Pistol);
    if (slot < 0 || s.GhostTimer != GhostActive || !Standing(r.game)) return false;
    if (s.Inventory[slot] == 0) return TakeTheTouch(r);
    if (!HoldUntil(r, 0, [&] { return GhostInReach(s, wand); }, GhostWaitLimit) || !UseSlot(r, slot)) return false;
    if (!HoldUntil(r, 0, [&] { return s.Action == ActionNone; }, 60)) return false;
    return s.GhostTimer != GhostActive && Settle(r);
}

bool BlastHasWork(const Game& g)
{
    const int bx = (g.state.PlayerX + 8) / CellSize, by = (g.state.PlayerY + 8) / CellSize;
    for (int i = -2; i <= 2; ++i)
        for (int j = -2; j <= 2; ++j)
            if ((std::abs(i) < 2 || std::abs(j) < 2) && CellAt(g.map, bx + i, by + j) == TileDiggable) return true;
    return false;
}

}  // namespace

int SlotOf(const GameState& s, std::uint8_t item)
{
    const auto& kinds = ItemsOf(s.Variant);
    for (int slot = 0; slot < 6; ++slot)
        if (kinds[slot] == item) return slot;
    return -1;
}

std::uint8_t FlyingItem(const GameState& s) { return ItemsOf(s.Variant)[5]; }

bool MovesUse(std::uint8_t item) { return item != Potion && item != Compass; }

int ToolUses(const GameState& s, const std::array<std::uint8_t, 6>& counts)
{
    int uses = 0;
    for (std::size_t i = 0; i < counts.size(); ++i) {
        const std::uint8_t item = ItemsOf(s.Variant)[i];
        if (item == Bomb || item == Rope || item == Pickaxe) uses += counts[i];
        if (item == Drill || item == Bird || item == Jet) uses += 3 * counts[i];
    }
    return uses;
}

bool Settled(const Game& g)
{
    const GameState& s = g.state;
    if (s.DeathTimer != 0 || s.FallSpeed != 0) return false;
    switch (s.Action) {
    case ActionRope:
    case ActionPickaxe:
    case ActionDrill:
    case ActionCompass:
    case ActionWand:
    case ActionPistol: return false;
    default: break;
    }
    if (OnClimbable(g) || Hanging(g)) return true;
    return Standing(g) && s.PlayerY % 16 == 0;
}

std::vector<Move> CandidateMoves(const Game& g)
{
    const GameState& s = g.state;
    const TickProbe t = ProbeAt(s);
    const int c = t.BodyCol, row = t.BodyRow;
    const bool standing = Standing(g) && s.PlayerY % 16 == 0;
    const bool climbable = OnClimbable(g);
    const bool gentle = s.Action == ActionParachute || s.Action == ActionBird;
    const auto solid = [&](int dx, int dy) { return ClassAt(g.map, c + dx, row + dy) == ClassSolid; };
    const auto holds = [&](int dx, int dy) {
        const std::uint8_t k = ClassAt(g.map, c + dx, row + dy);
        return k == ClassClimbable || k == ClassHangBar;
    };

    std::vector<Move> moves;
    for (int dir : {-1, +1})
        if (CanWalk(g, t, dir)) moves.push_back({MoveKind::Walk, std::int8_t(dir)});
    if (climbable || Hanging(g)) {
        moves.push_back({MoveKind::Climb, -1});
        moves.push_back({MoveKind::Climb, +1});
    }
    if (climbable)
        for (int dir : {-1, +1})
            if (solid(dir, 0) && !solid(dir, -1))
                for (int up = 1; up <= 3; ++up) moves.push_back({MoveKind::ClimbStep, std::int8_t(dir), std::int8_t(up)});
    if (standing) {
        if (holds(0, -1) || holds(0, -2)) moves.push_back({MoveKind::Jump, 0, 0});
        // Up onto a ledge or over a gap; under the parachute or the bird, further.
        for (int dir : {-1, +1}) {
            const bool wall = solid(dir, 0), gap = !solid(dir, 1);
            if (!wall && !gap) continue;
            for (int distance : {16, 32, 48, 64})
                if (distance <= 32 || (gap && gentle)) moves.push_back({MoveKind::Jump, std::int8_t(dir), std::int8_t(distance)});
        }
    }

    if (Has(s, Rope)) {
        if (!holds(0, -1) && ClassAt(g.map, c, t.HeadRow - 1) == ClassOpen) moves.push_back({MoveKind::Rope, 0});
        for (int dir : {-1, +1})
            if (!solid(dir, 1) && ClassAt(g.map, c + dir, t.HeadRow) == ClassOpen)
                moves.push_back({MoveKind::Rope, std::int8_t(dir < 0 ? 3 : 1)});
    }
    if (Has(s, Pickaxe) || Has(s, Drill))
        for (int d = 0; d < 4; ++d)
            if (CellAt(g.map, c + StepVectors[d].dx, t.KneeRow + StepVectors[d].dy) == TileDiggable)
                moves.push_back({MoveKind::Dig, std::int8_t(d)});
    if (Has(s, Bomb) && BlastHasWork(g)) {
        for (int away = 0; away < (climbable ? 4 : 2); ++away)
            if (away > 1 || CanWalk(g, t, away == 0 ? -1 : +1)) moves.push_back({MoveKind::Bomb, std::int8_t(away)});
        if (standing) moves.push_back({MoveKind::BombInPlace});
    }

    // Back on foot, where a jump is a jump again.
    if (LandingSlot(s) >= 0) moves.push_back({MoveKind::Land});

    const std::uint8_t flyer = FlyingItem(s);
    // Flights: every height and way with the bird on; a few to take off with.
    if (flyer == Bird && (s.Action == ActionBird || Has(s, Bird))) {
        const bool on = s.Action == ActionBird;
        for (int cells = on ? 1 : 2; cells <= 4; cells += on ? 1 : 2)
            for (int dir = -1; dir <= 1; dir += on ? 1 : 2)
                moves.push_back({MoveKind::Fly, std::int8_t(dir), std::int8_t(cells), !on});
    }
    if (flyer == Jet && (s.Action == ActionJet || Has(s, Jet))) {
        const bool on = s.Action == ActionJet;
        // A short and a long thrust: more heights cost more than the ledges they reach.
        for (int ticks : {4, 10})
            for (int dir = -1; dir <= 1; ++dir)
                if (on || dir != 0) moves.push_back({MoveKind::Thrust, std::int8_t(dir), std::int8_t(ticks), !on});
    }
    return moves;
}

std::vector<Move> WiderMoves(const Game& g)
{
    const GameState& s = g.state;
    const TickProbe t = ProbeAt(s);
    std::vector<Move> moves;
    if (Standing(g) && s.PlayerY % 16 == 0)
        for (int dir : {-1, +1}) {
            // Over every edge and on across, not only where a step falls to
            // death, and jumps as far as under the parachute.
            if (CanWalk(g, t, dir))
                for (int cells : {2, 3, 4, 5}) moves.push_back({MoveKind::Leap, std::int8_t(dir), std::int8_t(cells)});
            for (int distance : {48, 64}) moves.push_back({MoveKind::Jump, std::int8_t(dir), std::int8_t(distance)});
        }
    // A bomb run from a cell aside and then up or down the rope or ladder
    // there, or the other way round.
    if (Has(s, Bomb) && BlastHasWork(g)) {
        for (int away : {0, 1}) {
            const int dir = away == 0 ? -1 : +1;
            if (CanWalk(g, t, dir) && ClassAt(g.map, t.BodyCol + dir, t.BodyRow) == ClassClimbable)
                for (int then : {2, 3}) moves.push_back({MoveKind::Bomb, std::int8_t(away), std::int8_t(then + 1)});
        }
        if (OnClimbable(g))
            for (int away : {2, 3})
                for (int then : {0, 1}) moves.push_back({MoveKind::Bomb, std::int8_t(away), std::int8_t(then + 1)});
    }
    // Every step, jump, climb down, dig down and blast once more, letting a
    // fall kill: a life for a way down where the body comes to rest on a
    // floor. A blast drops the character only where it opens the floor on
    // the way away.
    const auto opensFloor = [&](const Move& m) {
        const int dir = m.dir == 0 ? -1 : +1;
        return m.dir < 2 && (CellAt(g.map, t.BodyCol + dir, t.BodyRow + 1) == TileDiggable ||
                             CellAt(g.map, t.BodyCol + 2 * dir, t.BodyRow + 1) == TileDiggable);
    };
    for (Move m : CandidateMoves(g))
        if (m.kind == MoveKind::Walk || m.kind == MoveKind::Jump || (m.kind == MoveKind::Climb && m.dir > 0) ||
            (m.kind == MoveKind::Dig && m.dir == 2) || (m.kind == MoveKind::Bomb && opensFloor(m))) {
            m.throughDeath = true;
            moves.push_back(m);
        }
    if (s.Action == ActionJet)
        for (int dir = -1; dir <= 1; ++dir) moves.push_back({MoveKind::Thrust, std::int8_t(dir), 7});
    if (s.Action == ActionJet || Has(s, Jet))
        for (int cells : {2, 4})
            for (int dir : {-1, +1})
                moves.push_back({MoveKind::Cruise, std::int8_t(dir), std::int8_t(cells), s.Action != ActionJet});
    return moves;
}

bool RunMove(MacroRunner& r, const Move& m)
{
    if (m.repelFirst && !Repel(r)) return false;
    if (m.throughDeath) r.AcceptMisses();
    if (m.takeOff && !TakeOff(r)) return false;
    // The rope is chosen beforehand where nothing else is used on the way.
    const bool onFoot = m.kind == MoveKind::Walk || m.kind == MoveKind::Climb || m.kind == MoveKind::Jump;
    if (m.catchRope && onFoot && !SelectSlot(r, SlotOf(r.s, Rope))) return false;
    bool ok = false;
    switch (m.kind) {
    case MoveKind::Walk: ok = Walk(r, m.dir, m.catchRope); break;
    case MoveKind::Leap: ok = Leap(r, m.dir, m.amount); break;
    case MoveKind::Climb: ok = Climb(r, m.dir, m.catchRope); break;
    case MoveKind::ClimbStep: ok = ClimbStep(r, m.dir, m.amount); break;
    case MoveKind::Jump: ok = Jump(r, m.dir, m.amount, m.catchRope); break;
    case MoveKind::Rope: ok = LayRope(r, m.dir); break;
    case MoveKind::Dig: ok = Dig(r, m.dir, m.catchFall); break;
    case MoveKind::Bomb: ok = LightBomb(r, m.dir, m.amount - 1, m.catchFall, m.catchRope); break;
    case MoveKind::BombInPlace: ok = BombInPlace(r, m.catchRope); break;
    case MoveKind::Fly: ok = Fly(r, m.dir, m.amount); break;
    case MoveKind::Thrust: ok = Thrust(r, m.dir, m.amount); break;
    case MoveKind::Cruise: ok = Cruise(r, m.dir, m.amount); break;
    case MoveKind::Land: ok = Land(r); break;
    }
    r.Collect();
    // Without a death it is the move tried before.
    if (m.throughDeath && r.Misses() == 0) return false;
    return ok && !r.Died() && (r.ReachedGoal() || Settled(r.game));
}
