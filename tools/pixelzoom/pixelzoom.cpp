// pixelzoom: a picture enlarged by a whole factor, every pixel a block of its
// own colour. Palette pictures stay palette pictures.
#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv)
{
    const int factor = argc == 4 ? std::atoi(argv[3]) : 0;
    if (factor < 1 || factor > 64) {
        std::fputs("usage: pixelzoom IN.png OUT.png FACTOR (1..64)\n", stderr);
        return 2;
    }
    QImage in;
    if (!in.load(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "pixelzoom: cannot read the picture %s\n", argv[1]);
        return 1;
    }
    if (in.format() != QImage::Format_Indexed8) in = in.convertToFormat(QImage::Format_ARGB32);
    QImage out(in.width() * factor, in.height() * factor, in.format());
    if (in.format() == QImage::Format_Indexed8) out.setColorTable(in.colorTable());
    const int bytes = in.depth() / 8;
    for (int y = 0; y < out.height(); ++y) {
        const uchar* from = in.constScanLine(y / factor);
        uchar* to = out.scanLine(y);
        for (int x = 0; x < out.width(); ++x) std::memcpy(to + x * bytes, from + (x / factor) * bytes, bytes);
    }
    if (!out.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "pixelzoom: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
