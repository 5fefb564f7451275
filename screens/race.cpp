#include "screens/race.h"

#include <cstdio>
#include <cstdlib>

#include "cave/replay.h"
#include "gfx/draw.h"
#include "play/bearing.h"

namespace {

constexpr int Centre = 128;     // the player's sprite stands at (128, 128) of the view
constexpr int InView = 144;     // a sprite closer than this on both axes shows in the view
constexpr std::uint8_t MarkColour = 20;  // the palette's light blue, unlike the ghost
constexpr double TicksPerSecond = 20;

std::string Times(std::uint32_t ticks)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f s", ticks / TicksPerSecond);
    return text;
}

std::string Misses(int misses) { return std::to_string(misses) + (misses == 1 ? " miss" : " misses"); }

std::string Describe(const Race::Standing& s)
{
    return (s.reachedGoal ? Times(s.ticks) : "not at the exit after " + Times(s.ticks)) + ", score " +
           std::to_string(s.score) + ", " + Misses(s.misses);
}

}  // namespace

Race::Race(RunFile run) : player_(std::move(run)), game_(std::make_unique<Game>(noPictures_)) {}

Game::FixedStart Race::Start() const { return {Run().header.settings, Run().header.facing}; }

void Race::Begin() { player_.Start(*game_); }

bool Race::Tick()
{
    if (!player_.Playing(*game_)) return false;
    game_->clock = ClockAfterTicks(player_.TicksPlayed(*game_));
    player_.Tick(*game_);
    return game_->state.Screen == ScreenEnding;
}

void Race::PlayToTheEnd()
{
    while (player_.Playing(*game_)) Tick();
}

Race::Standing Race::Of(const Game& game)
{
    const GameState& s = game.state;
    return {std::uint32_t(s.FrameIndex - FirstInputWord), s.Score, s.Misses, s.Screen == ScreenEnding};
}

void Race::Draw(Game& player) const
{
    const GameState& me = player.state;
    const GameState& it = game_->state;
    if (me.Screen != ScreenPlay || it.FrameIndex < FirstInputWord) return;
    const std::int32_t dx = it.PlayerX - me.PlayerX, dy = it.PlayerY - me.PlayerY;
    if (std::abs(dx) < InView && std::abs(dy) < InView) {
        // Hidden as the character is, on the odd ticks of its death.
        if (it.DeathTimer % 2 == 0)
            DrawSpriteSeeThrough(player.art, player.ViewBitmap, Centre + dx, Centre + dy,
                                 game_->lastPose + it.Facing + it.Variant * 16);
        return;
    }
    const int b = BearingTo(me.PlayerX, me.PlayerY, it.PlayerX, it.PlayerY);
    const long double edge = player.trig.EdgeDistance[b];
    DrawMark(player.art.palette, player.ViewBitmap, Centre + 8 + Nearest(player.trig.CosTable[b] * edge),
             Centre + 8 + Nearest(player.trig.SinTable[b] * edge), MarkColour);
}

std::string DescribeShadowFinish(const Race::Standing& shadow) { return "race: the shadow reached the exit: " + Describe(shadow); }

std::string DescribeRace(const Race::Standing& you, const Race::Standing& shadow)
{
    std::string line = "race: you " + Describe(you) + "; the shadow " + Describe(shadow);
    if (you.reachedGoal && shadow.reachedGoal) {
        const long lead = long(shadow.ticks) - long(you.ticks);
        if (lead == 0) line += "; level";
        else line += (lead > 0 ? "; you lead by " : "; the shadow leads by ") + Times(std::uint32_t(std::labs(lead)));
    } else if (you.reachedGoal) {
        line += "; you lead";
    }
    return line;
}
