#pragma once

#include <cstdint>
#include <vector>

#include "tools/solver/macro_runner.h"

// The short pieces of play that the automatic player strings together. Each
// starts from a settled character and, when it works out, ends with one:
// standing on rock, holding a rope or ladder, or hanging from a bar, alive.
enum class MoveKind : std::uint8_t {
    Walk,       // one cell left or right (dir -1, +1), then any fall
    Leap,       // `amount` cells left or right, steering on across a gap while falling
    Climb,      // one cell up or down a rope or ladder (dir -1, +1); down may let go
    ClimbStep,  // up a little (amount: ticks), then a cell sideways onto a ledge
    Jump,       // a jump, carried `amount` pixels sideways
    Rope,       // lay a rope up (dir 0) or a bar sideways (1 right, 3 left)
    Dig,        // the pickaxe or the drill, in direction dir (0 up .. 3 left)
    Bomb,       // light a bomb, get away (dir: 0 left, 1 right, 2 up, 3 down), wait for the blast;
                // an `amount` above 0 turns after the first cell, to way amount - 1
    BombInPlace,  // light a bomb with no way away, lose a life to it and go on where the character reappears
    Fly,        // with the bird: rise `amount` cells, then a cell sideways (dir -1, 0, +1)
    Thrust,     // with the jet: thrust `amount` ticks while moving a cell sideways (dir)
    Cruise,     // with the jet: rise, then fly level `amount` cells sideways (dir)
    Land,       // put out the jet or send the bird away, by choosing a tool and thinking better of it
};

struct Move {
    MoveKind kind;
    std::int8_t dir = 0;
    std::int8_t amount = 0;
    // First put on the variant's flying item (the parachute, the bird, the jet).
    bool takeOff = false;
    // First wait for the ghost to come near and drive it off with the wand or
    // the pistol (with neither left, a life).
    bool repelFirst = false;
    // Put on the flying item as soon as the character falls, when digging or
    // a blast has opened the floor.
    bool catchFall = false;
    // Let a fall kill and go on where the character comes back: below, where
    // the body came to rest on a floor, or above with what it picked up.
    bool throughDeath = false;
    // Catch a fall that would kill on a rope laid up from mid-air, just
    // before it grows fatal.
    bool catchRope = false;
};

// Alive, not falling, and held up by rock, a rope or ladder, or a bar, so that
// a tick without input leaves everything as it is.
bool Settled(const Game& game);

// The moves worth trying from the game's present position.
std::vector<Move> CandidateMoves(const Game& game);

// The moves the search tries only once the others have led nowhere: they
// reach more, at a price in search time that most caves need not pay.
std::vector<Move> WiderMoves(const Game& game);

// Plays a move from the game's present state. True when it ended settled (or
// on the goal) with the character alive; the runner holds its ticks.
bool RunMove(MacroRunner& runner, const Move& move);

// The slot that holds `item` in the game's variant, or -1.
int SlotOf(const GameState& state, std::uint8_t item);

// The variant's flying item: parachute, bird or jet.
std::uint8_t FlyingItem(const GameState& state);

// Whether some move uses the item: the potion and the compass never help the
// character on its way.
bool MovesUse(std::uint8_t item);

// How many uses of the items that dig or lift (bombs, pickaxes, ropes; a
// drill, a bird or a jet counting three) the counts give.
int ToolUses(const GameState& state, const std::array<std::uint8_t, 6>& counts);
