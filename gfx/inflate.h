#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

// Unpacking zlib streams: the deflate blocks (stored, fixed and dynamic
// Huffman codes) inside the zlib header and its Adler-32 check, as a PNG
// file's image data holds them.

struct InflateError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The `size` bytes that the zlib stream `stream` holds. The stream must hold
// exactly that many and nothing may follow it. Throws InflateError when it is
// damaged, ends early, holds more or fails its check; never reads outside
// `stream` and never keeps more than `size` bytes.
std::vector<std::uint8_t> InflateZlib(std::span<const std::uint8_t> stream, std::size_t size);

// The checksums of zlib and PNG, for a whole buffer.
std::uint32_t Adler32(std::span<const std::uint8_t> bytes);
std::uint32_t Crc32(std::span<const std::uint8_t> bytes);
