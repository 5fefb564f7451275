#include "tools/solver/solver.h"

#include <algorithm>
#include <ctime>
#include <new>
#include <optional>

#include "play/actions.h"
#include "play/tick_probe.h"
#include "tools/solver/arrival_table.h"
#include "tools/solver/block_store.h"
#include "tools/solver/cave_versions.h"
#include "tools/solver/frontier.h"
#include "tools/solver/macro_runner.h"
#include "tools/solver/mix.h"
#include "tools/solver/moves.h"
#include "tools/solver/play_snapshot.h"
#include "tools/solver/route_cost.h"
#include "tools/solver/shut_in.h"

namespace {

// A best-first search over settled positions. A position is the play state
// where a move left it, with the cells that play changed since the start; the
// moves between positions are played tick by tick by the real frame tick. The
// price of a way is its ticks, plus a charge for every item spent and every
// life lost, less a reward for what it collects; the guide to the goal leans
// on the cost of the way left. Two positions are the same place when the
// character stands at the same pixel with the same action in a cave changed
// the same way by tools; of those, one with fewer items that got there later
// is dropped.
// When the moves have led nowhere from every position, or have stopped
// finding new ground, the search goes over the positions once more with the
// wider moves, and from then on uses both.

// What things are worth against ticks of play, and how hard the search leans
// toward the goal (in tenths: the guide counts so many times the price).
constexpr std::int32_t ItemCost = 60;
constexpr std::int32_t ItemReward = 60;  // an item picked up that some move uses
constexpr std::int64_t GuideWeight = 25;
constexpr std::int32_t MissCost = 300;   // what a life lost is worth against ticks
constexpr std::int32_t FarAway = 1 << 24;  // the guide where the goal cannot be reached
constexpr std::int64_t GuideRange = std::int64_t(1) << 25;  // above every guide: f and h in one rank
// A stretch of expansions of which fewer than a tenth were new ground: the
// narrower moves have as good as led nowhere, and the wider ones join them.
constexpr std::int64_t StallWindow = 100'000;
constexpr std::int64_t StallNewGround = StallWindow / 10;

// The detour, in ticks, that a treasure on the way is worth.
std::int32_t TreasureReward(std::uint8_t tile)
{
    switch (tile) {
    case TileCoin: return 6;
    case TileMoneyBag: return 40;
    case TileDiamond: return 250;
    default: return 0;
    }
}

// A tile as movement sees it: open, diggable rock, hard rock, climbable or a bar.
std::uint64_t MovementKind(std::uint8_t tile)
{
    switch (ClassOf(tile)) {
    case ClassSolid: return tile == TileDiggable ? 1 : 2;
    case ClassClimbable: return 3;
    case ClassHangBar: return 4;
    default: return 0;
    }
}

// The counts that make ground new again: up to two of each item. A third
// rope or bomb does not send the search over the whole cave once more; such
// an arrival waits with the rest.
ItemCounts GroundItems(ItemCounts counts)
{
    for (std::uint8_t& c : counts) c = std::min<std::uint8_t>(c, 2);
    return counts;
}

// The bombs, pickaxes and drills in hand.
int DigsInHand(const GameState& s, const ItemCounts& counts)
{
    int digs = 0;
    for (std::size_t i = 0; i < counts.size(); ++i)
        if (OpensRock(ItemsOf(s.Variant)[i])) digs += counts[i];
    return digs;
}

// Where the character stands, in one number.
std::uint64_t Spot(const GameState& s) { return Mix(std::uint64_t(std::uint32_t(s.PlayerX)) << 32 | std::uint32_t(s.PlayerY)); }

// The character's cell and flying action, for counting expansions there.
std::uint32_t CellOf(const PlaySnapshot& p)
{
    const int flying = p.Action == ActionParachute ? 1 : p.Action == ActionBird ? 2 : p.Action == ActionJet ? 3 : 0;
    const TickProbe t = ProbeAt(p);
    const int column = std::clamp(t.BodyCol, 0, 255), row = std::clamp(t.BodyRow, 0, 255);
    return std::uint32_t((column * 256 + row) * 4 + flying);
}

struct Node {
    PlaySnapshot snap;
    std::int32_t parent;
    std::int32_t cave;  // the version of the cave where it stands
    Move move;          // the move from the parent
    std::int32_t g;
};

// A position a move reached, with its keys in the tables.
struct Found {
    Node node;
    std::uint64_t place;
    std::uint64_t ground;
    ItemCounts items;
    bool goal;
    bool mayBeNew;  // new ground when `ground` was not reached with as much before
};

// What the search remembers of a node besides, in a byte of its own.
// Visited: its first visit, for the moves but its bombs, is over.
enum NodeFlag : std::uint8_t { ReachedGoal = 1, Superseded = 2, Visited = 4 };

// How the first try of a move went, and what the position had for another.
struct Attempt {
    Move move;
    bool worked = false;
    bool caught = false;       // the ghost's touch killed the character
    bool died = false;         // anything killed it: the ghost, a fall, a crash
    bool fellToDeath = false;  // a fall did
    bool canFloat = false;     // the flying item is in hand and not on
    bool ropeInHand = false;
    bool widened = false;      // the wider moves are in play
};

bool OverAnEdge(const Attempt& a)
{
    return a.move.kind == MoveKind::Walk || a.move.kind == MoveKind::Climb || a.move.kind == MoveKind::Jump;
}
bool DiedNotCaught(const Attempt& a) { return a.died && !a.caught; }
// Digging or a blast opened the floor under the character, who fell to death.
bool FloorGaveWay(const Attempt& a)
{
    return (a.move.kind == MoveKind::Dig || a.move.kind == MoveKind::Bomb) && a.fellToDeath;
}

// What went wrong in a try that another way may mend.
bool NoWayOutAndNoFloor(const Attempt& a) { return a.move.kind == MoveKind::BombInPlace && !a.worked && a.ropeInHand; }
bool CaughtByTheGhost(const Attempt& a) { return a.caught; }
bool FellOverAnEdge(const Attempt& a) { return DiedNotCaught(a) && OverAnEdge(a) && a.canFloat; }
bool FellThroughTheFloor(const Attempt& a) { return DiedNotCaught(a) && FloorGaveWay(a) && a.canFloat; }
bool WalkedIntoADrop(const Attempt& a) { return DiedNotCaught(a) && a.move.kind == MoveKind::Walk; }
// Jumps fall to death in so many ways that their catch waits for the wider
// moves; after a dig the rope is five presses of Select away, too many.
bool FellWithARopeInHand(const Attempt& a)
{
    const bool inTime = OverAnEdge(a) || (FloorGaveWay(a) && a.move.kind == MoveKind::Bomb);
    return DiedNotCaught(a) && a.fellToDeath && inTime && a.ropeInHand &&
           (a.move.kind != MoveKind::Jump || a.widened);
}

template <Modifier M>
Move With(const Move& m) { return m.With(M); }
Move LeapTwo(const Move& m) { return Move::Leap(m.way, 2); }
Move LeapThree(const Move& m) { return Move::Leap(m.way, 3); }

// A move that went wrong is tried once more in another way: what went wrong,
// and the move to try instead. Each is judged by the first try, in this order;
// `sameMove` where the retry is the move itself, only once the trouble is out
// of the way, so that its working counts as the move's.
struct Retry {
    bool (*wentWrong)(const Attempt&);
    Move (*instead)(const Move&);
    bool sameMove = false;
};
constexpr Retry Retries[] = {
    // The blast took the floor too: the character comes back over the hole.
    {NoWayOutAndNoFloor, With<Modifier::CatchRope>},
    // Drive the ghost off first.
    {CaughtByTheGhost, With<Modifier::RepelFirst>, true},
    // Survived under the parachute, with the bird, or braked with the jet:
    // put on before the edge, or as the fall begins through an opened floor.
    {FellOverAnEdge, With<Modifier::TakeOff>},
    {FellThroughTheFloor, With<Modifier::CatchFall>},
    // Steered on across the gap onto a ledge beyond.
    {WalkedIntoADrop, LeapTwo},
    {WalkedIntoADrop, LeapThree},
    // Caught on a rope laid up from mid-air.
    {FellWithARopeInHand, With<Modifier::CatchRope>},
};

class Search {
public:
    Search(Game& game, const SolveLimits& limits)
        : game_(game), limits_(limits), runner_(game), caves_(game.map),
          route_(game.map, game.state.GoalX / CellSize, game.state.GoalY / CellSize)
    {
    }

    SolveResult Run();

private:
    std::int32_t Guide(const PlaySnapshot& p) const;
    std::int32_t Reward(std::uint8_t tile) const;
    ItemCounts ItemsThatCount(const ItemCounts& counts) const;
    std::uint64_t Ground(const GameState& s) const;

    void Expand(const Queued& q);
    // Plays `move` from node n; true when it worked out. The runner tells how
    // it went.
    bool Try(std::int32_t n, const Move& move);
    // Tries the move, and where it went wrong the retries that may mend it;
    // true when the move itself got through.
    bool TryWithRetries(std::int32_t n, const Move& move, bool widened);
    // Keeps the position the move from `parent` reached, for AddChild.
    void Find(std::int32_t parent, const Move& move);
    void AddChild(const Found& f);
    std::int64_t Rank(std::int32_t n) const;
    void Push(std::int32_t n, bool newGround);
    void Widen();
    std::vector<std::uint16_t> InputsTo(std::int32_t n);
    std::size_t Bytes() const;

    Game& game_;
    SolveLimits limits_;
    MacroRunner runner_;
    CaveVersions caves_;
    RouteCost route_;
    ShutInCheck shutIn_;

    BlockStore<Node> nodes_;
    std::vector<std::uint8_t> flags_;  // NodeFlag bits of each node
    ArrivalTable arrivals_;            // by place: position, action and the cells tools changed
    ArrivalTable reached_;             // by position and the cells around: what counts as new ground
    Frontier frontier_;
    bool widened_ = false;  // the wider moves are tried too
    std::int64_t newGroundBefore_ = 0;  // taken before the present stretch
    // The children of the node being expanded, added once all its moves were
    // tried: their places in the tables are fetched from memory together.
    std::vector<Found> found_;
};

std::int32_t Search::Guide(const PlaySnapshot& p) const
{
    const TickProbe t = ProbeAt(p);
    return std::min(route_.Estimate(t.BodyCol, t.BodyRow, ToolUses(game_.state, p.Inventory)), FarAway);
}

// What picking up the tile is worth, in ticks.
std::int32_t Search::Reward(std::uint8_t tile) const
{
    if (ClassOf(tile) != ClassItem) return TreasureReward(tile);
    return MovesUse(tile) ? ItemReward : 0;
}

// The counts that tell two arrivals apart: those of the items that some move uses.
ItemCounts Search::ItemsThatCount(const ItemCounts& counts) const
{
    ItemCounts kept = counts;
    for (std::size_t i = 0; i < kept.size(); ++i)
        if (!MovesUse(ItemsOf(game_.state.Variant)[i])) kept[i] = 0;
    return kept;
}

// What counts as new ground: where the character is, what it is doing, and
// the cells around it as movement sees them, so that a cell dug or a rope
// laid beside it makes it new.
std::uint64_t Search::Ground(const GameState& s) const
{
    const TickProbe t = ProbeAt(s);
    std::uint64_t around = s.Action;
    for (const Step& d : {Step{0, 0}, Step{0, -1}, Step{1, 0}, Step{0, 1}, Step{-1, 0}})
        around = around << 4 | MovementKind(game_.map[t.BodyCol + d.dx][t.BodyRow + d.dy]);
    return Mix(Spot(s) ^ around);
}

bool Search::Try(std::int32_t n, const Move& move)
{
    RestoreSnapshot(game_.state, nodes_[n].snap);
    runner_.Start();
    const bool worked = RunMove(runner_, move);
    if (worked) Find(n, move);
    runner_.Undo();
    return worked;
}

bool Search::TryWithRetries(std::int32_t n, const Move& move, bool widened)
{
    const PlaySnapshot& from = nodes_[n].snap;
    const int variant = game_.state.Variant;
    const int flyerSlot = SlotOf(variant, FlyingItem(variant)), ropeSlot = SlotOf(variant, Rope);
    Attempt a{move};
    a.worked = Try(n, move);
    a.caught = runner_.Caught();
    a.died = runner_.Died();
    a.fellToDeath = game_.state.FallSpeed > game_.state.SpeedToDeath;
    a.canFloat = flyerSlot >= 0 && from.Inventory[flyerSlot] > 0 && from.Action != FlyingAction(variant);
    a.ropeInHand = ropeSlot >= 0 && from.Inventory[ropeSlot] > 0;
    a.widened = widened;
    bool gotThrough = a.worked;
    for (const Retry& retry : Retries)
        if (retry.wentWrong(a) && Try(n, retry.instead(move)) && retry.sameMove) gotThrough = true;
    return gotThrough;
}

// Tries the moves from the node. A bomb takes a hundred ticks to play out, so
// they wait for a second visit, after the new ground; the last visit, for the
// wider moves, tries its own at once.
void Search::Expand(const Queued& q)
{
    const std::int32_t n = q.node;
    caves_.Apply(nodes_[n].cave, game_.map);
    RestoreSnapshot(game_.state, nodes_[n].snap);
    std::vector<Move> moves = q.wider ? WiderMoves(game_) : CandidateMoves(game_);
    if (!q.bombs && !q.wider) flags_[n] |= Visited;
    if (widened_ && !q.wider) {
        const std::vector<Move> wider = WiderMoves(game_);
        moves.insert(moves.end(), wider.begin(), wider.end());
    }
    bool bombsLeft = false;
    bool escaped = false;  // from a bomb lit here
    for (const Move& move : moves) {
        const bool bomb = move.kind == MoveKind::Bomb || move.kind == MoveKind::BombInPlace;
        // A life is given for a blast only where there is no way away from it.
        if (move.kind == MoveKind::BombInPlace && escaped) continue;
        if (!q.wider && bomb != bool(q.bombs)) {
            bombsLeft = bombsLeft || bomb;
            continue;
        }
        const bool worked = TryWithRetries(n, move, q.wider || widened_);
        escaped = escaped || (worked && move.kind == MoveKind::Bomb);
    }
    for (const Found& f : found_) AddChild(f);
    found_.clear();
    if (bombsLeft) frontier_.Push({q.rank, n, q.cell, true, false}, false);
}

// The narrower moves have led nowhere, or have stopped finding new ground:
// each position they were tried from is visited once more, for the wider moves.
void Search::Widen()
{
    widened_ = true;
    for (std::int32_t n = 0; n < std::int32_t(nodes_.size()); ++n) {
        // One still waiting for its first visit tries the wider moves then.
        if ((flags_[n] & Superseded) || !(flags_[n] & Visited)) continue;
        frontier_.Push({Rank(n), n, CellOf(nodes_[n].snap), false, true}, false);
    }
}

void Search::Find(std::int32_t parent, const Move& move)
{
    const GameState& s = game_.state;
    const bool goal = runner_.ReachedGoal();
    if (!goal && s.Action != ActionNone && !Flying(s.Action)) return;

    const Node& p = nodes_[parent];
    // Once the last dig is spent, a character shut in has no way on.
    if (!goal && DigsInHand(s, s.Inventory) == 0 && DigsInHand(s, p.snap.Inventory) > 0) {
        const TickProbe at = ProbeAt(s);
        if (shutIn_.ShutIn(game_.map, at.BodyCol, at.BodyRow)) return;
    }
    std::int32_t reward = 0;
    for (const CellChange& c : runner_.Changes())
        if (c.after == TileEmpty) reward += Reward(c.before);
    std::int32_t spent = 0;
    for (int i = 0; i < 6; ++i)
        if (s.Inventory[i] < p.snap.Inventory[i]) spent += p.snap.Inventory[i] - s.Inventory[i];
    const std::int32_t g = p.g + runner_.Ticks() + ItemCost * spent + MissCost * runner_.Misses() - reward;

    Found f{};
    f.node.snap = TakeSnapshot(s);
    f.node.parent = parent;
    f.node.cave = caves_.Add(p.cave, runner_.Changes());
    f.node.move = move;
    f.node.g = g;
    f.place = goal ? 0 : Mix(Mix(Spot(s) ^ caves_.ToolKey(f.node.cave)) ^ std::uint64_t(s.Action));
    f.items = ItemsThatCount(s.Inventory);
    f.goal = goal;
    // The goal is the newest ground of all. Landing stays where it was:
    // on foot there waits with the rest until flying leads nowhere new. So
    // does a place reached at the price of a life, lest it take the ground
    // from a way there without.
    f.mayBeNew = !goal && move.kind != MoveKind::Land && !move.Has(Modifier::ThroughDeath);
    if (f.mayBeNew) {
        f.ground = Ground(s);
        reached_.Prefetch(f.ground);
    }
    arrivals_.Prefetch(f.place);
    found_.push_back(f);
}

void Search::AddChild(const Found& f)
{
    const auto id = std::int32_t(nodes_.size());
    if (!arrivals_.Admit(f.place, {id, f.node.g, f.items}, [&](std::int32_t n) { flags_[n] |= Superseded; })) return;
    const bool newGround =
        f.goal || (f.mayBeNew && reached_.Admit(f.ground, {id, 0, GroundItems(f.items)}, [](std::int32_t) {}));
    nodes_.push_back(f.node);
    flags_.push_back(f.goal ? ReachedGoal : 0);
    Push(id, newGround);
}

std::int64_t Search::Rank(std::int32_t n) const
{
    const Node& node = nodes_[n];
    const std::int32_t h = flags_[n] & ReachedGoal ? 0 : Guide(node.snap);
    const std::int64_t f = std::int64_t(node.g) * 10 + GuideWeight * h;
    return f * GuideRange + h;
}

void Search::Push(std::int32_t n, bool newGround)
{
    frontier_.Push({Rank(n), n, CellOf(nodes_[n].snap), false, false}, newGround);
}

// Plays the moves from the start to node n again, one after the other, for
// their input words. The map is left as the last move left it: the search is
// over.
std::vector<std::uint16_t> Search::InputsTo(std::int32_t n)
{
    std::vector<std::int32_t> path;
    for (std::int32_t i = n; i > 0; i = nodes_[i].parent) path.push_back(i);
    caves_.Apply(CaveVersions::Base, game_.map);
    RestoreSnapshot(game_.state, nodes_[0].snap);
    std::vector<std::uint16_t> inputs;
    for (auto it = path.rbegin(); it != path.rend(); ++it) {
        runner_.Start();
        RunMove(runner_, nodes_[*it].move);
        inputs.insert(inputs.end(), runner_.Words().begin(), runner_.Words().end());
    }
    return inputs;
}

std::size_t Search::Bytes() const
{
    return nodes_.Bytes() + flags_.capacity() + caves_.Bytes() + arrivals_.Bytes() + reached_.Bytes() +
           frontier_.Bytes();
}

SolveResult Search::Run()
{
    // Processor time, not the wall clock: a busy machine does not cut the search short.
    const std::clock_t started = std::clock();
    SolveResult result;
    const auto elapsed = [&] { return double(std::clock() - started) / CLOCKS_PER_SEC; };

    game_.state.Screen = ScreenPlay;
    try {
        Node root{};
        root.snap = TakeSnapshot(game_.state);
        root.parent = -1;
        root.cave = CaveVersions::Base;
        nodes_.push_back(root);
        flags_.push_back(0);
        Push(0, false);

        bool stopped = false;
        while (true) {
            std::optional<Queued> top = frontier_.Next();
            if (!top && !widened_) {
                Widen();
                top = frontier_.Next();
            }
            if (!top) break;
            if (flags_[top->node] & Superseded) continue;
            if (flags_[top->node] & ReachedGoal) {
                result.solved = true;
                result.inputs = InputsTo(top->node);
                break;
            }
            stopped = result.outOfExpansions = result.expansions >= limits_.maxExpansions;
            if ((result.expansions & 255) == 0 && !stopped) {
                result.outOfTime = limits_.maxSeconds > 0 && elapsed() > limits_.maxSeconds;
                result.outOfMemory = Bytes() > limits_.maxMemoryBytes;
                stopped = result.outOfTime || result.outOfMemory;
            }
            if (stopped) break;
            ++result.expansions;
            frontier_.Expanded(top->cell);
            Expand(*top);
            if (result.expansions % StallWindow == 0 && !widened_) {
                if (frontier_.NewGroundTaken() - newGroundBefore_ < StallNewGround) Widen();
                newGroundBefore_ = frontier_.NewGroundTaken();
            }
        }
        result.exhausted = !result.solved && !stopped;
    } catch (const std::bad_alloc&) {
        result.outOfMemory = true;
    }
    result.outOfTime = result.outOfTime || result.outOfMemory;
    result.positions = std::int64_t(nodes_.size());
    result.seconds = elapsed();
    return result;
}

}  // namespace

SolveResult Solve(Game& game, const SolveLimits& limits)
{
    Search search(game, limits);
    return search.Run();
}
