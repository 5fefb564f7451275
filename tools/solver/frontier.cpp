#include "tools/solver/frontier.h"

#include <algorithm>
#include <functional>

void Frontier::Heap::Push(const Queued& q)
{
    items_.push_back(q);
    std::push_heap(items_.begin(), items_.end(), std::greater<>());
}

Queued Frontier::Heap::Pop()
{
    std::pop_heap(items_.begin(), items_.end(), std::greater<>());
    const Queued q = items_.back();
    items_.pop_back();
    return q;
}

std::optional<Queued> Frontier::Next()
{
    if (!newGround_.Empty()) return newGround_.Pop();
    while (true) {
        while (!rest_.Empty()) {
            const Queued q = rest_.Pop();
            if (!crowding_ || expandedIn_[q.cell] < crowd_) return q;
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
