#include "tools/solver/frontier.h"

#include <algorithm>

// A heap of four children to a parent: half as many levels to go through as
// a binary one, and the four share a cache line or two.
void Frontier::Heap::Push(const Queued& q)
{
    std::size_t i = items_.size();
    items_.push_back(q);
    while (i > 0) {
        const std::size_t parent = (i - 1) / Arity;
        if (!(items_[parent] > q)) break;
        items_[i] = items_[parent];
        i = parent;
    }
    items_[i] = q;
}

Queued Frontier::Heap::Pop()
{
    const Queued top = items_.front();
    const Queued last = items_.back();
    items_.pop_back();
    const std::size_t n = items_.size();
    if (n == 0) return top;
    std::size_t i = 0;
    while (true) {
        const std::size_t first = i * Arity + 1;
        if (first >= n) break;
        std::size_t least = first;
        for (std::size_t c = first + 1; c < std::min(first + Arity, n); ++c)
            if (items_[least] > items_[c]) least = c;
        if (!(last > items_[least])) break;
        items_[i] = items_[least];
        i = least;
    }
    items_[i] = last;
    return top;
}

std::optional<Queued> Frontier::Next()
{
    if (!newGround_.Empty()) {
        ++newGroundTaken_;
        return newGround_.Pop();
    }
    while (true) {
        while (!rest_.Empty()) {
            const Queued q = rest_.Pop();
            if (expandedIn_[q.cell] < crowd_) return q;
            waiting_.push_back(q);
        }
        if (waiting_.empty()) return std::nullopt;
        // Every cell is crowded: let more positions in each.
        crowd_ = std::min(crowd_ * CrowdGrowth, NoCrowd);
        for (const Queued& q : waiting_) rest_.Push(q);
        waiting_.clear();
    }
}

void Frontier::Expanded(std::uint32_t cell) { expandedIn_[cell] = std::uint16_t(std::min(expandedIn_[cell] + 1, 65535)); }

std::size_t Frontier::Bytes() const
{
    return newGround_.Bytes() + rest_.Bytes() + waiting_.capacity() * sizeof(Queued) +
           expandedIn_.capacity() * sizeof(std::uint16_t);
}
