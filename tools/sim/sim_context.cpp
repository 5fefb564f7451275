#include "tools/sim/sim_context.h"

#include <cstdio>

SimContext::SimContext(bool needPictures)
{
    if (needPictures) {
        try {
            art = LoadAssets(FindDataDirectory(""));
        } catch (const AssetError& e) {
            throw UsageError(e.what());
        }
    }
    game = std::make_unique<Game>(art, shell);
}

bool GenerateFromOptions(SimContext& sim, const CommonOptions& o)
{
    GameState& s = sim.game->state;
    s.CaveWidth = o.width;
    s.CaveHeight = o.height;
    s.Variant = std::uint8_t(o.variant);
    s.Beginner = o.beginner;
    s.SpeedToDeath = o.speedToDeath;
    sim.shell.UtcMilliseconds = o.seed;
    return NewGame(*sim.game, o.width, o.height, o.beginner, o.variant);
}

void WriteFileOrFail(const std::string& path, const void* data, std::size_t bytes)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    const bool ok = f && std::fwrite(data, 1, bytes, f) == bytes;
    if (f && std::fclose(f) != 0) throw UsageError("cannot write " + path);
    if (!ok) throw UsageError("cannot write " + path);
}
