#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "play/game.h"

// A hand-made cave for play tests, drawn as rows of characters from cell
// (20, 20) on; everything else is hard rock:
//   '#' hard rock   '%' diggable rock   '.' open   'H' ladder   '|' rope
//   '-' hang bar    '$' coin   'B' money bag   'D' diamond   'E' exit
//   'b' bomb  'r' rope item  'k' pickaxe  'p' potion  'c' compass  'u' parachute
//   '@' open, and the character starts here
struct Playground {
    Playground(std::initializer_list<std::string> rows, int variant = 0);

    Game game;
    GameState& s;

    static constexpr int Left = 20, Top = 20;
    // Pixel position of a cell of the drawing.
    static int X(int column) { return (Left + column) * 16; }
    static int Y(int row) { return (Top + row) * 16; }
    std::uint8_t& Cell(int column, int row) { return game.map[Left + column][Top + row]; }

    // One tick of the play screen with these inputs held (InputBit values).
    void Tick(std::uint16_t held = 0);
    void Ticks(int n, std::uint16_t held = 0);
};
