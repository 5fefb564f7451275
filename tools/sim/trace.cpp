#include "tools/sim/trace.h"

#include "play/game.h"

std::uint32_t MapHash(const CaveMap& map)
{
    std::uint32_t h = 2166136261u;
    for (const auto& column : map)
        for (std::uint8_t b : column) h = (h ^ b) * 16777619u;
    return h;
}

std::string TraceLine(const Game& g)
{
    const GameState& s = g.state;
    std::string line;
    auto put = [&](long long v) {
        if (!line.empty()) line += ' ';
        line += std::to_string(v);
    };
    for (long long v : {(long long)s.FrameIndex, (long long)s.PlayerX, (long long)s.PlayerY, (long long)s.FallSpeed,
                        (long long)s.Facing, (long long)g.lastPose, (long long)s.Action, (long long)s.ActionTimer,
                        (long long)s.ToolX, (long long)s.ToolY, (long long)s.DeathTimer, (long long)s.RespawnX,
                        (long long)s.RespawnY, (long long)s.Misses, (long long)s.Score})
        put(v);
    for (std::uint8_t count : s.Inventory) put(count);
    for (long long v : {(long long)s.SelectedSlot, (long long)s.GhostX, (long long)s.GhostY, (long long)s.GhostTimer,
                        (long long)s.Screen, (long long)s.RandomState, (long long)MapHash(g.map)})
        put(v);
    return line;
}
