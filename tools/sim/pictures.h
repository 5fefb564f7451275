#pragma once

#include <string>

#include "cave/cave_map.h"
#include "gfx/assets.h"

struct Game;

// What --png draws. A build without pictures (the browser's) has no PNG
// writer: there each of these throws UsageError, so that --png is refused
// before anything is played or written.

// The game's pictures from its data folder, or UsageError.
Assets LoadPictures();
// The whole map as MapPicture draws it, saved through WritePngOrFail.
void WriteMapPicture(const CaveMap& map, const Assets& art, int pixelsPerCell, const std::string& path);
// The window's view and status bar as the last tick left them; without
// `replace` a file already there is kept (UsageError).
void WriteWindowPicture(const Game& game, const std::string& path, bool replace);
