// The game's own PNG reader against QImage's: the same pixels and palette, the
// same refusals, and no harm from a damaged file. zlib packs the test pictures.

#include <QImage>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <random>
#include <unistd.h>
#include <zlib.h>

#include "gfx/assets.h"
#include "gfx/inflate.h"
#include "gfx/png_picture.h"

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

namespace {

Bytes DataFile(const char* name)
{
    std::ifstream in(fs::path(std::getenv("BURROWKIN_DATA_DIR")) / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void ExpectAsQImageReadsIt(const PalettePicture& picture, const Bytes& png)
{
    QImage img;
    ASSERT_TRUE(img.loadFromData(png.data(), int(png.size())));
    ASSERT_EQ(img.format(), QImage::Format_Indexed8);
    ASSERT_EQ(img.colorCount(), 256);
    ASSERT_EQ(picture.width, img.width());
    ASSERT_EQ(picture.height, img.height());
    for (int i = 0; i < 256; ++i) EXPECT_EQ(picture.palette[i], 0xff000000u | (img.colorTable()[i] & 0xffffffu));
    for (int y = 0; y < img.height(); ++y)
        ASSERT_TRUE(std::equal(img.constScanLine(y), img.constScanLine(y) + img.width(),
                               picture.pixels.begin() + y * img.width()))
            << "row " << y;
}

void Put32(Bytes& out, std::uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(std::uint8_t(v >> shift));
}

void AddChunk(Bytes& png, const char* type, const Bytes& body)
{
    Put32(png, std::uint32_t(body.size()));
    const std::size_t start = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), body.begin(), body.end());
    Put32(png, std::uint32_t(crc32(0, &png[start], uInt(png.size() - start))));
}

// Mends every chunk's CRC.
void MendCrcs(Bytes& png)
{
    for (std::size_t at = 8; png.size() >= at + 12;) {
        const std::size_t length = std::size_t(png[at]) << 24 | png[at + 1] << 16 | png[at + 2] << 8 | png[at + 3];
        if (length > png.size() - at - 12) return;
        const auto crc = std::uint32_t(crc32(0, &png[at + 4], uInt(length + 4)));
        for (int i = 0; i < 4; ++i) png[at + 8 + length + i] = std::uint8_t(crc >> (24 - 8 * i));
        at += 12 + length;
    }
}

Bytes Deflated(const Bytes& data, int level = 6, int strategy = Z_DEFAULT_STRATEGY, int memLevel = 8)
{
    z_stream z{};
    deflateInit2(&z, level, Z_DEFLATED, 15, memLevel, strategy);
    Bytes out(deflateBound(&z, uLong(data.size())));
    z.next_in = const_cast<Bytef*>(data.data());
    z.avail_in = uInt(data.size());
    z.next_out = out.data();
    z.avail_out = uInt(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

struct Layout {
    std::uint32_t width, height;
    std::uint8_t depth = 8, colourType = 3;
    bool interlaced = false;
    int colours = 256;  // PLTE entries; 0: no PLTE
};

// Filtered rows for every pass, each with the filter `filter` (any when -1)
// and bytes of a few values, often the row above again, so that zlib finds
// long and short matches.
Bytes FilteredRows(const Layout& l, int filter, std::mt19937& rng)
{
    static const std::uint32_t Adam7[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                             {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    static const std::uint32_t Whole[1][4] = {{0, 0, 1, 1}};
    using Passes = std::span<const std::uint32_t[4]>;
    const int channels = l.colourType == 2 ? 3 : l.colourType == 4 ? 2 : l.colourType == 6 ? 4 : 1;
    Bytes rows, above;
    for (const auto& p : l.interlaced ? Passes(Adam7) : Passes(Whole)) {
        const std::uint32_t w = l.width > p[0] ? (l.width - p[0] + p[2] - 1) / p[2] : 0;
        const std::uint32_t h = w == 0 || l.height <= p[1] ? 0 : (l.height - p[1] + p[3] - 1) / p[3];
        above.clear();
        for (std::uint32_t r = 0; r < h; ++r) {
            if (above.empty() || rng() % 2) {
                above.assign(1 + (w * l.depth * channels + 7) / 8, 0);
                above[0] = std::uint8_t(filter >= 0 ? filter : int(rng() % 5));
                for (std::size_t i = 1; i < above.size(); ++i) above[i] = std::uint8_t(rng() % 4 * 37);
            }
            rows.insert(rows.end(), above.begin(), above.end());
        }
    }
    return rows;
}

// A PNG file of `l` holding the zlib stream `stream` in IDAT chunks of
// `piece` bytes (one empty chunk for an empty stream), the chunks `extra` before them.
Bytes MakePng(const Layout& l, const Bytes& stream, std::size_t piece = SIZE_MAX, const Bytes& extra = {})
{
    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'}, header, palette;
    Put32(header, l.width);
    Put32(header, l.height);
    header.insert(header.end(), {l.depth, l.colourType, 0, 0, std::uint8_t(l.interlaced)});
    AddChunk(png, "IHDR", header);
    for (int i = 0; i < l.colours; ++i)
        palette.insert(palette.end(), {std::uint8_t(i), std::uint8_t(~i), std::uint8_t(i * 7)});
    if (l.colours) AddChunk(png, "PLTE", palette);
    png.insert(png.end(), extra.begin(), extra.end());
    std::size_t at = 0;
    do {
        const std::size_t n = std::min(piece, stream.size() - at);
        AddChunk(png, "IDAT", Bytes(stream.begin() + at, stream.begin() + at + n));
        at += n;
    } while (at < stream.size());
    AddChunk(png, "IEND", {});
    return png;
}

TEST(PngPicture, ShippedPicturesReadAsQImageReadsThem)
{
    for (const char* name :
         {"tilesheet.png", "sprites.png", "ending0.png", "ending1.png", "ending2.png", "icon.png", "icon-256.png"}) {
        SCOPED_TRACE(name);
        const Bytes png = DataFile(name);
        ExpectAsQImageReadsIt(DecodePalettePng(png), png);
    }
}

// Every row filter, interlaced or not, at sizes that leave interlacing passes
// empty, packed every way zlib packs: stored, fixed and dynamic Huffman
// blocks, many small blocks of all three kinds, the stream split over IDAT
// chunks of a byte, and an empty IDAT chunk between two.
TEST(PngPicture, EveryFilterInterlacingAndPackingReadsAsQImageReadsIt)
{
    std::mt19937 rng(7);
    const std::pair<std::uint32_t, std::uint32_t> sizes[] = {{1, 1}, {3, 2}, {5, 9}, {13, 6}, {70, 40}};
    const int packings[][3] = {{0, Z_DEFAULT_STRATEGY, 8}, {6, Z_FIXED, 8},        {9, Z_DEFAULT_STRATEGY, 8},
                               {6, Z_RLE, 8},              {6, Z_HUFFMAN_ONLY, 8}, {6, Z_DEFAULT_STRATEGY, 1}};
    for (bool interlaced : {false, true})
        for (auto [w, h] : sizes)
            for (int filter = -1; filter <= 4; ++filter)
                for (const auto& pack : packings) {
                    SCOPED_TRACE(testing::Message() << w << "x" << h << (interlaced ? " interlaced" : "") << " filter "
                                                    << filter << " packing " << pack[0] << "/" << pack[1]);
                    const Layout l{w, h, 8, 3, interlaced};
                    const Bytes png = MakePng(l, Deflated(FilteredRows(l, filter, rng), pack[0], pack[1], pack[2]),
                                              filter == 0 ? 1 : SIZE_MAX);
                    ExpectAsQImageReadsIt(DecodePalettePng(png), png);
                }
    Bytes png = MakePng({8, 8}, Deflated(FilteredRows({8, 8}, 4, rng)), 10), empty;
    AddChunk(empty, "IDAT", {});
    png.insert(png.begin() + 33 + 12 + 768 + 22, empty.begin(), empty.end());
    ExpectAsQImageReadsIt(DecodePalettePng(png), png);
}

// Pixel value k + 1 in 2^k pixels, packed in Huffman codes alone: zlib gives
// the rarer values codes of 11 to 15 bits, longer than the reader looks up
// at once, which it decodes bit by bit.
TEST(PngPicture, LongHuffmanCodesReadAsQImageReadsThem)
{
    Bytes row = {0};  // one row, unfiltered
    for (int k = 0; k < 15; ++k) row.insert(row.end(), std::size_t(1) << k, std::uint8_t(k + 1));
    std::shuffle(row.begin() + 1, row.end(), std::mt19937(5));
    const Layout l{std::uint32_t(row.size() - 1), 1};
    const Bytes png = MakePng(l, Deflated(row, 9, Z_HUFFMAN_ONLY, 9));
    ExpectAsQImageReadsIt(DecodePalettePng(png), png);
}

// The message the loader gave for a tile sheet when QImage read it; "" when it took the picture.
std::string QImageMessage(const Bytes& png, const std::string& path)
{
    QImage img;
    if (!img.loadFromData(png.data(), int(png.size()))) return path + " is not a picture that can be read";
    if (img.format() != QImage::Format_Indexed8) return path + " must be an 8-bit palette picture";
    if (img.colorCount() != 256)
        return path + " must have a palette of 256 colours, not " + std::to_string(img.colorCount());
    if (img.width() != 256 || img.height() != 112) return path + " must be 256 by 112 pixels";
    return "";
}

std::string LoaderMessage(const Bytes& png, const fs::path& dir)
{
    std::ofstream(dir / "tilesheet.png", std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
    try {
        LoadAssets(dir.string());
    } catch (const AssetError& e) {
        return e.what();
    }
    return "loaded";
}

TEST(PngPicture, RefusesWhatTheLoaderRefusedWithTheSameMessage)
{
    const fs::path dir = fs::temp_directory_path() / ("burrowkin-png-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string path = (dir / "tilesheet.png").string();
    std::mt19937 rng(3);
    auto make = [&](Layout l) { return MakePng(l, Deflated(FilteredRows(l, 0, rng))); };
    const Bytes good = make({256, 112}), rows = FilteredRows({256, 112}, 1, rng), stream = Deflated(rows);
    Bytes badCrc = good, noEnd = good, longer = rows, transparency;
    badCrc[33 + 12 + 768 + 10] ^= 1;
    noEnd.resize(noEnd.size() - 12);
    longer.push_back(0);
    AddChunk(transparency, "tRNS", {0, 5});
    // 1, 2 and 4-bit palettes, 16 colours, no palette; grey, colour and alpha
    // pixels; the wrong size; a damaged chunk, no IEND, an empty IDAT, a GIF.
    const Bytes refused[] = {make({256, 112, 1, 3, false, 2}),  make({256, 112, 2, 3, false, 4}),
                             make({256, 112, 4, 3, false, 16}), make({256, 112, 4, 3, false, 256}),
                             make({256, 112, 8, 3, false, 16}), make({256, 112, 8, 3, false, 0}),
                             make({256, 112, 1, 0, false, 0}),  make({256, 112, 2, 0, false, 0}),
                             make({256, 112, 4, 0, false, 0}),  make({256, 112, 8, 0, false, 0}),
                             make({256, 112, 16, 0, false, 0}), make({256, 112, 8, 2, false, 0}),
                             make({256, 112, 16, 6, false, 0}), make({256, 112, 8, 4, false, 0}),
                             make({256, 113}),                  make({16, 16, 8, 3, true}),
                             badCrc,                            noEnd,
                             MakePng({256, 112}, {}),           {'G', 'I', 'F', '8', '9', 'a'}};
    // The loader's message goes on to say why.
    for (const Bytes& png : refused) {
        const std::string before = QImageMessage(png, path);
        ASSERT_NE(before, "");
        EXPECT_EQ(LoaderMessage(png, dir).substr(0, before.size()), before);
    }
    const std::string unreadable = path + " is not a picture that can be read: ";
    EXPECT_EQ(LoaderMessage(badCrc, dir), unreadable + "the IDAT chunk fails its CRC check");
    EXPECT_EQ(LoaderMessage(refused[19], dir), unreadable + "no PNG signature");
    EXPECT_EQ(LoaderMessage(refused[12], dir),
              path + " must be an 8-bit palette picture, not one of 16-bit colour and alpha pixels");
    EXPECT_EQ(LoaderMessage(refused[14], dir), path + " must be 256 by 112 pixels, not 256 by 113");
    // Where they part: a picture too large for the reader is of the wrong
    // size, not unreadable; grey pixels are no palette, not even with a
    // transparent shade, which QImage makes a palette of 256 greys; image
    // data with more bytes than the picture is damaged.
    EXPECT_EQ(LoaderMessage(MakePng({20000, 20000}, stream), dir),
              path + " must be 256 by 112 pixels" + ", not 20000 by 20000 pixels, too many to read");
    const Bytes grey = MakePng({256, 112, 8, 0, false, 0}, stream, SIZE_MAX, transparency);
    ASSERT_EQ(QImageMessage(grey, path), "");
    EXPECT_EQ(LoaderMessage(grey, dir), path + " must be an 8-bit palette picture" + ", not one of 8-bit grey pixels");
    EXPECT_EQ(LoaderMessage(MakePng({256, 112}, Deflated(longer)), dir),
              path + " is not a picture that can be read" + ": image data: more data than the picture holds");
    fs::remove_all(dir);
}

// A deflate stream after a zlib header, written bit by bit: values low bit
// first, Huffman codes high bit first, literals and lengths in the fixed code.
struct DeflateBits {
    static constexpr std::uint8_t Header[2] = {0x78, 0x01};
    Bytes bytes = Bytes(std::begin(Header), std::end(Header));
    int used = 8;
    DeflateBits& Put(std::uint32_t v, int n)
    {
        for (int i = 0; i < n; ++i, ++used) {
            if (used == 8) bytes.push_back(0), used = 0;
            bytes.back() |= std::uint8_t(((v >> i) & 1) << used);
        }
        return *this;
    }
    DeflateBits& Code(std::uint32_t code, int n)
    {
        for (int i = n - 1; i >= 0; --i) Put(code >> i, 1);
        return *this;
    }
    DeflateBits& Fixed(int s)
    {
        return s < 144 ? Code(0x30 + s, 8) : s < 256 ? Code(0x190 + s - 144, 9) : s < 280 ? Code(s - 256, 7)
                                                                                          : Code(0xc0 + s - 280, 8);
    }
    Bytes End(std::uint32_t adler)
    {
        Put32(bytes, adler);
        return bytes;
    }
};

// Why InflateZlib refuses a stream; "" when it takes it.
std::string Refusal(std::span<const std::uint8_t> stream, std::size_t size)
{
    try {
        InflateZlib(stream, size);
    } catch (const InflateError& e) {
        return e.what();
    }
    return "";
}

TEST(Inflate, RefusesDamagedStreamsAndTakesGoodOnes)
{
    const Bytes aaaa = {'a', 'a', 'a', 'a'};
    const std::uint32_t adler = Adler32(aaaa);
    ASSERT_EQ(adler, adler32(1, aaaa.data(), 4));
    const auto fixed = [] { return DeflateBits().Put(1, 1).Put(1, 2); };
    // 'a', then three bytes from one back: overlapping, as runs are made.
    Bytes good = fixed().Fixed('a').Fixed(257).Code(0, 5).Fixed(256).End(adler), unpacked(4);
    uLongf unpackedSize = 4;
    ASSERT_TRUE(uncompress(unpacked.data(), &unpackedSize, good.data(), uLong(good.size())) == Z_OK && unpacked == aaaa);
    EXPECT_EQ(InflateZlib(good, 4), aaaa);

    // A dynamic block of 257 literal and length codes and one distance code;
    // the lengths of the code length code's symbols 16, 17, 18 and 0 follow.
    const auto dynamic = [] { return DeflateBits().Put(1, 1).Put(2, 2).Put(0, 5).Put(0, 5).Put(0, 4); };
    // A dynamic block of 258 literal and length codes, 'a' of 1 bit, the end
    // and length 3 of 2 bits, and of one distance code of 1 bit, which leaves
    // the other 1-bit code unused: 'a', then three bytes from `distanceCode`.
    const auto oneDistance = [&](std::uint32_t distanceCode) {
        DeflateBits b;
        b.Put(1, 1).Put(2, 2).Put(1, 5).Put(0, 5).Put(14, 4);
        // The code length code: 18 of 1 bit, 2 and 1 of 2 bits.
        for (int length : {0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 2}) b.Put(std::uint32_t(length), 3);
        // 97 zeros, 1, 138 and 20 zeros, 2, 2 and the distance code's 1.
        b.Code(0, 1).Put(86, 7).Code(2, 2).Code(0, 1).Put(127, 7).Code(0, 1).Put(9, 7).Code(3, 2).Code(3, 2).Code(2, 2);
        return b.Code(0, 1).Code(3, 2).Code(distanceCode, 1).Code(2, 2).End(adler);
    };
    const Bytes oneBack = oneDistance(0);
    unpackedSize = 4;
    ASSERT_TRUE(uncompress(unpacked.data(), &unpackedSize, oneBack.data(), uLong(oneBack.size())) == Z_OK &&
                unpacked == aaaa);
    EXPECT_EQ(InflateZlib(oneBack, 4), aaaa);
    // Each stream with the words of the fault it is refused for.
    const std::pair<const char*, Bytes> damaged[] = {
        {"before the start", fixed().Fixed('a').Fixed(257).Code(1, 5).Fixed(256).End(adler)},
        {"length code", fixed().Fixed('a').Fixed(286).End(adler)},
        {"distance code", fixed().Fixed('a').Fixed(257).Code(30, 5).End(adler)},
        {"unknown type", DeflateBits().Put(1, 1).Put(3, 2).End(adler)},
        {"stored block", DeflateBits().Put(1, 1).Put(0, 7).Put(4, 16).Put(4, 16).End(adler)},
        {"too many codes", dynamic().Put(1, 3).Put(1, 3).Put(1, 3).Put(0, 3).End(adler)},
        {"codes missing", dynamic().Put(1, 3).Put(2, 3).Put(0, 6).End(adler)},
        {"repeat of no", dynamic().Put(1, 3).Put(1, 3).Put(0, 6).Code(0, 1).End(adler)},
        {"without an end",
         dynamic().Put(0, 6).Put(1, 3).Put(1, 3).Code(1, 1).Put(127, 7).Code(1, 1).Put(109, 7).End(adler)},
        {"does not have", oneDistance(1)},
        {"Adler-32", fixed().Fixed('a').Fixed(257).Code(0, 5).Fixed(256).End(adler + 1)},
        {"header fails", {0x78, 0x02}},
    };
    for (const auto& [fault, stream] : damaged) EXPECT_NE(Refusal(stream, 4).find(fault), std::string::npos) << fault;
    EXPECT_NE(Refusal(good, 3).find("more data"), std::string::npos);
    EXPECT_NE(Refusal(good, 5).find("less data"), std::string::npos);
    for (std::size_t n = 2; n < good.size(); ++n)
        EXPECT_EQ(Refusal(std::span(good).first(n), 4), "the compressed data ends early") << "cut to " << n;
    good.push_back(0);
    EXPECT_NE(Refusal(good, 4).find("bytes after"), std::string::npos);
}

// Cut, damaged in one bit anywhere, or damaged in its chunks with their CRCs
// mended so that the damage reaches the decoding: every copy of the tile
// sheet is refused, or read as QImage reads it.
TEST(PngPicture, DamagedCopiesAreRefusedOrReadAsQImageReadsThem)
{
    const Bytes original = DataFile("tilesheet.png");
    const std::size_t data = 33 + 12 + 768 + 21 + 8;  // the first byte of the IDAT chunk's body
    std::mt19937 rng(11);
    int read = 0;
    for (int i = 0; i < 4000; ++i) {
        Bytes png = original;
        if (i % 4 == 0) png.resize(rng() % png.size());
        if (i % 4 == 1) png[rng() % png.size()] ^= std::uint8_t(1 << rng() % 8);
        if (i % 4 >= 2) {
            const std::size_t from = i % 4 == 2 ? data : 8;
            for (int n = 1 + int(rng() % 3); n > 0; --n)
                png[from + rng() % (png.size() - 16 - from)] = std::uint8_t(rng());
            MendCrcs(png);
        }
        try {
            const PalettePicture picture = DecodePalettePng(png);
            ++read;
            ExpectAsQImageReadsIt(picture, png);
        } catch (const PngError&) {
        }
    }
    EXPECT_GT(read, 20);
}

}  // namespace
