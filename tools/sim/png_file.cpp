#include "tools/sim/png_file.h"

#include <QBuffer>
#include <QImage>

#include "tools/sim/options.h"
#include "tools/sim/sim_context.h"

void WritePngOrFail(const QImage& picture, const std::string& path, bool replace)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, "PNG")) throw UsageError("cannot make the picture for " + path);
    WriteFileOrFail(path, png.constData(), std::size_t(png.size()), replace);
}
