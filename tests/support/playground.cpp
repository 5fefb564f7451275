#include "tests/support/playground.h"

#include <stdexcept>

#include "screens/frame_tick.h"
#include "tests/support/test_assets.h"

namespace {

std::uint8_t TileOf(char c)
{
    switch (c) {
    case '#': return TileHardRock;
    case '%': return TileDiggable;
    case '.':
    case '@': return TileEmpty;
    case 'H': return TileLadder;
    case '|': return TileRope;
    case '-': return TileBuiltBar;
    case '$': return TileCoin;
    case 'B': return TileMoneyBag;
    case 'D': return TileDiamond;
    case 'E': return TileGoal;
    case 'b': return Bomb;
    case 'r': return Rope;
    case 'k': return Pickaxe;
    case 'p': return Potion;
    case 'c': return Compass;
    case 'u': return Parachute;
    default: throw std::invalid_argument(std::string("no tile for '") + c + "'");
    }
}

}  // namespace

Playground::Playground(std::initializer_list<std::string> rows, int variant) : game(TestAssets()), s(game.state)
{
    for (auto& column : game.map) column.fill(TileHardRock);
    int row = 0;
    for (const std::string& line : rows) {
        for (int column = 0; column < int(line.size()); ++column) {
            Cell(column, row) = TileOf(line[column]);
            if (line[column] == '@') {
                s.PlayerX = X(column);
                s.PlayerY = Y(row);
            }
        }
        ++row;
    }
    s.Screen = ScreenPlay;
    s.Variant = std::uint8_t(variant);
    s.SpeedToDeath = 11;
    s.FrameIndex = 16;
    s.Inventory = {2, 2, 2, 0, 0, 0};
    s.GoalX = X(0);
    s.GoalY = Y(0);
}

void Playground::Tick(std::uint16_t held)
{
    s.KeysHeld = FlagsFromWord(held);
    FrameTick(game);
}

void Playground::Ticks(int n, std::uint16_t held)
{
    for (int i = 0; i < n; ++i) Tick(held);
}
