#include "gfx/inflate.h"

#include <algorithm>
#include <array>

namespace {

// The bits of a deflate stream, first bit the lowest of the first byte.
class BitReader {
public:
    explicit BitReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    // The next n bits (n <= 32) without taking them; past the end they read as zero.
    std::uint32_t Peek(int n)
    {
        while (count_ <= 56) {
            std::uint64_t byte = 0;
            if (next_ < bytes_.size()) byte = bytes_[next_];
            else padding_ += 8;
            ++next_;
            held_ |= byte << count_;
            count_ += 8;
        }
        return std::uint32_t(held_ & ((std::uint64_t(1) << n) - 1));
    }
    void Drop(int n)
    {
        if (n > count_ - padding_) throw InflateError("the compressed data ends early");
        held_ >>= n;
        count_ -= n;
    }
    std::uint32_t Take(int n)
    {
        const std::uint32_t v = Peek(n);
        Drop(n);
        return v;
    }
    void SkipToByte() { Drop(count_ % 8); }
    bool AtEnd() const { return 8 * next_ - std::size_t(count_) == 8 * bytes_.size(); }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t next_ = 0;  // bytes moved into held_, the zeros past the end too
    std::uint64_t held_ = 0;
    int count_ = 0;    // bits in held_
    int padding_ = 0;  // of them, the zeros past the end
};

constexpr int MaxCodeBits = 15;
constexpr int FastBits = 10;

// A canonical Huffman code. Codes of up to FastBits bits are found with one
// look-up of the next FastBits bits; longer ones bit by bit.
class HuffmanCode {
public:
    // From the code length of each symbol (0: the symbol is not used). A code
    // that leaves codes unused is refused, except a single code of one bit,
    // and no code at all when `mayBeEmpty`.
    HuffmanCode(const std::uint8_t* lengths, int symbols, bool mayBeEmpty)
    {
        for (int s = 0; s < symbols; ++s) ++count_[lengths[s]];
        const int used = symbols - count_[0];
        if (used == 0) {
            if (!mayBeEmpty) throw InflateError("a Huffman code without codes");
            return;
        }
        int left = 1;
        for (int len = 1; len <= MaxCodeBits; ++len) {
            left = 2 * left - count_[len];
            if (left < 0) throw InflateError("a Huffman code with too many codes");
        }
        if (left > 0 && !(used == 1 && count_[1] == 1)) throw InflateError("a Huffman code with codes missing");

        std::array<int, MaxCodeBits + 2> offset{};
        for (int len = 1; len <= MaxCodeBits; ++len) offset[len + 1] = offset[len] + count_[len];
        std::array<int, MaxCodeBits + 1> next{};
        for (int len = 1, code = 0; len <= MaxCodeBits; ++len)
            next[len] = code = (code + (len > 1 ? count_[len - 1] : 0)) << 1;
        for (int s = 0; s < symbols; ++s) {
            const int len = lengths[s];
            if (len == 0) continue;
            symbol_[offset[len]++] = std::uint16_t(s);
            const int code = next[len]++;
            if (len > FastBits) continue;
            int reversed = 0;
            for (int b = 0; b < len; ++b) reversed |= ((code >> b) & 1) << (len - 1 - b);
            for (int i = reversed; i < (1 << FastBits); i += 1 << len) fast_[i] = std::uint16_t(s << 4 | len);
        }
    }

    int Decode(BitReader& in) const
    {
        std::uint32_t bits = in.Peek(MaxCodeBits);
        if (const std::uint16_t e = fast_[bits & ((1u << FastBits) - 1)]) {
            in.Drop(e & 15);
            return e >> 4;
        }
        int code = 0, first = 0, index = 0;
        for (int len = 1; len <= MaxCodeBits; ++len) {
            code |= int(bits & 1);
            bits >>= 1;
            if (code - first < count_[len]) {
                in.Drop(len);
                return symbol_[index + code - first];
            }
            index += count_[len];
            first = (first + count_[len]) << 1;
            code <<= 1;
        }
        throw InflateError("a code that the Huffman code does not have");
    }

private:
    std::array<std::uint16_t, 1 << FastBits> fast_{};  // symbol << 4 | length; 0 for longer codes
    std::array<std::uint16_t, MaxCodeBits + 1> count_{};
    std::array<std::uint16_t, 288> symbol_{};  // by length, then by symbol
};

constexpr std::array<std::uint16_t, 29> LengthBase = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                                      31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<std::uint8_t, 29> LengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                      2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<std::uint16_t, 30> DistanceBase = {1,    2,    3,    4,    5,    7,     9,     13,    17,  25,
                                                        33,   49,   65,   97,   129,  193,   257,   385,   513, 769,
                                                        1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<std::uint8_t, 30> DistanceExtra = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                                        6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

const HuffmanCode& FixedLiterals()
{
    static const HuffmanCode code = [] {
        std::array<std::uint8_t, 288> lengths{};
        std::fill(lengths.begin(), lengths.begin() + 144, 8);
        std::fill(lengths.begin() + 144, lengths.begin() + 256, 9);
        std::fill(lengths.begin() + 256, lengths.begin() + 280, 7);
        std::fill(lengths.begin() + 280, lengths.end(), 8);
        return HuffmanCode(lengths.data(), 288, false);
    }();
    return code;
}

const HuffmanCode& FixedDistances()
{
    static const HuffmanCode code = [] {
        std::array<std::uint8_t, 32> lengths;
        lengths.fill(5);
        return HuffmanCode(lengths.data(), 32, false);
    }();
    return code;
}

class Inflater {
public:
    Inflater(std::span<const std::uint8_t> stream, std::size_t size) : in_(stream), size_(size)
    {
        // No block makes more than 1032 bytes of each byte it takes.
        out_.resize(std::min(size, stream.size() * 1032 + 258));
    }

    std::vector<std::uint8_t> Run()
    {
        bool last = false;
        while (!last) {
            last = in_.Take(1) != 0;
            switch (in_.Take(2)) {
            case 0: Stored(); break;
            case 1: Compressed(FixedLiterals(), FixedDistances()); break;
            case 2: Dynamic(); break;
            default: throw InflateError("a block of unknown type");
            }
        }
        if (written_ < size_) throw InflateError("less data than the picture holds");
        out_.resize(written_);
        in_.SkipToByte();
        std::uint32_t check = 0;
        for (int i = 0; i < 4; ++i) check = check << 8 | in_.Take(8);
        if (check != Adler32(out_)) throw InflateError("the data fails its Adler-32 check");
        if (!in_.AtEnd()) throw InflateError("bytes after the compressed data");
        return std::move(out_);
    }

private:
    void Room(std::size_t n)
    {
        if (n > size_ - written_) throw InflateError("more data than the picture holds");
        if (n > out_.size() - written_) out_.resize(std::min(size_, std::max(out_.size() * 2, written_ + n)));
    }

    void Stored()
    {
        in_.SkipToByte();
        const std::uint32_t length = in_.Take(16);
        if ((in_.Take(16) ^ 0xffffu) != length) throw InflateError("a stored block's length fails its check");
        Room(length);
        for (std::uint32_t i = 0; i < length; ++i) out_[written_++] = std::uint8_t(in_.Take(8));
    }

    void Dynamic()
    {
        const int literals = int(in_.Take(5)) + 257, distances = int(in_.Take(5)) + 1, lengthCodes = int(in_.Take(4)) + 4;
        if (literals > 286 || distances > 30) throw InflateError("too many codes in a block's header");
        static constexpr std::array<std::uint8_t, 19> Order = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5,
                                                               11, 4,  12, 3, 13, 2, 14, 1, 15};
        std::array<std::uint8_t, 19> lengthLengths{};
        for (int i = 0; i < lengthCodes; ++i) lengthLengths[Order[i]] = std::uint8_t(in_.Take(3));
        const HuffmanCode lengthCode(lengthLengths.data(), 19, false);

        std::array<std::uint8_t, 286 + 30> lengths{};
        for (int i = 0; i < literals + distances;) {
            const int symbol = lengthCode.Decode(in_);
            if (symbol < 16) {
                lengths[i++] = std::uint8_t(symbol);
                continue;
            }
            std::uint8_t repeated = 0;
            int times = 0;
            if (symbol == 16) {
                if (i == 0) throw InflateError("a repeat of no code length");
                repeated = lengths[i - 1];
                times = 3 + int(in_.Take(2));
            } else if (symbol == 17) {
                times = 3 + int(in_.Take(3));
            } else {
                times = 11 + int(in_.Take(7));
            }
            if (times > literals + distances - i) throw InflateError("code lengths past the end of the header");
            std::fill_n(lengths.begin() + i, times, repeated);
            i += times;
        }
        if (lengths[256] == 0) throw InflateError("a block without an end");
        const HuffmanCode literalCode(lengths.data(), literals, false);
        const HuffmanCode distanceCode(lengths.data() + literals, distances, true);
        Compressed(literalCode, distanceCode);
    }

    void Compressed(const HuffmanCode& literals, const HuffmanCode& distances)
    {
        for (;;) {
            const int symbol = literals.Decode(in_);
            if (symbol < 256) {
                Room(1);
                out_[written_++] = std::uint8_t(symbol);
                continue;
            }
            if (symbol == 256) return;
            if (symbol > 285) throw InflateError("a length code that does not exist");
            const std::size_t length = LengthBase[symbol - 257] + in_.Take(LengthExtra[symbol - 257]);
            const int code = distances.Decode(in_);
            if (code > 29) throw InflateError("a distance code that does not exist");
            const std::size_t distance = DistanceBase[code] + in_.Take(DistanceExtra[code]);
            if (distance > written_) throw InflateError("a distance before the start");
            Room(length);
            std::uint8_t* to = out_.data() + written_;
            const std::uint8_t* from = to - distance;
            for (std::size_t i = 0; i < length; ++i) to[i] = from[i];
            written_ += length;
        }
    }

    BitReader in_;
    std::size_t size_;
    std::vector<std::uint8_t> out_;
    std::size_t written_ = 0;
};

}  // namespace

std::vector<std::uint8_t> InflateZlib(std::span<const std::uint8_t> stream, std::size_t size)
{
    if (stream.size() < 2) throw InflateError("no zlib header");
    const unsigned method = stream[0], flags = stream[1];
    if ((method << 8 | flags) % 31 != 0) throw InflateError("the zlib header fails its check");
    if ((method & 15) != 8 || (method >> 4) > 7) throw InflateError("a compression method that is not deflate");
    if (flags & 0x20) throw InflateError("compressed with a preset dictionary");
    // As zlib, any distance up to 32768 bytes is taken, whatever window the header names.
    return Inflater(stream.subspan(2), size).Run();
}

std::uint32_t Adler32(std::span<const std::uint8_t> bytes)
{
    std::uint32_t a = 1, b = 0;
    while (!bytes.empty()) {
        // 5552 bytes are the most that cannot overflow b before the modulo.
        const std::size_t n = std::min<std::size_t>(bytes.size(), 5552);
        for (std::size_t i = 0; i < n; ++i) {
            a += bytes[i];
            b += a;
        }
        a %= 65521;
        b %= 65521;
        bytes = bytes.subspan(n);
    }
    return b << 16 | a;
}

std::uint32_t Crc32(std::span<const std::uint8_t> bytes)
{
    static constexpr auto Table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = c & 1 ? 0xedb88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xffffffffu;
    for (const std::uint8_t byte : bytes) c = Table[(c ^ byte) & 0xff] ^ (c >> 8);
    return c ^ 0xffffffffu;
}
