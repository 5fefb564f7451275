#include "tools/solver/arrival_table.h"

bool Covers(const ItemCounts& a, const ItemCounts& b)
{
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] < b[i]) return false;
    return true;
}

std::int32_t& ArrivalTable::HeadOf(std::uint64_t place)
{
    if (2 * (places_ + 1) > heads_.size()) {
        // Twice as many rooms, and every place moved to its room there.
        LargeVector<Head> old(heads_.size() * 2);
        old.swap(heads_);
        places_ = 0;
        for (const Head& h : old)
            if (h.used) HeadOf(h.place) = h.link;
    }
    const std::size_t mask = heads_.size() - 1;
    // The places are well-mixed hashes already: their low bits pick the room.
    for (std::size_t i = place & mask;; i = (i + 1) & mask) {
        Head& h = heads_[i];
        if (h.used && h.place == place) return h.link;
        if (!h.used) {
            h = {place, -1, true};
            ++places_;
            return h.link;
        }
    }
}

std::int32_t ArrivalTable::NewLink(const Arrival& arrival, std::int32_t next)
{
    if (free_ >= 0) {
        const std::int32_t i = free_;
        free_ = links_[i].next;
        links_[i] = {arrival, next};
        return i;
    }
    links_.push_back({arrival, next});
    return std::int32_t(links_.size() - 1);
}

std::size_t ArrivalTable::Bytes() const
{
    return heads_.capacity() * sizeof(Head) + links_.capacity() * sizeof(Link);
}
