#pragma once

#include <cstddef>
#include <new>
#include <vector>

// Memory for the search's big tables, which it reaches at random: blocks of a
// megabyte or more are asked of the system in large pages where it has them,
// so that a look-up misses the address cache less often. Smaller blocks come
// from the usual heap.
void* AllocateLarge(std::size_t bytes);
void FreeLarge(void* p, std::size_t bytes);

template <typename T>
struct LargeAllocator {
    using value_type = T;

    LargeAllocator() = default;
    template <typename U>
    LargeAllocator(const LargeAllocator<U>&) {}

    T* allocate(std::size_t n)
    {
        if (n > std::size_t(-1) / sizeof(T)) throw std::bad_alloc();
        return static_cast<T*>(AllocateLarge(n * sizeof(T)));
    }
    void deallocate(T* p, std::size_t n) { FreeLarge(p, n * sizeof(T)); }

    template <typename U>
    bool operator==(const LargeAllocator<U>&) const { return true; }
};

template <typename T>
using LargeVector = std::vector<T, LargeAllocator<T>>;
