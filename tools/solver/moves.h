#pragma once

#include <cstdint>
#include <vector>

#include "tools/solver/macro_runner.h"

// A way to go, counted as the cave's step vectors count it: up, right, down,
// left; or none.
enum class Way : std::int8_t { Up = 0, Right = 1, Down = 2, Left = 3, None = 4 };

// -1 for left, +1 for right, 0 for up, down or none.
inline int Across(Way way) { return way == Way::Left ? -1 : way == Way::Right ? +1 : 0; }

// The short pieces of play that the automatic player strings together. Each
// starts from a settled character and, when it works out, ends with one:
// standing on rock, holding a rope or ladder, or hanging from a bar, alive.
enum class MoveKind : std::uint8_t {
    Walk,         // a cell left or right, then any fall
    Leap,         // `amount` cells left or right, steering on across a gap while falling
    Climb,        // a cell up or down a rope or ladder; down may let go
    ClimbStep,    // up a little (`amount` ticks), then a cell left or right onto a ledge
    Jump,         // a jump straight up, or carried `amount` pixels left or right
    Rope,         // lay a rope up, or a bar left or right
    Dig,          // the pickaxe or the drill, any way
    Bomb,         // light a bomb, get away (then, if given, the other way), wait for the blast
    BombInPlace,  // light a bomb with no way away, lose a life to it and go on where the character comes back
    Fly,          // with the bird: rise `amount` cells, then a cell left or right (or none: up)
    Thrust,       // with the jet: thrust `amount` ticks while moving a cell left or right (or none: up)
    Cruise,       // with the jet: rise, then fly level `amount` cells left or right
    Land,         // put out the jet or send the bird away, by choosing a tool and thinking better of it
};

// What else a move does, around or during its piece of play.
enum class Modifier : std::uint8_t {
    // First put on the variant's flying item (the parachute, the bird, the jet).
    TakeOff = 1 << 0,
    // First wait for the ghost to come near and drive it off with the wand or
    // the pistol (with neither left, a life).
    RepelFirst = 1 << 1,
    // Put on the flying item as soon as the character falls, where digging or
    // a blast opened the floor.
    CatchFall = 1 << 2,
    // Let a fall kill and go on where the character comes back: below, where
    // the body came to rest on a floor, or above with what it picked up.
    ThroughDeath = 1 << 3,
    // Catch a fall that would kill on a rope laid up from mid-air, just before
    // it grows fatal.
    CatchRope = 1 << 4,
};

struct Move {
    MoveKind kind;
    Way way = Way::None;
    Way then = Way::None;     // a bomb's run turns this way after its first cell
    std::int8_t amount = 0;   // cells, ticks or pixels, as the kind says
    std::uint8_t modifiers = 0;

    static Move Walk(Way side) { return {MoveKind::Walk, side}; }
    static Move Leap(Way side, int cells) { return {MoveKind::Leap, side, Way::None, std::int8_t(cells)}; }
    static Move Climb(Way upOrDown) { return {MoveKind::Climb, upOrDown}; }
    static Move ClimbStep(Way side, int upTicks) { return {MoveKind::ClimbStep, side, Way::None, std::int8_t(upTicks)}; }
    static Move Jump(Way way, int pixels) { return {MoveKind::Jump, way, Way::None, std::int8_t(pixels)}; }
    static Move Rope(Way way) { return {MoveKind::Rope, way}; }
    static Move Dig(Way way) { return {MoveKind::Dig, way}; }
    static Move Bomb(Way away, Way then = Way::None) { return {MoveKind::Bomb, away, then}; }
    static Move BombInPlace() { return {MoveKind::BombInPlace}; }
    static Move Fly(Way way, int cells) { return {MoveKind::Fly, way, Way::None, std::int8_t(cells)}; }
    static Move Thrust(Way way, int ticks) { return {MoveKind::Thrust, way, Way::None, std::int8_t(ticks)}; }
    static Move Cruise(Way side, int cells) { return {MoveKind::Cruise, side, Way::None, std::int8_t(cells)}; }
    static Move Land() { return {MoveKind::Land}; }

    bool operator==(const Move&) const = default;
    bool Has(Modifier m) const { return (modifiers & std::uint8_t(m)) != 0; }
    Move With(Modifier m) const
    {
        Move copy = *this;
        copy.modifiers |= std::uint8_t(m);
        return copy;
    }
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

// Whether some move uses the item: the potion and the compass never help the
// character on its way.
bool MovesUse(std::uint8_t item);

// How many uses of the items that dig or lift (bombs, pickaxes, ropes; a
// drill, a bird or a jet counting three) the counts give.
int ToolUses(const GameState& state, const std::array<std::uint8_t, 6>& counts);
