#pragma once

#include <array>
#include <cstdint>

// 256 columns by 256 rows of tile codes, addressed [column][row]: cell (x, y)
// is byte x * 256 + y of one 65,536-byte block.
using CaveColumn = std::array<std::uint8_t, 256>;
using CaveMap = std::array<CaveColumn, 256>;

constexpr int CellSize = 16;  // pixels to a cell
