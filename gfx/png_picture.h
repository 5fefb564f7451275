#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "gfx/surface.h"

// A picture of palette indices, one byte a pixel, rows top to bottom.
struct PalettePicture {
    int width = 0, height = 0;
    std::vector<std::uint8_t> pixels;
    Palette palette{};  // 0xffRRGGBB: the file's transparency is ignored
};

// Why a PNG file was refused.
enum class PngFault : std::uint8_t {
    Unreadable,   // not a whole, undamaged PNG file
    NotPalette8,  // a PNG file, but not of 8-bit palette pixels
    Colours,      // 1, 2 or 4-bit palette or grey pixels, or an 8-bit palette of other than 256 colours
    TooLarge,     // more pixels than MaxPngPixels
};

// what() says what is wrong with the file, for a person mending it: for
// NotPalette8 what its pixels are ("8-bit grey pixels"), for TooLarge its size.
struct PngError : std::runtime_error {
    PngError(PngFault fault, const std::string& what, int colours = 0)
        : std::runtime_error(what), fault(fault), colours(colours)
    {
    }
    PngFault fault;
    int colours;  // for Colours: the colours the pixels can have
};

// The game's pictures are 272 by 272 at most.
constexpr std::int64_t MaxPngPixels = std::int64_t(2048) * 2048;

// Decodes a PNG file of 8-bit palette pixels with a palette of 256 colours,
// interlaced or not. Throws PngError: the chunks are checked first, then the
// kind of pixels and the palette, then the size, and the image data last.
// Never reads outside `file`.
PalettePicture DecodePalettePng(std::span<const std::uint8_t> file);
