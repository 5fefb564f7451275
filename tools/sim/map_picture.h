#pragma once

#include <string>

#include "cave/cave_map.h"
#include "gfx/assets.h"

// Writes the whole 256 by 256 cell map as a PNG, every cell its tile picture,
// `pixelsPerCell` pixels across (1, 2, 4, 8 or 16; below 16 each pixel is the
// mean colour of the picture's square it stands for). False when the file
// cannot be written.
bool WriteMapPicture(const CaveMap& map, const Assets& art, int pixelsPerCell, const std::string& path);
