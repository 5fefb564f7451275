#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// What a player may bind to keys of their choice: the six inputs of the game
// and the window's commands.
enum class Control { Up, Down, Left, Right, Select, Use, Title, Pause, StopRace, FullScreen, FastForward, Sound, Keys };
constexpr int ControlCount = 13;
// As the keys file names them.
inline constexpr std::array<std::string_view, ControlCount> ControlNames = {
    "up", "down", "left", "right", "select", "use", "title", "pause", "stop-race", "full-screen", "fast-forward", "sound", "keys"};

// A key the game knows by name: its code, as both front ends hand keys in,
// and its place on the keyboard as browsers name it.
struct NamedKey {
    int virtualKey;
    std::string code;
    std::string name;
};
const std::vector<NamedKey>& NamedKeys();
const NamedKey* KeyNamed(std::string_view name);
const NamedKey* KeyOfCode(int virtualKey);

// Escape always cancels a dialog and is never a key of the game.
constexpr int EscapeKey = 27;

struct KeyBindingsError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Which keys do what. Every control keeps at least one key, and no key does
// two things.
class KeyBindings {
public:
    // The game's own keys (screens/keys.h).
    static KeyBindings Defaults();

    std::optional<Control> ControlOf(int virtualKey) const;
    const std::vector<int>& KeysOf(Control control) const { return keys_[std::size_t(control)]; }
    // "" when the key now does this too; else why not, and nothing changes.
    std::string Bind(Control control, int virtualKey);
    // "" when the key no longer does this; else why not, and nothing changes.
    std::string Unbind(Control control, int virtualKey);

    // The pad's buttons 1 to 4 (bits 1, 2, 4, 8) that select and that use;
    // a button does one of the two or nothing.
    std::uint32_t PadSelect() const { return padSelect_; }
    std::uint32_t PadUse() const { return padUse_; }
    // "" when done; else why not, and nothing changes.
    std::string SetPadButtons(std::uint32_t select, std::uint32_t use);
    // The pad as the game reads it: the buttons chosen here in the places of
    // the game's own (button 1 selects, button 2 uses).
    std::uint32_t GameButtons(std::uint32_t buttons) const;

    // The keys file: a line a control, "up = Up W", and the pad's buttons,
    // "pad-select = 1 4".
    std::string Text() const;
    // Throws KeyBindingsError naming the line that is wrong. A control
    // without a line keeps its own keys where no other control took them.
    static KeyBindings FromText(std::string_view text);

    bool operator==(const KeyBindings&) const = default;

private:
    std::array<std::vector<int>, ControlCount> keys_;
    std::uint32_t padSelect_ = 1 | 8, padUse_ = 2 | 4;
};

// What the keys do, for the help: a line for each control, its keys first
// ("Space or X", "select the next inventory slot").
struct KeyHelpLine {
    std::string keys;
    std::string_view does;
    Control control;
};
std::vector<KeyHelpLine> KeyHelp(const KeyBindings& bindings = KeyBindings::Defaults());
