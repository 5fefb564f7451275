#include "tools/solver/moves.h"

#include <algorithm>
#include <cstdlib>

#include "play/actions.h"
#include "play/death.h"
#include "play/footing.h"
#include "play/ghost.h"

namespace {

constexpr int SettleLimit = 1000;                     // ticks of falling: the deepest cave under the parachute
constexpr int BombWaitLimit = FuseTicks + 20;
constexpr int RespawnLimit = DeathTicks + 40;         // ticks from a death to the character's return
constexpr int GhostWaitLimit = 400;                   // ticks for a ghost 300 pixels off to come near
constexpr int StrikeWaitLimit = PistolTicks + 20;     // ticks for a swing or a shot to end
constexpr int JetBrakeSpeed = 6;                      // a fall this fast is slowed with the jet
constexpr int CruiseClimb = 6;                        // ticks of thrust before a level flight

constexpr Way Sides[] = {Way::Left, Way::Right};
const std::uint16_t SideBits[] = {0, BitRight, 0, BitLeft, 0};
std::uint16_t SideBit(Way way) { return SideBits[int(way)]; }
std::uint16_t ArrowBit(Way way)
{
    static constexpr std::uint16_t Bits[] = {BitUp, BitRight, BitDown, BitLeft, 0};
    return Bits[int(way)];
}

// From the start of a cell, rock at knee height beside it stops a walk.
bool CanWalk(const Game& g, const TickProbe& t, Way side)
{
    return t.SubX != 0 || ClassAt(g.map, t.BodyCol + Across(side), t.KneeRow) != ClassSolid;
}

bool Has(const GameState& s, std::uint8_t item)
{
    const int slot = SlotOf(s.Variant, item);
    return slot >= 0 && s.Inventory[slot] > 0;
}

TickProbe Probe(const Game& g) { return ProbeAt(g.state, g.map); }
bool Standing(const Game& g) { return Probe(g).Standing; }
bool OnClimbable(const Game& g) { return OnClimbable(g.map, Probe(g)); }
bool Hanging(const Game& g) { return Hanging(g.map, Probe(g)); }

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
    const ActionId action = FlyingAction(s.Variant);
    if (s.Action == action) return true;
    return UseSlot(r, SlotOf(s.Variant, FlyingItem(s.Variant))) && s.Action == action;
}

// A fall that kills is worth the move's first life where the body lies on a
// floor (the character comes back there), over something to pick up, or
// after picking something up on the way down.
bool WorthALife(const MacroRunner& r)
{
    const TickProbe t = Probe(r.game);
    const std::uint8_t here = CellAt(r.game.map, t.BodyCol, t.BodyRow);
    return t.Standing || !r.Changes().empty() || ClassOf(here) == ClassItem || here == TileGoal;
}

// Starts the direction choice of the rope, the pickaxe or the drill, points it
// and carries it out; true when the item was spent.
bool PointTool(MacroRunner& r, std::uint8_t item, ActionId action, Way direction)
{
    GameState& s = r.s;
    const int slot = SlotOf(s.Variant, item);
    if (slot < 0) return false;
    const int before = s.Inventory[slot];
    if (!UseSlot(r, slot) || s.Action != action) return false;
    if (!r.Tick(ArrowBit(direction))) return false;
    r.Tick(std::uint16_t(ArrowBit(direction) | BitUse));
    return s.Action == ActionNone && s.Inventory[slot] < before;
}

// A rope up or a bar sideways from the character's head.
bool PutRope(MacroRunner& r, Way direction)
{
    const TickProbe t = ProbeAt(r.s);
    r.Watch(t.BodyCol, t.HeadRow, RopeRun + 1);
    return PointTool(r, Rope, ActionRope, direction);
}

// Whether the rope must be chosen now to catch the fall: the tick of Use must
// still leave the speed below the fatal one, and from then on the character
// hangs still in the air until the rope is laid.
bool RopeDue(const GameState& s)
{
    const int slot = SlotOf(s.Variant, Rope);
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
            if (!PutRope(r, Way::Up)) return false;
            catchRope = false;
        } else if (!r.Tick(Braking(r.s))) {
            return false;
        }
    }
    return r.ReachedGoal() || Settled(r.game);
}

bool Walk(MacroRunner& r, Way side, bool catchRope = false)
{
    const std::int32_t target = r.s.PlayerX + 16 * Across(side);
    if (!HoldUntil(r, SideBit(side), [&] { return r.s.PlayerX == target; }, 6)) return false;
    return Settle(r, false, catchRope);
}

// Holds the direction, with `lift(s)` added on every tick, until so many
// cells are crossed or rock has stopped the way (after the first `grace`
// ticks); then down to rest.
template <typename Lift>
bool SteerAcross(MacroRunner& r, Way side, int cells, int grace, Lift lift)
{
    GameState& s = r.s;
    const std::int32_t target = s.PlayerX + 16 * Across(side) * cells;
    for (std::int32_t last = s.PlayerX, n = 0; n < 6 * cells && s.PlayerX != target && !r.ReachedGoal(); ++n) {
        if (!r.Tick(std::uint16_t(SideBit(side) | lift(s)))) return false;
        if (n >= grace && s.PlayerX == last) break;
        last = s.PlayerX;
    }
    return Settle(r);
}

// Over the edge and on across a gap, steering while falling.
bool Leap(MacroRunner& r, Way side, int cells)
{
    return SteerAcross(r, side, cells, 1, [](const GameState&) { return 0; });
}

bool Climb(MacroRunner& r, Way upOrDown, bool catchRope = false)
{
    GameState& s = r.s;
    if (!OnClimbable(r.game) && !Hanging(r.game)) return false;
    const std::int32_t y0 = s.PlayerY;
    if (upOrDown == Way::Up) {
        const bool ok = HoldUntil(r, BitUp, [&] { return s.PlayerY % 16 == 0 && s.PlayerY < y0; }, 6);
        return ok && (r.ReachedGoal() || OnClimbable(r.game)) && Settle(r);
    }
    // Down to the next whole cell, or off the end and falling.
    const bool ok = HoldUntil(
        r, BitDown,
        [&] { return (s.PlayerY % 16 == 0 && s.PlayerY > y0) || (!OnClimbable(r.game) && !Hanging(r.game)); }, 6);
    return ok && Settle(r, false, catchRope);
}

bool ClimbStep(MacroRunner& r, Way side, int upTicks)
{
    for (int i = 0; i < upTicks; ++i)
        if (!r.Tick(BitUp)) return false;
    return Walk(r, side);
}

// Straight up (Way::Up), or `distance` pixels to a side.
bool Jump(MacroRunner& r, Way way, int distance, bool catchRope = false)
{
    if (!Settled(r.game) || !Standing(r.game)) return false;
    const std::int32_t target = r.s.PlayerX + Across(way) * distance;
    if (!r.Tick(std::uint16_t(BitUp | (distance ? SideBit(way) : 0)))) return false;
    if (distance && !HoldUntil(r, SideBit(way), [&] { return r.s.PlayerX == target; }, 16)) return false;
    return Settle(r, false, catchRope);
}

bool LayRope(MacroRunner& r, Way direction) { return PutRope(r, direction) && Settle(r); }

bool Dig(MacroRunner& r, Way direction, bool catchFall)
{
    const bool drill = SlotOf(r.s.Variant, Drill) >= 0;
    const TickProbe t = ProbeAt(r.s);
    const Step d = StepVectors[int(direction)];
    const int run = drill ? DigLength(r.game.map, t, d, true) + 1 : 1;
    r.Watch(std::min(t.BodyCol, t.BodyCol + d.dx * run), std::min(t.KneeRow, t.KneeRow + d.dy * run),
            std::max(t.BodyCol, t.BodyCol + d.dx * run), std::max(t.KneeRow, t.KneeRow + d.dy * run));
    return PointTool(r, drill ? Drill : Pickaxe, drill ? ActionDrill : ActionPickaxe, direction) && Settle(r, catchFall);
}

// A cell away from a bomb: walked left or right, climbed up or down.
bool StepAway(MacroRunner& r, Way way) { return Across(way) ? Walk(r, way) : Climb(r, way); }

// Lights a bomb and gets away: two cells one way, or fewer when a fall after
// the first took it far enough; with `then`, a cell one way and up to two the
// other, as onto a ladder and up it.
bool LightBomb(MacroRunner& r, Way away, Way then, bool catchFall, bool catchRope)
{
    GameState& s = r.s;
    const MapCell bomb = BombCell(s);
    r.Watch(bomb.column, bomb.row, 3);
    if (!UseSlot(r, SlotOf(s.Variant, Bomb)) || s.Action != ActionBomb) return false;
    const bool turns = then != Way::None;
    for (int i = 0; i < (turns ? 3 : 2) && InBlastReach(s); ++i) {
        const bool ok = StepAway(r, i > 0 && turns ? then : away);
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
    const MapCell bomb = BombCell(s);
    r.Watch(bomb.column, bomb.row, 3);
    r.AcceptMisses();
    if (!UseSlot(r, SlotOf(s.Variant, Bomb)) || s.Action != ActionBomb) return false;
    if (!HoldUntil(r, 0, [&] { return s.DeathTimer != 0; }, BombWaitLimit)) return false;
    if (!HoldUntil(r, 0, [&] { return s.DeathTimer == 0; }, RespawnLimit)) return false;
    return Settle(r, false, catchRope);
}

// Up, then a cell to the side unless `way` is up.
bool Fly(MacroRunner& r, Way way, int cells)
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
    if (Across(way)) {
        const std::int32_t target = s.PlayerX + 16 * Across(way);
        if (!HoldUntil(r, std::uint16_t(BitUp | SideBit(way)), [&] { return s.PlayerX == target; }, 6)) return false;
    }
    return Settle(r);
}

// Thrusts while moving a cell to the side (none when `way` is up).
bool Thrust(MacroRunner& r, Way way, int ticks)
{
    GameState& s = r.s;
    if (s.Action != ActionJet) return false;
    const std::int32_t target = s.PlayerX + 16 * Across(way);
    const auto side = [&] { return std::uint16_t(s.PlayerX != target ? SideBit(way) : 0); };
    for (int i = 0; i < ticks; ++i)
        if (!r.Tick(std::uint16_t(BitUp | side()))) return false;
    for (int i = 0; i < 10 && s.PlayerX != target; ++i)
        if (!r.Tick(std::uint16_t(Braking(s) | side()))) return false;
    return s.PlayerX == target && Settle(r);
}

// Up for a few ticks, then level across, thrusting whenever the character
// sinks.
bool Cruise(MacroRunner& r, Way side, int cells)
{
    if (r.s.Action != ActionJet) return false;
    for (int i = 0; i < CruiseClimb; ++i)
        if (!r.Tick(BitUp)) return false;
    return SteerAcross(r, side, cells, 3, [](const GameState& s) { return s.FallSpeed >= 0 ? BitUp : 0; });
}

// The jet burns and the bird flies until another item is used; choosing the
// rope, the pickaxe or the drill and cancelling with Select uses none up. The
// slot of such a tool in hand while flying so, or -1.
int LandingSlot(const GameState& s)
{
    if (s.Action != ActionJet && s.Action != ActionBird) return -1;
    for (std::uint8_t tool : {Drill, Pickaxe, Rope})
        if (Has(s, tool)) return SlotOf(s.Variant, tool);
    return -1;
}

bool Land(MacroRunner& r)
{
    if (!UseSlot(r, LandingSlot(r.s))) return false;
    ReleaseButtons(r);
    return r.Tick(BitSelect) && r.s.Action == ActionNone && Settle(r);
}

// Whether the ghost is near enough to strike at. The wand's square reaches
// further than it does by the start of the swing, as the ghost comes at least
// a pixel nearer on each way a tick while it lasts; the pistol's circle is
// taken a little smaller.
constexpr int WandStrikeDistance = WandReach + 16;
constexpr int PistolStrikeDistance = PistolReach - 10;
bool GhostInReach(const GameState& s, bool wand)
{
    const int dx = std::abs(s.GhostX - s.PlayerX), dy = std::abs(s.GhostY - s.PlayerY);
    return wand ? dx <= WandStrikeDistance && dy <= WandStrikeDistance
                : dx * dx + dy * dy < PistolStrikeDistance * PistolStrikeDistance;
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
    const bool wand = SlotOf(s.Variant, Wand) >= 0;
    const int slot = SlotOf(s.Variant, wand ? Wand : Pistol);
    if (slot < 0 || s.GhostTimer != GhostActive || !Standing(r.game)) return false;
    if (s.Inventory[slot] == 0) return TakeTheTouch(r);
    if (!HoldUntil(r, 0, [&] { return GhostInReach(s, wand); }, GhostWaitLimit) || !UseSlot(r, slot)) return false;
    if (!HoldUntil(r, 0, [&] { return s.Action == ActionNone; }, StrikeWaitLimit)) return false;
    return s.GhostTimer != GhostActive && Settle(r);
}

// Whether a bomb lit here would open some rock.
bool BlastHasWork(const Game& g)
{
    bool work = false;
    ForEachBlastCell(BombCell(g.state), [&](std::int32_t column, std::int32_t row) {
        work = work || CellAt(g.map, column, row) == TileDiggable;
    });
    return work;
}

}  // namespace

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
    if (s.DeathTimer != 0 || s.FallSpeed != 0 || !MovesFreely(s.Action)) return false;
    const TickProbe t = Probe(g);
    if (OnClimbable(g.map, t) || Hanging(g.map, t)) return true;
    return t.Standing && s.PlayerY % 16 == 0;
}

std::vector<Move> CandidateMoves(const Game& g)
{
    const GameState& s = g.state;
    const TickProbe t = Probe(g);
    const int c = t.BodyCol, row = t.BodyRow;
    const bool standing = t.Standing && s.PlayerY % 16 == 0;
    const bool climbable = OnClimbable(g.map, t);
    const bool gentle = s.Action == ActionParachute || s.Action == ActionBird;
    const auto solid = [&](int dx, int dy) { return ClassAt(g.map, c + dx, row + dy) == ClassSolid; };
    const auto holds = [&](int dx, int dy) {
        const std::uint8_t k = ClassAt(g.map, c + dx, row + dy);
        return k == ClassClimbable || k == ClassHangBar;
    };

    std::vector<Move> moves;
    for (Way side : Sides)
        if (CanWalk(g, t, side)) moves.push_back(Move::Walk(side));
    if (climbable || Hanging(g.map, t)) {
        moves.push_back(Move::Climb(Way::Up));
        moves.push_back(Move::Climb(Way::Down));
    }
    if (climbable)
        for (Way side : Sides)
            if (solid(Across(side), 0) && !solid(Across(side), -1))
                for (int up = 1; up <= 3; ++up) moves.push_back(Move::ClimbStep(side, up));
    if (standing) {
        if (holds(0, -1) || holds(0, -2)) moves.push_back(Move::Jump(Way::Up, 0));
        // Up onto a ledge or over a gap; under the parachute or the bird, further.
        for (Way side : Sides) {
            const bool wall = solid(Across(side), 0), gap = !solid(Across(side), 1);
            if (!wall && !gap) continue;
            for (int distance : {16, 32, 48, 64})
                if (distance <= 32 || (gap && gentle)) moves.push_back(Move::Jump(side, distance));
        }
    }

    if (Has(s, Rope)) {
        if (!holds(0, -1) && ClassAt(g.map, c, t.HeadRow - 1) == ClassOpen) moves.push_back(Move::Rope(Way::Up));
        for (Way side : Sides)
            if (!solid(Across(side), 1) && ClassAt(g.map, c + Across(side), t.HeadRow) == ClassOpen)
                moves.push_back(Move::Rope(side));
    }
    if (Has(s, Pickaxe) || Has(s, Drill))
        for (Way way : {Way::Up, Way::Right, Way::Down, Way::Left}) {
            const Step d = StepVectors[int(way)];
            if (CellAt(g.map, c + d.dx, t.KneeRow + d.dy) == TileDiggable) moves.push_back(Move::Dig(way));
        }
    if (Has(s, Bomb) && BlastHasWork(g)) {
        for (Way side : Sides)
            if (CanWalk(g, t, side)) moves.push_back(Move::Bomb(side));
        if (climbable)
            for (Way upOrDown : {Way::Up, Way::Down}) moves.push_back(Move::Bomb(upOrDown));
        if (standing) moves.push_back(Move::BombInPlace());
    }

    // Back on foot, where a jump is a jump again.
    if (LandingSlot(s) >= 0) moves.push_back(Move::Land());

    const std::uint8_t flyer = FlyingItem(s.Variant);
    // Flights: every height and way with the bird on; a few to take off with.
    if (flyer == Bird && (s.Action == ActionBird || Has(s, Bird))) {
        const bool on = s.Action == ActionBird;
        for (int cells = on ? 1 : 2; cells <= 4; cells += on ? 1 : 2)
            for (Way way : {Way::Left, Way::Up, Way::Right})
                if (on || way != Way::Up) {
                    const Move fly = Move::Fly(way, cells);
                    moves.push_back(on ? fly : fly.With(Modifier::TakeOff));
                }
    }
    if (flyer == Jet && (s.Action == ActionJet || Has(s, Jet))) {
        const bool on = s.Action == ActionJet;
        // A short and a long thrust: more heights cost more than the ledges they reach.
        for (int ticks : {4, 10})
            for (Way way : {Way::Left, Way::Up, Way::Right})
                if (on || way != Way::Up) {
                    const Move thrust = Move::Thrust(way, ticks);
                    moves.push_back(on ? thrust : thrust.With(Modifier::TakeOff));
                }
    }
    return moves;
}

std::vector<Move> WiderMoves(const Game& g)
{
    const GameState& s = g.state;
    const TickProbe t = Probe(g);
    std::vector<Move> moves;
    if (t.Standing && s.PlayerY % 16 == 0)
        for (Way side : Sides) {
            // Over every edge and on across, not only where a step falls to
            // death, and jumps as far as under the parachute.
            if (CanWalk(g, t, side))
                for (int cells : {2, 3, 4, 5}) moves.push_back(Move::Leap(side, cells));
            for (int distance : {48, 64}) moves.push_back(Move::Jump(side, distance));
        }
    // A bomb run from a cell aside and then up or down the rope or ladder
    // there, or the other way round.
    if (Has(s, Bomb) && BlastHasWork(g)) {
        for (Way side : Sides)
            if (CanWalk(g, t, side) && ClassAt(g.map, t.BodyCol + Across(side), t.BodyRow) == ClassClimbable)
                for (Way then : {Way::Up, Way::Down}) moves.push_back(Move::Bomb(side, then));
        if (OnClimbable(g.map, t))
            for (Way away : {Way::Up, Way::Down})
                for (Way then : Sides) moves.push_back(Move::Bomb(away, then));
    }
    // Every step, jump, climb down, dig down and blast once more, letting a
    // fall kill: a life for a way down where the body comes to rest on a
    // floor. A blast drops the character only where it opens the floor on
    // the way away.
    const auto opensFloor = [&](const Move& m) {
        const int dir = Across(m.way);
        return dir != 0 && (CellAt(g.map, t.BodyCol + dir, t.BodyRow + 1) == TileDiggable ||
                            CellAt(g.map, t.BodyCol + 2 * dir, t.BodyRow + 1) == TileDiggable);
    };
    for (const Move& m : CandidateMoves(g))
        if (m.kind == MoveKind::Walk || m.kind == MoveKind::Jump || (m.kind == MoveKind::Climb && m.way == Way::Down) ||
            (m.kind == MoveKind::Dig && m.way == Way::Down) || (m.kind == MoveKind::Bomb && opensFloor(m)))
            moves.push_back(m.With(Modifier::ThroughDeath));
    if (s.Action == ActionJet)
        for (Way way : {Way::Left, Way::Up, Way::Right}) moves.push_back(Move::Thrust(way, 7));
    if (s.Action == ActionJet || Has(s, Jet))
        for (int cells : {2, 4})
            for (Way side : Sides) {
                const Move cruise = Move::Cruise(side, cells);
                moves.push_back(s.Action == ActionJet ? cruise : cruise.With(Modifier::TakeOff));
            }
    return moves;
}

bool RunMove(MacroRunner& r, const Move& m)
{
    if (m.Has(Modifier::RepelFirst) && !Repel(r)) return false;
    if (m.Has(Modifier::ThroughDeath)) r.AcceptMisses();
    if (m.Has(Modifier::TakeOff) && !TakeOff(r)) return false;
    const bool catchFall = m.Has(Modifier::CatchFall), catchRope = m.Has(Modifier::CatchRope);
    // The rope is chosen beforehand where nothing else is used on the way.
    const bool onFoot = m.kind == MoveKind::Walk || m.kind == MoveKind::Climb || m.kind == MoveKind::Jump;
    if (catchRope && onFoot && !SelectSlot(r, SlotOf(r.s.Variant, Rope))) return false;
    bool ok = false;
    switch (m.kind) {
    case MoveKind::Walk: ok = Walk(r, m.way, catchRope); break;
    case MoveKind::Leap: ok = Leap(r, m.way, m.amount); break;
    case MoveKind::Climb: ok = Climb(r, m.way, catchRope); break;
    case MoveKind::ClimbStep: ok = ClimbStep(r, m.way, m.amount); break;
    case MoveKind::Jump: ok = Jump(r, m.way, m.amount, catchRope); break;
    case MoveKind::Rope: ok = LayRope(r, m.way); break;
    case MoveKind::Dig: ok = Dig(r, m.way, catchFall); break;
    case MoveKind::Bomb: ok = LightBomb(r, m.way, m.then, catchFall, catchRope); break;
    case MoveKind::BombInPlace: ok = BombInPlace(r, catchRope); break;
    case MoveKind::Fly: ok = Fly(r, m.way, m.amount); break;
    case MoveKind::Thrust: ok = Thrust(r, m.way, m.amount); break;
    case MoveKind::Cruise: ok = Cruise(r, m.way, m.amount); break;
    case MoveKind::Land: ok = Land(r); break;
    }
    r.Collect();
    // Without a death it is the move tried before.
    if (m.Has(Modifier::ThroughDeath) && r.Misses() == 0) return false;
    return ok && !r.Died() && (r.ReachedGoal() || Settled(r.game));
}
