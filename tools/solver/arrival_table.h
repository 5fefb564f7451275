#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "tools/solver/large_allocator.h"

using ItemCounts = std::array<std::uint8_t, 6>;

// True when `a` holds at least as many of every item as `b`.
bool Covers(const ItemCounts& a, const ItemCounts& b);

// The arrivals at each place (a key the search makes of a position) that are
// still worth searching from. An arrival that came no cheaper than an earlier
// one at the same place and with no more of any item has nothing new to try.
class ArrivalTable {
public:
    struct Arrival {
        std::int32_t node;
        std::int32_t price;
        ItemCounts items;
    };

    // Records `arrival` unless an earlier one at `place` covers it (false).
    // Earlier arrivals that it covers are forgotten and passed to `dropped`.
    template <typename Dropped>
    bool Admit(std::uint64_t place, const Arrival& arrival, Dropped dropped);

    // Starts fetching the place's room from memory, for an Admit soon after.
    void Prefetch(std::uint64_t place) const { __builtin_prefetch(&heads_[place & (heads_.size() - 1)]); }

    // The memory the table holds, roughly.
    std::size_t Bytes() const;

private:
    struct Link {
        Arrival arrival;
        std::int32_t next;  // the next arrival at the same place, or -1
    };
    // The first arrival at a place, in an open-addressed table of places.
    struct Head {
        std::uint64_t place;
        std::int32_t link;  // -1 when every arrival there was forgotten
        bool used;
    };
    std::int32_t& HeadOf(std::uint64_t place);
    std::int32_t NewLink(const Arrival& arrival, std::int32_t next);

    LargeVector<Head> heads_ = LargeVector<Head>(1024);
    std::size_t places_ = 0;
    LargeVector<Link> links_;
    std::int32_t free_ = -1;  // links forgotten, chained for reuse
};

template <typename Dropped>
bool ArrivalTable::Admit(std::uint64_t place, const Arrival& arrival, Dropped dropped)
{
    std::int32_t& head = HeadOf(place);
    std::int32_t* link = &head;
    for (std::int32_t i = *link; i >= 0; i = links_[i].next) {
        const Arrival& earlier = links_[i].arrival;
        if (earlier.price <= arrival.price && Covers(earlier.items, arrival.items)) return false;
    }
    while (*link >= 0) {
        Link& l = links_[*link];
        if (arrival.price <= l.arrival.price && Covers(arrival.items, l.arrival.items)) {
            dropped(l.arrival.node);
            const std::int32_t gone = *link;
            *link = l.next;
            links_[gone].next = free_;
            free_ = gone;
        } else {
            link = &l.next;
        }
    }
    head = NewLink(arrival, head);
    return true;
}
