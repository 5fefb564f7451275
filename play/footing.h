#pragma once

#include "play/tick_probe.h"

// What holds the character up, seen from the cells of a tick's probe. The play
// step moves by these rules, and the automatic player plans with them.

// Rock under either foot.
inline bool Standing(const CaveMap& map, const TickProbe& t)
{
    return ClassAt(map, t.BodyCol, t.BodyRow + 1) == ClassSolid || ClassAt(map, t.BodyCol2, t.BodyRow + 1) == ClassSolid;
}

// Holding a rope or a ladder: one in its own cell, not half-way to the next column.
inline bool OnClimbable(const CaveMap& map, const TickProbe& t)
{
    return ClassAt(map, t.BodyCol, t.BodyRow) == ClassClimbable && t.SubX != 8;
}

// Hanging from a bar: from its upper half, or anywhere with a rope above, and
// not standing (t.Standing must be set).
inline bool Hanging(const CaveMap& map, const TickProbe& t)
{
    return ClassAt(map, t.BodyCol, t.BodyRow) == ClassHangBar &&
           (t.SubY < 8 || ClassAt(map, t.BodyCol, t.BodyRow - 1) == ClassClimbable) && !t.Standing;
}

// The probe of a tick that would start now, with its footing.
inline TickProbe ProbeAt(const GameState& s, const CaveMap& map)
{
    TickProbe t = ProbeAt(s);
    t.Standing = Standing(map, t);
    return t;
}
