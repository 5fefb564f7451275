#pragma once

#include <string>

class QImage;

// Saves a picture as a PNG file through WriteFileOrFail: the whole file or
// nothing, and UsageError naming it when it cannot be written.
void WritePngOrFail(const QImage& picture, const std::string& path, bool replace);
