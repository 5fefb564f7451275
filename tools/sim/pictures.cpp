#include "tools/sim/pictures.h"

#include <QImage>

#include "play/game.h"
#include "tools/sim/map_picture.h"
#include "tools/sim/options.h"
#include "tools/sim/png_file.h"

Assets LoadPictures()
{
    try {
        return LoadAssets(FindDataDirectory(""));
    } catch (const AssetError& e) {
        throw UsageError(e.what());
    }
}

void WriteMapPicture(const CaveMap& map, const Assets& art, int pixelsPerCell, const std::string& path)
{
    WritePngOrFail(MapPicture(map, art, pixelsPerCell), path, true);
}

void WriteWindowPicture(const Game& g, const std::string& path, bool replace)
{
    QImage image(ViewSize, ViewSize + StatusHeight, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < ViewSize; ++x) {
            const std::uint32_t c = y < ViewSize ? g.ViewBitmap.ColourAt(x, y, g.art.palette)
                                                 : g.StatusBitmap.ColourAt(x, y - ViewSize, g.art.palette);
            image.setPixel(x, y, c);
        }
    WritePngOrFail(image, path, replace);
}
