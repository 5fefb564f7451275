#pragma once

#include <cstddef>
#include <vector>

#include "tools/solver/large_allocator.h"

// A growing array kept in large blocks that never move: adding to it copies
// nothing, and what it holds stays where it is.
template <typename T>
class BlockStore {
public:
    T& operator[](std::size_t i) { return blocks_[i / BlockSize][i % BlockSize]; }
    const T& operator[](std::size_t i) const { return blocks_[i / BlockSize][i % BlockSize]; }
    std::size_t size() const { return size_; }
    void push_back(const T& value)
    {
        if (size_ % BlockSize == 0) blocks_.emplace_back().reserve(BlockSize);
        blocks_.back().push_back(value);
        ++size_;
    }
    std::size_t Bytes() const { return blocks_.size() * BlockSize * sizeof(T); }

private:
    static constexpr std::size_t BlockSize = std::size_t(1) << 14;
    std::vector<LargeVector<T>> blocks_;
    std::size_t size_ = 0;
};
