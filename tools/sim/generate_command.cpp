#include <array>
#include <cstdio>

#include "tools/sim/commands.h"
#include "tools/sim/pictures.h"
#include "tools/sim/sim_context.h"

int GenerateCommand(const std::vector<std::string>& args)
{
    const Arguments a = ParseArguments(args, {{"--map", true}, {"--png", true}, {"--png-scale", true}});
    a.OnlyWith("--png-scale", "--png");
    int scale = 16;
    if (auto k = a.Number("--png-scale", 1, 16)) {
        if (16 % *k != 0 || (*k & (*k - 1)) != 0) throw UsageError("--png-scale must be 1, 2, 4, 8 or 16");
        scale = int(*k);
    }
    SimContext sim(a.Has("--png"));
    const bool ok = NewGame(*sim.game, a.common);
    const Game& g = *sim.game;
    const GameState& s = g.state;

    // The files first: a run that cannot keep them reports no result.
    if (auto path = a.Text("--map")) WriteFileOrFail(*path, g.map.data(), sizeof(g.map));
    if (auto path = a.Text("--png")) WriteMapPicture(g.map, g.art, scale, *path);

    std::array<int, TileCodeCount> counts{};
    for (const auto& column : g.map)
        for (std::uint8_t t : column)
            if (t < TileCodeCount) ++counts[t];

    std::printf("{\"ok\":%s,\"goal\":[%d,%d],\"start\":[%d,%d],\"random_state\":%u,\"inventory\":[", ok ? "true" : "false",
                s.GoalX, s.GoalY, s.PlayerX, s.PlayerY, s.RandomState);
    for (int i = 0; i < 6; ++i) std::printf(i ? ",%d" : "%d", s.Inventory[i]);
    std::printf("],\"counts\":[");
    for (int t = 0; t < TileCodeCount; ++t) std::printf(t ? ",%d" : "%d", counts[t]);
    std::printf("]}\n");

    return 0;
}
