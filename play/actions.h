#pragma once

#include <cstdint>

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
