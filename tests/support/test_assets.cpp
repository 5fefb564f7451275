#include "tests/support/test_assets.h"

#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>

namespace {
constexpr std::uint32_t Sentinel32 = 0xff123456u;
constexpr std::uint8_t Sentinel8 = 254;
}

const Assets& TestAssets()
{
    static const Assets art = [] {
        const char* dir = std::getenv("BURROWKIN_DATA_DIR");
        return LoadAssets(dir ? dir : "share/burrowkin");
    }();
    return art;
}

std::uint32_t SheetPixel(const Assets& art, int cell, int x, int y)
{
    return art.sheet32.ColourAt(16 * (cell % 16) + x, 16 * (cell / 16) + y, art.palette);
}

void FillWithSentinel(Surface& surface)
{
    for (int y = 0; y < surface.Height(); ++y)
        for (int x = 0; x < surface.Width(); ++x) {
            if (surface.Format() == PixelFormat::Indexed8) surface.Row(y)[x] = Sentinel8;
            else std::memcpy(surface.Row(y) + 4 * x, &Sentinel32, 4);
        }
}

bool IsSentinel(const Surface& surface, int x, int y)
{
    if (surface.Format() == PixelFormat::Indexed8) return surface.Row(y)[x] == Sentinel8;
    std::uint32_t c;
    std::memcpy(&c, surface.Row(y) + 4 * x, 4);
    return c == Sentinel32;
}
