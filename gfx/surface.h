#pragma once

#include <array>
#include <cstdint>
#include <vector>

// Colours are 0xAARRGGBB, alpha always 0xff: the layout QImage::Format_RGB32 wants.
using Palette = std::array<std::uint32_t, 256>;

enum class PixelFormat : std::uint8_t {
    Rgb32,     // the default
    Indexed8,  // the tile sheet's own palette, for the "/256" option
};

// A pixel buffer of our own. Rows are stored top to bottom with no padding.
class Surface {
public:
    Surface() = default;
    Surface(int width, int height, PixelFormat format);

    int Width() const { return width_; }
    int Height() const { return height_; }
    PixelFormat Format() const { return format_; }
    int BytesPerPixel() const { return format_ == PixelFormat::Rgb32 ? 4 : 1; }
    int Stride() const { return width_ * BytesPerPixel(); }

    std::uint8_t* Row(int y) { return bytes_.data() + std::size_t(y) * Stride(); }
    const std::uint8_t* Row(int y) const { return bytes_.data() + std::size_t(y) * Stride(); }
    std::uint8_t* Bits() { return bytes_.data(); }
    const std::uint8_t* Bits() const { return bytes_.data(); }

    void FillBlack();
    // The colour of a pixel; an indexed surface looks it up in the palette.
    std::uint32_t ColourAt(int x, int y, const Palette& palette) const;

private:
    int width_ = 0, height_ = 0;
    PixelFormat format_ = PixelFormat::Rgb32;
    std::vector<std::uint8_t> bytes_;
};

// The pixels of an Rgb32 surface as bytes of red, green, blue and alpha (255),
// row after row: 4 * width * height of them, as a canvas takes them.
void RgbaBytes(const Surface& surface, std::uint8_t* out);

// An opaque copy of the w by h rectangle at (sx, sy) of src to (dx, dy) of dst,
// clipped to both surfaces. Both must have the same format.
void Blit(Surface& dst, int dx, int dy, const Surface& src, int sx, int sy, int w, int h);
