#include "app/window_icon.h"

#include <QPixmap>

#include "core/files.h"

namespace {

constexpr std::size_t MaxIconBytes = 1u << 20;

void AddIconPicture(QIcon& icon, const std::string& path)
{
    try {
        const std::vector<std::uint8_t> bytes = ReadWholeRegularFile(path, MaxIconBytes);
        QPixmap picture;
        if (picture.loadFromData(bytes.data(), uint(bytes.size()))) icon.addPixmap(picture);
    } catch (const FileError&) {
        // an icon is a decoration: the game starts without it
    }
}

}  // namespace

QIcon WindowIcon(const std::string& dataDirectory)
{
    QIcon icon;
    for (const char* name : {"/icon.png", "/icon-256.png"}) AddIconPicture(icon, dataDirectory + name);
    return icon;
}
