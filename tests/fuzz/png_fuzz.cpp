// Any file as a picture: refused or decoded, never read past its end; a
// decoded picture has one pixel for every place and opaque colours. Each input
// is tried as it is and with its chunks' CRCs mended, so that damage reaches
// the image data.
#include <algorithm>
#include <vector>

#include "gfx/inflate.h"
#include "gfx/png_picture.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

void Decode(std::span<const std::uint8_t> file)
{
    try {
        const PalettePicture p = DecodePalettePng(file);
        if (p.width <= 0 || p.height <= 0 || std::int64_t(p.width) * p.height > MaxPngPixels)
            Broken("a picture of an impossible size");
        if (p.pixels.size() != std::size_t(p.width) * std::size_t(p.height)) Broken("pixels missing or left over");
        for (const std::uint32_t colour : p.palette)
            if (colour >> 24 != 0xff) Broken("a colour that is not opaque");
    } catch (const PngError&) {
    }
}

std::uint32_t Big32(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Decode({data, size});
    std::vector<std::uint8_t> mended(data, data + size);
    for (std::size_t at = 8; size >= at + 12;) {
        const std::size_t length = Big32(&mended[at]);
        if (length > size - at - 12) break;
        const std::uint32_t crc = Crc32(std::span(mended).subspan(at + 4, length + 4));
        for (int i = 0; i < 4; ++i) mended[at + 8 + length + i] = std::uint8_t(crc >> (24 - 8 * i));
        at += 12 + length;
    }
    if (!std::equal(mended.begin(), mended.end(), data)) Decode(mended);
    return 0;
}
