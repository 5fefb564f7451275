#pragma once

#include <cstdint>
#include <cstdlib>

#include "cave/cave_map.h"
#include "core/game_state.h"

struct Game;
struct TickProbe;

// What the character is doing with an item; at most one at a time.
enum ActionId : std::uint8_t {
    ActionNone = 0,
    ActionBomb = 1,       // the fuse burns
    ActionRope = 2,       // choosing where to lay a rope
    ActionPickaxe = 3,    // choosing where to dig
    ActionPotion = 4,     // walking at double speed
    ActionCompass = 5,    // the arrow flies toward the exit
    ActionParachute = 6,  // falling slowly
    ActionWand = 7,       // swinging the wand at the ghost
    ActionBird = 8,       // carried by the bird
    ActionPistol = 9,     // shooting at the ghost
    ActionDrill = 10,     // choosing where to drill
    ActionJet = 11,       // flying with the jet
};

// Actions that leave the character free to walk, fall, die and collect while
// they run; the others take the place of movement with a branch of their own.
inline bool MovesFreely(std::uint8_t action)
{
    switch (action) {
    case ActionRope:
    case ActionPickaxe:
    case ActionDrill:
    case ActionCompass:
    case ActionWand:
    case ActionPistol: return false;
    default: return true;
    }
}

// The parachute, the bird and the jet: actions that carry the character.
inline bool Flying(std::uint8_t action)
{
    return action == ActionParachute || action == ActionBird || action == ActionJet;
}

// The variant's flying item, in its last slot, and the action it starts.
inline std::uint8_t FlyingItem(int variant) { return ItemsOf(variant)[5]; }
inline ActionId FlyingAction(int variant)
{
    const std::uint8_t item = FlyingItem(variant);
    return item == Parachute ? ActionParachute : item == Bird ? ActionBird : ActionJet;
}

// How long things last, in ticks.
constexpr std::int32_t FuseTicks = 100;    // from lighting a bomb to its blast
constexpr std::int32_t BlastTicks = 20;    // the fuse's last: the explosion shows from here, and kills below it
constexpr std::int32_t PotionTicks = 200;  // walking at double speed
constexpr std::int32_t WandTicks = 20;     // a swing of the wand
constexpr std::int32_t PistolTicks = 40;   // a shot of the pistol

// How near the ghost must be to be driven off, in pixels: the wand strikes
// within a square, the pistol within a circle.
constexpr std::int32_t WandReach = 24;
constexpr std::int64_t PistolReach = 100;

// The bomb lies in the cell under the character's middle, and its blast
// kills within this many pixels of that cell's corner.
inline MapCell BombCell(const GameState& s) { return {(s.PlayerX + 8) / CellSize, (s.PlayerY + 8) / CellSize}; }
constexpr std::int64_t BlastReach = 28;
inline bool InBlastReach(const GameState& s)
{
    const std::int64_t dx = s.PlayerX - s.ToolX * CellSize, dy = s.PlayerY - s.ToolY * CellSize;
    return dx * dx + dy * dy <= BlastReach * BlastReach;
}

// The cells a blast opens: the 5 by 5 square around the bomb's cell, its
// corners left out.
template <typename Visit>
void ForEachBlastCell(MapCell bomb, Visit visit)
{
    for (int i = -2; i <= 2; ++i)
        for (int j = -2; j <= 2; ++j)
            if (std::abs(i) < 2 || std::abs(j) < 2) visit(bomb.column + i, bomb.row + j);
}

// A rope is laid only where the first cell on its way that is not open lies
// at most this many cells from the character's own.
constexpr int RopeRun = 10;

// The cells a dig opens in the direction from the character's knee: the
// pickaxe the first, when it is diggable rock, the drill the whole run of it.
int DigLength(const CaveMap& map, const TickProbe& tick, Step direction, bool wholeRun);

// Slot selection and item use, in the normal branch of the step.
void SelectNextSlot(Game& game);
void UseItem(Game& game, const TickProbe& tick);
// The item is spent: one less in the selected slot, and no action.
void FinishAction(Game& game);

// The countdowns at the end of the normal branch, potion first.
void PotionCountdown(Game& game);
void BombCountdown(Game& game);
// The bomb's blast: the diggable rock of the 5 by 5 square around its cell,
// the corners left out, becomes open cave.
void Blast(Game& game);

// Branches that take the place of movement while they run.
void DirectionBranch(Game& game, const TickProbe& tick);  // rope, pickaxe, drill
void CompassBranch(Game& game);
void WandBranch(Game& game, TickProbe& tick);
void PistolBranch(Game& game, TickProbe& tick);
