#include "cave/generator.h"

#include <algorithm>
#include <cmath>

#include "cave/random.h"
#include "cave/reachability.h"
#include "cave/replay.h"

float CaveDensity(int width, int height)
{
    const long e = (long(width) * height + long(width + 20) * (height + 20)) / 2;
    return float(static_cast<long double>(e) / 48866.0L);
}

int Count(float density, int k)
{
    // A float times a small whole number is exact in a double.
    return int(std::nearbyint(double(density) * k));
}

namespace {

// The generation's working state: the map, the random state and a budget of
// candidate cells shared by every placement search.
class Builder {
public:
    Builder(GameState& s, CaveMap& map) : s_(s), map_(map) {}

    std::uint32_t Random(std::uint32_t n) { return RandomBelow(s_.RandomState, n); }
    std::uint8_t& At(int x, int y) { return map_[x][y]; }

    void Fill()
    {
        for (auto& column : map_) column.fill(TileHardRock);
    }

    void ClearCore(int w, int h)
    {
        for (int x = 20; x < 20 + w; ++x)
            for (int y = 20; y < 20 + h; ++y) At(x, y) = TileEmpty;
    }

    // Runs of five cells, two of rock and two carved out again, reaching ten
    // cells past the core on the left and top and nine on the right and bottom.
    void Strokes(int w, int h, int passes)
    {
        for (int i = 0; i < passes; ++i)
            for (std::uint8_t tile : {TileDiggable, TileEmpty}) {
                int x = int(Random(w + 15)) + 10, y = int(Random(h + 16)) + 12;
                for (int k = 0; k < 5; ++k) At(x + k, y) = tile;
                x = int(Random(w + 16)) + 12;
                y = int(Random(h + 15)) + 10;
                for (int k = 0; k < 5; ++k) At(x, y + k) = tile;
            }
    }

    // Draws cells, column first, until one passes `fits`; false when the
    // search ran out of candidates.
    struct Range {
        std::uint32_t count;
        int first;
    };
    template <typename Fits>
    bool Search(Range columns, Range rows, int& x, int& y, Fits fits)
    {
        do {
            if (++candidates_ > PlacementSearchLimit) return false;
            x = int(Random(columns.count)) + columns.first;
            y = int(Random(rows.count)) + rows.first;
        } while (!fits(x, y));
        return true;
    }

    // Part of the diggable rock hardens, in pieces of up to three cells.
    bool Thinning(int passes)
    {
        for (int i = 0; i < passes; ++i) {
            int x, y;
            if (!Search({254, 1}, {254, 1}, x, y, [&](int cx, int cy) { return At(cx, cy) == TileDiggable; })) return false;
            for (int cx = x - 1; cx <= x + 1; ++cx)
                if (At(cx, y) == TileDiggable) At(cx, y) = TileHardRock;
        }
        return true;
    }

    // Ropes and ladders hang from a ceiling to just above a floor, five cells or more.
    bool RopesAndLadders(int count)
    {
        for (int i = 0; i < count; ++i) {
            const auto tile = std::uint8_t(Random(2) + TileRope);
            int x, y, below = 0;
            if (!Search({256, 0}, {254, 1}, x, y, [&](int cx, int cy) {
                    if (At(cx, cy) != TileEmpty || At(cx, cy - 1) == TileEmpty) return false;
                    below = 0;
                    while (cy + 1 + below < 256 && At(cx, cy + 1 + below) == TileEmpty) ++below;
                    return below >= 4;
                }))
                return false;
            for (int cy = y + below; cy >= y; --cy) At(x, cy) = tile;
        }
        return true;
    }

    bool Goal()
    {
        int x, y;
        if (!Search({256, 0}, {254, 1}, x, y, [&](int cx, int cy) { return At(cx, cy) == TileEmpty && At(cx, cy + 1) != TileEmpty; }))
            return false;
        At(x, y) = TileGoal;
        s_.GoalX = x * CellSize;
        s_.GoalY = y * CellSize;
        return true;
    }

    // Items and treasures lie in an empty cell on solid rock.
    bool Scatter(std::uint8_t tile, int count)
    {
        for (int i = 0; i < count; ++i) {
            int x, y;
            if (!Search({256, 0}, {254, 0}, x, y, [&](int cx, int cy) {
                    return At(cx, cy) == TileEmpty && ClassOf(At(cx, cy + 1)) == ClassSolid;
                }))
                return false;
            At(x, y) = tile;
        }
        return true;
    }

    // The start stands on rock more than `separation` cells from the goal,
    // across and down. PlayerX and PlayerY keep the last try.
    bool Start(int w, int h, GenerationReport& report)
    {
        const int separation = int(std::nearbyint(std::sqrt(static_cast<long double>(w) * h) * 80.0L / 216.0L));
        for (int tries = 1; tries <= 1000; ++tries) {
            const int x = int(Random(w + 20)) + 1, y = int(Random(h + 20)) + 1;
            s_.PlayerX = x * CellSize;
            s_.PlayerY = y * CellSize;
            report.startTries = tries;
            if (At(x, y) == TileEmpty && ClassOf(At(x, y + 1)) == ClassSolid &&
                std::abs(s_.PlayerX - s_.GoalX) > separation * CellSize &&
                std::abs(s_.PlayerY - s_.GoalY) > separation * CellSize)
                return true;
        }
        return false;
    }

private:
    GameState& s_;
    CaveMap& map_;
    std::int64_t candidates_ = 0;
};

bool PlaceEverything(Builder& b, int variant, float density)
{
    if (!b.Thinning(Count(density, 5000))) return false;
    if (!b.RopesAndLadders(Count(density, 1000))) return false;
    if (!b.Goal()) return false;
    // The wand never lies in a cave: its owner starts with it.
    for (int slot = variant == 1 ? 1 : 0; slot < 6; ++slot)
        if (!b.Scatter(ItemKinds[variant][slot], Count(density, 100))) return false;
    for (int i = 0; i < 3; ++i)
        if (!b.Scatter(std::uint8_t(TileCoin + i), Count(density, TreasureDensity[i]))) return false;
    return true;
}

void ResetPlayState(GameState& s, bool beginner)
{
    s.FrameIndex = FirstInputWord;
    s.PlaySeconds = 0;
    s.SelectedSlot = 0;
    s.Action = 0;
    s.DeathTimer = 0;
    s.Misses = 0;
    s.Score = 0;
    s.FrameRate = 0;
    s.FramesThisSecond = 0;
    s.GhostTimer = 0;
    s.FallSpeed = 0;  // a game never inherits the last one's jump
    if (beginner) s.Inventory = {9, 9, 9, 9, 9, 9};
    else s.Inventory = {2, 2, 2, 0, 0, 0};
}

}  // namespace

bool GenerateCave(GameState& s, CaveMap& map, const GameSettings& settings, GenerationReport* report)
{
    GenerationReport local;
    GenerationReport& r = report ? *report : local;
    r = {};
    const int w = std::clamp(settings.width, 1, MaxCaveSize), h = std::clamp(settings.height, 1, MaxCaveSize);
    const int variant = std::clamp(settings.variant, 0, 2);
    const bool beginner = settings.beginner;

    s.RandomState = settings.seed;
    const float density = CaveDensity(w, h);

    Builder b(s, map);
    b.Fill();
    b.ClearCore(w, h);
    b.Strokes(w, h, Count(density, 5000));
    if (!PlaceEverything(b, variant, density)) {
        // A cave with no room for what it must hold: no start, no check.
        r.searchGaveUp = true;
        ResetPlayState(s, beginner);
        return false;
    }

    r.startFound = b.Start(w, h, r);
    bool ok = r.startFound;
    if (!s.DemoMode) {
        r.goalReachable = CheckReachable(map, s.ReplayBuffer, s.PlayerX / CellSize, s.PlayerY / CellSize);
        if (!r.goalReachable) ok = false;
        std::fill(s.ReplayBuffer.begin() + 2, s.ReplayBuffer.begin() + 65536, 0);
        for (int i = 0; i < 4; ++i) s.ReplayBuffer[i] = std::uint16_t((s.RandomState >> (8 * i)) & 0xffu);
    }
    ResetPlayState(s, beginner);
    return ok;
}
