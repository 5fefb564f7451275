#pragma once

#include <QImage>

#include "cave/cave_map.h"
#include "gfx/assets.h"

// The whole 256 by 256 cell map, every cell its tile picture,
// `pixelsPerCell` pixels across (1, 2, 4, 8 or 16; below 16 each pixel is the
// mean colour of the picture's square it stands for).
QImage MapPicture(const CaveMap& map, const Assets& art, int pixelsPerCell);
