#include "screens/race.h"

#include <cstdio>
#include <cstdlib>

#include "cave/replay.h"
#include "gfx/draw.h"
#include "play/view.h"

namespace {

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

std::optional<long> Race::Lead(const Standing& you, const Standing& shadow)
{
    if (!you.reachedGoal || !shadow.reachedGoal) return std::nullopt;
    return long(shadow.ticks) - long(you.ticks);
}

void Race::Draw(Game& player) const
{
    const GameState& me = player.state;
    const GameState& it = game_->state;
    if (me.Screen != ScreenPlay || it.FrameIndex < FirstInputWord) return;
    const std::int32_t dx = it.PlayerX - me.PlayerX, dy = it.PlayerY - me.PlayerY;
    if (InView(dx, dy)) {
        // Hidden as the character is, on the odd ticks of its death.
        if (it.DeathTimer % 2 == 0)
            DrawSpriteSeeThrough(player.art, player.ViewBitmap, ViewCentre + dx, ViewCentre + dy,
                                 game_->lastPose + it.Facing + it.Variant * 16);
        return;
    }
    // The mark stands in the middle of where the sprite would.
    const ViewPoint edge = TowardAtTheEdge(player, it.PlayerX, it.PlayerY);
    DrawMark(player.art.palette, player.ViewBitmap, edge.x + 8, edge.y + 8, MarkColour);
}

std::string DescribeShadowFinish(const Race::Standing& shadow) { return "race: the shadow reached the exit: " + Describe(shadow); }

std::string DescribeRace(const Race::Standing& you, const Race::Standing& shadow)
{
    std::string line = "race: you " + Describe(you) + "; the shadow " + Describe(shadow);
    if (const std::optional<long> lead = Race::Lead(you, shadow)) {
        if (*lead == 0) line += "; level";
        else line += (*lead > 0 ? "; you lead by " : "; the shadow leads by ") + Times(std::uint32_t(std::labs(*lead)));
    } else if (you.reachedGoal) {
        line += "; you lead";
    }
    return line;
}
