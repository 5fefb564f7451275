#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "core/files.h"
#include "gfx/assets.h"
#include "gfx/png_picture.h"

namespace {

// The game's pictures are a few kilobytes; a file far larger is not one of them.
constexpr std::size_t MaxPictureBytes = 4u << 20;

std::vector<std::uint8_t> ReadPictureFile(const std::string& path)
{
    try {
        return ReadWholeRegularFile(path, MaxPictureBytes);
    } catch (const FileError& e) {
        throw AssetError(e.what());
    }
}

PalettePicture ReadIndexed(const std::string& path, int width, int height)
{
    const std::vector<std::uint8_t> bytes = ReadPictureFile(path);
    const std::string size = " must be " + std::to_string(width) + " by " + std::to_string(height) + " pixels, not ";
    PalettePicture picture;
    try {
        picture = DecodePalettePng(bytes);
    } catch (const PngError& e) {
        switch (e.fault) {
        case PngFault::Unreadable: throw AssetError(path + " is not a picture that can be read: " + e.what());
        case PngFault::NotPalette8:
            throw AssetError(path + " must be an 8-bit palette picture, not one of " + e.what());
        case PngFault::Colours:
            throw AssetError(path + " must have a palette of 256 colours, not " + std::to_string(e.colours));
        case PngFault::TooLarge: throw AssetError(path + size + e.what());
        }
    }
    if (picture.width != width || picture.height != height)
        throw AssetError(path + size + std::to_string(picture.width) + " by " + std::to_string(picture.height));
    return picture;
}

Surface Indexed(const PalettePicture& picture)
{
    Surface s(picture.width, picture.height, PixelFormat::Indexed8);
    std::copy(picture.pixels.begin(), picture.pixels.end(), s.Bits());
    return s;
}

Surface Converted(const Surface& indexed, const Palette& pal)
{
    Surface s(indexed.Width(), indexed.Height(), PixelFormat::Rgb32);
    for (int y = 0; y < s.Height(); ++y) {
        auto* out = reinterpret_cast<std::uint32_t*>(s.Row(y));
        for (int x = 0; x < s.Width(); ++x) out[x] = pal[indexed.Row(y)[x]];
    }
    return s;
}

std::string PathIn(const std::string& directory, const std::string& name)
{
    return (std::filesystem::path(directory) / name).string();
}

void RequireSheetPalette(const Assets& a, const PalettePicture& picture, const std::string& file)
{
    if (picture.palette != a.palette) throw AssetError(file + " does not share the tile sheet's palette");
}

}  // namespace

Assets LoadPlayAssets(const std::string& directory)
{
    auto path = [&](const char* name) { return PathIn(directory, name); };
    Assets a;

    const PalettePicture sheet = ReadIndexed(path("tilesheet.png"), 256, 112);
    a.palette = sheet.palette;
    if ((a.palette[0] & 0xffffffu) != 0) throw AssetError(path("tilesheet.png") + ": palette entry 0 must be black");
    a.sheet8 = Indexed(sheet);
    a.sheet32 = Converted(a.sheet8, a.palette);

    const PalettePicture sprites = ReadIndexed(path("sprites.png"), 256, 96);
    RequireSheetPalette(a, sprites, path("sprites.png"));
    a.sprites8 = Indexed(sprites);
    for (int i = 0; i < SpriteCount; ++i)
        for (int y = 0; y < 16; ++y) {
            std::uint8_t* row = a.sprites8.Row((i / 16) * 16 + y) + (i % 16) * 16;
            std::uint16_t bits = 0;
            for (int x = 0; x < 16; ++x) {
                if (row[x] == SpriteKeyIndex) row[x] = 0;  // what lies under the mask is never drawn
                else bits |= std::uint16_t(1u << x);
            }
            a.spriteMask[i][y] = bits;
        }
    a.sprites32 = Converted(a.sprites8, a.palette);
    return a;
}

void LoadEndingPictures(Assets& a, const std::string& directory)
{
    std::array<Surface, 3> ending8, ending32;
    for (int v = 0; v < 3; ++v) {
        const std::string file = PathIn(directory, "ending" + std::to_string(v) + ".png");
        const PalettePicture img = ReadIndexed(file, EndingPictureSize, EndingPictureSize);
        RequireSheetPalette(a, img, file);
        ending8[v] = Indexed(img);
        ending32[v] = Converted(ending8[v], a.palette);
    }
    a.ending8 = std::move(ending8);
    a.ending32 = std::move(ending32);
}

Assets LoadAssets(const std::string& directory)
{
    Assets a = LoadPlayAssets(directory);
    LoadEndingPictures(a, directory);
    return a;
}

std::string FindDataDirectory(const std::string& programPath)
{
    namespace fs = std::filesystem;
    if (const char* env = std::getenv("BURROWKIN_DATA_DIR"); env && *env) return env;
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) exe = fs::absolute(programPath, ec);
    const fs::path prefix = exe.parent_path().parent_path();
    const fs::path beside = prefix / "share" / "burrowkin";
    const fs::path games = prefix / "share" / "games" / "burrowkin";
    return (fs::is_directory(beside, ec) || !fs::is_directory(games, ec) ? beside : games).string();
}
