#include "tools/solver/solver.h"

#include <algorithm>
#include <ctime>
#include <deque>
#include <new>
#include <optional>

#include "play/actions.h"
#include "tools/solver/arrival_table.h"
#include "tools/solver/goal_distance.h"
#include "tools/solver/macro_runner.h"
#include "tools/solver/moves.h"
#include "tools/solver/play_snapshot.h"
#include "tools/solver/route_cost.h"

namespace {

// A best-first search over settled positions. A position is the play state
// where a move left it, with the cells that play changed since the start; the
// moves between positions are played tick by tick by the real frame tick. The
// price of a way is its ticks, plus a charge for every item spent, less a
// reward for what it collects; the guide to the goal leans on the distance
// left. Two positions are the same place when the character stands at the
// same pixel with the same action in a cave changed the same way by tools; of
// those, one with fewer items that got there later is dropped.

// What things are worth against ticks of play, and how hard the search leans
// toward the goal (in tenths: the guide counts so many times the price).
struct Weights {
    std::int32_t itemCost;
    std::int32_t itemReward;  // an item picked up that some move uses
    std::int64_t guideWeight;
};
constexpr Weights DemonstrationWeights{60, 12, 25};
constexpr Weights NewGroundWeights{60, 60, 25};
constexpr std::int32_t TicksPerCell = 4;  // walking or climbing a cell
constexpr std::int32_t ScarcityCost = 100;  // the detour to find an item the way needs
// Positions expanded in one cell before the search looks elsewhere first, and
// how that grows once every cell has had its share.
constexpr std::uint32_t FirstCrowd = 4;
constexpr std::uint32_t CrowdGrowth = 4;
constexpr std::uint32_t NoCrowd = 1 << 16;  // above every count: nothing waits
constexpr std::int32_t FarAway = 1 << 24;  // the guide's value where the goal cannot be reached

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

std::uint64_t Mix(std::uint64_t v)
{
    v += 0x9e3779b97f4a7c15ull;
    v = (v ^ (v >> 30)) * 0xbf58476d1ce4e5b9ull;
    v = (v ^ (v >> 27)) * 0x94d049bb133111ebull;
    return v ^ (v >> 31);
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

// Where the character stands, in one number.
std::uint64_t Spot(const GameState& s) { return Mix(std::uint64_t(std::uint32_t(s.PlayerX)) << 32 | std::uint32_t(s.PlayerY)); }

struct Node {
    PlaySnapshot snap;
    std::int32_t parent;
    std::int32_t mapLink;  // the nearest of this node and its ancestors whose move changed the map, or -1
    std::uint32_t changesBegin;
    std::uint16_t changesCount;
    Move move;             // the move from the parent
    std::uint64_t mapKey;  // the cells that tools changed
    std::int32_t g;
};

// What the search remembers of a node besides, in a byte of its own.
enum NodeFlag : std::uint8_t { ReachedGoal = 1, Superseded = 2 };

// A node waiting in an open list, by f, then by h, then by the order in which
// nodes were found (their numbers). `crowd` is the counter of its cell.
struct Queued {
    std::int64_t rank;  // f * 2^25 + h
    std::int32_t node;
    std::uint32_t crowd;
    bool operator>(const Queued& o) const { return rank != o.rank ? rank > o.rank : node > o.node; }
};

// Positions waiting to be expanded, the lowest f first.
class OpenList {
public:
    void Push(const Queued& q)
    {
        heap_.push_back(q);
        std::push_heap(heap_.begin(), heap_.end(), std::greater<>());
    }
    Queued Pop()
    {
        std::pop_heap(heap_.begin(), heap_.end(), std::greater<>());
        const Queued q = heap_.back();
        heap_.pop_back();
        return q;
    }
    bool Empty() const { return heap_.empty(); }
    std::size_t Bytes() const { return heap_.capacity() * sizeof(Queued); }

private:
    std::vector<Queued> heap_;
};

class Search {
public:
    Search(Game& game, const SolveLimits& limits)
        : game_(game), limits_(limits), weights_(Demonstration() ? DemonstrationWeights : NewGroundWeights),
          base_(game.map), runner_(game), stamp_(256 * 256, 0)
    {
        const int goalColumn = game.state.GoalX / CellSize, goalRow = game.state.GoalY / CellSize;
        if (Demonstration()) distance_.emplace(game.map, goalColumn, goalRow);
        else route_.emplace(game.map, goalColumn, goalRow);
    }

    SolveResult Run();

private:
    bool Demonstration() const { return limits_.style == SearchStyle::Demonstration; }
    std::int32_t Guide(const PlaySnapshot& p) const
    {
        const int column = (p.PlayerX + 4) / CellSize, row = p.PlayerY / CellSize;
        if (distance_) {
            const std::int32_t d = distance_->At(column, row);
            return d >= GoalDistance::Unreachable ? FarAway : d * TicksPerCell;
        }
        const std::int32_t d = route_->At(column, row);
        if (d >= RouteCost::Unreachable) return FarAway;
        // Items the way needs and the character does not hold must be found first.
        const int missing = route_->ItemsAt(column, row) - ToolsInHand(p.Inventory);
        return d + ScarcityCost * std::max(0, missing);
    }
    bool ToolMade(std::uint16_t cell, std::uint8_t tile) const
    {
        const std::uint8_t was = base_[cell >> 8][cell & 255];
        if (tile == was) return false;
        const std::uint8_t k = ClassOf(was);
        return !(tile == TileEmpty && (k == ClassItem || k == ClassTreasure));  // a pickup is no tool's work
    }
    std::int32_t ItemReward(std::uint8_t item) const
    {
        return Demonstration() || MovesUse(item) ? weights_.itemReward : 0;
    }
    // The counts that tell two arrivals apart: those of the items that some
    // move uses (all of them for the demonstration).
    ItemCounts ItemsThatCount(const ItemCounts& counts) const
    {
        ItemCounts kept = counts;
        for (std::size_t i = 0; i < kept.size(); ++i)
            if (!Demonstration() && !MovesUse(ItemsOf(game_.state.Variant)[i])) kept[i] = 0;
        return kept;
    }
    // Uses of the items that dig or lift: bombs, pickaxes and drills, ropes,
    // birds and jets.
    int ToolsInHand(const ItemCounts& counts) const
    {
        int uses = 0;
        for (std::size_t i = 0; i < counts.size(); ++i) {
            const std::uint8_t item = ItemsOf(game_.state.Variant)[i];
            if (item == Bomb || item == Rope || item == Pickaxe) uses += counts[i];
            if (item == Drill || item == Bird || item == Jet) uses += 3 * counts[i];
        }
        return uses;
    }
    // What counts as new ground: where the character is, what it is doing,
    // and the cells around it as movement sees them, so that a cell dug or a
    // rope laid beside it makes it new.
    std::uint64_t Ground(const GameState& s) const
    {
        const int column = (s.PlayerX + 4) / CellSize, row = s.PlayerY / CellSize;
        std::uint64_t around = s.Action;
        for (const Step& d : {Step{0, 0}, Step{0, -1}, Step{1, 0}, Step{0, 1}, Step{-1, 0}})
            around = around << 4 | MovementKind(game_.map[column + d.dx][row + d.dy]);
        return Mix(Spot(s) ^ around);
    }
    void Load(std::int32_t n);
    void Expand(std::int32_t n);
    // Plays `move` from node n; the runner tells how it went.
    void Try(std::int32_t n, const Move& move);
    void AddChild(std::int32_t parent, const Move& move);
    void Push(std::int32_t n, bool novel);
    std::optional<Queued> Next();
    std::vector<std::uint16_t> InputsTo(std::int32_t n);
    std::size_t Bytes() const;
    // The counter of expansions in the node's cell, with its flying action.
    static std::uint32_t Crowd(const PlaySnapshot& p)
    {
        const int flying = p.Action == ActionParachute ? 1 : p.Action == ActionBird ? 2 : p.Action == ActionJet ? 3 : 0;
        const int column = std::clamp((p.PlayerX + 4) / CellSize, 0, 255), row = std::clamp(p.PlayerY / CellSize, 0, 255);
        return std::uint32_t((column * 256 + row) * 4 + flying);
    }

    Game& game_;
    SolveLimits limits_;
    Weights weights_;
    CaveMap base_;
    std::optional<GoalDistance> distance_;
    std::optional<RouteCost> route_;
    MacroRunner runner_;

    std::deque<Node> nodes_;  // grows without copying what it holds
    std::vector<std::uint8_t> flags_;  // NodeFlag bits of each node
    std::vector<CellChange> changes_;
    ArrivalTable arrivals_;  // by place: position, action and the cells tools changed
    ArrivalTable reached_;   // by position and action alone: what counts as new ground
    OpenList newGround_, open_;
    // How often positions in each cell, with each flying action, were
    // expanded; a position in a cell expanded `crowded_` times already waits
    // in `deferred_` until everything else is done.
    std::vector<std::uint16_t> expandedIn_ = std::vector<std::uint16_t>(256 * 256 * 4);
    std::vector<Queued> deferred_;
    std::uint32_t crowded_ = FirstCrowd;

    // The map holds the base cave with the changes of the node `loaded_` and
    // its ancestors applied.
    std::int32_t loaded_ = -1;
    std::vector<std::uint16_t> loadedCells_;
    std::vector<std::uint32_t> stamp_;
    std::uint32_t round_ = 0;
};

void Search::Load(std::int32_t n)
{
    if (loaded_ == nodes_[n].mapLink) return;
    for (std::uint16_t cell : loadedCells_) game_.map[cell >> 8][cell & 255] = base_[cell >> 8][cell & 255];
    loadedCells_.clear();
    ++round_;
    // Newest changes first; an older change to the same cell is out of date.
    for (std::int32_t i = nodes_[n].mapLink; i >= 0;) {
        const Node& node = nodes_[i];
        for (std::uint32_t k = 0; k < node.changesCount; ++k) {
            const CellChange& c = changes_[node.changesBegin + k];
            if (stamp_[c.cell] == round_) continue;
            stamp_[c.cell] = round_;
            game_.map[c.cell >> 8][c.cell & 255] = c.after;
            loadedCells_.push_back(c.cell);
        }
        i = node.parent >= 0 ? nodes_[node.parent].mapLink : -1;
    }
    loaded_ = nodes_[n].mapLink;
}

void Search::Try(std::int32_t n, const Move& move)
{
    RestoreSnapshot(game_.state, nodes_[n].snap);
    runner_.Start();
    if (RunMove(runner_, move)) AddChild(n, move);
    runner_.Undo();
}

void Search::Expand(std::int32_t n)
{
    Load(n);
    RestoreSnapshot(game_.state, nodes_[n].snap);
    const std::vector<Move> moves = CandidateMoves(game_);
    const std::uint8_t flyer = FlyingItem(game_.state);
    const int flyerSlot = SlotOf(game_.state, flyer);
    const bool canFloat = (flyer == Parachute || flyer == Bird) && flyerSlot >= 0 &&
                          nodes_[n].snap.Inventory[flyerSlot] > 0 && nodes_[n].snap.Action != ActionParachute &&
                          nodes_[n].snap.Action != ActionBird;
    for (const Move& move : moves) {
        Try(n, move);
        if (runner_.Caught() && move.kind != MoveKind::Repel) {
            // The ghost came first: drive it off, then the move.
            Move first = move;
            first.repelFirst = true;
            Try(n, first);
        } else if (runner_.Died() && canFloat && !move.takeOff &&
                   (move.kind == MoveKind::Walk || move.kind == MoveKind::Climb || move.kind == MoveKind::Jump)) {
            // A fall that kills is survived under the parachute or with the bird.
            Move floating = move;
            floating.takeOff = true;
            Try(n, floating);
        }
    }
}

void Search::AddChild(std::int32_t parent, const Move& move)
{
    const GameState& s = game_.state;
    const bool goal = runner_.ReachedGoal();
    if (!goal && s.Action != ActionNone && s.Action != ActionParachute && s.Action != ActionBird && s.Action != ActionJet)
        return;

    const Node& p = nodes_[parent];
    std::uint64_t mapKey = p.mapKey;
    std::int32_t reward = 0;
    for (const CellChange& c : runner_.Changes()) {
        if (ToolMade(c.cell, c.before)) mapKey ^= Mix(std::uint64_t(c.cell) << 8 | c.before);
        if (ToolMade(c.cell, c.after)) mapKey ^= Mix(std::uint64_t(c.cell) << 8 | c.after);
        if (c.after == TileEmpty) reward += ClassOf(c.before) == ClassItem ? ItemReward(c.before) : TreasureReward(c.before);
    }
    std::int32_t spent = 0;
    for (int i = 0; i < 6; ++i)
        if (s.Inventory[i] < p.snap.Inventory[i]) spent += p.snap.Inventory[i] - s.Inventory[i];
    const std::int32_t g = p.g + runner_.Ticks() + weights_.itemCost * spent - reward;

    const auto id = std::int32_t(nodes_.size());
    const std::uint64_t place = goal ? 0 : Mix(Mix(Spot(s) ^ mapKey) ^ std::uint64_t(s.Action));
    const ItemCounts items = ItemsThatCount(s.Inventory);
    if (!arrivals_.Admit(place, {id, g, items}, [&](std::int32_t n) { flags_[n] |= Superseded; })) return;
    // The goal is the newest ground of all.
    const bool novel = !Demonstration() && (goal || reached_.Admit(Ground(s), {id, 0, items}, [](std::int32_t) {}));

    Node child{};
    child.snap = TakeSnapshot(s);
    child.parent = parent;
    child.move = move;
    child.changesBegin = std::uint32_t(changes_.size());
    child.changesCount = std::uint16_t(runner_.Changes().size());
    changes_.insert(changes_.end(), runner_.Changes().begin(), runner_.Changes().end());
    child.mapLink = child.changesCount ? id : p.mapLink;
    child.mapKey = mapKey;
    child.g = g;
    nodes_.push_back(child);
    flags_.push_back(goal ? ReachedGoal : 0);
    Push(id, novel);
}

void Search::Push(std::int32_t n, bool novel)
{
    const Node& node = nodes_[n];
    const std::int32_t h = flags_[n] & ReachedGoal ? 0 : std::min(Guide(node.snap), FarAway);
    const std::int64_t f = std::int64_t(node.g) * 10 + weights_.guideWeight * h;
    const Queued q{f * (std::int64_t(1) << 25) + h, n, Crowd(node.snap)};
    (novel ? newGround_ : open_).Push(q);
}

std::optional<Queued> Search::Next()
{
    if (!newGround_.Empty()) return newGround_.Pop();
    while (true) {
        while (!open_.Empty()) {
            const Queued q = open_.Pop();
            if (Demonstration() || expandedIn_[q.crowd] < crowded_) return q;
            deferred_.push_back(q);
        }
        if (deferred_.empty()) return std::nullopt;
        // Every cell is crowded: let more positions in each.
        crowded_ = std::min(crowded_ * CrowdGrowth, NoCrowd);
        for (const Queued& q : deferred_) open_.Push(q);
        deferred_.clear();
    }
}

// Plays the moves from the start to node n again, for their input words.
std::vector<std::uint16_t> Search::InputsTo(std::int32_t n)
{
    std::vector<std::int32_t> path;
    for (std::int32_t i = n; i > 0; i = nodes_[i].parent) path.push_back(i);
    std::vector<std::uint16_t> inputs;
    for (auto it = path.rbegin(); it != path.rend(); ++it) {
        const std::int32_t parent = nodes_[*it].parent;
        Load(parent);
        RestoreSnapshot(game_.state, nodes_[parent].snap);
        runner_.Start();
        RunMove(runner_, nodes_[*it].move);
        inputs.insert(inputs.end(), runner_.Words().begin(), runner_.Words().end());
        runner_.Undo();
    }
    return inputs;
}

std::size_t Search::Bytes() const
{
    return nodes_.size() * sizeof(Node) + flags_.capacity() + changes_.capacity() * sizeof(CellChange) + arrivals_.Bytes() +
           reached_.Bytes() + newGround_.Bytes() + open_.Bytes() +
           deferred_.capacity() * sizeof(Queued) + expandedIn_.size() * sizeof(std::uint16_t);
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
        root.mapLink = -1;
        nodes_.push_back(root);
        flags_.push_back(0);
        Push(0, false);

        bool stopped = false;
        while (const std::optional<Queued> top = Next()) {
            if (flags_[top->node] & Superseded) continue;
            if (flags_[top->node] & ReachedGoal) {
                result.solved = true;
                result.inputs = InputsTo(top->node);
                break;
            }
            stopped = result.expansions >= limits_.maxExpansions;
            if ((result.expansions & 255) == 0 && !stopped) {
                result.outOfTime = limits_.maxSeconds > 0 && elapsed() > limits_.maxSeconds;
                result.outOfMemory = Bytes() > limits_.maxMemoryBytes;
                stopped = result.outOfTime || result.outOfMemory;
            }
            if (stopped) break;
            ++result.expansions;
            std::uint16_t& crowd = expandedIn_[top->crowd];
            crowd = std::uint16_t(std::min(crowd + 1, 65535));
            Expand(top->node);
        }
        result.exhausted = !result.solved && !stopped;
    } catch (const std::bad_alloc&) {
        result.outOfMemory = true;
    }
    result.outOfTime = result.outOfTime || result.outOfMemory;
    result.positions = std::int64_t(nodes_.size());
    result.seconds = elapsed();
    result.memoryBytes = Bytes();
    return result;
}

}  // namespace

SolveResult Solve(Game& game, const SolveLimits& limits)
{
    Search search(game, limits);
    return search.Run();
}
