#include <cstdio>
#include <sstream>
#include <string>

#include "cave/replay.h"
#include "screens/frame_tick.h"
#include "screens/race.h"
#include "tools/sim/commands.h"
#include "tools/sim/pictures.h"
#include "tools/sim/sim_context.h"

namespace {

std::string Json(const Race::Standing& s)
{
    return "{\"reached_goal\":" + std::string(s.reachedGoal ? "true" : "false") + ",\"ticks\":" + std::to_string(s.ticks) +
           ",\"score\":" + std::to_string(s.score) + ",\"misses\":" + std::to_string(s.misses) + "}";
}

}  // namespace

// The player's game in the race's cave, from an inputs file or another run of
// the same cave, played beside the race's shadow; then how the two stand.
int RaceCommand(const std::vector<std::string>& args)
{
    if (args.empty() || args[0].starts_with("--")) throw UsageError("race needs the run file to race first");
    const Arguments a = ParseArguments({args.begin() + 1, args.end()},
                                       {{"--inputs", true}, {"--run", true}, {"--png", true}, {"--force", false}});
    if (a.commonGiven) throw UsageError("race plays in the raced run's own cave; leave out the cave options");
    if (a.Has("--inputs") == a.Has("--run")) throw UsageError("race needs one of --inputs FILE or --run FILE");
    a.OnlyWith("--force", "--png");
    if (auto png = a.Text("--png")) CheckOutputPath("--png", *png, a.Has("--force"));

    Race race(ReadRunOrFail(args[0]));
    SimContext sim(a.Has("--png"));
    Game& game = *sim.game;
    std::optional<RunPlayer> other;
    std::vector<std::uint16_t> inputs;
    if (auto path = a.Text("--run")) {
        other.emplace(ReadRunOrFail(*path));
        if (!(other->Run().header.settings == race.Run().header.settings))
            throw UsageError(*path + " is a run of another cave (" + DescribeSettings(other->Run().header.settings) +
                             ") than " + args[0] + " (" + DescribeSettings(race.Run().header.settings) + ")");
        other->Start(game);
    } else {
        inputs = ReadInputsOrFail(*a.Text("--inputs"));
        StartFixedGame(game, race.Start());
    }

    // A tick of the shadow's for each of the player's, as the window plays them.
    race.Begin();
    const auto playing = [&] {
        if (game.state.Screen != ScreenPlay) return false;
        return other ? other->Playing(game) : std::size_t(game.state.FrameIndex - FirstInputWord) < inputs.size();
    };
    while (playing()) {
        const std::uint32_t k = std::uint32_t(game.state.FrameIndex - FirstInputWord);
        game.clock = ClockAfterTicks(k);
        if (other) {
            other->Tick(game);
        } else {
            game.state.KeysHeld = FlagsFromWord(inputs[k]);
            FrameTick(game);
        }
        race.Tick();
        race.Draw(game);
    }
    race.PlayToTheEnd();  // the shadow's run goes on to its own end

    const Race::Standing you = Race::Of(game), shadow = race.Shadow();
    const std::optional<long> ticksAhead = Race::Lead(you, shadow);
    const std::string lead = ticksAhead ? std::to_string(*ticksAhead) : "null";
    // The picture first: a race that cannot keep it reports no result.
    if (auto png = a.Text("--png")) WriteWindowPicture(game, *png, a.Has("--force"));
    std::printf("{\"player\":%s,\"shadow\":%s,\"lead_ticks\":%s}\n", Json(you).c_str(), Json(shadow).c_str(), lead.c_str());
    return 0;
}
