#include "gfx/png_picture.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>

#include "gfx/inflate.h"

namespace {

constexpr std::array<std::uint8_t, 8> Signature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};

enum ColourType : std::uint8_t { Grey = 0, Rgb = 2, Indexed = 3, GreyAlpha = 4, RgbAlpha = 6 };

[[noreturn]] void Unreadable(const std::string& what) { throw PngError(PngFault::Unreadable, what); }

std::uint32_t Big32(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

struct Header {
    std::uint32_t width = 0, height = 0;
    int depth = 0, colourType = 0;
    bool interlaced = false;
};

Header ReadHeader(const std::uint8_t* p)
{
    Header h{Big32(p), Big32(p + 4), p[8], p[9], p[12] == 1};
    if (h.width == 0 || h.height == 0 || h.width > 0x7fffffffu || h.height > 0x7fffffffu)
        Unreadable("a width or height out of range");
    const int d = h.depth;
    bool valid = false;
    switch (h.colourType) {
    case Grey: valid = d == 1 || d == 2 || d == 4 || d == 8 || d == 16; break;
    case Indexed: valid = d == 1 || d == 2 || d == 4 || d == 8; break;
    case Rgb:
    case GreyAlpha:
    case RgbAlpha: valid = d == 8 || d == 16; break;
    }
    if (!valid) Unreadable("a bit depth or colour type that does not exist");
    if (p[10] != 0 || p[11] != 0 || p[12] > 1) Unreadable("a compression, filter or interlace method that does not exist");
    return h;
}

// The chunks that matter, checked: IHDR first, at most one PLTE before the
// image data, the IDAT chunks one after another, and IEND. Ancillary chunks
// are skipped unread, their checksums too.
struct Chunks {
    Header header;
    std::span<const std::uint8_t> palette;
    std::vector<std::span<const std::uint8_t>> data;
};

Chunks ReadChunks(std::span<const std::uint8_t> file)
{
    if (file.size() < Signature.size() || !std::equal(Signature.begin(), Signature.end(), file.begin()))
        Unreadable("no PNG signature");
    Chunks c;
    bool header = false, palette = false, dataEnded = false;
    for (std::size_t at = Signature.size();;) {
        if (file.size() - at < 12) Unreadable("the file ends before its IEND chunk");
        const std::uint32_t length = Big32(&file[at]);
        if (length > 0x7fffffffu || length > file.size() - at - 12) Unreadable("a chunk runs past the end of the file");
        const std::uint8_t* type = &file[at + 4];
        const std::span<const std::uint8_t> body = file.subspan(at + 8, length);
        for (int i = 0; i < 4; ++i)
            if (!((type[i] >= 'A' && type[i] <= 'Z') || (type[i] >= 'a' && type[i] <= 'z')))
                Unreadable("a chunk type that is not four letters");
        const std::string name(reinterpret_cast<const char*>(type), 4);
        at += 12 + length;
        if (header && !c.data.empty() && name != "IDAT") dataEnded = true;
        if (type[0] & 0x20) {
            if (!header) Unreadable("a chunk before IHDR");
            continue;
        }
        if (Crc32(file.subspan(at - 8 - length, 4 + length)) != Big32(&file[at - 4]))
            Unreadable("the " + name + " chunk fails its CRC check");
        if (!header) {
            if (name != "IHDR" || length != 13) Unreadable("no IHDR chunk first");
            c.header = ReadHeader(body.data());
            header = true;
        } else if (name == "PLTE") {
            if (palette || !c.data.empty()) Unreadable("a PLTE chunk out of place");
            if (length == 0 || length % 3 != 0 || length > 3 * 256) Unreadable("a PLTE chunk of a length no palette has");
            c.palette = body;
            palette = true;
        } else if (name == "IDAT") {
            if (dataEnded) Unreadable("IDAT chunks apart from each other");
            c.data.push_back(body);
        } else if (name == "IEND") {
            if (c.data.empty()) Unreadable("no IDAT chunk");
            if (length != 0) Unreadable("an IEND chunk that is not empty");
            return c;
        } else {
            Unreadable("a critical chunk that this reader does not know: " + name);
        }
    }
}

// "16-bit colour and alpha pixels": what a picture's pixels are, for a person.
std::string PixelKind(const Header& h)
{
    const char* kind = h.colourType == Grey        ? "grey"
                       : h.colourType == Rgb       ? "colour"
                       : h.colourType == Indexed   ? "palette"
                       : h.colourType == GreyAlpha ? "grey and alpha"
                                                   : "colour and alpha";
    return std::to_string(h.depth) + "-bit " + kind + " pixels";
}

std::uint8_t Paeth(int left, int up, int upLeft)
{
    const int p = left + up - upLeft;
    const int pa = std::abs(p - left), pb = std::abs(p - up), pc = std::abs(p - upLeft);
    return std::uint8_t(pa <= pb && pa <= pc ? left : pb <= pc ? up : upLeft);
}

// Undoes a row's filter, one byte a pixel; `prior` is the row above in the
// same pass, zeros for the first.
void Unfilter(int filter, const std::uint8_t* in, const std::uint8_t* prior, std::uint8_t* out, std::size_t n)
{
    switch (filter) {
    case 0: std::memcpy(out, in, n); break;
    case 1:
        for (std::size_t i = 0; i < n; ++i) out[i] = std::uint8_t(in[i] + (i ? out[i - 1] : 0));
        break;
    case 2:
        for (std::size_t i = 0; i < n; ++i) out[i] = std::uint8_t(in[i] + prior[i]);
        break;
    case 3:
        for (std::size_t i = 0; i < n; ++i) out[i] = std::uint8_t(in[i] + (((i ? out[i - 1] : 0) + prior[i]) >> 1));
        break;
    case 4:
        for (std::size_t i = 0; i < n; ++i)
            out[i] = std::uint8_t(in[i] + (i ? Paeth(out[i - 1], prior[i], prior[i - 1]) : prior[i]));
        break;
    default: Unreadable("a row filter that does not exist");
    }
}

// Where the pixels of an interlacing pass lie: from (x, y) every dx-th pixel of every dy-th row.
struct Pass {
    std::uint32_t x, y, dx, dy;
    std::size_t Width(std::uint32_t width) const { return width > x ? (width - x + dx - 1) / dx : 0; }
    std::size_t Height(std::uint32_t height) const { return height > y ? (height - y + dy - 1) / dy : 0; }
};
constexpr std::array<Pass, 7> Adam7 = {
    {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4}, {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}}};
constexpr Pass WholePicture = {0, 0, 1, 1};

}  // namespace

PalettePicture DecodePalettePng(std::span<const std::uint8_t> file)
{
    const Chunks chunks = ReadChunks(file);
    const Header& h = chunks.header;
    if (h.colourType == Indexed && chunks.palette.empty()) Unreadable("a palette picture without a PLTE chunk");
    // QImage makes 2 and 4-bit palette and grey pictures 8-bit palette ones
    // of as many colours as the bits can tell apart, and the loader has
    // always refused them for their colours; 1-bit ones it makes
    // black-and-white pictures.
    const int paletteColours = int(chunks.palette.size() / 3);
    if (h.depth == 2 || h.depth == 4) {
        const int colours = h.colourType == Indexed ? std::min(paletteColours, 1 << h.depth) : 1 << h.depth;
        throw PngError(PngFault::Colours, "a palette of " + std::to_string(colours) + " colours", colours);
    }
    if (h.colourType != Indexed || h.depth != 8) throw PngError(PngFault::NotPalette8, PixelKind(h));
    if (paletteColours != 256)
        throw PngError(PngFault::Colours, "a palette of " + std::to_string(paletteColours) + " colours", paletteColours);
    if (std::int64_t(h.width) * h.height > MaxPngPixels)
        throw PngError(PngFault::TooLarge,
                       std::to_string(h.width) + " by " + std::to_string(h.height) + " pixels, too many to read");

    const std::span<const Pass> passes = h.interlaced ? std::span<const Pass>(Adam7) : std::span<const Pass>(&WholePicture, 1);
    std::size_t filtered = 0;
    for (const Pass& p : passes)
        if (p.Width(h.width) && p.Height(h.height)) filtered += p.Height(h.height) * (1 + p.Width(h.width));

    std::vector<std::uint8_t> stream;
    for (const auto& part : chunks.data) stream.insert(stream.end(), part.begin(), part.end());
    std::vector<std::uint8_t> rows;
    try {
        rows = InflateZlib(stream, filtered);
    } catch (const InflateError& e) {
        Unreadable(std::string("image data: ") + e.what());
    }

    PalettePicture picture;
    picture.width = int(h.width);
    picture.height = int(h.height);
    picture.pixels.resize(std::size_t(h.width) * h.height);
    for (int i = 0; i < paletteColours; ++i) {
        const std::uint8_t* rgb = &chunks.palette[3 * i];
        picture.palette[i] = 0xff000000u | std::uint32_t(rgb[0]) << 16 | std::uint32_t(rgb[1]) << 8 | rgb[2];
    }
    const std::uint8_t* in = rows.data();
    std::vector<std::uint8_t> prior(h.width), row(h.width);
    for (const Pass& p : passes) {
        const std::size_t width = p.Width(h.width), height = p.Height(h.height);
        if (width == 0 || height == 0) continue;
        std::fill_n(prior.begin(), width, 0);
        for (std::size_t r = 0; r < height; ++r) {
            Unfilter(in[0], in + 1, prior.data(), row.data(), width);
            in += 1 + width;
            std::uint8_t* out = picture.pixels.data() + (p.y + r * p.dy) * h.width + p.x;
            for (std::size_t i = 0; i < width; ++i) out[i * p.dx] = row[i];
            std::swap(prior, row);
        }
    }
    return picture;
}
