#pragma once

#include <cstdint>

#include "cave/cave_map.h"
#include "core/game_state.h"

// What a play tick works out once, from the character's position at its
// start, and uses unchanged to the end: the cells the probes look at, and the
// tick's own flags and pose.
struct TickProbe {
    std::int32_t BodyCol;   // (x + 4) / 16: own column, first foot and head probe
    std::int32_t BodyCol2;  // (x + 11) / 16: second foot and head probe
    std::int32_t WallColL;  // x / 16: the wall probe walking left
    std::int32_t WallColR;  // (x + 12) / 16: the wall probe walking right
    std::int32_t BodyRow;   // y / 16: own row; the feet look at the row below
    std::int32_t HeadRow;   // (y + 4) / 16
    std::int32_t KneeRow;   // (y + 12) / 16
    std::int32_t SubX;      // x mod 16
    std::int32_t SubY;      // y mod 16

    bool Standing = false;
    bool Thrusting = false;
    int Pose = 0;  // the character's sprite frame, 0..7
};

inline TickProbe ProbeAt(const PlayState& s)
{
    TickProbe t{};
    t.BodyCol = (s.PlayerX + 4) / CellSize;
    t.BodyCol2 = (s.PlayerX + 11) / CellSize;
    t.WallColL = s.PlayerX / CellSize;
    t.WallColR = (s.PlayerX + 12) / CellSize;
    t.BodyRow = s.PlayerY / CellSize;
    t.HeadRow = (s.PlayerY + 4) / CellSize;
    t.KneeRow = (s.PlayerY + 12) / CellSize;
    t.SubX = s.PlayerX % CellSize;
    t.SubY = s.PlayerY % CellSize;
    return t;
}

// A cell of the map; outside it everything is hard rock.
inline std::uint8_t CellAt(const CaveMap& map, std::int32_t column, std::int32_t row)
{
    return InsideMap(column, row) ? map[column][row] : std::uint8_t(TileHardRock);
}

inline std::uint8_t ClassAt(const CaveMap& map, std::int32_t column, std::int32_t row)
{
    return ClassOf(CellAt(map, column, row));
}
