#pragma once

#include <array>
#include <cstdint>

// 256 columns by 256 rows of tile codes, addressed [column][row]: cell (x, y)
// is byte x * 256 + y of one 65,536-byte block.
using CaveColumn = std::array<std::uint8_t, 256>;
using CaveMap = std::array<CaveColumn, 256>;

constexpr int CellSize = 16;     // pixels to a cell
constexpr int MaxCaveSize = 216; // cells across and down
constexpr int TileCodeCount = 48;

// A cell of the map by its column and row.
struct MapCell {
    std::int32_t column, row;
};

// Whether (column, row) is a cell of the map.
inline bool InsideMap(std::int32_t column, std::int32_t row) { return column >= 0 && column < 256 && row >= 0 && row < 256; }

// Tile codes the rules name.
enum Tile : std::uint8_t {
    TileEmpty = 0,
    TileDiggable = 1,
    TileHardRock = 2,
    TileRope = 3,
    TileLadder = 4,
    TileBuiltRope = 26,   // laid upward: climbable
    TileBuiltBar = 27,    // laid sideways: a bar to hang from
    TileCoin = 28,
    TileMoneyBag = 29,
    TileDiamond = 30,
    TileGoal = 31,
};

// Items are known by the tile code they lie in the cave as.
enum Item : std::uint8_t {
    Bomb = 16,
    Rope = 17,
    Pickaxe = 18,
    Potion = 19,
    Compass = 20,
    Parachute = 21,
    Wand = 32,
    Bird = 34,
    Pistol = 35,
    Drill = 36,
    Jet = 37,
};

// How the rules see a tile.
enum TileClassId : std::uint8_t {
    ClassOpen = 0,
    ClassItem = 1,
    ClassTreasure = 2,  // treasures and the goal
    ClassClimbable = 3,
    ClassHangBar = 4,
    ClassInert = 5,
    ClassSolid = 6,
};

inline constexpr std::array<std::uint8_t, TileCodeCount> TileClass = {
    0, 6, 6, 3, 3, 0, 5, 5,          // 0..7
    0, 0, 0, 0, 0, 0, 0, 0,          // 8..15
    1, 1, 1, 1, 1, 1, 1, 1,          // 16..23 items
    2, 2, 3, 4, 2, 2, 2, 2,          // 24..31 built ropes, treasures, goal
    1, 1, 1, 1, 1, 1,                // 32..37 items
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0,    // 38..47
};

// The item in each inventory slot, by variant.
inline constexpr std::array<std::array<std::uint8_t, 6>, 3> ItemKinds = {{
    {Bomb, Rope, Pickaxe, Potion, Compass, Parachute},
    {Wand, Bomb, Rope, Pickaxe, Compass, Bird},
    {Pistol, Bomb, Rope, Drill, Compass, Jet},
}};

// The items of a variant's slots; a variant past 2 reads as 0.
inline const std::array<std::uint8_t, 6>& ItemsOf(int variant) { return ItemKinds[variant >= 0 && variant <= 2 ? variant : 0]; }

// The slot that holds `item` in the variant, or -1.
inline int SlotOf(int variant, std::uint8_t item)
{
    const auto& kinds = ItemsOf(variant);
    for (int slot = 0; slot < 6; ++slot)
        if (kinds[slot] == item) return slot;
    return -1;
}

// Coins, money bags and diamonds per unit of a cave's density.
inline constexpr std::array<std::int32_t, 3> TreasureDensity = {1000, 100, 10};

// (column step, row step) by direction: 0 up, 1 right, 2 down, 3 left.
struct Step {
    std::int32_t dx, dy;
};
inline constexpr std::array<Step, 4> StepVectors = {{{0, -1}, {1, 0}, {0, 1}, {-1, 0}}};

inline constexpr std::array<std::uint8_t, 4> WalkFrames = {0, 1, 2, 1};   // pose by StepCounter mod 4
inline constexpr std::array<std::uint8_t, 4> MoveAllowed = {0, 1, 0, 1};  // by upperFree * 2 + lowerFree
inline constexpr std::array<std::uint8_t, 4> JetFrames = {0, 0, 0, 1};    // by 2 * Thrusting + BlinkPhase

// The class of a tile code; codes past 47 never stand in a map, and read as open.
inline std::uint8_t ClassOf(std::uint8_t tile) { return tile < TileCodeCount ? TileClass[tile] : std::uint8_t(ClassOpen); }

// What the character takes when it steps into the cell: an item, a treasure or the exit.
inline bool Collectable(std::uint8_t tile)
{
    const std::uint8_t k = ClassOf(tile);
    return k == ClassItem || k == ClassTreasure;
}
