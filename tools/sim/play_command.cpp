#include <cstdio>
#include <string>
#include <vector>

#include "cave/generator.h"
#include "cave/replay.h"
#include "screens/frame_tick.h"
#include "screens/sound_cues.h"
#include "tools/sim/commands.h"
#include "tools/sim/pictures.h"
#include "tools/sim/sim_context.h"
#include "tools/sim/trace.h"

namespace {

constexpr std::int64_t ReplayTicks = 65600;

// What play prints: a line of the trace after every tick, or with --sounds a
// line for each sound a tick makes, its tick (from 0) and its name.
class TickPrinter {
public:
    explicit TickPrinter(bool sounds) : bank_(sounds ? LoadSoundsOrFail() : SoundBank()), cues_(sounds ? &bank_ : nullptr), sounds_(sounds)
    {
        if (!sounds_) std::printf("%s\n", TraceHeader);
    }
    void Before(const Game& game) { cues_.Before(game.state); }
    void After(const Game& game, std::int64_t tick)
    {
        if (!sounds_) {
            std::printf("%s\n", TraceLine(game).c_str());
            return;
        }
        std::vector<int> heard;
        cues_.After(game.state, heard);
        for (const int sound : heard) std::printf("%lld %s\n", static_cast<long long>(tick), bank_.Sounds()[std::size_t(sound)].name.c_str());
    }

private:
    SoundBank bank_;
    SoundCues cues_;
    bool sounds_;
};

}  // namespace

// The trace of a run file's game, with the run's own cave and settings.
int PlayRun(const Arguments& a, const std::string& path)
{
    if (a.commonGiven) throw UsageError("--run plays with the run's own settings; leave out the cave options");
    const RunPlayer player(ReadRunOrFail(path));
    SimContext sim(a.Has("--png"));
    const std::int64_t ticks = a.Number("--ticks", 0, 100'000'000).value_or(std::int64_t(player.Run().inputs.size()));
    player.Start(*sim.game);
    TickPrinter printer(a.Has("--sounds"));
    for (std::int64_t k = 0; k < ticks && player.Playing(*sim.game); ++k) {
        printer.Before(*sim.game);
        PlayRunTick(sim, player);
        printer.After(*sim.game, k);
    }
    if (auto png = a.Text("--png")) WriteWindowPicture(*sim.game, *png, a.Has("--force"));
    return 0;
}

int PlayCommand(const std::vector<std::string>& args)
{
    const Arguments a = ParseArguments(args, {{"--inputs", true},
                                              {"--replay", true},
                                              {"--run", true},
                                              {"--ticks", true},
                                              {"--png", true},
                                              {"--force", false},
                                              {"--sounds", false}});
    const int sources = a.Has("--inputs") + a.Has("--replay") + a.Has("--run");
    if (sources != 1) throw UsageError("play needs one of --inputs FILE, --replay FILE or --run FILE");
    a.OnlyWith("--force", "--png");
    if (auto png = a.Text("--png")) CheckOutputPath("--png", *png, a.Has("--force"));
    if (auto run = a.Text("--run")) return PlayRun(a, *run);
    GameSettings options = a.common;
    std::vector<std::uint16_t> inputs;
    SimContext sim(a.Has("--png"));
    GameState& s = sim.game->state;
    if (auto replay = a.Text("--replay")) {
        // The demonstration: its own cave, its inputs from the recording.
        const int speedToDeath = options.speedToDeath;
        options = DemonstrationSettings(options.beginner);
        options.speedToDeath = speedToDeath;
        s.DemoMode = true;
        sim.game->replayPath = [path = *replay] { return path; };
    } else {
        inputs = ReadInputsOrFail(*a.Text("--inputs"));
    }
    const std::int64_t ticks = a.Number("--ticks", 0, 100'000'000).value_or(
        s.DemoMode ? ReplayTicks : std::int64_t(inputs.size()));

    // As the title screen starts a game: the demonstration draws the status bar
    // before its cave clears the strip, a game after.
    bool ok = false;
    if (s.DemoMode) DrawStatusBar(*sim.game);
    try {
        ok = NewGame(*sim.game, options);
    } catch (const ReplayLoadError& e) {
        throw UsageError(std::string(*a.Text("--replay")) + ": " + e.what());
    }
    if (!ok) std::fprintf(stderr, "burrowkin-sim: the cave could not be generated; playing on in it as it is\n");
    if (ok && !s.DemoMode) DrawStatusBar(*sim.game);

    s.Screen = ScreenPlay;
    TickPrinter printer(a.Has("--sounds"));
    for (std::int64_t k = 0; k < ticks; ++k) {
        sim.game->clock = ClockAfterTicks(std::uint32_t(k));
        s.KeysHeld = FlagsFromWord(std::size_t(k) < inputs.size() ? inputs[std::size_t(k)] : 0);
        printer.Before(*sim.game);
        FrameTick(*sim.game);
        printer.After(*sim.game, k);
        if (s.Screen != ScreenPlay) break;
    }
    if (auto path = a.Text("--png")) WriteWindowPicture(*sim.game, *path, a.Has("--force"));
    return 0;
}
