#include "tools/solver/solver.h"

#include <ctime>
#include <deque>
#include <queue>
#include <unordered_map>

#include "play/actions.h"
#include "tools/solver/goal_distance.h"
#include "tools/solver/macro_runner.h"
#include "tools/solver/moves.h"
#include "tools/solver/play_snapshot.h"

namespace {

// A best-first search over settled positions. A position is the play state
// where a move left it, with the cells that play changed since the start; the
// moves between positions are played tick by tick by the real frame tick. The
// price of a way is its ticks, plus a charge for every item spent, less a
// reward for what it collects; the guide to the goal leans on the distance in
// cells. Two positions are the same place when the character stands at the
// same pixel with the same action in a cave changed the same way by tools; of
// those, one with fewer items that got there later is dropped.

// What things are worth against ticks of play.
constexpr std::int32_t ItemCost = 60;     // an item spent: kept for later when walking costs little more
constexpr std::int32_t TicksPerCell = 4;  // walking or climbing a cell
constexpr std::int64_t GuideWeight = 25;  // tenths: how hard the search leans toward the goal

// The detour, in ticks, that a treasure or an item on the way is worth.
std::int32_t Reward(std::uint8_t tile)
{
    switch (tile) {
    case TileCoin: return 6;
    case TileMoneyBag: return 40;
    case TileDiamond: return 250;
    default: return ClassOf(tile) == ClassItem ? 12 : 0;
    }
}

std::uint64_t Mix(std::uint64_t v)
{
    v += 0x9e3779b97f4a7c15ull;
    v = (v ^ (v >> 30)) * 0xbf58476d1ce4e5b9ull;
    v = (v ^ (v >> 27)) * 0x94d049bb133111ebull;
    return v ^ (v >> 31);
}

struct Node {
    PlaySnapshot snap;
    std::int32_t parent;
    std::int32_t mapLink;  // the nearest of this node and its ancestors whose move changed the map, or -1
    std::uint32_t wordsBegin, changesBegin;
    std::uint16_t wordsCount, changesCount;
    std::uint64_t mapKey;  // the cells that tools changed
    std::int32_t g;
    bool goal;
    bool superseded;
};

struct Entry {
    std::int32_t node;
    std::int32_t g;
    std::array<std::uint8_t, 6> inventory;
};

struct Queued {
    std::int64_t f;
    std::int32_t h;
    std::int64_t order;
    std::int32_t node;
    bool operator>(const Queued& o) const
    {
        if (f != o.f) return f > o.f;
        if (h != o.h) return h > o.h;
        return order > o.order;
    }
};

bool Covers(const std::array<std::uint8_t, 6>& a, const std::array<std::uint8_t, 6>& b)
{
    for (int i = 0; i < 6; ++i)
        if (a[i] < b[i]) return false;
    return true;
}

class Search {
public:
    Search(Game& game, const SolveLimits& limits)
        : game_(game), limits_(limits), base_(game.map),
          distance_(game.map, game.state.GoalX / CellSize, game.state.GoalY / CellSize), runner_(game),
          stamp_(256 * 256, 0)
    {
    }

    SolveResult Run();

private:
    std::int32_t Guide(const PlaySnapshot& p) const
    {
        const std::int32_t d = distance_.At((p.PlayerX + 4) / CellSize, p.PlayerY / CellSize);
        return d >= GoalDistance::Unreachable ? 1 << 24 : d * TicksPerCell;
    }
    bool ToolMade(std::uint16_t cell, std::uint8_t tile) const
    {
        const std::uint8_t was = base_[cell >> 8][cell & 255];
        if (tile == was) return false;
        const std::uint8_t k = ClassOf(was);
        return !(tile == TileEmpty && (k == ClassItem || k == ClassTreasure));  // a pickup is no tool's work
    }
    void Load(std::int32_t n);
    // Plays `move` from node n; true when the character died on the way.
    bool Try(std::int32_t n, const Move& move);
    void AddChild(std::int32_t parent);
    void Push(std::int32_t n);
    std::vector<std::uint16_t> InputsTo(std::int32_t n) const;

    Game& game_;
    SolveLimits limits_;
    CaveMap base_;
    GoalDistance distance_;
    MacroRunner runner_;

    std::deque<Node> nodes_;  // grows without copying what it holds
    std::vector<std::uint16_t> words_;
    std::vector<CellChange> changes_;
    std::unordered_map<std::uint64_t, std::vector<Entry>> seen_;
    std::priority_queue<Queued, std::vector<Queued>, std::greater<>> open_;
    std::int64_t order_ = 0;

    // The map holds the base cave with the changes of `loaded_` applied.
    std::int32_t loaded_ = -1;
    std::vector<std::uint16_t> loadedCells_;
    std::vector<std::uint32_t> stamp_;
    std::uint32_t round_ = 0;
};

void Search::Load(std::int32_t n)
{
    if (loaded_ == n) return;
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
    loaded_ = n;
}

bool Search::Try(std::int32_t n, const Move& move)
{
    RestoreSnapshot(game_.state, nodes_[n].snap);
    runner_.Start();
    if (RunMove(runner_, move)) AddChild(n);
    runner_.Undo();
    return runner_.Died();
}

void Search::AddChild(std::int32_t parent)
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
        if (c.after == TileEmpty) reward += Reward(c.before);
    }
    std::int32_t spent = 0;
    for (int i = 0; i < 6; ++i)
        if (s.Inventory[i] < p.snap.Inventory[i]) spent += p.snap.Inventory[i] - s.Inventory[i];
    const std::int32_t g = p.g + runner_.Ticks() + ItemCost * spent - reward;

    const std::uint64_t key =
        goal ? 0 : Mix(Mix(Mix(std::uint64_t(std::uint32_t(s.PlayerX)) << 32 | std::uint32_t(s.PlayerY)) ^ mapKey) ^
                       std::uint64_t(s.Action));
    std::vector<Entry>& entries = seen_[key];
    for (const Entry& e : entries)
        if (e.g <= g && Covers(e.inventory, s.Inventory)) return;
    std::erase_if(entries, [&](const Entry& e) {
        const bool worse = g <= e.g && Covers(s.Inventory, e.inventory);
        if (worse) nodes_[e.node].superseded = true;
        return worse;
    });

    Node child{};
    child.snap = TakeSnapshot(s);
    child.parent = parent;
    child.wordsBegin = std::uint32_t(words_.size());
    child.wordsCount = std::uint16_t(runner_.Words().size());
    words_.insert(words_.end(), runner_.Words().begin(), runner_.Words().end());
    child.changesBegin = std::uint32_t(changes_.size());
    child.changesCount = std::uint16_t(runner_.Changes().size());
    changes_.insert(changes_.end(), runner_.Changes().begin(), runner_.Changes().end());
    const auto id = std::int32_t(nodes_.size());
    child.mapLink = child.changesCount ? id : p.mapLink;
    child.mapKey = mapKey;
    child.g = g;
    child.goal = goal;
    nodes_.push_back(child);
    entries.push_back({id, g, s.Inventory});
    Push(id);
}

void Search::Push(std::int32_t n)
{
    const Node& node = nodes_[n];
    const std::int32_t h = node.goal ? 0 : Guide(node.snap);
    open_.push({std::int64_t(node.g) * 10 + GuideWeight * h, h, order_++, n});
}

std::vector<std::uint16_t> Search::InputsTo(std::int32_t n) const
{
    std::vector<std::int32_t> path;
    for (std::int32_t i = n; i > 0; i = nodes_[i].parent) path.push_back(i);
    std::vector<std::uint16_t> inputs;
    for (auto it = path.rbegin(); it != path.rend(); ++it)
        inputs.insert(inputs.end(), words_.begin() + nodes_[*it].wordsBegin,
                      words_.begin() + nodes_[*it].wordsBegin + nodes_[*it].wordsCount);
    return inputs;
}

SolveResult Search::Run()
{
    // Processor time, not the wall clock: a busy machine does not cut the search short.
    const std::clock_t started = std::clock();
    SolveResult result;
    const auto elapsed = [&] { return double(std::clock() - started) / CLOCKS_PER_SEC; };

    game_.state.Screen = ScreenPlay;
    Node root{};
    root.snap = TakeSnapshot(game_.state);
    root.parent = -1;
    root.mapLink = -1;
    nodes_.push_back(root);
    Push(0);

    while (!open_.empty()) {
        const Queued top = open_.top();
        open_.pop();
        if (nodes_[top.node].superseded) continue;
        if (nodes_[top.node].goal) {
            result.solved = true;
            result.inputs = InputsTo(top.node);
            break;
        }
        if (result.expansions >= limits_.maxExpansions) break;
        if (limits_.maxSeconds > 0 && (result.expansions & 255) == 0 && elapsed() > limits_.maxSeconds) {
            result.outOfTime = true;
            break;
        }
        ++result.expansions;

        const std::int32_t n = top.node;
        Load(n);
        RestoreSnapshot(game_.state, nodes_[n].snap);
        const std::vector<Move> moves = CandidateMoves(game_);
        const std::uint8_t flyer = FlyingItem(game_.state);
        const int flyerSlot = SlotOf(game_.state, flyer);
        const bool canFloat = (flyer == Parachute || flyer == Bird) && flyerSlot >= 0 &&
                              nodes_[n].snap.Inventory[flyerSlot] > 0 && nodes_[n].snap.Action != ActionParachute &&
                              nodes_[n].snap.Action != ActionBird;
        for (const Move& move : moves) {
            const bool died = Try(n, move);
            // A fall that kills is survived under the parachute or with the bird.
            if (died && canFloat && !move.takeOff &&
                (move.kind == MoveKind::Walk || move.kind == MoveKind::Climb || move.kind == MoveKind::Jump)) {
                Move floating = move;
                floating.takeOff = true;
                Try(n, floating);
            }
        }
    }
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
