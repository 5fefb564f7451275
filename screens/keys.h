#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/game_state.h"

// The keyboard as the game knows it: virtual key codes of the classic desktop.
enum VirtualKey : int {
    KeyTab = 9,
    KeyEnter = 13,
    KeySpace = 32,
    KeyLeft = 37,
    KeyUp = 38,
    KeyRight = 39,
    KeyDown = 40,
    KeyK = 75,
    KeyM = 77,
    KeyX = 88,
    KeyZ = 90,
    KeyF2 = 113,
    KeyF3 = 114,
    KeyF4 = 115,
    KeyF11 = 122,
};

// What a key of the table does.
enum class KeyRole {
    Input,        // holds one of the six input flags
    BackToTitle,  // with Shift
    Pause,        // every press, auto-repeated ones too, switches the pause
    StopRace,     // games start from the setup dialog again
    FullScreen,
    FastForward,  // held while watching a run
    Sound,        // switches the sound off and on
    KeysDialog,   // on the title: the keys dialog
};

struct KeyBinding {
    int virtualKey;
    std::string_view code;  // the key's place on the keyboard, as browsers name it
    std::string_view name;  // as the help names it
    KeyRole role;
    int flag = -1;          // the input flag of a KeyRole::Input key
};

// Every key the game answers to. Both front ends translate their own key
// events into these codes and nothing more: the page takes this table from
// the game.
inline constexpr std::array<KeyBinding, 16> KeyTable = {{
    {KeyUp, "ArrowUp", "Up", KeyRole::Input, InputUp},
    {KeyDown, "ArrowDown", "Down", KeyRole::Input, InputDown},
    {KeyLeft, "ArrowLeft", "Left", KeyRole::Input, InputLeft},
    {KeyRight, "ArrowRight", "Right", KeyRole::Input, InputRight},
    {KeySpace, "Space", "Space", KeyRole::Input, ButtonSelect},
    {KeyX, "KeyX", "X", KeyRole::Input, ButtonSelect},
    {KeyEnter, "Enter", "Enter", KeyRole::Input, ButtonUse},
    {KeyEnter, "NumpadEnter", "Enter", KeyRole::Input, ButtonUse},
    {KeyZ, "KeyZ", "Z", KeyRole::Input, ButtonUse},
    {KeyF2, "F2", "Shift+F2", KeyRole::BackToTitle},
    {KeyF3, "F3", "F3", KeyRole::Pause},
    {KeyF4, "F4", "F4", KeyRole::StopRace},
    {KeyF11, "F11", "F11", KeyRole::FullScreen},
    {KeyTab, "Tab", "Tab", KeyRole::FastForward},
    {KeyM, "KeyM", "M", KeyRole::Sound},
    {KeyK, "KeyK", "K", KeyRole::KeysDialog},
}};

// The table's entry for a key, or nothing.
const KeyBinding* BindingOf(int virtualKey);

// A key going down or up, as a front end saw it.
struct KeyEvent {
    int virtualKey = 0;
    bool down = true;
    bool shift = false;   // Shift was held
    bool repeat = false;  // the key's own auto-repeat
};

enum class KeyEffect { None, TogglePause };

// Key down: sets the key's flag in KeysHeld; Shift+F2 goes back to the title.
// F3 asks the window to pause or resume.
KeyEffect KeyPressed(GameState& state, int virtualKey, bool shiftHeld);
// Key up: clears the key's flag (both keys of a pair share it).
void KeyReleased(GameState& state, int virtualKey);

// The held keys between two ticks. A key pressed and let go of before the
// next tick is seen by that tick as held, once: a tap shorter than a tick is
// never lost. A flag that was already held when the key went down is let go
// of at once, so that releasing X clears Select though Space is still down.
class KeyState {
public:
    // A key of an input flag went down or up.
    void Down(GameState& state, int flag);
    void Up(GameState& state, int flag);
    // Every key is let go of, as when the keys change their meaning.
    void ReleaseAll(GameState& state);
    // After a frame tick: the taps it saw are let go of.
    void AfterTick(GameState& state);

private:
    InputFlags pressedSinceTick_{};
    InputFlags letGoAfterTick_{};
};
