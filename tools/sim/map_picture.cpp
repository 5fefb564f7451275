#include "tools/sim/map_picture.h"

#include <QImage>

QImage MapPicture(const CaveMap& map, const Assets& art, int pixelsPerCell)
{
    const int k = pixelsPerCell, block = 16 / k;
    QImage image(256 * k, 256 * k, QImage::Format_RGB32);
    for (int x = 0; x < 256; ++x)
        for (int y = 0; y < 256; ++y) {
            const int cell = map[x][y] + 64;
            for (int j = 0; j < k; ++j)
                for (int i = 0; i < k; ++i) {
                    unsigned r = 0, g = 0, b = 0;
                    for (int v = 0; v < block; ++v)
                        for (int u = 0; u < block; ++u) {
                            const std::uint32_t c = art.sheet32.ColourAt(16 * (cell % 16) + i * block + u,
                                                                        16 * (cell / 16) + j * block + v, art.palette);
                            r += (c >> 16) & 0xff;
                            g += (c >> 8) & 0xff;
                            b += c & 0xff;
                        }
                    const unsigned n = unsigned(block * block);
                    image.setPixel(x * k + i, y * k + j, qRgb(int(r / n), int(g / n), int(b / n)));
                }
        }
    return image;
}
