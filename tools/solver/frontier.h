#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "tools/solver/large_allocator.h"

// A position waiting to be expanded: lowest rank first, then the node found
// first. `cell` names where it stands, for counting the expansions there;
// `bombs` marks the second visit to a node, for its bombs alone, and `wider`
// a last one, for the moves tried once all others led nowhere.
struct Queued {
    std::int64_t rank;
    std::int32_t node;
    std::uint32_t cell : 30;
    std::uint32_t bombs : 1;
    std::uint32_t wider : 1;
    bool operator>(const Queued& o) const { return rank != o.rank ? rank > o.rank : node > o.node; }
};

// The positions waiting to be expanded, in the order the search takes them:
// new ground first, then the rest, where a position in a cell where many were
// expanded already waits until every other cell has had as many.
class Frontier {
public:
    static constexpr std::uint32_t Cells = 256 * 256 * 4;  // of the map, by flying action

    void Push(const Queued& q, bool newGround) { (newGround ? newGround_ : rest_).Push(q); }
    std::optional<Queued> Next();
    // Counts an expansion in the cell.
    void Expanded(std::uint32_t cell);
    // The positions taken from new ground so far.
    std::int64_t NewGroundTaken() const { return newGroundTaken_; }
    std::size_t Bytes() const;

private:
    class Heap {
    public:
        void Push(const Queued& q);
        Queued Pop();
        bool Empty() const { return items_.empty(); }
        std::size_t Bytes() const { return items_.capacity() * sizeof(Queued); }

    private:
        static constexpr std::size_t Arity = 4;
        LargeVector<Queued> items_;
    };

    Heap newGround_, rest_;
    std::vector<std::uint16_t> expandedIn_ = std::vector<std::uint16_t>(Cells);
    LargeVector<Queued> waiting_;
    std::uint32_t crowd_ = FirstCrowd;
    std::int64_t newGroundTaken_ = 0;

    // Expansions in a cell before its positions wait, and how that grows
    // once every cell has had its share.
    static constexpr std::uint32_t FirstCrowd = 4;
    static constexpr std::uint32_t CrowdGrowth = 4;
    static constexpr std::uint32_t NoCrowd = 1 << 16;  // above every count: nothing waits
};
