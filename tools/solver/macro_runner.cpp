#include "tools/solver/macro_runner.h"

#include "play/tick_probe.h"
#include "screens/frame_tick.h"

void MacroRunner::Start()
{
    words_.clear();
    changes_.clear();
    windows_.clear();
    died_ = caught_ = goal_ = acceptMisses_ = false;
    misses_ = 0;
}

void MacroRunner::Note(std::uint16_t cell, std::uint8_t before)
{
    const std::uint8_t after = game.map[cell >> 8][cell & 255];
    for (CellChange& c : changes_)
        if (c.cell == cell) {
            c.after = after;
            return;
        }
    if (before != after) changes_.push_back({cell, before, after});
}

bool MacroRunner::Tick(std::uint16_t word)
{
    // Play ends at the goal; the ending and the title after it would change
    // the game (its variant, even its cave) behind the search's back.
    if (goal_) return true;
    // The pickup looks at the cell of the character's position at the start
    // of the tick; remember it when something lies there.
    const TickProbe t = ProbeAt(s);
    const int column = t.BodyCol, row = t.BodyRow;
    const bool inMap = InsideMap(column, row);
    const std::uint8_t before = inMap ? game.map[column][row] : 0;

    const bool ghost = s.GhostTimer != 0;
    const bool alive = s.DeathTimer == 0;
    s.KeysHeld = FlagsFromWord(word);
    FrameTick(game);
    words_.push_back(word);

    if (inMap && Collectable(before) && game.map[column][row] != before)
        Note(std::uint16_t(column * 256 + row), before);
    if (s.Screen != ScreenPlay) goal_ = true;
    if (acceptMisses_) {
        if (alive && s.DeathTimer != 0) ++misses_;
    } else if (s.DeathTimer != 0 && !died_) {
        died_ = true;
        caught_ = ghost && s.GhostTimer == 0;  // the touch takes the ghost away
    }
    return !died_;
}

void MacroRunner::Watch(int left, int top, int right, int bottom)
{
    Window w{left, top, right, bottom, {}};
    for (int x = left; x <= right; ++x)
        for (int y = top; y <= bottom; ++y)
            w.before.push_back(InsideMap(x, y) ? game.map[x][y] : 0);
    windows_.push_back(std::move(w));
}

void MacroRunner::Collect()
{
    for (const Window& w : windows_) {
        std::size_t i = 0;
        for (int x = w.left; x <= w.right; ++x)
            for (int y = w.top; y <= w.bottom; ++y, ++i)
                if (InsideMap(x, y) && game.map[x][y] != w.before[i])
                    Note(std::uint16_t(x * 256 + y), w.before[i]);
    }
    windows_.clear();
    // A cell may have changed again after it was noted, or back to what it was.
    for (CellChange& c : changes_) c.after = game.map[c.cell >> 8][c.cell & 255];
    std::erase_if(changes_, [](const CellChange& c) { return c.before == c.after; });
}

void MacroRunner::Undo()
{
    for (auto it = changes_.rbegin(); it != changes_.rend(); ++it) game.map[it->cell >> 8][it->cell & 255] = it->before;
}
