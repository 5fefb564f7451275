#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// Reads a fuzzer's bytes from the front; past the end everything is zero.
class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    std::uint32_t Word32()
    {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v |= std::uint32_t(Byte()) << (8 * i);
        return v;
    }
    const std::uint8_t* Rest() const { return data_ + pos_; }
    std::size_t RestSize() const { return size_ - pos_; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

// A finding: say what broke and stop, so that the fuzzer keeps the input.
[[noreturn]] inline void Broken(const char* what, const char* detail = "")
{
    std::fprintf(stderr, "invariant broken: %s %s\n", what, detail);
    std::abort();
}
