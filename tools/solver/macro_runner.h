#pragma once

#include <cstdint>
#include <vector>

#include "play/game.h"

// A cell of the map that a stretch of play changed: its index (column * 256 +
// row) and its tile before and after.
struct CellChange {
    std::uint16_t cell;
    std::uint8_t before, after;
};

// Plays ticks on a live game through the real frame tick and keeps what a
// search needs to know of them: the input words, the cells that changed (so
// that they can be put back), a death, the goal.
class MacroRunner {
public:
    explicit MacroRunner(Game& game) : game(game), s(game.state) {}

    // Forgets the last stretch's words, changes and misses.
    void Start();
    // From here on in this stretch a death is a miss to count, not its end
    // (until told otherwise).
    void AcceptMisses(bool accept = true) { acceptMisses_ = accept; }
    // One tick with these inputs held. False when the character died on it.
    bool Tick(std::uint16_t word);
    // The cells within `reach` of (column, row) may change without the
    // character standing in them (the rope, the pickaxe, the bomb): they are
    // compared when the stretch is collected.
    void Watch(int column, int row, int reach) { Watch(column - reach, row - reach, column + reach, row + reach); }
    // The same for the cells of a rectangle, corners included.
    void Watch(int left, int top, int right, int bottom);
    // Compares the watched cells; call once the stretch is over.
    void Collect();
    // Puts back every cell the stretch changed.
    void Undo();

    const std::vector<std::uint16_t>& Words() const { return words_; }
    const std::vector<CellChange>& Changes() const { return changes_; }
    bool Died() const { return died_; }
    // The ghost's touch killed the character.
    bool Caught() const { return caught_; }
    bool ReachedGoal() const { return goal_; }
    int Misses() const { return misses_; }
    int Ticks() const { return int(words_.size()); }

    Game& game;
    GameState& s;

private:
    void Note(std::uint16_t cell, std::uint8_t before);

    std::vector<std::uint16_t> words_;
    std::vector<CellChange> changes_;
    struct Window {
        int left, top, right, bottom;
        std::vector<std::uint8_t> before;
    };
    std::vector<Window> windows_;
    bool died_ = false;
    bool caught_ = false;
    bool goal_ = false;
    bool acceptMisses_ = false;
    int misses_ = 0;
};
